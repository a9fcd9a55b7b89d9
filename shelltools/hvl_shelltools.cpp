#include "shelltools/hvl_shelltools.h"

#include <QCoreApplication>
#include <QEvent>
#include <QEventLoop>
#include <QFileInfo>
#include <QPointer>
#include <QProgressDialog>
#include <QScopedValueRollback>
#include <QWidget>

#include <algorithm>

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
        return true;
    default:
        return false;
    }
}

// While the shell runs, the windows repaint but ignore the user, except inside the progress
// dialog once it is there. A window's close is let through: the window decides what it means.
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
        return true;
    }

private:
    QPointer<QWidget> m_allowed;
};

// The window's side of one run: input held back, the progress dialog with its Cancel after half
// a second, and a loop of events that lasts until the run is over.
class ShellWait {
public:
    ShellWait(ShellRun& run, QWidget* parent) : m_run(run), m_parent(parent) {
        QObject::connect(&run, &ShellRun::over, &m_loop, &QEventLoop::quit);
        m_showProgress.setSingleShot(true);
        QObject::connect(&m_showProgress, &QTimer::timeout, &m_loop, [this] { showProgress(); });
    }

    void exec() {
        m_showProgress.start(500);
        while (!m_run.isOver())
            m_loop.exec();
        m_showProgress.stop();
        delete m_progress;
    }

    void cancel() { m_run.cancel(); }

private:
    void showProgress() {
        m_progress = new QProgressDialog(QStringLiteral("Updating systems..."),
                                         QStringLiteral("Cancel"), 0, 0, m_parent);
        m_progress->setObjectName(QStringLiteral("ShellAndWaitProgress"));
        m_progress->setWindowModality(Qt::ApplicationModal);
        m_progress->setMinimumDuration(0);
        m_blocker.allow(m_progress);
        QObject::connect(m_progress, &QProgressDialog::canceled, &m_loop, [this] { cancel(); });
        QObject::connect(m_progress, &QDialog::rejected, &m_loop, [this] { cancel(); });
        m_progress->show();
    }

    ShellRun& m_run;
    QWidget* m_parent;
    InputBlocker m_blocker;
    QEventLoop m_loop;
    QTimer m_showProgress;
    QPointer<QProgressDialog> m_progress;
};

ShellWait* waitInProgress = nullptr;

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
    ShellRun run;
    if (!run.start(CommandLine, workingFolder))
        return run.result();
    ShellWait wait(run, parent);
    const QScopedValueRollback<ShellWait*> current(waitInProgress, &wait);
    wait.exec();
    return run.result();
}

bool cancelShellAndWait() {
    if (!waitInProgress)
        return false;
    waitInProgress->cancel();
    return true;
}

} // namespace hvl_ShellTools
