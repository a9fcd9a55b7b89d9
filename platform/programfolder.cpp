#include "platform/programfolder.h"

#include <QDir>
#include <QFileInfo>

QStringList ProgramFolder::candidates(const QString& name) const {
    if (name.isEmpty() || name.contains(QLatin1Char('/')))
        return {};
    const QDir dir(m_path);
    const QString withExe = name + QLatin1String(".exe");
    QStringList found;
    for (const QString& exact : {name, withExe}) {
        if (QFileInfo(dir.filePath(exact)).isFile())
            found.append(dir.filePath(exact));
    }
    const QStringList entries =
        dir.entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name);
    for (const QString& entry : entries) {
        if (entry.compare(name, Qt::CaseInsensitive) == 0 ||
            entry.compare(withExe, Qt::CaseInsensitive) == 0) {
            if (!found.contains(dir.filePath(entry)))
                found.append(dir.filePath(entry));
        }
    }
    return found;
}

QString ProgramFolder::program(const QString& name) const {
    for (const QString& path : candidates(name)) {
        if (QFileInfo(path).isExecutable())
            return path;
    }
    return {};
}

QString ProgramFolder::emulatorFile() const {
    const QStringList found = candidates(EmulatorName);
    return found.isEmpty() ? QString() : found.first();
}

QString ProgramFolder::gamesFolder(const QString& shortName) const {
    return m_path + QLatin1String("/ROMS/") + shortName;
}
