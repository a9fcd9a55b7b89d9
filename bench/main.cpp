// Measures the main window against the least the job needs: the start-up with a full systems
// list, filling the games list from large and small folders, the peak memory, and adding one
// entry to a long list. Prints a table; exits 0 when every target is met, 2 when one is missed,
// 1 when it cannot run.
//
//   tallowick-bench            45,000 systems; folders of 10,000, 1,000 and 100,000 files
//   tallowick-bench --quick    everything ten times smaller
//   tallowick-bench --runs N   N timed runs of each figure (5 by default); medians are shown
#include "bench/benchfolder.h"
#include "bench/benchplatform.h"
#include "bench/floor.h"
#include "bench/mamefigure.h"
#include "bench/measure.h"
#include "bench/report.h"
#include "catalogue/gameline.h"
#include "mainwindow/form1.h"

#include <QApplication>
#include <QLocale>
#include <QProcess>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <fstream>
#include <memory>
#include <stdexcept>

namespace {

const QString PeakOfWindow = QStringLiteral("--peak-memory-window");
const QString PeakOfFloor = QStringLiteral("--peak-memory-floor");

std::string loadAverage() {
    std::ifstream file("/proc/loadavg");
    std::string one, five, fifteen;
    file >> one >> five >> fifteen;
    return one + " " + five + " " + fifteen;
}

void check(bool condition, const char* what) {
    if (!condition)
        std::fprintf(stderr, "warning: %s\n", what);
}

std::string number(int value) {
    return QLocale(QLocale::English).toString(value).toStdString();
}

int rowOf(const Form1& window, const BenchSystem& system) {
    const int row = int(window.EmulatedSystemList->items().indexOf(system.descriptionText()));
    if (row < 0)
        throw std::runtime_error("the systems list lacks " + system.description);
    return row;
}

// (a) Form1 made, its start-up run, shown; against the floor window made from the same folder.
Figure measureStartUp(const Platform& platform, const BenchSizes& sizes, int runs) {
    Figure figure("(a) start-up, " + number(sizes.systems) + " systems, " +
                      number(sizes.firstGames) + " games",
                  "ms", Figure::Target::TimesFloor, 2.5);
    const std::string folder = platform.folder.path().toStdString();
    // The first of each pays for loading fonts and styles once; it is not counted.
    for (int run = -1; run < runs; ++run) {
        // Closing the windows is not part of the start-up, so each is destroyed after the timing.
        std::unique_ptr<Form1> form;
        std::unique_ptr<PaintCounter> painted;
        const double window = millisecondsOf([&] {
            form = std::make_unique<Form1>(platform);
            painted = std::make_unique<PaintCounter>(form->GamesList->viewport());
            form->Form_Load();
            showAndWaitExposed(*form);
        });
        check(form->GamesList->count() == sizes.firstGames, "(a) the games list is not full");
        check(painted->count() > 0, "(a) the games list did not paint");
        painted.reset();
        form.reset();
        settle();
        std::unique_ptr<Floor::Window> bare;
        const double floor = millisecondsOf([&] {
            bare = Floor::makeWindow(folder);
            showAndWaitExposed(*bare);
        });
        check(bare->gameCount() == sizes.firstGames, "(a) the floor's games list is not full");
        bare.reset();
        settle();
        if (run >= 0) {
            figure.measured.add(window);
            figure.floor.add(floor);
        }
    }
    return figure;
}

// (b), (c) and (e) on one shown window: each fill starts from an empty games list.
std::vector<Figure> measureFills(const Platform& platform, const BenchFolder& folder,
                                 const BenchSizes& sizes, int runs) {
    Figure large("(b) fill " + number(sizes.largeGames) + " games", "ms",
                 Figure::Target::TimesFloor, 2.5);
    Figure small("(c) fill " + number(sizes.smallGames) + " games", "ms");
    Figure add("(e) add 1 entry to " + number(sizes.largeGames) + " lines", "ms",
               Figure::Target::Under, 10);

    Form1 form(platform);
    form.Form_Load();
    showAndWaitExposed(form);
    const PaintCounter painted(form.GamesList->viewport());
    const int emptyRow = rowOf(form, folder.empty);
    const std::string programFolder = platform.folder.path().toStdString();

    auto fill = [&](const BenchSystem& system, int expected, Figure& figure) {
        form.EmulatedSystemList->setListIndex(emptyRow);
        settle();
        check(form.GamesList->count() == 0, "the games list was not emptied");
        const int row = rowOf(form, system);
        const int paintsBefore = painted.count();
        figure.measured.add(millisecondsOf([&] {
            form.EmulatedSystemList->setListIndex(row);
            settle();
        }));
        check(form.GamesList->count() == expected, "a fill did not list every game");
        check(painted.count() > paintsBefore, "a fill did not repaint the games list");
        // The floor keeps its list past the timing too, as the window keeps its own.
        std::vector<std::string> floorGames;
        figure.floor.add(millisecondsOf(
            [&] { floorGames = Floor::gamesOf(programFolder, system.description); }));
        check(int(floorGames.size()) == expected, "the floor did not list every game");
    };
    for (int run = 0; run < runs; ++run) {
        fill(folder.small, sizes.smallGames, small);
        fill(folder.large, sizes.largeGames, large);
    }

    // The window now shows the large list; the floor window shows the same.
    const auto bare = Floor::makeWindow(programFolder, folder.large.description);
    showAndWaitExposed(*bare);
    const QString shortName = QString::fromStdString(folder.large.shortName);
    for (int run = 0; run < runs; ++run) {
        const QString name = QStringLiteral("Middle Of The List %1 (USA).zip").arg(run);
        const QString line = GameLine::make(name, shortName);
        const int count = form.GamesList->count();
        add.measured.add(millisecondsOf([&] {
            form.GamesList->addItem(line);
            settle();
        }));
        check(form.GamesList->count() == count + 1, "(e) the entry was not added");
        add.floor.add(millisecondsOf([&] {
            bare->addGame(name);
            settle();
        }));
    }
    return {large, small, add};
}

// One fresh process per run, so nothing measured before counts.
double peakOfChild(const QString& mode, const QString& programFolder, const BenchSystem& system) {
    QProcess child;
    child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    child.start(QCoreApplication::applicationFilePath(),
                {mode, programFolder, system.descriptionText()});
    if (!child.waitForFinished(600000) || child.exitCode() != 0)
        throw std::runtime_error("the memory run failed: " + mode.toStdString());
    const long kib = child.readAllStandardOutput().trimmed().toLong();
    return double(kib) * 1024 / 1e6;
}

// (d) 45,000 systems and 100,000 games shown.
Figure measurePeakMemory(const QString& programFolder, const BenchFolder& folder,
                         const BenchSizes& sizes, int runs) {
    Figure figure("(d) peak memory, " + number(sizes.largeGames) + " games shown", "MB",
                  Figure::Target::AtMost, 80);
    for (int run = 0; run < runs; ++run) {
        figure.measured.add(peakOfChild(PeakOfWindow, programFolder, folder.large));
        figure.floor.add(peakOfChild(PeakOfFloor, programFolder, folder.large));
    }
    return figure;
}

// The child's side of (d): the user starts the program and selects the large system.
int printPeakOfWindow(const QString& programFolder, const QString& description) {
    BenchPlatform bench(programFolder);
    Form1 form(bench.platform);
    form.Form_Load();
    showAndWaitExposed(form);
    const int row = int(form.EmulatedSystemList->items().indexOf(description));
    form.EmulatedSystemList->setListIndex(row);
    settle();
    if (row < 0 || form.GamesList->count() == 0)
        return 1;
    std::printf("%ld\n", peakResidentKiB());
    return 0;
}

int printPeakOfFloor(const QString& programFolder, const QString& description) {
    const auto bare = Floor::makeWindow(programFolder.toStdString(), description.toStdString());
    showAndWaitExposed(*bare);
    if (bare->gameCount() == 0)
        return 1;
    std::printf("%ld\n", peakResidentKiB());
    return 0;
}

int runBenchmark(const BenchSizes& sizes, int runs) {
    std::printf("Load average at the start: %s (figures are noisy under load)\n",
                loadAverage().c_str());
    QTemporaryDir temporary;
    if (!temporary.isValid())
        throw std::runtime_error("no temporary folder");
    BenchFolder folder;
    const double made = millisecondsOf([&] { folder = makeBenchFolder(temporary.path(), sizes); });
    std::printf("Made %s systems and %s + %s + %s files in %.1f s; %d runs each, medians.\n",
                number(sizes.systems).c_str(), number(sizes.firstGames).c_str(),
                number(sizes.smallGames).c_str(), number(sizes.largeGames).c_str(), made / 1000,
                runs);
    std::fflush(stdout);

    BenchPlatform bench(temporary.path());
    std::vector<Figure> figures;
    figures.push_back(measureStartUp(bench.platform, sizes, runs));
    for (Figure& figure : measureFills(bench.platform, folder, sizes, runs))
        figures.push_back(std::move(figure));
    figures.push_back(measurePeakMemory(temporary.path(), folder, sizes, runs));
    if (std::optional<Figure> mame = measureMameUpdate(runs))
        figures.push_back(std::move(*mame));
    const int missed = printReport(figures);
    std::printf("Times are wall-clock; MB are 10^6 bytes of VmHWM, each from a fresh process.\n");
    std::printf("Load average at the end: %s\n", loadAverage().c_str());
    return missed ? 2 : 0;
}

} // namespace

int main(int argc, char* argv[]) {
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    const QStringList arguments = QCoreApplication::arguments();
    try {
        if (arguments.size() == 4 && arguments[1] == PeakOfWindow)
            return printPeakOfWindow(arguments[2], arguments[3]);
        if (arguments.size() == 4 && arguments[1] == PeakOfFloor)
            return printPeakOfFloor(arguments[2], arguments[3]);

        BenchSizes sizes;
        if (arguments.contains(QStringLiteral("--quick"))) {
            sizes.systems /= 10;
            sizes.firstGames /= 10;
            sizes.smallGames /= 10;
            sizes.largeGames /= 10;
        }
        int runs = 5;
        const qsizetype runsAt = arguments.indexOf(QStringLiteral("--runs"));
        if (runsAt > 0)
            runs = std::max(1, arguments.value(runsAt + 1).toInt());
        return runBenchmark(sizes, runs);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "tallowick-bench: %s\n", error.what());
        return 1; // no report could be made
    }
}
