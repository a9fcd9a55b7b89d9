// Playing a game.
#include "desktop/processstarter.h"
#include "launch/commandline.h"
#include "tests/support/fixture.h"

#include <QtTest>
#include <QtWidgets>
#include <csignal>
#include <sys/stat.h>
#include <sys/wait.h>

namespace {

// It must arrive whole.
const QString Game = "Tale  $(x) 'y' " + QString(60, 'n') + ".nes";

// Shown: the last 8 non-empty lines, each cut to 160 characters.
const QByteArray Said = "1\n2\n\n3\n \n4\n" + QByteArray(200, 'x') + "\n5\n6\n7\n8";
const QString Shown = "\n\nIts last words:\n2\n3\n4\n" + QString(157, 'x') + "...\n5\n6\n7\n8";

struct stat errorFileOf(qint64 pid) {
    struct stat info {};
    ::stat(qPrintable(QString("/proc/%1/fd/2").arg(pid)), &info);
    return info;
}

// bin/ is the PATH.
struct Launch {
    QString typed;                                  // as the alternate build; empty: MESS
    QString started, notice;                        // empty: none
    QStringList standins = {"MESS"};                // stand-in copies
    QString unmarked = {};                          // not marked as a program
    bool noProgram = false;                         // the first copy holds none
    QByteArray order = "STANDIN_EXIT", value = "0"; // over exit code 3
};

} // namespace

class LaunchTest : public QObject {
    Q_OBJECT
private slots:
    // The pieces in order, each ending in one blank, nothing typed changed; the program's words.
    void commandLineIsItsPiecesInOrder_data() {
        QTest::addColumn<LaunchChoices>("choices");
        QTest::addColumn<QString>("line");
        QTest::addColumn<QStringList>("words"); // the program first
        QTest::newRow("MESS, greyed") << LaunchChoices{true, "pm", 2, "-fs", "nes x", ""}
                                      << "MESS nes x " << QStringList{"MESS", "nes", "x"};
        QTest::newRow("alternate with blanks, no line, checked, empty")
            << LaunchChoices{false, " m ", 1, "", "", ""} << " m    " << QStringList{"", "m"};
        QTest::newRow("typed as it is, extra last")
            << LaunchChoices{true, "", 1, "\tc\"d e\" \"\"", "nes \"a b\"", "-record nes "}
            << "MESS nes \"a b\" \tc\"d e\" \"\" -record nes "
            << QStringList{"MESS", "nes", "a b", "cd e", "", "-record", "nes"};
    }
    void commandLineIsItsPiecesInOrder() {
        QFETCH(LaunchChoices, choices);
        QFETCH(QString, line);
        QCOMPARE(composeCommandLine(choices), line);
        const SplitCommand split = splitCommandLine(line);
        QTEST(QStringList{split.program} + split.arguments, "words");
    }

    // A double-click and Play start the same program; a bad end is told once the game ends.
    void aLaunchStartsTheProgramItsLineNames_data() {
        QTest::addColumn<Launch>("l");
        const QString cannot = "\" could not be started: it is not in the program folder or on "
                               "the PATH, or it cannot be run.";
        const QString running = " while running " + Game + ".";
        const QString exit3 = "The emulator ended with exit code 3" + running;
        const QString unkept = "\n\nIts error output could not be kept, so its last words are "
                               "not known.";
        const auto mess = [](QByteArray order, QByteArray value, QString told) {
            return Launch{"", "MESS", told, {"MESS"}, "", false, order, value};
        };
        QTest::newRow("any case, before PATH") << Launch{"", "mEsS", "", {"mEsS", "bin/MESS"}};
        QTest::newRow(".exe, exact wins") << Launch{"", "MESS.exe", "", {"MESS.EXE", "MESS.exe"}};
        QTest::newRow("unmarked") << Launch{"", "bin/MESS", "", {"bin/MESS"}, "MESS"};
        QTest::newRow("slash") << Launch{"./e", "./e", "", {"./e"}};
        QTest::newRow("no program")
            << Launch{"", "", "The program \"MESS" + cannot, {"MESS"}, "", true};
        QTest::newRow("exit code 3 after 150 MB") << mess("STANDIN_SPEW", "150", exit3 + Shown);
        QTest::newRow("SIGSEGV") << mess("STANDIN_SIGNAL", "11",
                                         "The emulator stopped on signal 11 (Segmentation fault)" +
                                             running + Shown);
        for (const int stop : {SIGTERM, SIGINT, SIGKILL, SIGHUP, SIGPIPE})
            QTest::addRow("%s", strsignal(stop))
                << mess("STANDIN_SIGNAL", QByteArray::number(stop), "");
        QTest::newRow("TMPDIR missing") << mess("TMPDIR", "/proc/none", exit3 + unkept);
    }
    void aLaunchStartsTheProgramItsLineNames() {
        QFETCH(Launch, l);
        TestPlatform t;
        const ScopedEnv path("PATH", QFile::encodeName(t.path("bin")));
        const ScopedEnv exit("STANDIN_EXIT", "3");
        const ScopedEnv say("STANDIN_SAY", Said);
        const ScopedEnv order(l.order.constData(), l.value);
        QVERIFY(QDir().mkpath(t.path("bin")));
        for (const QString& name : l.standins)
            QVERIFY(t.installStandin(name));
        QVERIFY(l.unmarked.isEmpty() || t.write(l.unmarked, "x"));
        QVERIFY(!l.noProgram || t.write(l.standins[0], "\177ELF nonsense"));
        QtProcessStarter starter;
        t.platform.processes = &starter;
        QVERIFY(t.writeSystem("nes", "Nintendo", {Game}));
        auto form = t.open();
        if (!l.typed.isEmpty()) {
            QTest::mouseClick(form->AlternateMameOption, Qt::LeftButton);
            QTest::keyClick(form->AlternateMameText, Qt::Key_A, Qt::ControlModifier);
            QTest::keyClicks(form->AlternateMameText, l.typed);
        }
        const QString line = (l.typed.isEmpty() ? "MESS" : l.typed) + " nes \"" + Game + "\" ";
        QVERIFY(doubleClickRow(form->GamesList, 0));
        QCOMPARE(form->CommandlineLabel->text(), line);
        QTest::mouseClick(form->PlayButton, Qt::LeftButton);
        QCOMPARE(form->CommandlineLabel->text(), line);
        QTRY_COMPARE(t.standinRuns().size(), l.started.isEmpty() ? 0 : 2);
        QTRY_VERIFY(starter.children().isEmpty()); // both games have ended
        QCOMPARE(t.messages.notices, l.notice.isEmpty() ? QStringList() : QStringList(2, l.notice));
        for (const StandinRun& run : t.standinRuns()) {
            QCOMPARE(run.program, t.path(l.started));
            QCOMPARE(run.arguments, (QStringList{"nes", Game}));
            QCOMPARE(run.cwd, t.path());
        }
    }

    // A game outlives Tallowick; its error output takes little disk, also once Tallowick is gone.
    void aGameRunsOnAfterTallowickCloses() {
        TestPlatform t;
        QVERIFY(t.writeSystem("nes", "Nintendo", {Game}));
        QVERIFY(t.installStandin());
        const ScopedEnv spew("STANDIN_SPEW", "150");
        const ScopedEnv hang("STANDIN_HANG", "1");
        const auto end = qScopeGuard([&] {
            for (const StandinRun& run : t.standinRuns())
                ::kill(pid_t(run.pid), SIGKILL);
        });
        {
            QtProcessStarter starter;
            t.platform.processes = &starter;
            auto form = t.open();
            QVERIFY(doubleClickRow(form->GamesList, 0));
            QTRY_COMPARE(t.standinRuns().size(), 1);
            const qint64 first = t.standinRuns()[0].pid;
            QTRY_COMPARE(errorFileOf(first).st_size, 150 << 20); // all written
            QTRY_VERIFY(errorFileOf(first).st_blocks * 512 <= 4 << 20);
            const ScopedEnv later("STANDIN_DELAY", "500");
            QTest::mouseClick(form->PlayButton, Qt::LeftButton); // writes once Tallowick is gone
            QTRY_COMPARE(t.standinRuns().size(), 2);
        } // Tallowick closes
        const qint64 second = t.standinRuns()[1].pid;
        QTRY_COMPARE(errorFileOf(second).st_size, 150 << 20);
        QTRY_VERIFY(errorFileOf(second).st_blocks * 512 <= 4 << 20);
        for (const StandinRun& run : t.standinRuns()) {
            QVERIFY2(::waitpid(pid_t(run.pid), nullptr, WNOHANG) == 0, "the game runs on");
            QCOMPARE(::getsid(pid_t(run.pid)), pid_t(run.pid)); // its own session
        }
    }
};

QTEST_MAIN(LaunchTest)
#include "tst_launch.moc"
