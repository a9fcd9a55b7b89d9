#pragma once

#include "platform/fileproblem.h"
#include "platform/programfolder.h"

#include <QString>
#include <QStringList>
#include <functional>

// The outside effects of the program, one small interface each, so that tests can answer a
// question or record a launch without a real dialog or process.

class MessageBoxes {
public:
    virtual ~MessageBoxes() = default;
    // A box with one OK button.
    virtual void notice(const QString& text) = 0;
    // A box with OK and Cancel; closing it counts as Cancel. True for OK.
    virtual bool question(const QString& text) = 0;
};

// How a started program ended when it did not end well by itself.
struct ProgramEnd {
    int exitCode = 0;       // other than 0 when it exited
    int signal = 0;         // the signal that ended it, when one did
    QString lastErrors;     // the last lines it wrote to its error output
    bool errorsKept = true; // false when there was nowhere to keep its error output
};

class ProcessStarter {
public:
    virtual ~ProcessStarter() = default;
    using Failure = std::function<void(const ProgramEnd&)>;
    // Starts the program without waiting for it. If it later ends with an exit code other than 0,
    // or by a signal other than those a person sends to stop a program, while the starter lives,
    // `failed` is called. False when it could not be started.
    virtual bool start(const QString& program, const QStringList& arguments,
                       const QString& workingFolder, Failure failed) = 0;
};

class ShellOpener {
public:
    virtual ~ShellOpener() = default;
    // Opens a file, web address or mailto: target with the program associated with it.
    // Returns at once; a failure shows nothing of ours.
    virtual void open(const QString& target) = 0;
};

class SettingsStore {
public:
    virtual ~SettingsStore() = default;
    // The stored text, even an empty one; the default only when the key is absent.
    virtual QString read(const QString& section, const QString& key,
                         const QString& defaultValue) const = 0;
    // Creates or replaces the key; no problem once the value is on disk.
    virtual FileProblem write(const QString& section, const QString& key, const QString& value) = 0;
    // Where the values are kept, as the user is told when they cannot be.
    virtual QString location() const = 0;
};

// What a window needs from the world around it. None of the pointers is owned.
struct Platform {
    ProgramFolder folder;
    SettingsStore* settings = nullptr;
    MessageBoxes* messages = nullptr;
    ProcessStarter* processes = nullptr;
    ShellOpener* shell = nullptr;
};
