#include "platform/programfolder.h"

#include <QDir>
#include <QFileInfo>

static bool isStartable(const QFileInfo& info) {
    return info.isFile() && info.isExecutable();
}

QString ProgramFolder::program(const QString& name) const {
    if (name.isEmpty() || name.contains(QLatin1Char('/')))
        return {};
    const QDir dir(m_path);
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

QString ProgramFolder::gamesFolder(const QString& shortName) const {
    return m_path + QLatin1String("/ROMS/") + shortName;
}
