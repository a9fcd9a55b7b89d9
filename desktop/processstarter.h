#pragma once

#include "platform/platform.h"

#include <QObject>

// Starts the emulator as a process of its own session: it never waits for it, and closing
// Tallowick neither ends it nor hangs it up. Its error output goes to an unnamed file, not a pipe
// it could die writing to once Tallowick is gone; the file is kept small while the program runs,
// and when the program ends badly its last lines say why.
//
// Written with posix_spawn rather than QProcess: a QProcess ends its program when it is destroyed,
// and its detached start tells nothing of how the program ends.
class QtProcessStarter : public QObject, public ProcessStarter {
public:
    bool start(const QString& program, const QStringList& arguments, const QString& workingFolder,
               Failure failed) override;
};
