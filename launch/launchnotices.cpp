#include "launch/launchnotices.h"

#include "platform/outputtail.h"

#include <cstring>

QString noProgramNotice() {
    return QStringLiteral("The command line names no program to start.");
}

QString cannotStartNotice(const QString& program) {
    return QStringLiteral("The program \"%1\" could not be started: it is not in the program "
                          "folder or on the PATH, or it cannot be run.")
        .arg(program);
}

QString emulatorFailedNotice(const QString& game, const ProgramEnd& end) {
    QString how =
        end.signal != 0
            ? QStringLiteral("The emulator stopped on signal %1 (%2)")
                  .arg(QString::number(end.signal), QString::fromLocal8Bit(::strsignal(end.signal)))
            : QStringLiteral("The emulator ended with exit code %1").arg(end.exitCode);
    if (!game.isEmpty())
        how += QStringLiteral(" while running %1").arg(game);
    return how + QLatin1Char('.') + lastWordsParagraph(end.lastErrors, end.errorsKept);
}
