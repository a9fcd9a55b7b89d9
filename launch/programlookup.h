#pragma once

#include <QString>

class ProgramFolder;

// The program a command line's first word names: a path when it holds a slash (relative ones
// from the program folder), else the program folder's own file, else the PATH. Empty when none
// can be started.
QString resolveProgram(const QString& word, const ProgramFolder& folder);
