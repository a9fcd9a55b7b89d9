#pragma once

#include "platform/platform.h"

#include <QString>

// What the user is told when a launch goes wrong; the command line label alone would look as if
// it ran.

// The command line names no program (it starts with a blank).
QString noProgramNotice();
// The program is not in the program folder or on the PATH, or cannot be run.
QString cannotStartNotice(const QString& program);
// The emulator ended badly (an exit code other than 0, or a crash) while running `game` (empty
// when no game was chosen); its last lines of error output say why.
QString emulatorFailedNotice(const QString& game, const ProgramEnd& end);
