#pragma once

#include "platform/platform.h"

#include <QObject>

// Starts the emulator as a process of its own session: it never waits for it, and closing
// Tallowick neither ends it nor hangs it up. Its error output goes to an unnamed file, not a pipe
// it could die writing to once Tallowick is gone; when it ends by itself with an exit code other
// than 0, the file's last lines say why.
class QtProcessStarter : public QObject, public ProcessStarter {
public:
    bool start(const QString& program, const QStringList& arguments, const QString& workingFolder,
               Failure failed) override;
};

// The last lines of what a program wrote, cut to a size a message box shows whole.
QString lastLinesOf(const QByteArray& output);
