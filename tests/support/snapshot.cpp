#include "tests/support/snapshot.h"

#include <QFile>
#include <QString>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

static void collect(const std::string& folder, const std::string& relative, FolderContents& out) {
    DIR* dir = opendir(folder.c_str());
    if (!dir) {
        out[relative] = "unreadable folder";
        return;
    }
    while (const dirent* entry = readdir(dir)) {
        const std::string name = entry->d_name;
        if (name == "." || name == "..")
            continue;
        const std::string path = folder + '/' + name;
        const std::string key = relative + '/' + name;
        struct stat info;
        if (lstat(path.c_str(), &info) != 0) {
            out[key] = "gone";
        } else if (S_ISLNK(info.st_mode)) {
            std::string target(4096, '\0');
            const ssize_t length = readlink(path.c_str(), target.data(), target.size());
            target.resize(length > 0 ? std::size_t(length) : 0);
            out[key] = "link to " + target;
        } else if (S_ISDIR(info.st_mode)) {
            out[key] = "folder";
            collect(path, key, out);
        } else if (!S_ISREG(info.st_mode)) {
            out[key] = "special " + std::to_string(info.st_mode);
        } else if (info.st_size > 16 * 1024 * 1024) {
            // A huge sparse file stands for itself by its size and time: reading it would not.
            out[key] = "file of " + std::to_string(info.st_size) + " bytes, modified " +
                       std::to_string(info.st_mtim.tv_sec) + "." +
                       std::to_string(info.st_mtim.tv_nsec);
        } else {
            std::string bytes;
            const int fd = open(path.c_str(), O_RDONLY);
            char buffer[65536];
            for (ssize_t n; fd >= 0 && (n = read(fd, buffer, sizeof buffer)) > 0;)
                bytes.append(buffer, std::size_t(n));
            if (fd >= 0)
                close(fd);
            out[key] = (fd >= 0 ? "file " : "unreadable file ") + bytes;
        }
    }
    closedir(dir);
}

FolderContents contentsOf(const QString& folder) {
    FolderContents out;
    collect(QFile::encodeName(folder).toStdString(), std::string(), out);
    return out;
}
