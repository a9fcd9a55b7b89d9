#pragma once

#include "platform/platform.h"

#include <QHash>
#include <QList>
#include <QPair>
#include <QTemporaryDir>

// A whole file's bytes (empty when it cannot be read), and a whole file written; any path.
QByteArray fileBytes(const QString& path);
bool writeFileBytes(const QString& path, const QByteArray& bytes);

// Settings kept in memory, with a record of every write in order.
class MemorySettingsStore : public SettingsStore {
public:
    QString read(const QString& section, const QString& key,
                 const QString& defaultValue) const override;
    bool write(const QString& section, const QString& key, const QString& value) override;

    bool contains(const QString& section, const QString& key) const;
    QString value(const QString& section, const QString& key) const;
    void set(const QString& section, const QString& key, const QString& value);

    QHash<QString, QString> values;        // "Section/Key" -> text
    QList<QPair<QString, QString>> writes; // ("Section/Key", text), in order
    bool failWrites = false;
};

// Answers questions from a queue (OK when the queue is empty) and records every text shown.
class RecordingMessageBoxes : public MessageBoxes {
public:
    void notice(const QString& text) override { notices << text; }
    bool question(const QString& text) override;

    QStringList notices;
    QStringList questions;
    QList<bool> answers;
};

class RecordingProcessStarter : public ProcessStarter {
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
    bool succeed = true;
};

class RecordingShellOpener : public ShellOpener {
public:
    void open(const QString& target, const QString& workingFolder) override {
        targets << target;
        folders << workingFolder;
    }
    QStringList targets;
    QStringList folders;
};

// A temporary program folder with recording stand-ins for every outside effect.
struct TestPlatform {
    TestPlatform();

    QString path(const QString& name) const { return folder.filePath(name); }
    // Writes a file under the program folder, creating its folders; bytes are written as given.
    void writeFile(const QString& name, const QByteArray& bytes) const;
    QByteArray readFile(const QString& name) const;
    void makeFolder(const QString& name) const;

    Platform platform();

    QTemporaryDir folder;
    MemorySettingsStore settings;
    RecordingMessageBoxes messages;
    RecordingProcessStarter processes;
    RecordingShellOpener shell;
};
