// The adapter is tested as Tallowick uses it: copied into a program folder as MESS and started
// with the old emulator's command line. A scripted "mame" (fake-mame.sh) first on PATH answers
// -listmedia and -listfull and writes down the arguments of a game start.

#include "mameadapter/listmedia.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>
#include <optional>
#include <tuple>

namespace {

const QString Adapter = QStringLiteral(TALLOWICK_MAME_ADAPTER);
const QString FakeMame = QStringLiteral(TALLOWICK_FAKE_MAME);

struct Run {
    int exitCode = -1;
    QByteArray output;
    QByteArray errors;
};

// The first MAME a user's machine offers, as the adapter would find it; empty when none.
QString installedMame() {
    const QString onPath = QStandardPaths::findExecutable(QStringLiteral("mame"));
    if (!onPath.isEmpty())
        return onPath;
    return QFileInfo(QStringLiteral("/usr/games/mame")).isExecutable()
               ? QStringLiteral("/usr/games/mame")
               : QString();
}

// A tiny valid NES cartridge (mapper 0, 16 KiB program, 8 KiB graphics) whose program
// loops forever, so a real MAME can start it without any game of someone else's.
QByteArray tinyNesCartridge() {
    QByteArray program(16384, char(0xEA));
    const QByteArray code("\x78\xD8\x4C\x02\xC0", 5); // sei; cld; loop: jmp loop
    program.replace(0, code.size(), code);
    const QByteArray vectors("\x02\xC0\x00\xC0\x02\xC0", 6); // nmi, reset, irq
    program.replace(0x3FFA, vectors.size(), vectors);
    QByteArray header("NES\x1A\x01\x01", 6);
    header.append(QByteArray(10, '\0'));
    return header + program + QByteArray(8192, '\0');
}

} // namespace

class MameAdapterTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<QTemporaryDir> root;
    QString programFolder; // holds a blank, as many real ones do
    QString fakeBin;       // holds the fake "mame"
    QString emptyBin;      // a PATH without any mame
    QString argumentsFile;

    QProcessEnvironment fakeEnvironment() const {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("PATH"), fakeBin + QStringLiteral(":/usr/bin:/bin"));
        // A real MAME in /usr/games must never stand in for the fake.
        environment.insert(QStringLiteral("TALLOWICK_MAME_FALLBACK"),
                           root->filePath(QStringLiteral("no-mame-here")));
        environment.insert(QStringLiteral("FAKE_MAME_ARGUMENTS"), argumentsFile);
        environment.insert(QStringLiteral("HOME"), root->filePath(QStringLiteral("home")));
        return environment;
    }

    Run runAdapter(const QStringList& arguments, const QProcessEnvironment& environment,
                   const QString& workingFolder = QString()) const {
        QProcess process;
        process.setProcessEnvironment(environment);
        process.setWorkingDirectory(workingFolder.isEmpty() ? programFolder : workingFolder);
        process.start(programFolder + QStringLiteral("/MESS"), arguments);
        Run run;
        if (!process.waitForFinished(120000) || process.exitStatus() != QProcess::NormalExit)
            return run;
        run.exitCode = process.exitCode();
        run.output = process.readAllStandardOutput();
        run.errors = process.readAllStandardError();
        return run;
    }

    // What the fake mame was started with for a game; nothing when no game was started.
    std::optional<QStringList> mameArguments() const {
        QFile file(argumentsFile);
        if (!file.open(QIODevice::ReadOnly))
            return std::nullopt;
        QStringList lines = QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'));
        if (!lines.isEmpty() && lines.last().isEmpty())
            lines.removeLast();
        return lines;
    }

    void makeFile(const QString& path, const QByteArray& content = QByteArray()) const {
        QVERIFY(QDir().mkpath(QFileInfo(path).absolutePath()));
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        QCOMPARE(file.write(content), content.size());
    }

    // Tallowick regenerates its systems list through /bin/sh with the output sent to a file.
    Run listFullThroughShell(const QProcessEnvironment& environment, const QString& listFile) {
        QProcess shell;
        shell.setProcessEnvironment(environment);
        shell.setWorkingDirectory(programFolder);
        shell.start(QStringLiteral("/bin/sh"),
                    {QStringLiteral("-c"), QStringLiteral("\"$0\" -listfull > \"$1\""),
                     programFolder + QStringLiteral("/MESS"), listFile});
        Run run;
        if (shell.waitForFinished(120000) && shell.exitStatus() == QProcess::NormalExit)
            run.exitCode = shell.exitCode();
        run.errors = shell.readAllStandardError();
        QFile file(listFile);
        if (file.open(QIODevice::ReadOnly))
            run.output = file.readAll();
        return run;
    }

    // For the tests that use the MAME installed on this machine, as a user's copy would.
    QProcessEnvironment realEnvironment() const {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.remove(QStringLiteral("TALLOWICK_MAME_FALLBACK"));
        // MAME keeps its settings under $HOME/.mame; the test's stay in its temporary folder.
        environment.insert(QStringLiteral("HOME"), root->filePath(QStringLiteral("home")));
        return environment;
    }

    static QStringList inProgramFolder(QStringList arguments, const QString& folder) {
        arguments.replaceInStrings(QStringLiteral("%P"), folder);
        return arguments;
    }

private slots:
    void initTestCase() {
        QVERIFY2(QFileInfo(Adapter).isExecutable(), qPrintable(Adapter));
        QVERIFY2(QFileInfo(FakeMame).isFile(), qPrintable(FakeMame));
    }

    void init() {
        root = std::make_unique<QTemporaryDir>();
        QVERIFY(root->isValid());
        programFolder = root->filePath(QStringLiteral("Tallowick Folder"));
        fakeBin = root->filePath(QStringLiteral("bin"));
        emptyBin = root->filePath(QStringLiteral("empty-bin"));
        argumentsFile = root->filePath(QStringLiteral("mame-arguments.txt"));
        for (const QString& folder : {programFolder, fakeBin, emptyBin, root->filePath("home")})
            QVERIFY(QDir().mkpath(folder));
        const QString mess = programFolder + QStringLiteral("/MESS");
        const QString mame = fakeBin + QStringLiteral("/mame");
        QVERIFY(QFile::copy(Adapter, mess));
        QVERIFY(QFile::copy(FakeMame, mame));
        const auto executable =
            QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner;
        QVERIFY(QFile::setPermissions(mess, executable));
        QVERIFY(QFile::setPermissions(mame, executable));
    }

    void listMediaIsRead_data() {
        QTest::addColumn<QString>("listing");
        QTest::addColumn<QString>("system");
        QTest::addColumn<bool>("listed");
        QTest::addColumn<QStringList>("media"); // "brief: ext ext ..."

        const QString header = QStringLiteral(
            "SYSTEM           MEDIA NAME       (brief)    IMAGE FILE EXTENSIONS SUPPORTED\n"
            "---------------- --------------------------- -------------------------------\n");
        QTest::newRow("several media, in MAME's order")
            << header + QStringLiteral(
                            "c64              cassette         (cass)     .wav  .tap  \n"
                            "c64              cartridge        (cart)     .80   .a0   .crt  \n")
            << "c64" << true << QStringList{"cass: wav tap", "cart: 80 a0 crt"};
        // MAME pads extensions to five letters, so a longer one touches the next.
        QTest::newRow("long extension runs into the next")
            << header + QStringLiteral("atm              snapshot         (dump)     .ach  "
                                       ".plusd.prg  .z80  \n")
            << "atm" << true << QStringList{"dump: ach plusd prg z80"};
        QTest::newRow("system without media")
            << header + QStringLiteral("pacman           (none)\n") << "pacman" << true
            << QStringList{};
        QTest::newRow("other systems' lines are ignored")
            << header + QStringLiteral("nes              cartridge        (cart)     .nes  \n"
                                       "nespal           cartridge        (cart)     .unf  \n")
            << "NES" << true << QStringList{"cart: nes"};
        QTest::newRow("header only") << header << "c64" << false << QStringList{};
        QTest::newRow("nothing at all") << QString() << "c64" << false << QStringList{};
        QTest::newRow("system called like the header")
            << header << "system" << false << QStringList{};
    }

    void listMediaIsRead() {
        QFETCH(QString, listing);
        QFETCH(QString, system);
        QFETCH(bool, listed);
        QFETCH(QStringList, media);

        const SystemMedia parsed = parseListMedia(listing.toStdString(), system.toStdString());
        QCOMPARE(parsed.listed, listed);
        QStringList found;
        for (const Media& one : parsed.media) {
            QStringList extensions;
            for (const std::string& extension : one.extensions)
                extensions << QString::fromStdString(extension);
            found << QString::fromStdString(one.brief) + QStringLiteral(": ") +
                         extensions.join(QLatin1Char(' '));
        }
        QCOMPARE(found, media);
    }

    void gameStartReachesMame_data() {
        QTest::addColumn<QString>("system");
        QTest::addColumn<QString>("image"); // made in ROMS/<system>/ unless the system has no media
        QTest::addColumn<QStringList>("rest");
        QTest::addColumn<QStringList>("recordings"); // files already in INP/
        QTest::addColumn<QStringList>("expected");   // %P stands for the program folder

        const QStringList inp{"-input_directory", "%P/INP"};
        QTest::newRow("only media of the system")
            << "nes"
            << "Game.nes" << QStringList{} << QStringList{}
            << QStringList{"nes", "-cart", "%P/ROMS/nes/Game.nes"} + inp;
        QTest::newRow("second of four media")
            << "c64"
            << "Disk.d64" << QStringList{} << QStringList{}
            << QStringList{"c64", "-flop", "%P/ROMS/c64/Disk.d64"} + inp;
        QTest::newRow("last of four media")
            << "c64"
            << "prog.prg" << QStringList{} << QStringList{}
            << QStringList{"c64", "-quik", "%P/ROMS/c64/prog.prg"} + inp;
        QTest::newRow("upper-case extension")
            << "c64"
            << "TAPE.TAP" << QStringList{} << QStringList{}
            << QStringList{"c64", "-cass", "%P/ROMS/c64/TAPE.TAP"} + inp;
        QTest::newRow("mixed-case extension")
            << "nes"
            << "Game.NeS" << QStringList{} << QStringList{}
            << QStringList{"nes", "-cart", "%P/ROMS/nes/Game.NeS"} + inp;
        QTest::newRow("zip goes to the first media")
            << "c64"
            << "Bundle.zip" << QStringList{} << QStringList{}
            << QStringList{"c64", "-cass", "%P/ROMS/c64/Bundle.zip"} + inp;
        QTest::newRow("upper-case 7z") << "nes"
                                       << "Game.7Z" << QStringList{} << QStringList{}
                                       << QStringList{"nes", "-cart", "%P/ROMS/nes/Game.7Z"} + inp;
        QTest::newRow("dots inside the name")
            << "nes"
            << "Super.Game.v1.1.unif" << QStringList{} << QStringList{}
            << QStringList{"nes", "-cart", "%P/ROMS/nes/Super.Game.v1.1.unif"} + inp;
        QTest::newRow("blanks and shell characters stay one literal argument")
            << "nes"
            << "My $(x) `id`; it's *.nes" << QStringList{} << QStringList{}
            << QStringList{"nes", "-cart", "%P/ROMS/nes/My $(x) `id`; it's *.nes"} + inp;
        QTest::newRow("system without media gets the name as given")
            << "pacman"
            << "pacman.zip" << QStringList{} << QStringList{}
            << QStringList{"pacman", "pacman.zip"} + inp;
        QTest::newRow("system without media, shell characters")
            << "pacman"
            << "a b;*$(x)'" << QStringList{} << QStringList{}
            << QStringList{"pacman", "a b;*$(x)'"} + inp;
        QTest::newRow("options after the image pass on")
            << "nes"
            << "Game.nes" << QStringList{"-window", "-speed", "1.5"} << QStringList{}
            << QStringList{"nes", "-cart", "%P/ROMS/nes/Game.nes", "-window", "-speed", "1.5"} +
                   inp;
        QTest::newRow("playback name gains .inp")
            << "nes"
            << "Game.nes" << QStringList{"-playback", "run1"} << QStringList{}
            << QStringList{"nes", "-cart", "%P/ROMS/nes/Game.nes", "-playback", "run1.inp"} + inp;
        QTest::newRow("record name gains .inp")
            << "nes"
            << "Game.nes" << QStringList{"-record", "Fresh Run"} << QStringList{}
            << QStringList{"nes", "-cart", "%P/ROMS/nes/Game.nes", "-record", "Fresh Run.inp"} +
                   inp;
        QTest::newRow("playback takes the existing file's spelling")
            << "nes"
            << "Game.nes" << QStringList{"-playback", "RUN1"}
            << QStringList{"Run1.INP", "other.inp"}
            << QStringList{"nes", "-cart", "%P/ROMS/nes/Game.nes", "-playback", "Run1.INP"} + inp;
        QTest::newRow("record over an existing file keeps its spelling")
            << "nes"
            << "Game.nes" << QStringList{"-record", "best", "-window"} << QStringList{"Best.Inp"}
            << QStringList{"nes",     "-cart",    "%P/ROMS/nes/Game.nes",
                           "-record", "Best.Inp", "-window"} +
                   inp;
        QTest::newRow("name ending in .inp stays")
            << "nes"
            << "Game.nes" << QStringList{"-playback", "take.INP"} << QStringList{}
            << QStringList{"nes", "-cart", "%P/ROMS/nes/Game.nes", "-playback", "take.INP"} + inp;
        QTest::newRow("recording name with shell characters")
            << "pacman"
            << "pacman" << QStringList{"-record", "a;b $(x)"} << QStringList{}
            << QStringList{"pacman", "pacman", "-record", "a;b $(x).inp"} + inp;
        QTest::newRow("own input folder is kept")
            << "nes"
            << "Game.nes" << QStringList{"-input_directory", "/elsewhere"} << QStringList{}
            << QStringList{"nes", "-cart", "%P/ROMS/nes/Game.nes", "-input_directory",
                           "/elsewhere"};
        QTest::newRow("trailing -playback without a name passes on")
            << "nes"
            << "Game.nes" << QStringList{"-playback"} << QStringList{}
            << QStringList{"nes", "-cart", "%P/ROMS/nes/Game.nes", "-playback"} + inp;
    }

    void gameStartReachesMame() {
        QFETCH(QString, system);
        QFETCH(QString, image);
        QFETCH(QStringList, rest);
        QFETCH(QStringList, recordings);
        QFETCH(QStringList, expected);

        if (system != QLatin1String("pacman"))
            makeFile(programFolder + "/ROMS/" + system + "/" + image);
        for (const QString& recording : recordings)
            makeFile(programFolder + "/INP/" + recording);

        const Run run = runAdapter(QStringList{system, image} + rest, fakeEnvironment());
        QVERIFY2(run.errors.isEmpty(), run.errors.constData());
        QCOMPARE(run.exitCode, 0);
        const std::optional<QStringList> started = mameArguments();
        QVERIFY2(started, "mame was not started for a game");
        QCOMPARE(*started, inProgramFolder(expected, programFolder));
    }

    // Tallowick starts MESS in the program folder, but the images are found from where the
    // executable lies, whatever the working folder.
    void imagesAreFoundBesideTheExecutable() {
        makeFile(programFolder + "/ROMS/nes/Game.nes");
        const QString elsewhere = root->filePath(QStringLiteral("elsewhere"));
        QVERIFY(QDir().mkpath(elsewhere + "/ROMS/nes"));

        const Run run = runAdapter({"nes", "Game.nes"}, fakeEnvironment(), elsewhere);
        QCOMPARE(run.exitCode, 0);
        QCOMPARE(mameArguments()->value(2), programFolder + "/ROMS/nes/Game.nes");
    }

    void failureSaysWhyAndStartsNoGame_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("existing"); // a file made in the program folder first
        QTest::addColumn<bool>("mameInstalled");
        QTest::addColumn<QString>("reason");

        QTest::newRow("unknown system") << QStringList{"snes9", "Game.sfc"} << QString() << true
                                        << "does not know the system 'snes9'";
        QTest::newRow("no media takes the extension")
            << QStringList{"nes", "Notes.txt"} << "ROMS/nes/Notes.txt" << true << "no media";
        QTest::newRow("image without extension")
            << QStringList{"nes", "README"} << "ROMS/nes/README" << true << "no extension";
        QTest::newRow("missing image")
            << QStringList{"nes", "Absent.nes"} << QString() << true << "no such image file";
        QTest::newRow("image lies in another system's folder")
            << QStringList{"nes", "Game.nes"} << "ROMS/c64/Game.nes" << true
            << "no such image file";
        QTest::newRow("folder instead of an image")
            << QStringList{"nes", "Folder.nes"} << "ROMS/nes/Folder.nes/inside" << true
            << "no such image file";
        QTest::newRow("no arguments") << QStringList{} << QString() << true << "usage";
        QTest::newRow("system without image") << QStringList{"nes"} << QString() << true << "usage";
        QTest::newRow("option instead of a system")
            << QStringList{"-window", "Game.nes"} << QString() << true << "usage";
        QTest::newRow("mame neither on PATH nor at the fallback")
            << QStringList{"nes", "Game.nes"} << "ROMS/nes/Game.nes" << false << "cannot find MAME";
        QTest::newRow("-listfull without mame")
            << QStringList{"-listfull"} << QString() << false << "cannot find MAME";
    }

    void failureSaysWhyAndStartsNoGame() {
        QFETCH(QStringList, arguments);
        QFETCH(QString, existing);
        QFETCH(bool, mameInstalled);
        QFETCH(QString, reason);

        if (!existing.isEmpty())
            makeFile(programFolder + "/" + existing);
        QProcessEnvironment environment = fakeEnvironment();
        if (!mameInstalled)
            environment.insert(QStringLiteral("PATH"), emptyBin);

        const Run run = runAdapter(arguments, environment);
        QVERIFY(run.exitCode != 0);
        QVERIFY(run.output.isEmpty());
        QVERIFY2(run.errors.startsWith("tallowick-mame: "), run.errors.constData());
        QVERIFY2(run.errors.endsWith('\n') && run.errors.count('\n') == 1, run.errors.constData());
        QVERIFY2(run.errors.contains(reason.toUtf8()), run.errors.constData());
        QVERIFY(!mameArguments());
    }

    void fallbackMameIsUsedWhenPathHasNone() {
        makeFile(programFolder + "/ROMS/nes/Game.nes");
        QProcessEnvironment environment = fakeEnvironment();
        environment.insert(QStringLiteral("PATH"), emptyBin);
        environment.insert(QStringLiteral("TALLOWICK_MAME_FALLBACK"), fakeBin + "/mame");

        const Run run = runAdapter({"nes", "Game.nes"}, environment);
        QCOMPARE(run.exitCode, 0);
        QCOMPARE(mameArguments()->value(1), QStringLiteral("-cart"));
    }

    void gameExitCodeComesBack() {
        makeFile(programFolder + "/ROMS/nes/Game.nes");
        QProcessEnvironment environment = fakeEnvironment();
        environment.insert(QStringLiteral("FAKE_MAME_EXIT"), QStringLiteral("4"));
        QCOMPARE(runAdapter({"nes", "Game.nes"}, environment).exitCode, 4);
    }

    void listFullPassesThrough_data() {
        QTest::addColumn<int>("mameExitCode");
        QTest::newRow("success") << 0;
        QTest::newRow("failure") << 3;
    }

    void listFullPassesThrough() {
        QFETCH(int, mameExitCode);
        QProcessEnvironment environment = fakeEnvironment();
        environment.insert(QStringLiteral("FAKE_MAME_EXIT"), QString::number(mameExitCode));

        const Run run = listFullThroughShell(environment, root->filePath("list.tmp"));
        QCOMPARE(run.exitCode, mameExitCode);
        QVERIFY2(run.errors.isEmpty(), run.errors.constData());
        const QByteArray expected =
            "Name:             Description:\n"
            "c64               \"Commodore 64 (NTSC)\"\n"
            "nes               \"Nintendo Entertainment System / Famicom (NTSC)\"\n"
            "pacman            \"Pac-Man (Midway)\"\n"
            "zx81              \"ZX-81 \xE2\x80\x93 Timex Sinclair 1000\"\n";
        QCOMPARE(run.output, expected);
    }

    void realMameListsNes() {
        if (installedMame().isEmpty())
            QSKIP("no MAME installed (neither \"mame\" on PATH nor /usr/games/mame)");
        const Run run = listFullThroughShell(realEnvironment(), root->filePath("list.tmp"));
        QCOMPARE(run.exitCode, 0);
        const QString list = QString::fromUtf8(run.output);
        QVERIFY(list.contains(QRegularExpression(QStringLiteral("(^|\\n)nes +\"[^\"\\n]+\"\\n"))));
    }

    void realMameMediaListIsUnderstood() {
        const QString mame = installedMame();
        if (mame.isEmpty())
            QSKIP("no MAME installed (neither \"mame\" on PATH nor /usr/games/mame)");
        for (const auto& [system, image, brief] :
             {std::tuple{"nes", "Game.nes", "cart"}, std::tuple{"c64", "Disk.D64", "flop"},
              std::tuple{"c64", "Tape.tap", "cass"}}) {
            QProcess process;
            process.setProcessEnvironment(realEnvironment());
            process.start(mame, {QStringLiteral("-listmedia"), QString::fromLatin1(system)});
            QVERIFY(process.waitForFinished(120000));
            QCOMPARE(process.exitCode(), 0);
            const SystemMedia parsed =
                parseListMedia(process.readAllStandardOutput().toStdString(), system);
            QVERIFY(parsed.listed);
            const std::optional<Media> media = chooseMedia(parsed.media, image);
            QVERIFY2(media, image);
            QCOMPARE(media->brief, std::string(brief));
        }
    }

    // Records a few frames of a tiny cartridge of our own, then plays them back by name.
    void realMameRecordsAndPlaysBackTinyCartridge() {
        if (installedMame().isEmpty())
            QSKIP("no MAME installed (neither \"mame\" on PATH nor /usr/games/mame)");
        makeFile(programFolder + "/ROMS/nes/Tiny Loop.nes", tinyNesCartridge());
        const QStringList quiet{"-video", "none", "-sound", "none", "-seconds_to_run", "1"};

        const Run recorded = runAdapter(
            QStringList{"nes", "Tiny Loop.nes", "-record", "Loop"} + quiet, realEnvironment());
        QVERIFY2(recorded.exitCode == 0, recorded.errors.constData());
        QVERIFY(QFileInfo(programFolder + "/INP/Loop.inp").size() > 0);

        const Run played = runAdapter(
            QStringList{"nes", "Tiny Loop.nes", "-playback", "LOOP"} + quiet, realEnvironment());
        QVERIFY2(played.exitCode == 0, played.errors.constData());
        QVERIFY2(played.output.contains("Loop.inp"), played.output.constData());
    }
};

QTEST_GUILESS_MAIN(MameAdapterTest)
#include "tst_mameadapter.moc"
