#include "standin/runrecord.h"

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <unistd.h>

std::string escapeLogText(const std::string& text) {
    std::string escaped;
    escaped.reserve(text.size());
    for (const char c : text) {
        if (c == '\\')
            escaped += "\\\\";
        else if (c == '\n')
            escaped += "\\n";
        else
            escaped += c;
    }
    return escaped;
}

std::string formatRunRecord(const RunRecord& run) {
    std::string record = "run\n";
    record += "pid=" + std::to_string(run.pid) + '\n';
    record += "program=" + escapeLogText(run.program) + '\n';
    record += "cwd=" + escapeLogText(run.workingFolder) + '\n';
    for (const std::string& argument : run.arguments)
        record += "arg=" + escapeLogText(argument) + '\n';
    record += "end\n";
    return record;
}

// The MAME adapter finds its folder the same way; the two keep their own few lines on purpose:
// each small program is copied alone into a folder, and the stand-in must stay what the tests
// rely on whatever the adapter becomes.
static std::string executableFolder() {
    std::string target(256, '\0');
    for (;;) {
        const ssize_t length = readlink("/proc/self/exe", target.data(), target.size());
        if (length < 0)
            return ".";
        if (static_cast<std::size_t>(length) < target.size()) {
            target.resize(static_cast<std::size_t>(length));
            break;
        }
        target.resize(target.size() * 2);
    }
    const std::size_t slash = target.rfind('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : target.substr(0, slash);
}

std::string logFilePath() {
    if (const char* path = std::getenv("STANDIN_LOG"); path && *path)
        return path;
    const std::string folder = executableFolder();
    return folder == "/" ? "/standin.log" : folder + "/standin.log";
}

bool appendToLog(const std::string& path, const std::string& record) {
    const int fd = open(path.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0644);
    if (fd < 0)
        return false;
    const ssize_t written = write(fd, record.data(), record.size());
    const int writeError = errno;
    const bool closed = close(fd) == 0;
    if (written != static_cast<ssize_t>(record.size())) {
        // A second write could land after another run's record, so a short write stays short.
        errno = written < 0 ? writeError : EIO;
        return false;
    }
    return closed;
}
