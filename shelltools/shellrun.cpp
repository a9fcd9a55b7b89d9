#include "shelltools/shellrun.h"

#include <cerrno>
#include <csignal>
#include <unistd.h>

namespace hvl_ShellTools {

ShellRun::ShellRun(QObject* parent) : QObject(parent) {
    m_shell.setProgram(QStringLiteral("/bin/sh"));
    m_shell.setStandardInputFile(QProcess::nullDevice());
    m_shell.setStandardOutputFile(QProcess::nullDevice());
    // A group of its own, so that a cancel reaches the emulator the shell started as well.
    m_shell.setChildProcessModifier([] { ::setpgid(0, 0); });
    connect(&m_shell, &QProcess::readyReadStandardError, this,
            [this] { m_errors.append(m_shell.readAllStandardError()); });
    connect(&m_shell, &QProcess::finished, this, [this] {
        m_errors.append(m_shell.readAllStandardError());
        m_shellEnded = true;
        checkOver();
    });
    m_groupPoll.setInterval(50);
    connect(&m_groupPoll, &QTimer::timeout, this, &ShellRun::checkOver);
}

ShellRun::~ShellRun() {
    if (m_group > 0 && !isOver())
        ::kill(pid_t(-m_group), SIGKILL);
    m_shell.waitForFinished(-1);
}

bool ShellRun::start(const QString& commandLine, const QString& workingFolder) {
    m_shell.setArguments({QStringLiteral("-c"), commandLine});
    m_shell.setWorkingDirectory(workingFolder);
    m_shell.start();
    if (!m_shell.waitForStarted(-1)) {
        m_shellEnded = true;
        return false;
    }
    m_group = m_shell.processId();
    return true;
}

void ShellRun::cancel() {
    if (m_cancelled || m_group <= 0 || isOver())
        return;
    m_cancelled = true;
    ::kill(pid_t(-m_group), SIGTERM);
    QTimer::singleShot(1000, this, [this] {
        if (!groupGone())
            ::kill(pid_t(-m_group), SIGKILL);
        m_killSent = true;
        checkOver();
    });
    m_groupPoll.start();
}

bool ShellRun::groupGone() const {
    return ::kill(pid_t(-m_group), 0) == -1 && errno == ESRCH;
}

bool ShellRun::isOver() const {
    return m_shellEnded && (!m_cancelled || m_killSent || groupGone());
}

void ShellRun::checkOver() {
    if (m_overTold || !isOver())
        return;
    m_overTold = true;
    m_groupPoll.stop();
    emit over();
}

ShellResult ShellRun::result() const {
    ShellResult result;
    result.lastErrors = lastLinesOf(m_errors.bytes());
    if (m_group <= 0)
        result.outcome = ShellResult::FailedToStart;
    else if (m_cancelled)
        result.outcome = ShellResult::Cancelled;
    else if (m_shell.exitStatus() == QProcess::CrashExit)
        result.outcome = ShellResult::Crashed;
    else
        result = {ShellResult::Finished, m_shell.exitCode(), result.lastErrors};
    return result;
}

} // namespace hvl_ShellTools
