#include "platform/folderlisting.h"

#include <QFile>
#include <algorithm>
#include <cstring>
#include <dirent.h>
#include <sys/stat.h>

// The name as text; nullopt when it does not decode and encode back unchanged. ASCII bytes always
// do, and are by far the most common, so they skip the round trip.
static std::optional<QString> decodedName(const char* raw) {
    const std::size_t length = std::strlen(raw);
    if (std::all_of(raw, raw + length, [](char c) { return static_cast<unsigned char>(c) < 0x80; }))
        return QString::fromLatin1(raw, qsizetype(length));
    const QByteArray bytes(raw, qsizetype(length));
    QString name = QFile::decodeName(bytes);
    if (QFile::encodeName(name) != bytes)
        return std::nullopt;
    return name;
}

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
        if (auto name = decodedName(entry->d_name))
            names.append(std::move(*name));
    }
    closedir(dir);
    return names;
}
