// Playing a game: the command line from the window's choices, its words, the program, the process.
#include "launch/commandline.h"
#include "platform/processstarter.h"
#include "tests/support/fixture.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest>
#include <sys/wait.h>

// Files: "MESS" the stand-in, "-MESS" unmarked, "!MESS" no program inside, "%MESS" the MAME
// adapter; bin/ is the PATH. Program: "MESS" is "Original MESS", else the alternate name as typed.
struct Launch {
    QStringList files, arguments; // as the first marked stand-in, or MAME, got them
    QString program, label, notice = {}, additional = {}; // notice: a piece of every notice
    QByteArray env = "STANDIN_EXIT=";
    int line = 1; // the game's: 0 "a.nes", 1 the long name
};
static const QString Game = "Super  Mario $(x) 'y' " + QString(50, 'n') + ".nes", // 63 shown
    Line = "MESS nes \"" + Game + "\" ";

class LaunchTest : public QObject {
    Q_OBJECT
private slots:
    void compose_data() {
        QTest::addColumn<LaunchChoices>("choices"); // the additional check: 1 checked, 2 grey
        QTest::addColumn<QString>("expected");
        const QString a = "nes \"a b\"", mess = "MESS " + a + " ";
        QTest::newRow("MESS") << LaunchChoices{true, "pm31", 0, "-fs", a, ""} << mess;
        QTest::newRow("alternate") << LaunchChoices{false, " m ", 0, "", a, ""} << " m  " + a + " ";
        QTest::newRow("no line selected") << LaunchChoices{true, "", 0, "", "", ""} << "MESS  ";
        QTest::newRow("grey") << LaunchChoices{true, "", 2, "-fs", a, ""} << mess;
        QTest::newRow("checked, empty") << LaunchChoices{true, "", 1, "", a, ""} << mess + " ";
        QTest::newRow("typed") << LaunchChoices{true, "", 1, " \"a\" ", a, ""} << mess + " \"a\"  ";
    }
    void compose() {
        QFETCH(LaunchChoices, choices);
        QTEST(composeCommandLine(choices), "expected");
    }
    void split_data() {                         // the line split is the row's name
        QTest::addColumn<QStringList>("words"); // the program first, empty when none is named
        QTest::newRow("M\tnes \t  a b\t") << QStringList{"M", "nes", "a", "b"};
        QTest::newRow("\"M S\" \"\" \"x  y") << QStringList{"M S", "", "x  y"};
        QTest::newRow(" \tnes \"a b\" ") << QStringList{"", "nes", "a b"};
    }
    void split() {
        const SplitCommand split = splitCommandLine(QTest::currentDataTag());
        QTEST(QStringList{split.program} + split.arguments, "words");
    }
    void launch_data() {
        QTest::addColumn<Launch>("l");
        const QString typed = "-n \"a  b\" c\"d e\"",
                      failed = Game + ".\n\nIts last words:\nRequired files are missing";
        const QStringList m{"MESS"}, game{"nes", Game},
            words = game + QStringList{"-n", "a  b", "cd e"},
            mame{"nes", "-cart", "%1/ROMS/nes/" + Game, "-input_directory", "%1/INP"};
        QTest::newRow("stand-in") << Launch{m, words, "MESS", Line + typed + " ", "", typed};
        QTest::newRow("any case") << Launch{{"mEsS"}, game, "MESS", Line};
        QTest::newRow(".exe") << Launch{{"Mess.EXE"}, game, "MESS", Line};
        QTest::newRow("exact") << Launch{{"mess", "!MESS"}, game, "mess", "mess" + Line.mid(4)};
        QTest::newRow("not marked: PATH") << Launch{{"-MESS", "bin/MESS"}, game, "MESS", Line};
        QTest::newRow("slash") << Launch{{"./e", "bin/e"}, game, "./e", "./e" + Line.mid(4)};
        QTest::newRow("unmarked") << Launch{{"-e"}, {}, "./e", "./e" + Line.mid(4), "./e\" could"};
        QTest::newRow("no program inside") << Launch{{"!MESS"}, {}, "MESS", Line, "MESS\" could"};
        QTest::newRow("names none") << Launch{m, {}, "", Line.mid(4), "names no program"};
        QTest::newRow("exit 3") << Launch{m, game, "MESS", Line, failed, "", "STANDIN_EXIT=3"};
        Launch named{m, {"nes", "a.nes"}, "MESS", "MESS nes \"a.nes\" ", "running a.nes.\n"};
        named.env = "STANDIN_EXIT=3", named.line = 0; // a name shorter than its columns
        QTest::newRow("exit 3, short name") << named;
        QTest::newRow("outlives us") << Launch{m, game, "MESS", Line, "", "", "STANDIN_HANG=1"};
        QTest::newRow("MAME adapter") << Launch{{"%MESS"}, mame, "MESS", Line};
    }
    void launch() {
        QFETCH(Launch, l);
        TestPlatform test;
        const QString folder = QFileInfo(test.path()).canonicalFilePath();
        const bool hang = l.env.startsWith("STANDIN_HANG");
        const ScopedEnv path("PATH", QFile::encodeName(test.path("bin"))),
            fake("FAKE_MAME_ARGUMENTS", QFile::encodeName(test.path("said"))),
            fallback("TALLOWICK_MAME_FALLBACK", "/none"),
            say("STANDIN_SAY", "Required files are missing"),
            order(hang ? "STANDIN_HANG" : "STANDIN_EXIT", l.env.mid(l.env.indexOf('=') + 1));
        test.installStandin("standin"); // its log
        QDir(test.path()).mkpath("bin");
        QFile::link(qEnvironmentVariable("TALLOWICK_FAKE_MAME"), test.path("bin/mame"));
        for (const QString& file : l.files) { // copied with their mode
            const QString to = test.path(QString(file).remove(QRegularExpression("^[-!%]")));
            const char* from = file[0] == '%' ? "TALLOWICK_MAME_ADAPTER" : "TALLOWICK_STANDIN";
            QFile::copy(qEnvironmentVariable(from), to);
            if (file[0] == '!')
                writeBytes(to, "\177ELF nonsense");
            if (file[0] == '-')
                QFile::setPermissions(to, QFile::ReadOwner);
        }
        test.write("Tallowick.sys", listing({{"nes", "Nintendo Entertainment System"}}));
        test.write("ROMS/nes/a.nes", "image");
        test.write("ROMS/nes/" + Game, "image");
        const auto end = qScopeGuard([&] { // a game still running ends, also after a failure
            for (const StandinRun& run : test.standinRuns())
                if (::waitpid(pid_t(run.pid), nullptr, WNOHANG) == 0)
                    ::kill(pid_t(run.pid), SIGKILL), ::waitpid(pid_t(run.pid), nullptr, 0);
        });
        {
            QtProcessStarter starter;
            test.platform.processes = &starter;
            auto form = test.open();
            form->AlternateMameOption->setChecked(l.program != "MESS");
            form->AlternateMameText->setText(l.program);
            form->AdditionalParamCheck->setChecked(!l.additional.isEmpty());
            form->AdditionalParamText->setText(l.additional);
            const QPoint at =
                form->GamesList->visualRect(form->GamesList->model()->index(l.line, 0)).center();
            for (int round = 0; round < 2; ++round) { // a double-click, then "Play" on its line
                round ? QTest::mouseClick(form->PlayButton, Qt::LeftButton)
                      : QTest::mouseDClick(form->GamesList->viewport(), Qt::LeftButton, {}, at);
                QTRY_COMPARE_WITH_TIMEOUT( // short: a launch broken in every row still ends in time
                    l.files[0].startsWith('%')
                        ? QString(fileBytes(test.path("said"))).split('\n', Qt::SkipEmptyParts)
                        : test.standinRuns().value(round).arguments,
                    QStringList(l.arguments).replaceInStrings("%1", folder), 2500);
                QCOMPARE(form->CommandlineLabel->text(), l.label); // once the game has started
            }
            QTRY_VERIFY(hang || starter.children().isEmpty()); // every program ended, seen to end
            QCOMPARE(test.messages.notices.filter(l.notice).size(), l.notice.isEmpty() ? 0 : 2);
        } // Tallowick closes: the window, then its starter
        QTest::qWait(hang ? 100 : 0);
        for (const StandinRun& run : test.standinRuns()) {
            const pid_t pid = pid_t(run.pid); // in a session of its own, no hang-up reaches it
            const bool running = ::waitpid(pid, nullptr, WNOHANG) == 0 && ::getsid(pid) == pid;
            QVERIFY(run.cwd == folder && running == hang &&
                    run.program == test.path(l.files.filter(QRegularExpression("^[^-!]"))[0]));
        }
    }
};
QTEST_MAIN(LaunchTest)
#include "tst_launch.moc"
