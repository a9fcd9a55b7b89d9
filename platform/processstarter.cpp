#include "platform/processstarter.h"

#include <QDir>
#include <QFile>
#include <QSocketNotifier>
#include <QTimer>

#include <csignal>
#include <fcntl.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace {

// The program's error output: a file with no name, so nothing is left behind whenever the program
// or Tallowick ends.
int unnamedFile() {
    const QByteArray folder = QFile::encodeName(QDir::tempPath());
    const int fd = ::open(folder.constData(), O_TMPFILE | O_RDWR | O_CLOEXEC, 0600);
    if (fd >= 0)
        return fd;
    QByteArray name = folder + "/tallowick-errors-XXXXXX";
    const int named = ::mkostemp(name.data(), O_CLOEXEC);
    if (named >= 0)
        ::unlink(name.constData());
    return named;
}

bool isPipeOrSocket(int fd) {
    struct stat info;
    return ::fstat(fd, &info) == 0 && (S_ISFIFO(info.st_mode) || S_ISSOCK(info.st_mode));
}

QByteArray lastBytes(int fd, qint64 count) {
    struct stat info;
    if (::fstat(fd, &info) != 0)
        return {};
    const qint64 from = qMax<qint64>(0, qint64(info.st_size) - count);
    QByteArray bytes(qsizetype(info.st_size - from), Qt::Uninitialized);
    const ssize_t read = ::pread(fd, bytes.data(), size_t(bytes.size()), off_t(from));
    bytes.truncate(read < 0 ? 0 : qsizetype(read));
    return bytes;
}

// Waits for one started program to end, without blocking: through a descriptor that becomes
// readable when it ends, or by asking twice a second where the system has none.
class EndWatch : public QObject {
public:
    EndWatch(QObject* parent, pid_t pid, int errorFd, ProcessStarter::Failure failed)
        : QObject(parent), m_pid(pid), m_errorFd(errorFd), m_failed(std::move(failed)) {
        m_pidFd = int(::syscall(SYS_pidfd_open, pid, 0));
        if (m_pidFd >= 0) {
            auto* notifier = new QSocketNotifier(m_pidFd, QSocketNotifier::Read, this);
            connect(notifier, &QSocketNotifier::activated, this, &EndWatch::check);
        } else {
            auto* poll = new QTimer(this);
            connect(poll, &QTimer::timeout, this, &EndWatch::check);
            poll->start(500);
        }
    }
    ~EndWatch() override {
        if (m_pidFd >= 0)
            ::close(m_pidFd);
        ::close(m_errorFd);
    }

private:
    void check() {
        int status = 0;
        if (::waitpid(m_pid, &status, WNOHANG) != m_pid)
            return;
        // Gone before anyone is told, so that a message box cannot meet this watch again.
        deleteLater();
        if (m_pidFd >= 0)
            findChild<QSocketNotifier*>()->setEnabled(false);
        if (WIFEXITED(status) && WEXITSTATUS(status) != 0 && m_failed)
            m_failed(WEXITSTATUS(status), lastLinesOf(lastBytes(m_errorFd, 16 * 1024)));
    }

    pid_t m_pid;
    int m_errorFd;
    int m_pidFd = -1;
    ProcessStarter::Failure m_failed;
};

} // namespace

QString lastLinesOf(const QByteArray& output) {
    constexpr int Lines = 8;
    constexpr qsizetype LineLength = 160;
    QStringList lines;
    for (const QByteArray& line : output.split('\n')) {
        const QString text = QString::fromUtf8(line.trimmed());
        if (text.isEmpty())
            continue;
        lines.append(text.size() > LineLength ? text.left(LineLength - 3) + QStringLiteral("...")
                                              : text);
    }
    return lines.mid(qMax<qsizetype>(0, lines.size() - Lines)).join(QLatin1Char('\n'));
}

bool QtProcessStarter::start(const QString& program, const QStringList& arguments,
                             const QString& workingFolder, Failure failed) {
    const int errorFd = unnamedFile();
    if (errorFd < 0)
        return false;
    std::vector<QByteArray> words{QFile::encodeName(program)};
    for (const QString& argument : arguments)
        words.push_back(argument.toLocal8Bit());
    std::vector<char*> argv;
    for (QByteArray& word : words)
        argv.push_back(word.data());
    argv.push_back(nullptr);
    const QByteArray folder = QFile::encodeName(workingFolder);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    // Output into a pipe would kill the game with SIGPIPE once the reader has gone.
    if (isPipeOrSocket(STDOUT_FILENO))
        posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_adddup2(&actions, errorFd, STDERR_FILENO);
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
        ::close(errorFd);
        return false;
    }
    new EndWatch(this, pid, errorFd, std::move(failed));
    return true;
}
