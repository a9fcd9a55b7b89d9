#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// One start of the stand-in emulator, as it noted it in its log.
struct StandinRun {
    qint64 pid = 0;
    QString program;
    QString cwd;
    QStringList arguments;
};

// The complete records of the stand-in's log, oldest first; a record cut short (no "end" line)
// is left out. An absent log reads as no runs.
QList<StandinRun> readStandinLog(const QString& path);
