#include "catalogue/systemsregeneration.h"

#include "catalogue/systemsfile.h"
#include "platform/programfolder.h"
#include "shelltools/hvl_shelltools.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>

#include <cstdio>
#include <unistd.h>

namespace {

using hvl_ShellTools::ShellResult;

// The shell's exit code for a program it found but could not execute.
constexpr int CannotExecute = 126;

QString unchangedBecause(const ShellResult& result, const QString& emulator) {
    switch (result.outcome) {
    case ShellResult::Cancelled:
        return QStringLiteral("Updating the systems list was cancelled; the list is unchanged.");
    case ShellResult::Crashed:
        return QStringLiteral("The emulator stopped unexpectedly; the systems list is unchanged.");
    case ShellResult::FailedToStart:
        return QStringLiteral("The emulator could not be started; the systems list is unchanged.");
    case ShellResult::Finished:
        break;
    }
    if (result.exitCode == CannotExecute)
        return QStringLiteral("The emulator %1 cannot be run: it is not a program this computer "
                              "can start; the systems list is unchanged.")
            .arg(emulator);
    return QStringLiteral("The emulator ended with exit code %1; the systems list is unchanged.")
        .arg(result.exitCode);
}

// Why the listing cannot become the systems list; empty when it can.
QString listingTrouble(const QString& listing) {
    const SystemsFile file = readSystemsFile(listing);
    if (file.problem.kind == FileProblem::TooLarge)
        return QStringLiteral("The emulator's listing is far too large to be a systems list (%1); "
                              "the systems list is unchanged.")
            .arg(file.problem.text());
    if (file.systems.empty())
        return QStringLiteral(
            "The emulator's listing holds no systems; the systems list is unchanged.");
    return {};
}

// The listing gets the old list's permissions (a fresh temporary file is private to its owner)
// and reaches the disk before it takes the old list's name.
bool makeReadyToReplace(const QString& listing, const QString& systemsFile) {
    const QFileInfo old(systemsFile);
    const QFileDevice::Permissions permissions =
        old.exists() ? old.permissions()
                     : QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup |
                           QFileDevice::ReadOther;
    QFile file(listing);
    return file.setPermissions(permissions) && file.open(QIODevice::ReadWrite) &&
           ::fsync(file.handle()) == 0;
}

} // namespace

RegenerationResult regenerateSystemsFile(const ProgramFolder& folder, QWidget* dialogParent) {
    const QString emulator = folder.emulator();
    if (emulator.isEmpty()) {
        const QString file = folder.emulatorFile();
        if (!file.isEmpty())
            return {false, QStringLiteral("The emulator %1 cannot be run: it is not marked as a "
                                          "program (executable); the systems list is unchanged.")
                               .arg(file)};
        return {false, QStringLiteral("The emulator \"%1\" was not found in the program folder "
                                      "%2; the systems list is unchanged.")
                           .arg(ProgramFolder::EmulatorName, folder.path())};
    }

    QString listing;
    {
        QTemporaryFile temporary(folder.systemsListing());
        temporary.setAutoRemove(false);
        if (!temporary.open())
            return {false, QStringLiteral("No file could be written in the program folder; the "
                                          "systems list is unchanged.")};
        listing = temporary.fileName();
    }
    // The shell runs in the program folder, so the listing's bare name keeps the command short;
    // the emulator's full path keeps it right even for a relative program folder.
    const QString commandLine =
        hvl_ShellTools::GetShortPath(QFileInfo(emulator).absoluteFilePath()) +
        QLatin1String(" -listfull > ") + hvl_ShellTools::shellWord(QFileInfo(listing).fileName());
    const ShellResult result =
        hvl_ShellTools::ShellAndWait(commandLine, folder.path(), dialogParent);

    QString message;
    if (result.outcome != ShellResult::Finished || result.exitCode != 0)
        message = unchangedBecause(result, emulator);
    else
        message = listingTrouble(listing);
    if (message.isEmpty()) {
        const QString systemsFile = folder.systemsFile();
        // QFile::rename will not replace an existing file; rename() does it in one step.
        if (makeReadyToReplace(listing, systemsFile) &&
            std::rename(QFile::encodeName(listing).constData(),
                        QFile::encodeName(systemsFile).constData()) == 0)
            return {true, QString()};
        message = QStringLiteral("The new systems list could not be saved in the program folder; "
                                 "the list is unchanged.");
    }
    QFile::remove(listing);
    return {false, message};
}
