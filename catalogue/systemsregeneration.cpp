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

QString unchangedBecause(const ShellResult& result) {
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
    return QStringLiteral("The emulator ended with exit code %1; the systems list is unchanged.")
        .arg(result.exitCode);
}

bool holdsSystems(const QString& path) {
    return !readSystemsFile(path).systems.empty();
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
    if (emulator.isEmpty())
        return {false,
                QStringLiteral("The emulator \"MESS\" was not found in the program folder.")};

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
        message = unchangedBecause(result);
    else if (!holdsSystems(listing))
        message = QStringLiteral(
            "The emulator's listing holds no systems; the systems list is unchanged.");
    else {
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
