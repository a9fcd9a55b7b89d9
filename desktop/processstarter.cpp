#include "desktop/processstarter.h"

#include "platform/outputtail.h"

#include <QDir>
#include <QFile>
#include <QSocketNotifier>
#include <QTimer>

#include <csignal>
#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace {

// The program's error output: a file with no name, so nothing is left behind whenever the program
// or Tallowick ends. -1 when the temporary folder cannot take one.
int unnamedFile() {
    const QByteArray folder = QFile::encodeName(QDir::tempPath());
    if (folder.isEmpty()) // the folder is gone: "" would put the file in the root folder
        return -1;
    const int fd = ::open(folder.constData(), O_TMPFILE | O_RDWR | O_CLOEXEC, 0600);
    if (fd >= 0)
        return fd;
    QByteArray name = folder + "/tallowick-errors-XXXXXX";
    const int named = ::mkostemp(name.data(), O_CLOEXEC);
    if (named >= 0)
        ::unlink(name.constData());
    return named;
}

// However much a program writes, its error file holds at most about this much on disk: what lies
// before its last KeptOnDisk bytes is let go as a hole, and the program writes on at its place.
constexpr qint64 AllowedOnDisk = 1 << 20;
constexpr qint64 KeptOnDisk = 64 << 10;

void keepSmall(int fd) {
    struct stat info;
    if (::fstat(fd, &info) != 0 || qint64(info.st_blocks) * 512 <= AllowedOnDisk)
        return;
    const off_t before = (info.st_size - KeptOnDisk) & ~off_t(4095);
    if (before > 0)
        ::fallocate(fd, FALLOC_FL_PUNCH_HOLE | FALLOC_FL_KEEP_SIZE, 0, before);
}

// Tallowick is closing while the game runs on, still writing to its error file: a small process
// of its own takes over keeping the file small, until the game ends.
void keepSmallUntilItEnds(int pidFd, int errorFd) {
    if (::fork() != 0)
        return;
    // A copy of a process with threads: nothing but system calls from here on. It keeps only
    // the two descriptors it needs, so no terminal or display connection waits on it.
    ::setsid();
    if (::dup2(pidFd, 0) < 0 || ::dup2(errorFd, 1) < 0)
        ::_exit(1);
    ::close_range(2, ~0U, 0);
    pollfd ended{0, POLLIN, 0};
    while (::poll(&ended, 1, 100) == 0)
        keepSmall(1);
    ::_exit(0);
}

QByteArray lastBytes(int fd, qint64 count) {
    struct stat info;
    if (fd < 0 || ::fstat(fd, &info) != 0)
        return {};
    const qint64 from = qMax<qint64>(0, qint64(info.st_size) - count);
    QByteArray bytes(qsizetype(info.st_size - from), Qt::Uninitialized);
    const ssize_t read = ::pread(fd, bytes.data(), size_t(bytes.size()), off_t(from));
    bytes.truncate(read < 0 ? 0 : qsizetype(read));
    return bytes;
}

bool isPipeOrSocket(int fd) {
    struct stat info;
    return ::fstat(fd, &info) == 0 && (S_ISFIFO(info.st_mode) || S_ISSOCK(info.st_mode));
}

// The signals a person or the system sends to stop a program; a game ended by one of these did
// what it was told, and ending by any other signal is a crash.
bool isStopRequest(int signal) {
    return signal == SIGINT || signal == SIGTERM || signal == SIGKILL || signal == SIGHUP ||
           signal == SIGPIPE;
}

// Waits for one started program to end, without blocking: through a descriptor that becomes
// readable when it ends, or by asking where the system has none. Meanwhile it keeps the error
// file small.
class EndWatch : public QObject {
public:
    EndWatch(QObject* parent, pid_t pid, int errorFd, ProcessStarter::Failure failed)
        : QObject(parent), m_pid(pid), m_errorFd(errorFd), m_failed(std::move(failed)) {
        m_pidFd = int(::syscall(SYS_pidfd_open, pid, 0));
        if (m_pidFd >= 0) {
            m_ended = new QSocketNotifier(m_pidFd, QSocketNotifier::Read, this);
            connect(m_ended, &QSocketNotifier::activated, this, &EndWatch::check);
        }
        auto* tick = new QTimer(this);
        connect(tick, &QTimer::timeout, this, [this] {
            if (m_errorFd >= 0)
                keepSmall(m_errorFd);
            if (m_pidFd < 0)
                check();
        });
        tick->start(100);
    }
    ~EndWatch() override {
        if (m_pidFd >= 0 && m_errorFd >= 0 && ::waitpid(m_pid, nullptr, WNOHANG) == 0)
            keepSmallUntilItEnds(m_pidFd, m_errorFd);
        if (m_pidFd >= 0)
            ::close(m_pidFd);
        if (m_errorFd >= 0)
            ::close(m_errorFd);
    }

private:
    void check() {
        int status = 0;
        if (::waitpid(m_pid, &status, WNOHANG) != m_pid)
            return;
        // Gone before anyone is told, so that a message box cannot meet this watch again.
        deleteLater();
        if (m_ended)
            m_ended->setEnabled(false);
        ProgramEnd end;
        if (WIFEXITED(status))
            end.exitCode = WEXITSTATUS(status);
        else if (WIFSIGNALED(status) && !isStopRequest(WTERMSIG(status)))
            end.signal = WTERMSIG(status);
        if ((end.exitCode == 0 && end.signal == 0) || !m_failed)
            return;
        end.lastErrors = lastLinesOf(lastBytes(m_errorFd, OutputTail::KeptBytes));
        end.errorsKept = m_errorFd >= 0;
        m_failed(end);
    }

    pid_t m_pid;
    int m_errorFd;
    int m_pidFd = -1;
    QSocketNotifier* m_ended = nullptr;
    ProcessStarter::Failure m_failed;
};

} // namespace

bool QtProcessStarter::start(const QString& program, const QStringList& arguments,
                             const QString& workingFolder, Failure failed) {
    std::vector<QByteArray> words{QFile::encodeName(program)};
    for (const QString& argument : arguments)
        words.push_back(argument.toLocal8Bit());
    std::vector<char*> argv;
    for (QByteArray& word : words)
        argv.push_back(word.data());
    argv.push_back(nullptr);
    const QByteArray folder = QFile::encodeName(workingFolder);

    // A temporary folder that is read-only, full or gone must not keep the game from starting:
    // it then starts without its error output kept.
    const int errorFd = unnamedFile();
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    // Output into a pipe would kill the game with SIGPIPE once the reader has gone.
    if (isPipeOrSocket(STDOUT_FILENO))
        posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    if (errorFd >= 0)
        posix_spawn_file_actions_adddup2(&actions, errorFd, STDERR_FILENO);
    else
        posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addchdir_np(&actions, folder.constData());
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    // A session of its own: closing Tallowick's terminal does not hang the game up.
    sigset_t none;
    sigset_t defaults;
    sigemptyset(&none);
    sigfillset(&defaults);
    posix_spawnattr_setsigmask(&attributes, &none);
    posix_spawnattr_setsigdefault(&attributes, &defaults);
    posix_spawnattr_setflags(&attributes,
                             POSIX_SPAWN_SETSID | POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);
    pid_t pid = 0;
    const int error =
        ::posix_spawn(&pid, argv.front(), &actions, &attributes, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    posix_spawnattr_destroy(&attributes);
    if (error != 0) {
        if (errorFd >= 0)
            ::close(errorFd);
        return false;
    }
    new EndWatch(this, pid, errorFd, std::move(failed));
    return true;
}
