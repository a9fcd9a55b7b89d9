#include "launch/launchnotices.h"

QString noProgramNotice() {
    return QStringLiteral("The command line names no program to start.");
}

QString cannotStartNotice(const QString& program) {
    return QStringLiteral("The program \"%1\" could not be started: it is not in the program "
                          "folder or on the PATH, or it cannot be run.")
        .arg(program);
}

QString emulatorFailedNotice(const QString& game, int exitCode, const QString& lastErrors) {
    QString text = game.isEmpty()
                       ? QStringLiteral("The emulator ended with exit code %1.").arg(exitCode)
                       : QStringLiteral("The emulator ended with exit code %1 while running %2.")
                             .arg(QString::number(exitCode), game);
    if (!lastErrors.isEmpty())
        text += QStringLiteral("\n\nIts last words:\n") + lastErrors;
    return text;
}
