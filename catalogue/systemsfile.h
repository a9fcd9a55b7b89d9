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

// Reads one line of the listing; a line shorter than 12 characters is no system. A line laid out
// as the emulator writes it today (a one-word name, blanks, then the description in double
// quotes) gives that name and the text between the quotes; blanks after the closing quote do not
// count, and a line cut short before its closing quote keeps its text to the end. Any other line
// is read by columns: the name in 1 to 8, the description from 12 to the last but one character.
// Lines that give no usable name are not systems.
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

// The short name of the last system with this description (the emulator's last word wins);
// empty when none has it.
QString shortNameForDescription(const std::vector<SystemLine>& systems, const QString& description);
