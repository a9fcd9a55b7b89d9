#pragma once

#include <QString>

// The program title: the settings' application name and the base name of the program's files.
inline const QString ProgramTitle = QStringLiteral("Tallowick");

// The folder that holds the tallowick executable, and what the program finds in it. Every file
// the program reads or writes there is named here and nowhere else:
//
//   MESS, MESS.EXE (any letter case)  emulator()        the emulator started by default
//   <name> (any letter case)          program(name)     another program of the folder
//   Tallowick.sys                     systemsFile()     the systems list the emulator writes
//                                                       (or a link to it)
//   ROMS/<system>/ (any letter case)  gamesFolder()     one folder of images per system
//   INP/                              recordingsFolder() the emulator's input recordings
//   Tallowick.fav                     favouritesFile()  the user's favourites
//   Tallowick.htm                     helpPage()        the help page
class ProgramFolder {
public:
    ProgramFolder() = default;
    explicit ProgramFolder(QString path) : m_path(std::move(path)) {}

    const QString& path() const { return m_path; }

    // The executable plain file `name` or `name.exe`, in any letter case (the emulator's files
    // keep the spelling of the system they were copied from); an exact spelling wins. Empty when
    // there is none.
    QString program(const QString& name) const;
    QString emulator() const { return program(EmulatorName); }
    // The emulator's file even when it cannot be run; empty when there is none.
    QString emulatorFile() const;
    static inline const QString EmulatorName = QStringLiteral("MESS");

    QString systemsFile() const { return file(QStringLiteral(".sys")); }
    QString gamesFolder(const QString& shortName) const;
    QString recordingsFolder() const { return m_path + QStringLiteral("/INP"); }
    QString favouritesFile() const { return file(QStringLiteral(".fav")); }
    QString helpPage() const { return file(QStringLiteral(".htm")); }

    // A path as the user finds it from the folder ("ROMS/nes"); a path elsewhere stays whole.
    QString relativePath(const QString& path) const;

private:
    // The plain files `name` and `name.exe` in any letter case, exact spellings first.
    QStringList candidates(const QString& name) const;
    QString file(const QString& extension) const {
        return m_path + QLatin1Char('/') + ProgramTitle + extension;
    }

    QString m_path;
};
