#include "processes.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <filesystem>
#include <poll.h>
#include <sstream>
#include <strings.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

std::vector<char*> argumentPointers(const std::vector<std::string>& arguments) {
    std::vector<char*> pointers;
    for (const std::string& argument : arguments)
        pointers.push_back(const_cast<char*>(argument.c_str()));
    pointers.push_back(nullptr);
    return pointers;
}

// A pipe whose ends do not leak into the child's program; dup2 clears the flag on the copy. The
// reading end does not block, and the pipe is made large enough to hold what MAME writes
// between two reads (see drain); when the system refuses the size, reading just wakes more often.
bool makePipe(int ends[2]) {
    if (pipe2(ends, O_CLOEXEC) != 0)
        return false;
    fcntl(ends[0], F_SETFL, O_NONBLOCK);
    fcntl(ends[0], F_SETPIPE_SZ, 1 << 20);
    return true;
}

void closePipe(int ends[2]) {
    close(ends[0]);
    close(ends[1]);
}

// A started child and the reading ends of its output and error pipes.
struct Child {
    pid_t pid = -1;
    int output = -1;
    int errors = -1;
};

// Starts `program` with its standard output and error going into pipes; the reason on failure.
std::string start(const std::string& program, const std::vector<std::string>& arguments,
                  Child& child) {
    int outputPipe[2];
    int errorPipe[2];
    if (!makePipe(outputPipe))
        return std::strerror(errno);
    if (!makePipe(errorPipe)) {
        const std::string reason = std::strerror(errno);
        closePipe(outputPipe);
        return reason;
    }
    // Built before fork: the child may only make async-signal-safe calls.
    std::vector<char*> argv = argumentPointers(arguments);
    child.pid = fork();
    if (child.pid < 0) {
        const std::string reason = std::strerror(errno);
        closePipe(outputPipe);
        closePipe(errorPipe);
        return reason;
    }
    if (child.pid == 0) {
        dup2(outputPipe[1], STDOUT_FILENO);
        dup2(errorPipe[1], STDERR_FILENO);
        execv(program.c_str(), argv.data());
        _exit(127);
    }
    close(outputPipe[1]);
    close(errorPipe[1]);
    child.output = outputPipe[0];
    child.errors = errorPipe[0];
    return {};
}

// Reads every pipe together, so that no child filling one of them can stall the others. MAME
// writes its listings a few bytes at a time (over 570,000 writes for -listfull), and waking for
// each costs more than MAME takes to make the listing; so after each wake-up the output gathers
// in the pipes for a few milliseconds, while nothing waits on them, and is then read in blocks.
void drain(const std::vector<Child>& children, std::vector<CapturedRun>& runs) {
    std::vector<pollfd> fds;
    std::vector<std::string*> targets;
    for (std::size_t i = 0; i < children.size(); ++i) {
        if (children[i].pid < 0)
            continue;
        fds.push_back({children[i].output, POLLIN, 0});
        targets.push_back(&runs[i].output);
        fds.push_back({children[i].errors, POLLIN, 0});
        targets.push_back(&runs[i].errors);
    }
    std::size_t open = fds.size();
    std::vector<char> buffer(std::size_t(1) << 16);
    const timespec gathering{0, 5'000'000};
    while (open > 0) {
        if (poll(fds.data(), fds.size(), -1) < 0) {
            if (errno == EINTR)
                continue;
            return;
        }
        for (std::size_t i = 0; i < fds.size(); ++i) {
            while (fds[i].fd >= 0 && fds[i].revents != 0) {
                const ssize_t count = read(fds[i].fd, buffer.data(), buffer.size());
                if (count > 0) {
                    targets[i]->append(buffer.data(), static_cast<std::size_t>(count));
                } else if (count == 0 || (errno != EINTR && errno != EAGAIN)) {
                    fds[i].fd = -1;
                    --open;
                } else if (errno == EAGAIN) {
                    break;
                }
            }
        }
        if (open > 0)
            nanosleep(&gathering, nullptr);
    }
}

} // namespace

std::vector<CapturedRun> runAndCaptureTogether(const std::string& program,
                                               const std::vector<std::vector<std::string>>& lists) {
    std::vector<CapturedRun> runs(lists.size());
    std::vector<Child> children(lists.size());
    for (std::size_t i = 0; i < lists.size(); ++i)
        runs[i].error = start(program, lists[i], children[i]);
    drain(children, runs);
    for (std::size_t i = 0; i < lists.size(); ++i) {
        if (children[i].pid < 0)
            continue;
        close(children[i].output);
        close(children[i].errors);
        int status = 0;
        while (waitpid(children[i].pid, &status, 0) < 0) {
            if (errno != EINTR) {
                runs[i].error = std::strerror(errno);
                break;
            }
        }
        if (!runs[i].error.empty())
            continue;
        runs[i].exited = WIFEXITED(status);
        runs[i].exitCode = runs[i].exited ? WEXITSTATUS(status) : 0;
        runs[i].signal = WIFSIGNALED(status) ? WTERMSIG(status) : 0;
    }
    return runs;
}

CapturedRun runAndCapture(const std::string& program, const std::vector<std::string>& arguments) {
    return std::move(runAndCaptureTogether(program, {arguments}).front());
}

std::string replaceProcess(const std::string& program, const std::vector<std::string>& arguments) {
    std::vector<char*> argv = argumentPointers(arguments);
    execv(program.c_str(), argv.data());
    return std::strerror(errno);
}

bool writeAll(int fd, std::string_view text) {
    while (!text.empty()) {
        const ssize_t written = write(fd, text.data(), text.size());
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return false;
        text.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

std::optional<std::string> findExecutable(const std::string& name, const std::string& fallback) {
    const auto isExecutable = [](const std::string& path) {
        return isRegularFile(path) && access(path.c_str(), X_OK) == 0;
    };
    if (const char* path = std::getenv("PATH")) {
        std::istringstream folders(path);
        for (std::string folder; std::getline(folders, folder, ':');) {
            if (folder.empty())
                continue;
            const std::string candidate = folder + "/" + name;
            if (isExecutable(candidate))
                return candidate;
        }
    }
    if (isExecutable(fallback))
        return fallback;
    return std::nullopt;
}

std::string executableFolder() {
    std::error_code error;
    const std::filesystem::path executable = std::filesystem::read_symlink("/proc/self/exe", error);
    return error ? std::string() : executable.parent_path().string();
}

bool isRegularFile(const std::string& path) {
    struct stat info {};
    return stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

std::optional<std::string> folderInAnyCase(const std::string& folder, const std::string& name) {
    const auto isFolder = [&folder](const std::string& entry) {
        struct stat info {};
        return stat((folder + "/" + entry).c_str(), &info) == 0 && S_ISDIR(info.st_mode);
    };
    if (isFolder(name))
        return name;
    std::optional<std::string> found;
    for (const std::string& entry : fileNamesIn(folder))
        if (strcasecmp(entry.c_str(), name.c_str()) == 0 && (!found || entry < *found) &&
            isFolder(entry))
            found = entry;
    return found;
}

std::vector<std::string> fileNamesIn(const std::string& folder) {
    std::vector<std::string> names;
    std::error_code error;
    for (std::filesystem::directory_iterator it(folder, error), end; !error && it != end;
         it.increment(error))
        names.push_back(it->path().filename().string());
    return names;
}
