#include "catalogue/cataloguemessages.h"

#include "platform/outputtail.h"
#include "platform/programfolder.h"

namespace {

const QString Unchanged = QStringLiteral("; the systems list is unchanged.");

// The shell's exit code for a program it found but could not execute.
constexpr int CannotExecute = 126;

} // namespace

QString systemsFileTrouble(const SystemsFile& file, const QString& path) {
    const QString remedy =
        QStringLiteral("\nChoose \"Update systems\" in the \"File\" menu to make a new one.");
    switch (file.problem.kind) {
    case FileProblem::None:
        if (!file.systems.empty())
            return {};
        return QStringLiteral("The systems list %1 holds no system that can be shown.").arg(path) +
               remedy;
    case FileProblem::Missing:
        return QStringLiteral("The systems list %1 was not found.").arg(path) + remedy;
    case FileProblem::TooLarge:
        return QStringLiteral("The systems list %1 cannot be read: %2, far more than a systems "
                              "list holds.")
                   .arg(path, file.problem.text()) +
               remedy;
    case FileProblem::NotAFile:
    case FileProblem::Unreadable:
    case FileProblem::Unwritable:
        break;
    }
    return QStringLiteral("The systems list %1 cannot be read: %2.")
               .arg(path, file.problem.text()) +
           remedy;
}

QString emulatorNotFound(const QString& programFolder) {
    return QStringLiteral("The emulator \"%1\" was not found in the program folder %2")
               .arg(ProgramFolder::EmulatorName, programFolder) +
           Unchanged;
}

QString emulatorNotExecutable(const QString& file) {
    return QStringLiteral("The emulator %1 cannot be run: it is not marked as a program "
                          "(executable)")
               .arg(file) +
           Unchanged;
}

QString listingNotWritable(const QString& systemsList, const QString& reason) {
    return QStringLiteral("No new systems list can be written beside %1: %2")
               .arg(systemsList, reason) +
           Unchanged;
}

QString runEndedBadly(const hvl_ShellTools::ShellResult& result, const QString& emulator) {
    using hvl_ShellTools::ShellResult;
    QString text;
    switch (result.outcome) {
    case ShellResult::Cancelled:
        return QStringLiteral("Updating the systems list was cancelled") + Unchanged;
    case ShellResult::Crashed:
        text = QStringLiteral("The emulator stopped unexpectedly") + Unchanged;
        break;
    case ShellResult::FailedToStart:
        return QStringLiteral("The emulator could not be started") + Unchanged;
    case ShellResult::Finished:
        if (result.exitCode == CannotExecute)
            text = QStringLiteral("The emulator %1 cannot be run: it is not a program this "
                                  "computer can start")
                       .arg(emulator) +
                   Unchanged;
        else
            text = QStringLiteral("The emulator ended with exit code %1").arg(result.exitCode) +
                   Unchanged;
        break;
    }
    return text + lastWordsParagraph(result.lastErrors);
}

QString listingTrouble(const SystemsFile& listing, const QString& lastErrors) {
    if (listing.problem.kind == FileProblem::TooLarge)
        return QStringLiteral("The emulator's listing is far too large to be a systems list (%1)")
                   .arg(listing.problem.text()) +
               Unchanged;
    if (listing.systems.empty())
        return QStringLiteral("The emulator's listing holds no systems") + Unchanged +
               lastWordsParagraph(lastErrors);
    return {};
}

QString listNotSaved(const QString& systemsList, const QString& reason) {
    return QStringLiteral("The new systems list could not be saved: %1 cannot be written: %2")
               .arg(systemsList, reason) +
           Unchanged;
}
