#pragma once

#include <QString>
#include <string>

// How big the generated program folder is.
struct BenchSizes {
    int systems = 45000;
    int firstGames = 10000; // the system that sorts first, so the start-up fills it
    int smallGames = 1000;
    int largeGames = 100000;
};

// One system of the generated listing that a measurement selects.
struct BenchSystem {
    std::string shortName;   // UTF-8, as written
    std::string description; // UTF-8, as written
    QString descriptionText() const { return QString::fromStdString(description); }
};

struct BenchFolder {
    BenchSystem first; // sorts first in the systems list
    BenchSystem small;
    BenchSystem large;
    BenchSystem empty; // has no ROMS folder: selecting it empties the games list
};

// Writes <programFolder>/Tallowick.sys in the emulator's wide layout and the ROMS folders of the
// first, small and large systems, full of empty files with names like real dumps. Deterministic.
BenchFolder makeBenchFolder(const QString& programFolder, const BenchSizes& sizes);
