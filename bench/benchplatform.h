#pragma once

#include "platform/platform.h"

#include <cstdio>

// Stand-ins for the outside world: no settings stored, no dialogs, nothing started. A message
// during a measurement means the run went wrong, so it is printed.
class BenchSettings : public SettingsStore {
public:
    QString read(const QString&, const QString&, const QString& defaultValue) const override {
        return defaultValue;
    }
    FileProblem write(const QString&, const QString&, const QString&) override { return {}; }
    QString location() const override { return QStringLiteral("nowhere"); }
};

class BenchMessages : public MessageBoxes {
public:
    void notice(const QString& text) override {
        std::fprintf(stderr, "unexpected message: %s\n", qPrintable(text));
    }
    bool question(const QString& text) override {
        notice(text);
        return false;
    }
};

class BenchProcesses : public ProcessStarter {
public:
    bool start(const QString&, const QStringList&, const QString&, Failure) override {
        return false;
    }
};

class BenchShell : public ShellOpener {
public:
    void open(const QString&) override {}
};

struct BenchPlatform {
    explicit BenchPlatform(const QString& programFolder) {
        platform.folder = ProgramFolder(programFolder);
        platform.settings = &settings;
        platform.messages = &messages;
        platform.processes = &processes;
        platform.shell = &shell;
    }
    BenchPlatform(const BenchPlatform&) = delete;
    BenchPlatform& operator=(const BenchPlatform&) = delete;

    BenchSettings settings;
    BenchMessages messages;
    BenchProcesses processes;
    BenchShell shell;
    Platform platform;
};
