#pragma once

#include <QString>

// What the user is told when a launch goes wrong; the command line label alone would look as if
// it ran.

// The command line names no program (it starts with a blank).
QString noProgramNotice();
// The program is not in the program folder or on the PATH, or cannot be run.
QString cannotStartNotice(const QString& program);
// The emulator ended by itself with an exit code other than 0 while running `game` (empty when no
// game was chosen), and these were the last lines it wrote to its error output.
QString emulatorFailedNotice(const QString& game, int exitCode, const QString& lastErrors);
