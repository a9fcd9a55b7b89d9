#include "processes.h"

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <filesystem>
#include <poll.h>
#include <spawn.h>
#include <sstream>
#include <strings.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

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

// Waits for the child and notes how it ended.
void waitFor(pid_t child, CapturedRun& run) {
    int status = 0;
    while (waitpid(child, &status, 0) < 0) {
        if (errno != EINTR) {
            run.error = std::strerror(errno);
            return;
        }
    }
    run.exited = WIFEXITED(status);
    run.exitCode = run.exited ? WEXITSTATUS(status) : 0;
    run.signal = WIFSIGNALED(status) ? WTERMSIG(status) : 0;
}

// The signals that stop a game, whoever sends them: Tallowick, a terminal or a logout.
constexpr int PassedOn[] = {SIGTERM, SIGINT, SIGHUP};

// The running game; 0 while there is none, so that a signal is never sent to process group 0.
volatile sig_atomic_t game = 0;

void passOn(int signal) {
    const int savedErrno = errno;
    if (game > 0)
        kill(game, signal);
    errno = savedErrno;
}

// Hands the lines read from `fd` to `onLine` until the writing end closes. A line is held only
// until its end comes, up to 64 KiB, so memory stays bounded whatever the child writes.
void relayLines(int fd, const std::function<void(std::string_view)>& onLine) {
    constexpr std::size_t LongestLine = std::size_t(1) << 16;
    std::vector<char> buffer(LongestLine);
    std::string pending;
    for (;;) {
        const ssize_t count = read(fd, buffer.data(), buffer.size());
        if (count < 0 && errno == EINTR)
            continue;
        if (count <= 0)
            break;
        pending.append(buffer.data(), static_cast<std::size_t>(count));
        std::size_t start = 0;
        std::size_t end = pending.find('\n');
        while (end != std::string::npos) {
            onLine(std::string_view(pending).substr(start, end - start));
            start = end + 1;
            end = pending.find('\n', start);
        }
        pending.erase(0, start);
        if (pending.size() >= LongestLine) {
            onLine(pending);
            pending.clear();
        }
    }
    if (!pending.empty())
        onLine(pending);
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
        waitFor(children[i].pid, runs[i]);
    }
    return runs;
}

CapturedRun runAndCapture(const std::string& program, const std::vector<std::string>& arguments) {
    return std::move(runAndCaptureTogether(program, {arguments}).front());
}

CapturedRun runRelayingErrors(const std::string& program, const std::vector<std::string>& arguments,
                              const std::function<void(std::string_view)>& onErrorLine) {
    CapturedRun run;
    int errorPipe[2];
    if (pipe2(errorPipe, O_CLOEXEC) != 0) {
        run.error = std::strerror(errno);
        return run;
    }
    // Held back until the game's process id is known, so that none of them is lost; the game
    // gets the mask this process had.
    sigset_t passedOn;
    sigset_t before;
    sigemptyset(&passedOn);
    for (const int signal : PassedOn)
        sigaddset(&passedOn, signal);
    sigprocmask(SIG_BLOCK, &passedOn, &before);
    struct sigaction passing {};
    passing.sa_handler = passOn;
    passing.sa_flags = SA_RESTART;
    sigemptyset(&passing.sa_mask);
    for (const int signal : PassedOn) {
        struct sigaction was {};
        // One that this process was started ignoring stays ignored, by both, as under execv.
        if (sigaction(signal, nullptr, &was) == 0 && was.sa_handler != SIG_IGN)
            sigaction(signal, &passing, nullptr);
    }
    // A Tallowick that closed its end must not end the adapter half-way through a game and
    // leave MAME writing into a pipe that nobody reads; MAME gets the action this process had.
    struct sigaction ignoring {};
    ignoring.sa_handler = SIG_IGN;
    struct sigaction pipeWas {};
    sigaction(SIGPIPE, &ignoring, &pipeWas);
    sigset_t defaults;
    sigemptyset(&defaults);
    if (pipeWas.sa_handler != SIG_IGN)
        sigaddset(&defaults, SIGPIPE);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, errorPipe[1], STDERR_FILENO);
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    posix_spawnattr_setsigmask(&attributes, &before);
    posix_spawnattr_setsigdefault(&attributes, &defaults);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);
    std::vector<char*> argv = argumentPointers(arguments);
    pid_t child = -1;
    const int failed =
        posix_spawn(&child, program.c_str(), &actions, &attributes, argv.data(), environ);
    posix_spawnattr_destroy(&attributes);
    posix_spawn_file_actions_destroy(&actions);
    close(errorPipe[1]);
    if (failed == 0)
        game = child;
    sigprocmask(SIG_SETMASK, &before, nullptr);
    if (failed != 0) {
        close(errorPipe[0]);
        run.error = std::strerror(failed);
        return run;
    }
    relayLines(errorPipe[0], onErrorLine);
    close(errorPipe[0]);
    // The ended game is left unreaped until no signal can be passed on to its id any more,
    // which the system may give to another process once it is reaped.
    siginfo_t ended{};
    while (waitid(P_PID, static_cast<id_t>(child), &ended, WEXITED | WNOWAIT) < 0 && errno == EINTR)
        continue;
    game = 0;
    waitFor(child, run);
    return run;
}

void endAs(const CapturedRun& run) {
    if (run.exited)
        std::exit(run.exitCode);
    // Tallowick tells a crashed game from one that ended by how its program ended. MAME made
    // its own core file, if any; a second one, of the adapter, would tell nothing.
    const rlimit noCoreFile{0, 0};
    setrlimit(RLIMIT_CORE, &noCoreFile);
    std::signal(run.signal, SIG_DFL);
    sigset_t only;
    sigemptyset(&only);
    sigaddset(&only, run.signal);
    sigprocmask(SIG_UNBLOCK, &only, nullptr);
    raise(run.signal);
    // Only a signal whose default is to be ignored gets here, and none of those ends a process.
    std::_Exit(128 + run.signal);
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
