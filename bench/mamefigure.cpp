#include "bench/mamefigure.h"

#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <cstdio>

namespace {

QString installedMame() {
    const QString onPath = QStandardPaths::findExecutable(QStringLiteral("mame"));
    if (!onPath.isEmpty())
        return onPath;
    const QString debian = QStringLiteral("/usr/games/mame");
    return QFileInfo(debian).isExecutable() ? debian : QString();
}

// Wall-clock time of one run with its listing thrown away, as `time mame -listfull >/dev/null`.
double millisecondsOfRun(const QString& program, const QString& option) {
    QProcess process;
    process.setStandardOutputFile(QProcess::nullDevice());
    process.setStandardErrorFile(QProcess::nullDevice());
    const double milliseconds = millisecondsOf([&] {
        process.start(program, {option});
        process.waitForFinished(-1);
    });
    if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0)
        std::fprintf(stderr, "warning: %s %s failed\n", qPrintable(program), qPrintable(option));
    return milliseconds;
}

} // namespace

std::optional<Figure> measureMameUpdate(int runs) {
    const QString mame = installedMame();
    if (mame.isEmpty()) {
        std::printf("Update systems with MAME: skipped: mame is not installed\n");
        return std::nullopt;
    }
    const QString adapter = QStringLiteral(TALLOWICK_MAME_ADAPTER);
    Samples listFull, listMedia;
    Figure figure("Update systems with MAME", "ms", Figure::Target::AtMost);
    // Taken in turns, so that a change in the machine's load touches all three alike.
    for (int run = 0; run < runs; ++run) {
        const double full = millisecondsOfRun(mame, QStringLiteral("-listfull"));
        const double media = millisecondsOfRun(mame, QStringLiteral("-listmedia"));
        listFull.add(full);
        listMedia.add(media);
        figure.floor.add(full + media);
        figure.measured.add(millisecondsOfRun(adapter, QStringLiteral("-listfull")));
    }
    figure.limit = listFull.median() + listMedia.median() + 100;
    std::printf("MAME (%s): -listfull %.0f ms, -listmedia %.0f ms (medians); the floor of \"Update "
                "systems with MAME\" is their sum.\n",
                qPrintable(mame), listFull.median(), listMedia.median());
    return figure;
}
