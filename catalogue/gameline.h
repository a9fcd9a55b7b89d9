#pragma once

#include <QString>

// A games-list line: the file name padded with blanks to column 63, then from column 64 the
// command tail: the system's short name, one blank, and the file name in double quotes. The
// padding pushes the tail past the list's visible width, so the user sees only the name. A name
// longer than 63 characters shows cut to them; the tail always holds it whole.
namespace GameLine {

constexpr int NameColumns = 63;

// A name the line can carry and the launch can take back out whole: not empty, no double quote,
// no control character.
bool canCarry(const QString& fileName);

QString make(const QString& fileName, const QString& shortName);

// Everything from column 64 on; empty for a shorter line.
QString commandTail(const QString& line);

// The game's name for messages: columns 1 to 63 without the blanks around them, or the whole
// name from the tail when it was too long to show whole.
QString name(const QString& line);

// The tail's text up to its first blank.
QString shortName(const QString& line);

} // namespace GameLine
