#pragma once

#include <QString>

class QWidget;

// Running the emulator through the shell and naming files on its command line.
namespace hvl_ShellTools {

// A path written so that /bin/sh reads it as one word: unchanged when every character is one the
// shell leaves alone, otherwise in single quotes. "Error!" when nothing exists at the path.
QString GetShortPath(const QString& LongPath);

// The quoting GetShortPath uses, for any text, whether or not a file of that name exists.
QString shellWord(const QString& text);

struct ShellResult {
    enum Outcome { Finished, FailedToStart, Crashed, Cancelled } outcome;
    int exitCode; // the command's exit code when Finished
};

// Runs `/bin/sh -c CommandLine` in workingFolder and returns once the shell has ended. Meanwhile
// the windows keep painting but take no input; after half a second a modal progress dialog
// offers Cancel, which ends the shell and everything it started.
ShellResult ShellAndWait(const QString& CommandLine, const QString& workingFolder, QWidget* parent);

} // namespace hvl_ShellTools
