#include "processes.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <poll.h>
#include <sstream>
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

// A pipe whose ends do not leak into the child's program; dup2 clears the flag on the copy.
bool makePipe(int ends[2]) {
    if (pipe(ends) != 0)
        return false;
    fcntl(ends[0], F_SETFD, FD_CLOEXEC);
    fcntl(ends[1], F_SETFD, FD_CLOEXEC);
    return true;
}

void closePipe(int ends[2]) {
    close(ends[0]);
    close(ends[1]);
}

// Reads both pipes together, so that a child filling one of them cannot stall.
void drain(int outputFd, int errorFd, std::string& output, std::string& errors) {
    pollfd fds[2] = {{outputFd, POLLIN, 0}, {errorFd, POLLIN, 0}};
    std::string* targets[2] = {&output, &errors};
    int open = 2;
    char buffer[4096];
    while (open > 0) {
        if (poll(fds, 2, -1) < 0) {
            if (errno == EINTR)
                continue;
            return;
        }
        for (int i = 0; i < 2; ++i) {
            if (fds[i].fd < 0 || fds[i].revents == 0)
                continue;
            const ssize_t count = read(fds[i].fd, buffer, sizeof buffer);
            if (count > 0) {
                targets[i]->append(buffer, static_cast<std::size_t>(count));
            } else if (count == 0 || errno != EINTR) {
                fds[i].fd = -1;
                --open;
            }
        }
    }
}

} // namespace

CapturedRun runAndCapture(const std::string& program, const std::vector<std::string>& arguments) {
    CapturedRun run;
    int outputPipe[2];
    int errorPipe[2];
    if (!makePipe(outputPipe)) {
        run.error = std::strerror(errno);
        return run;
    }
    if (!makePipe(errorPipe)) {
        run.error = std::strerror(errno);
        closePipe(outputPipe);
        return run;
    }
    // Built before fork: the child may only make async-signal-safe calls.
    std::vector<char*> argv = argumentPointers(arguments);
    const pid_t child = fork();
    if (child < 0) {
        run.error = std::strerror(errno);
        closePipe(outputPipe);
        closePipe(errorPipe);
        return run;
    }
    if (child == 0) {
        dup2(outputPipe[1], STDOUT_FILENO);
        dup2(errorPipe[1], STDERR_FILENO);
        execv(program.c_str(), argv.data());
        _exit(127);
    }
    close(outputPipe[1]);
    close(errorPipe[1]);
    drain(outputPipe[0], errorPipe[0], run.output, run.errors);
    close(outputPipe[0]);
    close(errorPipe[0]);

    int status = 0;
    while (waitpid(child, &status, 0) < 0) {
        if (errno != EINTR) {
            run.error = std::strerror(errno);
            return run;
        }
    }
    run.exited = WIFEXITED(status);
    run.exitCode = run.exited ? WEXITSTATUS(status) : 0;
    return run;
}

std::string replaceProcess(const std::string& program, const std::vector<std::string>& arguments) {
    std::vector<char*> argv = argumentPointers(arguments);
    execv(program.c_str(), argv.data());
    return std::strerror(errno);
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

std::vector<std::string> fileNamesIn(const std::string& folder) {
    std::vector<std::string> names;
    std::error_code error;
    for (std::filesystem::directory_iterator it(folder, error), end; !error && it != end;
         it.increment(error))
        names.push_back(it->path().filename().string());
    return names;
}
