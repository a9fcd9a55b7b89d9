#pragma once

// The fixtures every suite shares: a program folder of the test's own, recording stand-ins for the
// world around the window, the window opened on it, and the user's clicks on its lists. Helpers
// that can fail return false, for the caller's QVERIFY.
#include "mainwindow/form1.h"
#include "platform/platform.h"
#include "tests/support/snapshot.h"

#include <QHash>
#include <QPair>
#include <QTemporaryDir>
#include <memory>
#include <optional>

using Systems = QList<QPair<QString, QString>>; // short name, description

// A listing as today's emulator writes it: a header, then `%-17s "%s"` lines.
QByteArray listing(const Systems& systems);

QByteArray fileBytes(const QString& path);                     // empty when it cannot be read
bool writeBytes(const QString& path, const QByteArray& bytes); // makes the folders it needs

// What a mistake can leave where a file should be: a named pipe, a folder, 3 GB of nothing, a
// line of 200 MB before a system line (both sparse), or a file of mode 0.
enum class Special { Pipe, Folder, Huge, LongLine, Unreadable };
bool makeSpecial(const QString& path, Special shape);

double peakMegabytes(); // the most this process has held

// An environment variable set for as long as it lives: the stand-in emulator takes its orders
// from there.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const QByteArray& value);
    ~ScopedEnv();

private:
    const char* m_name;
    QByteArray m_old;
    bool m_had;
};

// While it lives, a write past `bytes` fails as on a full disk.
class DiskFull {
public:
    explicit DiskFull(qint64 bytes);
    ~DiskFull();

private:
    qint64 m_old[2];
};

class MemorySettings : public SettingsStore {
public:
    QString read(const QString& section, const QString& key,
                 const QString& defaultValue) const override;
    FileProblem write(const QString& section, const QString& key, const QString& value) override;
    QString location() const override { return QStringLiteral("memory"); }

    QHash<QString, QString> values; // "Section/Key" -> text
};

// Answers questions from a queue (OK when it is empty); keeps every text shown.
class RecordingMessages : public MessageBoxes {
public:
    void notice(const QString& text) override { notices << text; }
    bool question(const QString& text) override;

    QStringList notices, questions;
    QList<bool> answers;
};

class RecordingStarter : public ProcessStarter {
public:
    bool start(const QString&, const QStringList& arguments, const QString&, Failure) override {
        starts << arguments;
        return true;
    }
    QList<QStringList> starts; // the arguments of each start
};

class RecordingShell : public ShellOpener {
public:
    void open(const QString& target) override { targets << target; }
    QStringList targets;
};

struct StandinRun { // one start of the stand-in emulator, from its log
    qint64 pid = 0;
    QString program, cwd;
    QStringList arguments;
};

// A temporary program folder with a recording stand-in for every outside effect; a test may put
// a real one in its place (`platform.processes = &real`).
struct TestPlatform {
    TestPlatform();

    QString path(const QString& name = QString()) const;
    bool write(const QString& name, const QByteArray& bytes) const {
        return writeBytes(path(name), bytes);
    }
    // Tallowick.sys listing this one system, and its images in ROMS/<system>/.
    bool writeSystem(const QString& shortName, const QString& description,
                     const QStringList& images) const;

    // The stand-in emulator, copied in as `name`; it logs outside the folder.
    bool installStandin(const QString& name = QStringLiteral("MESS"));
    QList<StandinRun> standinRuns() const;

    std::unique_ptr<Form1> open(); // the window, its start-up done, not shown

    QTemporaryDir folder, elsewhere;
    MemorySettings settings;
    RecordingMessages messages;
    RecordingStarter processes;
    RecordingShell shell;
    Platform platform;
    std::optional<ScopedEnv> standinLog;
};

// The games-list line of a file of the system nes.
QString nesLine(const QString& fileName);

// What the user does to a list: a click of `button` on the row (the press selects it and runs the
// list's press reaction), or a double-click. False when the row does not exist.
bool clickRow(SortedListBox* list, int row, Qt::MouseButton button = Qt::LeftButton,
              Qt::KeyboardModifiers modifiers = {});
bool doubleClickRow(SortedListBox* list, int row);
