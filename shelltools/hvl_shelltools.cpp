#include "shelltools/hvl_shelltools.h"

#include <QApplication>
#include <QEvent>
#include <QEventLoop>
#include <QFileInfo>
#include <QPointer>
#include <QProcess>
#include <QProgressDialog>
#include <QTimer>
#include <QWidget>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <sys/types.h>
#include <unistd.h>

namespace hvl_ShellTools {

namespace {

bool leftAloneByShell(QChar c) {
    if (c.unicode() > 0x7f)
        return false;
    return c.isLetterOrNumber() || QLatin1String("/._-+,:@%").contains(c);
}

bool isUserInput(QEvent::Type type) {
    switch (type) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove:
    case QEvent::Wheel:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::ShortcutOverride:
    case QEvent::Shortcut:
    case QEvent::ContextMenu:
    case QEvent::Close:
        return true;
    default:
        return false;
    }
}

// While the shell runs, the windows repaint but ignore the user, except inside the progress
// dialog once it is there. Installed for exactly as long as it lives.
class InputBlocker : public QObject {
public:
    InputBlocker() { QCoreApplication::instance()->installEventFilter(this); }
    ~InputBlocker() override { QCoreApplication::instance()->removeEventFilter(this); }
    void allow(QWidget* dialog) { m_allowed = dialog; }

protected:
    bool eventFilter(QObject* receiver, QEvent* event) override {
        if (!event->spontaneous() || !isUserInput(event->type()))
            return false;
        if (auto* widget = qobject_cast<QWidget*>(receiver)) {
            if (m_allowed && (widget == m_allowed || m_allowed->isAncestorOf(widget)))
                return false;
        } else if (event->type() != QEvent::Shortcut) {
            // Window-level objects pass input on to their widgets, where it is judged.
            return false;
        }
        // A close event that is merely filtered out still counts as accepted by the closer.
        if (event->type() == QEvent::Close)
            event->ignore();
        return true;
    }

private:
    QPointer<QWidget> m_allowed;
};

bool groupGone(pid_t group) {
    return ::kill(-group, 0) == -1 && errno == ESRCH;
}

} // namespace

QString shellWord(const QString& text) {
    if (!text.isEmpty() && std::all_of(text.begin(), text.end(), leftAloneByShell))
        return text;
    QString quoted = text;
    quoted.replace(QLatin1String("'"), QLatin1String("'\\''"));
    return QLatin1Char('\'') + quoted + QLatin1Char('\'');
}

QString GetShortPath(const QString& LongPath) {
    if (!QFileInfo::exists(LongPath))
        return QStringLiteral("Error!");
    return shellWord(LongPath);
}

ShellResult ShellAndWait(const QString& CommandLine, const QString& workingFolder,
                         QWidget* parent) {
    QProcess shell;
    shell.setProgram(QStringLiteral("/bin/sh"));
    shell.setArguments({QStringLiteral("-c"), CommandLine});
    shell.setWorkingDirectory(workingFolder);
    shell.setStandardInputFile(QProcess::nullDevice());
    shell.setStandardOutputFile(QProcess::nullDevice());
    shell.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    // A group of its own, so that Cancel reaches the emulator the shell started as well.
    shell.setChildProcessModifier([] { ::setpgid(0, 0); });
    shell.start();
    if (!shell.waitForStarted(-1))
        return {ShellResult::FailedToStart, -1};
    const pid_t group = static_cast<pid_t>(shell.processId());

    InputBlocker blocker;
    QEventLoop loop;
    bool shellEnded = false;
    bool cancelled = false;
    bool killSent = false;
    // After Cancel, the wait lasts until the whole group is gone, or until it has been killed.
    const auto isDone = [&] { return shellEnded && (!cancelled || killSent || groupGone(group)); };
    const auto quitWhenDone = [&] {
        if (isDone())
            loop.quit();
    };
    QObject::connect(&shell, &QProcess::finished, &loop, [&] {
        shellEnded = true;
        quitWhenDone();
    });

    QTimer donePoll;
    donePoll.setInterval(50);
    QObject::connect(&donePoll, &QTimer::timeout, &loop, quitWhenDone);
    const auto cancel = [&] {
        if (cancelled)
            return;
        cancelled = true;
        ::kill(-group, SIGTERM);
        QTimer::singleShot(1000, &loop, [&] {
            if (!groupGone(group))
                ::kill(-group, SIGKILL);
            killSent = true;
            quitWhenDone();
        });
        donePoll.start();
    };

    QPointer<QProgressDialog> progress;
    QTimer showProgress;
    showProgress.setSingleShot(true);
    QObject::connect(&showProgress, &QTimer::timeout, &loop, [&] {
        progress = new QProgressDialog(QStringLiteral("Updating systems..."),
                                       QStringLiteral("Cancel"), 0, 0, parent);
        progress->setObjectName(QStringLiteral("ShellAndWaitProgress"));
        progress->setWindowModality(Qt::ApplicationModal);
        progress->setMinimumDuration(0);
        blocker.allow(progress);
        QObject::connect(progress, &QProgressDialog::canceled, &loop, cancel);
        QObject::connect(progress, &QDialog::rejected, &loop, cancel);
        progress->show();
    });
    showProgress.start(500);

    while (!isDone())
        loop.exec();
    delete progress;

    if (cancelled)
        return {ShellResult::Cancelled, -1};
    if (shell.exitStatus() == QProcess::CrashExit)
        return {ShellResult::Crashed, -1};
    return {ShellResult::Finished, shell.exitCode()};
}

} // namespace hvl_ShellTools
