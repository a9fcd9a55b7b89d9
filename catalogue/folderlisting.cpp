#include "catalogue/folderlisting.h"

#include <QFile>
#include <dirent.h>
#include <sys/stat.h>

std::optional<QStringList> listPlainFiles(const QString& folder) {
    const QByteArray encodedFolder = QFile::encodeName(folder);
    DIR* dir = opendir(encodedFolder.constData());
    if (!dir)
        return std::nullopt;
    const int dirFd = dirfd(dir);
    QStringList names;
    while (const dirent* entry = readdir(dir)) {
        if (entry->d_name[0] == '.')
            continue;
        bool plain = entry->d_type == DT_REG;
        if (entry->d_type == DT_LNK || entry->d_type == DT_UNKNOWN) {
            struct stat info;
            plain = fstatat(dirFd, entry->d_name, &info, 0) == 0 && S_ISREG(info.st_mode);
        }
        if (!plain)
            continue;
        const QByteArray raw(entry->d_name);
        QString name = QFile::decodeName(raw);
        if (QFile::encodeName(name) != raw)
            continue;
        names.append(std::move(name));
    }
    closedir(dir);
    return names;
}
