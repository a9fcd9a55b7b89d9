#pragma once

#include "catalogue/systemsfile.h"
#include "shelltools/shellrun.h"

#include <QString>

// What the user is told about the systems list and its "Update systems".

// The file gives no system to show: it is missing, it cannot be read (and why), or it holds no
// usable system line. Empty when it gives systems.
QString systemsFileTrouble(const SystemsFile& file, const QString& path);

QString emulatorNotFound(const QString& programFolder);
QString emulatorNotExecutable(const QString& file);
QString listingNotWritable(const QString& systemsList, const QString& reason);
// The run did not end well: cancelled, crashed, not started, or an exit code other than 0.
QString runEndedBadly(const hvl_ShellTools::ShellResult& result, const QString& emulator);
// The run ended well, but its listing cannot be the systems list; empty when it can.
QString listingTrouble(const SystemsFile& listing, const QString& lastErrors);
QString listNotSaved(const QString& systemsList, const QString& reason);
