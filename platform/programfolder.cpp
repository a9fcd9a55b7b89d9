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

// The sub-folder `name` of `parent` in any letter case: images copied from another system keep
// its spelling (ROMS/NES for the system nes). The exact spelling wins, then the first in code
// order; a missing folder is named as asked.
static QString folderInAnyCase(const QString& parent, const QString& name) {
    const QString exact = parent + QLatin1Char('/') + name;
    if (QFileInfo(exact).isDir())
        return exact;
    QString found;
    const QStringList entries = QDir(parent).entryList(
        QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System, QDir::NoSort);
    for (const QString& entry : entries) {
        if (entry.compare(name, Qt::CaseInsensitive) == 0 && (found.isEmpty() || entry < found))
            found = entry;
    }
    return found.isEmpty() ? exact : parent + QLatin1Char('/') + found;
}

QString ProgramFolder::gamesFolder(const QString& shortName) const {
    return folderInAnyCase(folderInAnyCase(m_path, QStringLiteral("ROMS")), shortName);
}

QString ProgramFolder::relativePath(const QString& path) const {
    const QString inside = m_path + QLatin1Char('/');
    return path.startsWith(inside) ? path.mid(inside.size()) : path;
}
