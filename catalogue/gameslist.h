#pragma once

#include <QString>
#include <QStringList>
#include <optional>

class ProgramFolder;

// The games-list lines of one system's folder, sorted; "dir.txt" in any letter case and names
// a line cannot carry are left out. A missing or unreadable folder gives no lines.
QStringList gamesListLines(const QString& folder, const QString& shortName);

// The full games list of the system with this description in the systems file; nullopt when the
// file cannot be read or names no such system, so that the list can stay as it was.
std::optional<QStringList> fullGamesList(const ProgramFolder& folder, const QString& description);
