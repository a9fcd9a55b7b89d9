#pragma once

#include <QString>

// The executable plain file in the folder named `name` or `name` + ".exe", in any letter case
// (the emulator's files keep the spelling of the platform they came from); an exact spelling
// wins. Empty when there is none.
QString findProgramInFolder(const QString& folder, const QString& name);

// The program a command line's first word names: a path when it holds a slash (relative ones
// from the program folder), else the program folder's own file, else the PATH. Empty when none
// can be started.
QString resolveProgram(const QString& word, const QString& programFolder);
