#pragma once

#include <QString>

class ProgramFolder;
class QWidget;

struct RegenerationResult {
    bool replaced = false;
    QString message; // what to tell the user when nothing was replaced; empty on success
};

// Runs the emulator MESS of the program folder with -listfull and, when it ends well with at
// least one system, makes its listing the new Tallowick.sys in one step. On every other outcome
// Tallowick.sys stays exactly as it was. While the emulator runs, a progress dialog over
// dialogParent lets the user cancel.
RegenerationResult regenerateSystemsFile(const ProgramFolder& folder, QWidget* dialogParent);
