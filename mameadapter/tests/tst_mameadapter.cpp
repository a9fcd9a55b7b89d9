// The adapter's readings of MAME's output, then the adapter as Tallowick runs it.

#include "mameadapter/listmedia.h"
#include "mameadapter/mameoutput.h"
#include "tests/support/fixture.h"

#include <QtTest>
#include <csignal>

namespace {

const char* const ListMedia = R"(SYSTEM           MEDIA NAME       (brief)    IMAGE FILE EXTENSIONS
c64              cassette         (cass)     .wav  .tap  
c64              quickload        (quik)     .p00  .prg  .t64  
nesm8            (none)
spectrum         snapshot         (dump)     .ach  .frz  .plusd.prg  .sem  
)";

struct Run {
    int exitCode; // minus the signal's number, which Qt gives as the code, if one ended it
    QByteArray output, errors;
};

Run run(const QString& program, const QStringList& arguments, const QProcessEnvironment& env,
        const QByteArray& input = {}) {
    QProcess p;
    p.setProcessEnvironment(env);
    p.start(program, arguments);
    p.write(input);
    p.closeWriteChannel();
    p.waitForFinished(-1);
    Run result{p.exitCode(), p.readAllStandardOutput(), p.readAllStandardError()};
    if (p.exitStatus() == QProcess::CrashExit)
        result.exitCode = -result.exitCode;
    return result;
}

QStringList lines(QByteArray text) {
    if (text.isEmpty())
        return {};
    text.chop(1);
    return QString(text).split('\n');
}

[[nodiscard]] bool copy(const QString& from, const QString& to) {
    return QDir().mkpath(QFileInfo(to).path()) && QFile::copy(from, to);
}

} // namespace

class MameAdapterTest : public QObject {
    Q_OBJECT

    QTemporaryDir root;
    const QString folder = root.filePath("Tallowick Folder"); // with a blank
    const QString roms = folder + "/ROMS";
    const QString bin = root.filePath("bin");
    const QString home = root.filePath("home");
    const QString build = root.filePath("build");
    const QString entry = home + "/.local/share/applications/tallowick.desktop";

    QProcessEnvironment environmentWith(const QStringList& changes = {}) const {
        QProcessEnvironment result = QProcessEnvironment::systemEnvironment();
        for (const QString& change :
             QStringList{"PATH=" + bin + ":/usr/bin:/bin", "HOME=" + home,
                         "TALLOWICK_MAME_FALLBACK=/no", "TALLOWICK_NO_START=1",
                         "FAKE_MAME_ROMPATH=$HOME/roms;/roms"} +
                 changes)
            result.insert(change.section('=', 0, 0), change.section('=', 1));
        return result;
    }

private slots:
    void init() {
        for (const QString& path : {folder, bin, home, build})
            QVERIFY(QDir(path).removeRecursively());
        QVERIFY(copy(TALLOWICK_MAME_ADAPTER, folder + "/MESS"));
        QVERIFY(copy(TALLOWICK_MAME_ADAPTER, build + "/" TALLOWICK_BUILT_ADAPTER));
        QVERIFY(copy(TALLOWICK_FAKE_MAME, bin + "/mame"));
        // Any program stands in for Tallowick, which the set-up leaves unstarted.
        QVERIFY(copy(TALLOWICK_FAKE_MAME, build + "/" TALLOWICK_BUILT_PROGRAM));
    }

    void imageGoesToTheMediaOfItsExtension_data() {
        QTest::addColumn<QString>("system");
        QTest::addColumn<QString>("image");
        QTest::addColumn<bool>("listed");
        QTest::addColumn<QString>("brief");
        QTest::newRow("last, any case") << "C64"
                                        << "A.PrG" << true << "quik";
        QTest::newRow("run together") << "spectrum"
                                      << "S.prg" << true << "dump";
        QTest::newRow("zip: the first") << "c64"
                                        << "B.zip" << true << "cass";
        QTest::newRow("no media") << "nesm8"
                                  << "x.prg" << true << "";
        QTest::newRow("unknown") << "c6"
                                 << "A.prg" << false << "";
    }
    void imageGoesToTheMediaOfItsExtension() {
        QFETCH(QString, system);
        QFETCH(QString, image);
        const SystemMedia found = parseListMedia(ListMedia, system.toStdString());
        QTEST(found.listed, "listed");
        const std::optional<Media> media = chooseMedia(found.media, image.toStdString());
        QTEST(QString::fromStdString(media.value_or(Media{}).brief), "brief");
    }

    void systemsListKeepsTheHeaderAndWhatTakesMedia() {
        std::string kept = "N:\nc64 \"C\"\nnesm8 \"8\"\nc6 \"6\"\nspectrum \"S\"";
        keepSystems(kept, systemsWithMedia(ListMedia));
        QCOMPARE(QString::fromStdString(kept), "N:\nc64 \"C\"\nspectrum \"S\"");
    }

    void missingRequiredFilesAreRead_data() {
        QTest::addColumn<QString>("line");
        QTest::addColumn<QString>("missingFile");
        QTest::newRow("required") << "313 10031-4005 73108a.u2 NOT FOUND (tried in coleco)"
                                  << "313 10031-4005 73108a.u2";
        QTest::newRow("optional") << "OPTIONAL c NOT FOUND (tried in x)"
                                  << "";
    }
    void missingRequiredFilesAreRead() {
        QFETCH(QString, line);
        QTEST(QString::fromStdString(missingRequiredFile(line.toStdString()).value_or("")),
              "missingFile");
    }

    void mamesRompathIsRead_data() {
        QTest::addColumn<QByteArray>("showConfig");
        QTest::addColumn<bool>("found");
        QTest::addColumn<QString>("rompath");
        const QString h = qEnvironmentVariable("HOME");
        QTest::newRow("quoted") << QByteArray(
                                       "#\nrompathx /x\nrompath   \"$HOME/r b;/u\"\nhashpath /h")
                                << true << h + "/r b;/u";
        QTest::newRow("none") << QByteArray("rompathx /x") << false << "";
        QTest::newRow("each folder") << QByteArray("rompath ~;~/r;~x;${HOME}s;$NO_SUCH/u;/$/${H")
                                     << true << h + ";" + h + "/r;~x;" + h + "s;/u;/$/${H";
    }
    void mamesRompathIsRead() {
        QFETCH(QByteArray, showConfig);
        const std::optional<std::string> rompath = rompathOf(showConfig.toStdString());
        QTEST(rompath.has_value(), "found");
        QTEST(QString::fromStdString(rompath.value_or("")), "rompath");
    }

    void commandsReachMameOrAreRefused_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QStringList>("files"); // made in the program folder
        QTest::addColumn<QStringList>("mameGot");
        QTest::addColumn<QStringList>("errorLines");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QStringList>("environment");
        const auto row = [](const char* name, const QStringList& arguments,
                            const QStringList& files, const QStringList& mameGot,
                            const QStringList& errors = {}, int code = 0,
                            const QStringList& env = {}) {
            QTest::newRow(name) << arguments << files << mameGot << errors << code << env;
        };
        const QString mameRompath = home + "/roms;/roms";
        const QString inp = folder + "/INP";
        const auto game = [&](const QStringList& arguments) {
            return arguments +
                   QStringList{"-rompath", roms + ";" + mameRompath, "-input_directory", inp};
        };
        const QString nes = roms + "/nes/";
        const QString weird = "-A $(x) `id`; it's *.nes";
        const QString mame = "tallowick-mame: ";
        row("image", {"nes", weird}, {"ROMS/nes/" + weird}, game({"nes", "-cart", nes + weird}));
        row("no media", {"pacman", "a b"}, {}, game({"pacman", "a b"}));
        row("no media, -", {"pacman", "-x"}, {}, {},
            {mame + "'pacman' takes no media, and MAME would read the name '-x' as an option"}, 1);
        row("nothing", {}, {}, {"-rompath", roms + ";" + mameRompath});
        row("recordings, own -rp",
            {"nes", "", "-rp", "/r", "-playback", "a", "-rec", "B.INP", "-pb", "RUN", "-record"},
            {"INP/Run.inp"},
            {"nes", "-rp", "/r", "-playback", "a.inp", "-rec", "B.INP", "-pb", "Run.inp", "-record",
             "-input_directory", inp});
        row("rompath unknown", {"nes", ""}, {}, {"nes", "-input_directory", inp},
            {mame + "not adding " + roms + " to MAME's rompath, since " + bin +
             "/mame -showconfig failed (exit code 2: fake: -showconfig broke)"},
            0, {"FAKE_MAME_BREAK=-showconfig"});
        row("any case", {"nes", "G.nes"}, {"roms/NES/G.nes", "Roms/nes/G.nes"},
            {"nes", "-cart", folder + "/Roms/nes/G.nes", "-rompath",
             folder + "/Roms;" + mameRompath, "-input_directory", inp});
        row("crash", {"nes", ""}, {}, game({"nes"}), {}, -SIGSEGV, {"FAKE_MAME_SIGNAL=SEGV"});
        for (const char* signal : {"TERM", "INT", "HUP"})
            row(signal, {"nes", ""}, {}, game({"nes"}), {QString("stopped by ") + signal}, 5,
                {QString("FAKE_MAME_STOP=") + signal});
        row("missing BIOS", {"coleco", ""}, {}, game({"coleco"}),
            {"a 1 NOT FOUND (tried in coleco)", "b NOT FOUND", "c NOT FOUND",
             mame +
                 "MAME cannot start coleco without \"a 1\", \"b\" and 1 more: put "
                 "coleco.zip in " +
                 roms + " or in MAME's rompath (" + mameRompath + ")"},
            2);
        row("no file there", {"nes", "G.nes"}, {"ROMS/nes/G.nes/in", "ROMS/c64/G.nes"}, {},
            {mame + "no such image file: " + nes + "G.nes"}, 1);
        row("no mame", {}, {}, {},
            {mame + "cannot find MAME: no executable \"mame\" on PATH and none at /no"}, 1,
            {"PATH=/no"});
        row("-listmedia fails", {"-listfull"}, {}, {},
            {mame + "listing every system, since " + bin +
             "/mame -listmedia failed (exit code 2: fake: -listmedia broke)"},
            0, {"FAKE_MAME_BREAK=-listmedia"});
    }
    void commandsReachMameOrAreRefused() {
        QFETCH(QStringList, arguments);
        QFETCH(QStringList, files);
        QFETCH(QStringList, environment);
        for (const QString& file : files)
            QVERIFY(writeBytes(folder + "/" + file, {}));
        const Run ran = run(folder + "/MESS", arguments, environmentWith(environment));
        QTEST(ran.exitCode, "exitCode");
        QTEST(lines(ran.errors), "errorLines");
        QTEST(lines(fileBytes(bin + "/arguments")), "mameGot");
    }

    void setUpRefusesInOneLineBeforeAnyChange_data() {
        QTest::addColumn<QByteArray>("target");
        QTest::addColumn<QString>("madeFirst");
        QTest::addColumn<QByteArray>("says");
        const QByteArray h = home.toUtf8();
        QTest::newRow("file") << h + "/f" << home << QByteArray("/f is not a folder");
        QTest::newRow("not UTF-8") << h + "/\xff" << home << QByteArray("is not UTF-8");
        QTest::newRow("menu entry") << h + "/T" << entry << QByteArray(".desktop is a folder");
        QTest::newRow("icon") << h + "/T"
                              << home + "/.local/share/icons/hicolor/256x256/apps/tallowick.png"
                              << QByteArray(".png is a folder");
    }
    void setUpRefusesInOneLineBeforeAnyChange() {
        QFETCH(QByteArray, target);
        QFETCH(QString, madeFirst);
        QFETCH(QByteArray, says);
        QVERIFY(writeBytes(home + "/f", "the user's file"));
        QVERIFY(QDir().mkpath(madeFirst));
        const FolderContents before = contentsOf(root.path());
        // The folder goes through standard input: Qt passes arguments as UTF-8.
        const Run ran =
            run("/bin/sh", {"-c", "\"$0\" \"$1\" \"$(cat)\"", TALLOWICK_SET_UP_SCRIPT, build},
                environmentWith(), target);
        QCOMPARE(ran.exitCode, 1);
        QVERIFY2(ran.errors.startsWith("install-folder.sh: "), ran.errors);
        QVERIFY2(ran.errors.contains(says), ran.errors);
        QCOMPARE(ran.errors.count('\n'), 1);
        QVERIFY(contentsOf(root.path()) == before);
    }

    // The menu starts Tallowick from a folder named with what an entry escapes; a second set-up
    // replaces the programs and the help page only.
    void setUpMakesAFolderTheMenuStarts() {
        const QString made = home + "/100% $HOME \"x\" a=b";
        QCOMPARE(run(TALLOWICK_SET_UP_SCRIPT, {build, made}, environmentWith()).errors,
                 QByteArray());
        QVERIFY(fileBytes(made + "/Tallowick.sys").contains("\nnes "));
        QVERIFY(!fileBytes(made + "/Tallowick.sys").contains("\npacman "));
        for (const char* file : {"ROMS/nes/G.nes", "INP/r.inp", "Tallowick.fav", "Tallowick.sys"})
            QVERIFY(writeBytes(made + "/" + file, file));
        const QByteArray started = "#!/bin/sh\ntouch \"$0.started\"";
        FolderContents expected = contentsOf(home);
        expected["/100% $HOME \"x\" a=b/tallowick"] = "file " + started;
        for (const char* replaced : {"MESS", "Tallowick.htm", "tallowick"})
            QVERIFY(writeBytes(made + "/" + replaced, "spoilt"));
        QVERIFY(writeBytes(build + "/" TALLOWICK_BUILT_PROGRAM, started));
        QCOMPARE(run(TALLOWICK_SET_UP_SCRIPT, {build, made}, environmentWith()).exitCode, 0);
        QVERIFY(contentsOf(home) == expected);
        if (QStandardPaths::findExecutable("desktop-file-validate").isEmpty())
            QSKIP("no desktop-file-validate");
        QCOMPARE(run("desktop-file-validate", {entry}, {}).output, QByteArray());
        if (QStandardPaths::findExecutable("gio").isEmpty())
            QSKIP("no gio");
        QCOMPARE(run("gio", {"launch", entry}, environmentWith()).errors, QByteArray());
        QTRY_VERIFY(QFile::exists(made + "/tallowick.started"));
    }
};

QTEST_GUILESS_MAIN(MameAdapterTest)
#include "tst_mameadapter.moc"
