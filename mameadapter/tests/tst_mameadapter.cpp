// The adapter is tested as Tallowick uses it: copied into a program folder as MESS, a scripted
// "mame" (fake-mame.sh) first on PATH. The set-up script runs on a temporary HOME.

#include "tests/support/snapshot.h"

#include <QtTest>
#include <memory>

namespace {

const QString Adapter = QStringLiteral(TALLOWICK_MAME_ADAPTER);
const QString FakeMame = QStringLiteral(TALLOWICK_FAKE_MAME);
const QString SetUpScript = QStringLiteral(TALLOWICK_SET_UP_SCRIPT);

struct Run {
    int exitCode; // -1 when it did not end by itself
    QByteArray output, errors;
};

// Never run from the program folder: the adapter finds the images beside itself.
Run run(const QString& program, const QStringList& arguments, const QProcessEnvironment& env) {
    QProcess p;
    p.setProcessEnvironment(env);
    p.setWorkingDirectory(QDir::tempPath());
    p.start(program, arguments);
    const bool ended = p.waitForFinished(120000) && p.exitStatus() == QProcess::NormalExit;
    return {ended ? p.exitCode() : -1, p.readAllStandardOutput(), p.readAllStandardError()};
}

QByteArray contentOf(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(none)");
}

void write(const QString& path, const QByteArray& content) {
    QVERIFY(QDir().mkpath(QFileInfo(path).path()));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly) && file.write(content) == content.size());
}

} // namespace

class MameAdapterTest : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> root;
    QString folder, bin, home, build; // the program folder holds a blank, as many real ones do

    // The fake first on PATH, no real MAME to fall back on, then each "NAME=value" of
    // `changes` (separated by "|"); %B stands for the fake's folder.
    QProcessEnvironment environment(const QString& changes = {}) const {
        QProcessEnvironment result = QProcessEnvironment::systemEnvironment();
        const QString base =
            "PATH=%B:/usr/bin:/bin|TALLOWICK_MAME_FALLBACK=/no|TALLOWICK_NO_START=1";
        for (QString change :
             (base + "|HOME=" + home + "|" + changes).split('|', Qt::SkipEmptyParts))
            result.insert(change.section('=', 0, 0), change.section('=', 1).replace("%B", bin));
        return result;
    }

private slots:
    void init() {
        root = std::make_unique<QTemporaryDir>();
        folder = root->filePath("Tallowick Folder");
        bin = root->filePath("bin");
        home = root->filePath("home");
        build = root->filePath("build"); // laid out as a real build leaves it
        const QString program = build + "/" TALLOWICK_BUILT_PROGRAM;
        const QString adapter = build + "/" TALLOWICK_BUILT_ADAPTER;
        QVERIFY(QDir().mkpath(bin) && QDir().mkpath(folder) &&
                QDir().mkpath(QFileInfo(program).path()) &&
                QDir().mkpath(QFileInfo(adapter).path()));
        for (const QString& copy : {folder + "/MESS", adapter})
            QVERIFY(QFile::copy(Adapter, copy));
        // Any executable stands in for Tallowick, which the set-up script is told not to start.
        QVERIFY(QFile::copy(FakeMame, bin + "/mame") && QFile::copy(FakeMame, program));
    }

    // Lists are written with "|" between items. A row: arguments, files made in the program folder
    // first, what mame gets for a game (%I: the first file, %P: the program folder), the adapter's
    // last line on standard error (%B: the fake's folder), exit code, environment, output.
    void adapter_data() {
        for (const char* column : {"arguments", "files", "started", "said", "changes"})
            QTest::addColumn<QString>(column);
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QByteArray>("output");
        const auto row = [](const char* name, const char* arguments, const QString& files,
                            const QString& started, const QString& said = "", int exitCode = 0,
                            const char* changes = "", const QByteArray& output = "") {
            QTest::newRow(name) << arguments << files << started << said << changes << exitCode
                                << output;
        };
        const QString g = "ROMS/nes/Game.nes", nes = "nes|-cart|%I";
        row("only media", "nes|Game.nes", g, nes);
        row("last media, mixed case", "c64|A.PrG", "ROMS/c64/A.PrG", "c64|-quik|%I");
        row("extension run into the next", "spectrum|S.prg", "ROMS/spectrum/S.prg",
            "spectrum|-dump|%I");
        row("zip to the first media", "c64|B.zip", "ROMS/c64/B.zip", "c64|-cass|%I");
        row("7Z to the first media", "nes|G.7Z", "ROMS/nes/G.7Z", nes);
        row("dots, blanks, shell characters", "nes|A $(x) `id`; it's v1.1 *.unif",
            "ROMS/nes/A $(x) `id`; it's v1.1 *.unif", nes);
        row("no media: the name as given", "pacman|a b;*$(x)'", "", "pacman|a b;*$(x)'");
        row("-playback gains .inp", "nes|Game.nes|-playback|run1", g, nes + "|-playback|run1.inp");
        row("-pb takes the existing spelling", "nes|Game.nes|-pb|RUN1",
            g + "|INP/Run1.INP|INP/other.inp", nes + "|-pb|Run1.INP");
        row("-record over an existing file", "nes|Game.nes|-record|best|-window",
            g + "|INP/Best.Inp", nes + "|-record|Best.Inp|-window");
        row("-rec gains .inp", "nes|Game.nes|-rec|a;b $(x)", g, nes + "|-rec|a;b $(x).inp");
        row(".INP stays", "nes|Game.nes|-playback|t.INP", g, nes + "|-playback|t.INP");
        row("trailing -playback", "nes|Game.nes|-playback", g, nes + "|-playback");
        row("own input folder", "nes|Game.nes|-input_directory|/x", g,
            nes + "|-input_directory|/x");
        row("folders in any case", "nes|G.nes", "roms/NES/G.nes", nes);
        row("exact spelling wins", "nes|Game.nes", g + "|roms/nes/Game.nes|ROMS/NES/Game.nes", nes);
        row("fallback mame", "nes|Game.nes", g, nes, "", 0,
            "PATH=/no|TALLOWICK_MAME_FALLBACK=%B/mame");
        row("game's exit code", "nes|Game.nes", g, nes, "", 4, "FAKE_MAME_EXIT=4");
        row("unknown system", "snes9|G.sfc", "", "", "does not know the system 'snes9'", 1);
        row("no media for the extension", "nes|N.txt", "ROMS/nes/N.txt", "", "no media", 1);
        row("no extension", "nes|README", "ROMS/nes/README", "", "no extension", 1);
        row("missing image", "nes|Absent.nes", "", "", "no such image file", 1);
        row("other system's image", "nes|G.nes", "ROMS/c64/G.nes", "", "no such image file", 1);
        row("folder as image", "nes|F.nes", "ROMS/nes/F.nes/in", "", "no such image file", 1);
        row("no arguments", "", "", "", "usage", 1);
        row("option as system", "-window|Game.nes", g, "", "usage", 1);
        row("no mame", "nes|Game.nes", g, "", "cannot find MAME", 1, "PATH=/no");
        row("no mame to list", "-listfull", "", "", "cannot find MAME", 1, "PATH=/no");
        const QByteArray all = run("/bin/sh", {FakeMame, "-listfull"}, {}).output;
        const QString since = "listing every system, since %B/mame -listmedia ";
        const QRegularExpression noMedia("^(nesm8|pacman|speaker) .*\n",
                                         QRegularExpression::MultilineOption);
        row("systems with media", "-listfull", "", "", "", 0, "",
            QString(all).remove(noMedia).toUtf8());
        row("every system", "-listfull", "", "", "", 0, "TALLOWICK_MAME_LIST=all", all);
        row("-listmedia fails", "-listfull", "", "",
            since + "failed (exit code 2: fake: -listmedia broke)", 0, "FAKE_MAME_LISTMEDIA=fail",
            all);
        row("-listmedia killed", "-listfull", "", "", since + "failed (ended by signal 9)", 0,
            "FAKE_MAME_LISTMEDIA=killed", all);
        row("no media", "-listfull", "", "", since + "names no system with media", 0,
            "FAKE_MAME_LISTMEDIA=none", all);
        row("-listfull fails", "-listfull", "", "",
            "fake: -listfull broke\ntallowick-mame: %B/mame -listfull failed (exit code 3)", 3,
            "FAKE_MAME_EXIT=3");
    }

    void adapter() {
        QFETCH(QString, arguments);
        QFETCH(QString, files);
        QFETCH(QString, started);
        QFETCH(QString, said);
        QFETCH(QString, changes);
        QFETCH(int, exitCode);
        QFETCH(QByteArray, output);
        for (const QString& file : files.split('|', Qt::SkipEmptyParts))
            write(folder + "/" + file, file.toUtf8());
        const Run ran =
            run(folder + "/MESS", arguments.split('|', Qt::SkipEmptyParts), environment(changes));
        QCOMPARE(ran.exitCode, exitCode);
        QCOMPARE(ran.output, output);
        // Whatever MAME printed, then one line of the adapter's own.
        const QByteArray lastLine = ran.errors.mid(ran.errors.lastIndexOf('\n', -2) + 1);
        QVERIFY2(said.isEmpty() ? ran.errors.isEmpty()
                                : lastLine.startsWith("tallowick-mame: ") &&
                                      ran.errors.contains(said.replace("%B", bin).toUtf8()) &&
                                      ran.errors.count('\n') == said.count('\n') + 1,
                 ran.errors);
        if (!started.isEmpty() && !started.contains("-input_directory"))
            started += "|-input_directory|%P/INP";
        started.replace("%I", folder + "/" + files.section('|', 0, 0)).replace("%P", folder);
        QCOMPARE(QString(contentOf(bin + "/arguments")),
                 started.isEmpty() ? "(none)" : started.replace('|', '\n') + '\n');
    }

    // A FOLDER that is a file, lies under one, or cannot be made even by root is refused in one
    // line before anything changes. The folder made holds in its name what a desktop entry must
    // escape.
    void setUpScript() {
        write(home + "/file", "the user's file");
        const FolderContents before = contentsOf(root->path());
        for (const QString& target : {home + "/file", home + "/file/sub", QString("/proc/T")}) {
            const Run ran = run(SetUpScript, {build, target}, environment());
            QVERIFY2(ran.exitCode > 0 && ran.errors.startsWith("install-folder.sh: ") &&
                         ran.errors.count('\n') == 1 &&
                         (ran.errors.contains("is not a folder") ||
                          (ran.errors.contains("/proc/T") && ran.errors.contains("cannot be"))),
                     ran.errors);
        }
        QVERIFY(contentsOf(root->path()) == before);
        const QString made = home + "/Games 100% $HOME \"x\"", apps = home + "/.local/share/";
        const Run first = run(SetUpScript, {build, made}, environment());
        QVERIFY2(first.exitCode == 0 && first.errors.isEmpty(), first.errors);
        QCOMPARE(contentOf(made + "/Tallowick.sys"),
                 run(made + "/MESS", {"-listfull"}, environment()).output);
        QCOMPARE(contentOf(made + "/MESS"), contentOf(Adapter));
        QVERIFY(QFileInfo(made + "/ROMS").isDir() && QFileInfo(made + "/INP").isDir());
        const QByteArray entry = contentOf(apps + "applications/tallowick.desktop");
        QVERIFY(entry.contains("\nExec=sh -c \"exec \\\\\"\\\\$0\\\\\"\" \"" + home.toUtf8() +
                               "/Games 100%% \\\\$HOME \\\\\"x\\\\\"/tallowick\"\n"));
        const QString icon = apps + "icons/hicolor/256x256/apps/tallowick.png";
        QVERIFY(entry.contains("\nIcon=" + icon.toUtf8() + "\n"));
        QVERIFY(contentOf(icon).startsWith("\x89PNG"));
        for (const char* file : {"ROMS/nes/Game.nes", "INP/run.inp", "Tallowick.fav",
                                 "Tallowick.sys", "../.config/Tallowick/Tallowick.ini"})
            write(made + "/" + file, QByteArray("the user's ") + file);
        FolderContents expected = contentsOf(home);
        expected["/Games 100% $HOME \"x\"/tallowick"] = "file tallowick 2";
        for (const char* replaced : {"MESS", "Tallowick.htm", "tallowick"})
            write(made + "/" + replaced, "spoilt");
        write(build + "/" TALLOWICK_BUILT_PROGRAM, "tallowick 2");
        QCOMPARE(run(SetUpScript, {build, made}, environment()).exitCode, 0);
        QVERIFY(contentsOf(home) == expected);
        if (QStandardPaths::findExecutable("desktop-file-validate").isEmpty())
            QSKIP("desktop-file-validate is not installed (Debian package desktop-file-utils)");
        const Run valid =
            run("desktop-file-validate", {apps + "applications/tallowick.desktop"}, {});
        QVERIFY2(valid.exitCode == 0 && valid.output.isEmpty(), valid.output);
    }

    void realMame() {
        if (QStandardPaths::findExecutable("mame").isEmpty() && !QFile::exists("/usr/games/mame"))
            QSKIP("no MAME installed (neither \"mame\" on PATH nor /usr/games/mame)");
        QProcessEnvironment real = QProcessEnvironment::systemEnvironment();
        real.insert("HOME", home); // MAME keeps its settings in $HOME/.mame
        const Run listed = run(folder + "/MESS", {"-listfull"}, real);
        QVERIFY(listed.exitCode == 0 && listed.output.startsWith("Name:") &&
                listed.output.contains("\nnes ") && listed.output.contains("\nc64 "));
        QVERIFY(!listed.output.contains("\npacman ") && !listed.output.contains("\nspeaker "));
        // Records a few frames of a tiny cartridge of our own (16 KiB program: sei; cld; loop:
        // jmp loop, then the vectors; 8 KiB graphics), then plays them back by name.
        write(folder + "/ROMS/nes/Tiny Loop.nes",
              QByteArray("NES\x1A\x01\x01", 6) + QByteArray(10, 0) +
                  QByteArray("\x78\xD8\x4C\x02\xC0").leftJustified(0x3FFA, char(0xEA)) +
                  QByteArray("\x02\xC0\x00\xC0\x02\xC0", 6) + QByteArray(8192, 0));
        const QStringList game{"nes",    "Tiny Loop.nes", "-video",          "none",
                               "-sound", "none",          "-seconds_to_run", "1"};
        const Run recorded = run(folder + "/MESS", game + QStringList{"-rec", "Loop"}, real);
        QVERIFY2(recorded.exitCode == 0 && QFileInfo(folder + "/INP/Loop.inp").size() > 0,
                 recorded.errors);
        const Run played = run(folder + "/MESS", game + QStringList{"-pb", "LOOP"}, real);
        QVERIFY2(played.exitCode == 0 && played.output.contains("Loop.inp"), played.errors);
    }
};

QTEST_GUILESS_MAIN(MameAdapterTest)
#include "tst_mameadapter.moc"
