#include "launch/programlookup.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

static bool isStartable(const QFileInfo& info) {
    return info.isFile() && info.isExecutable();
}

QString findProgramInFolder(const QString& folder, const QString& name) {
    if (name.isEmpty() || name.contains(QLatin1Char('/')))
        return {};
    const QDir dir(folder);
    const QString withExe = name + QLatin1String(".exe");
    for (const QString& exact : {name, withExe}) {
        const QFileInfo info(dir.filePath(exact));
        if (isStartable(info))
            return info.filePath();
    }
    const QStringList entries =
        dir.entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name);
    for (const QString& entry : entries) {
        if (entry.compare(name, Qt::CaseInsensitive) != 0 &&
            entry.compare(withExe, Qt::CaseInsensitive) != 0)
            continue;
        const QFileInfo info(dir.filePath(entry));
        if (isStartable(info))
            return info.filePath();
    }
    return {};
}

QString resolveProgram(const QString& word, const QString& programFolder) {
    if (word.isEmpty())
        return {};
    if (word.contains(QLatin1Char('/'))) {
        const QFileInfo info(QDir(programFolder).filePath(word));
        return isStartable(info) ? info.filePath() : QString();
    }
    const QString own = findProgramInFolder(programFolder, word);
    if (!own.isEmpty())
        return own;
    return QStandardPaths::findExecutable(word);
}
