#pragma once

#include "platform/outputtail.h"

#include <QObject>
#include <QProcess>
#include <QTimer>

namespace hvl_ShellTools {

struct ShellResult {
    enum Outcome { Finished, FailedToStart, Crashed, Cancelled } outcome = FailedToStart;
    int exitCode = -1;  // the command's exit code when Finished
    QString lastErrors; // the last lines the command wrote to its error output
};

// One command line run by /bin/sh, in a process group of its own so that cancelling it ends
// everything it started. The last of its error output is kept for telling the user why it failed.
class ShellRun : public QObject {
    Q_OBJECT
public:
    explicit ShellRun(QObject* parent = nullptr);
    // A run still going is killed, with everything it started, and waited for.
    ~ShellRun() override;

    // False when the shell could not be started; the run is then over.
    bool start(const QString& commandLine, const QString& workingFolder);
    // Asks the whole group to end, and kills what is left of it a second later.
    void cancel();
    // The shell has ended and, after a cancel, so has everything it started.
    bool isOver() const;
    ShellResult result() const;

signals:
    void over();

private:
    bool groupGone() const;
    void checkOver();

    QProcess m_shell;
    OutputTail m_errors;
    qint64 m_group = 0;
    bool m_shellEnded = false;
    bool m_cancelled = false;
    bool m_killSent = false;
    bool m_overTold = false;
    QTimer m_groupPoll;
};

} // namespace hvl_ShellTools
