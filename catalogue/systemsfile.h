#pragma once

#include "platform/textfile.h"

#include <QString>
#include <optional>
#include <vector>

// One system of the emulator's listing.
struct SystemLine {
    QString shortName;
    QString description;
};

// Reads one line of the listing. A line with a double quote: the name is the text before the
// first quote, the description runs from after it to the closing quote that ends the line (to
// the line's end when a cut left none). A line without one: the name is columns 1 to 8, the
// description starts at column 12 and ends one character before the line does. Lines that give
// no usable name are not systems.
std::optional<SystemLine> parseSystemLine(const QString& line);

// True for a name that can stand in a folder path and a command line as one word.
bool isUsableShortName(const QString& name);

// The emulator's listing is a few megabytes; a file far larger is not one.
constexpr qint64 LargestSystemsFile = 256 * 1024 * 1024;

struct SystemsFile {
    std::vector<SystemLine> systems; // after the header line, in file order
    FileProblem problem;             // why nothing could be read
};

SystemsFile readSystemsFile(const QString& path);

// What to tell the user when the file gives no system to show: it is missing, it cannot be read
// (and why), or it holds no usable system line. Empty when it gives systems.
QString systemsFileTrouble(const SystemsFile& file, const QString& path);

// The short name of the last system with this description (the emulator's last word wins);
// empty when none has it.
QString shortNameForDescription(const std::vector<SystemLine>& systems, const QString& description);
