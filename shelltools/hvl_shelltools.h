#pragma once

#include "shelltools/shellrun.h"

#include <QString>

class QWidget;

// Running the emulator through the shell and naming files on its command line.
namespace hvl_ShellTools {

// A path written so that /bin/sh reads it as one word: unchanged when every character is one the
// shell leaves alone, otherwise in single quotes. "Error!" when nothing exists at the path.
QString GetShortPath(const QString& LongPath);

// The quoting GetShortPath uses, for any text, whether or not a file of that name exists.
QString shellWord(const QString& text);

// Runs `/bin/sh -c CommandLine` in workingFolder and returns once the run is over. Meanwhile the
// windows keep painting but take no input; after half a second a modal progress dialog offers
// Cancel, which ends the shell and everything it started.
ShellResult ShellAndWait(const QString& CommandLine, const QString& workingFolder, QWidget* parent);

// Cancels the ShellAndWait in progress as its Cancel button does, for a window being closed or a
// Tallowick told to end; false when none is in progress.
bool cancelShellAndWait();

} // namespace hvl_ShellTools
