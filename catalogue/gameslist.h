#pragma once

#include <QString>
#include <QStringList>
#include <optional>

class ProgramFolder;

// The names of a system folder's images: its plain files, but "dir.txt" in any letter case and
// names a games-list line cannot carry. nullopt when the folder cannot be read.
std::optional<QStringList> imageNames(const QString& folder);

// The games-list lines of these images of the system, sorted.
QStringList gamesListLines(QStringList names, const QString& shortName);

// A system of the systems file and its images folder, found in any letter case (or named as the
// system spells it when it does not exist).
struct SystemFolder {
    QString shortName;
    QString path;
};

// The system with this description in the systems file; nullopt when the file cannot be read or
// names no such system, so that the games list can stay as it was.
std::optional<SystemFolder> systemFolderOf(const ProgramFolder& folder, const QString& description);
