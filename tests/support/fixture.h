#pragma once

// The one set of fixtures every suite shares: a program folder of the test's own with recording
// stand-ins for the world around the window, the real stand-in emulator installed in it, the
// window opened on it, and the files a test makes.
#include "mainwindow/form1.h"
#include "platform/platform.h"
#include "tests/support/snapshot.h"

#include <QHash>
#include <QPair>
#include <QTemporaryDir>
#include <memory>

using Systems = QList<QPair<QString, QString>>; // short name, description

// A listing as today's emulator writes it: a header, then `%-17s "%s"` lines ended by LF.
QByteArray listing(const Systems& systems);

QByteArray fileBytes(const QString& path);                     // empty when it cannot be read
void writeBytes(const QString& path, const QByteArray& bytes); // makes the folders it needs

// Puts at `path` what a mistake can leave in place of a file: "pipe", "device" (a link to
// /dev/zero), "folder", "huge" (3 GB of nothing, sparse), "long line" (one line of 200 MB,
// sparse), "unreadable" (mode 0; root reads it anyway).
void makeSpecial(const QString& path, const QString& shape);

// The most memory this process has held, in megabytes.
double peakMegabytes();

// Sets an environment variable for as long as it lives; the stand-in emulator reads its orders
// from the environment it inherits.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const QByteArray& value);
    ~ScopedEnv();

private:
    const char* m_name;
    QByteArray m_old;
    bool m_had;
};

class MemorySettings : public SettingsStore {
public:
    QString read(const QString& section, const QString& key,
                 const QString& defaultValue) const override;
    bool write(const QString& section, const QString& key, const QString& value) override;

    QHash<QString, QString> values;        // "Section/Key" -> text
    QList<QPair<QString, QString>> writes; // in order
};

// Answers questions from a queue (OK when it is empty) and keeps every text shown.
class RecordingMessages : public MessageBoxes {
public:
    void notice(const QString& text) override { notices << text; }
    bool question(const QString& text) override;

    QStringList notices, questions;
    QList<bool> answers;
};

class RecordingStarter : public ProcessStarter {
public:
    struct Start {
        QString program;
        QStringList arguments;
        QString workingFolder;
        Failure failed;
    };
    bool start(const QString& program, const QStringList& arguments, const QString& workingFolder,
               Failure failed) override;

    QList<Start> starts;
};

class RecordingShell : public ShellOpener {
public:
    void open(const QString& target, const QString& workingFolder) override {
        targets << target;
        folders << workingFolder;
    }
    QStringList targets, folders;
};

// One start of the stand-in emulator, as its log has it.
struct StandinRun {
    qint64 pid = 0;
    QString program, cwd;
    QStringList arguments;
};

// A temporary program folder with a recording stand-in for every outside effect. The real ones
// can be put in their place: `platform.processes = &real`.
struct TestPlatform {
    TestPlatform();

    QString path(const QString& name = QString()) const;
    void write(const QString& name, const QByteArray& bytes) const {
        writeBytes(path(name), bytes);
    }

    // The stand-in emulator, copied into the folder under `name`; it logs outside the folder.
    void installStandin(const QString& name = QStringLiteral("MESS"));
    QList<StandinRun> standinRuns() const;

    // The main window on the folder, its start-up done, not shown.
    std::unique_ptr<Form1> open();

    QTemporaryDir folder, elsewhere;
    MemorySettings settings;
    RecordingMessages messages;
    RecordingStarter processes;
    RecordingShell shell;
    Platform platform;
};

// The emulator line of the games list for a file of the system nes.
QString nesLine(const QString& fileName);
