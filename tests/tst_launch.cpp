// Playing a game: the command line the window composes, how it is split into words, and the
// real stand-in emulator started from it, by double-click and by "Play".
#include "catalogue/gameline.h"
#include "launch/commandline.h"
#include "platform/processstarter.h"
#include "platform/qtplatform.h"
#include "tests/support/formfixture.h"
#include "tests/support/standinlog.h"

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest>

namespace {

const QString Nes = QStringLiteral("Nintendo Entertainment System");

// The stand-in emulator copied into the program folder under the emulator's name; it logs
// to standin.log beside itself.
void installStandin(const TestPlatform& test, const QString& name) {
    QDir().mkpath(QFileInfo(test.path(name)).absolutePath());
    QVERIFY(QFile::copy(qEnvironmentVariable("TALLOWICK_STANDIN"), test.path(name)));
}

QString canonical(const TestPlatform& test) {
    return QFileInfo(test.folder.path()).canonicalFilePath();
}

QList<StandinRun> runsOf(const TestPlatform& test) {
    return readStandinLog(test.path("standin.log"));
}

// The window on a NES folder holding these games, starting real processes, shown.
std::unique_ptr<Form1> openStarting(TestPlatform& test, QtProcessStarter& starter,
                                    const QStringList& games) {
    for (const QString& game : games)
        test.writeFile("ROMS/nes/" + game, "image");
    test.writeFile(QStringLiteral("Tallowick.sys"), oldLayoutListing({{"nes", Nes}}));
    Platform platform = test.platform();
    platform.processes = &starter;
    auto form = std::make_unique<Form1>(platform);
    form->Form_Load();
    form->show();
    return form;
}

void selectGame(Form1& form, const QString& game) {
    form.GamesList->setListIndex(form.GamesList->items().indexOf(GameLine::make(game, "nes")));
    QVERIFY(form.GamesList->listIndex() >= 0);
}

void doubleClickGame(Form1& form, const QString& game) {
    const int row = form.GamesList->items().indexOf(GameLine::make(game, "nes"));
    QVERIFY(row >= 0);
    const QRect rect = form.GamesList->visualRect(form.GamesList->model()->index(row, 0));
    QTest::mouseDClick(form.GamesList->viewport(), Qt::LeftButton, {}, rect.center());
}

} // namespace

class LaunchTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        QVERIFY(QFileInfo(qEnvironmentVariable("TALLOWICK_STANDIN")).isExecutable());
        qunsetenv("STANDIN_EXIT");
    }
    // No MESS or pmame31 of the machine's may answer for a missing one; the stand-in logs
    // beside itself unless a test says otherwise.
    void init() {
        qputenv("PATH", "/usr/bin:/bin");
        qunsetenv("STANDIN_LOG");
    }

    void composition_data() {
        QTest::addColumn<bool>("original");
        QTest::addColumn<QString>("alternate");
        QTest::addColumn<int>("check"); // Qt::CheckState
        QTest::addColumn<QString>("additional");
        QTest::addColumn<QString>("line"); // the selected games-list line; none when empty
        QTest::addColumn<QString>("expected");
        const QString mario = GameLine::make("Super Mario.nes", "nes");
        const QString tail = "nes \"Super Mario.nes\" ";
        QTest::newRow("game") << true << "" << 0 << "-fs" << mario << "MESS " + tail;
        QTest::newRow("no selection") << true << "" << 0 << ""
                                      << ""
                                      << "MESS  ";
        QTest::newRow("line shorter than 64") << true << "" << 0 << ""
                                              << "Fav"
                                              << "MESS  ";
        QTest::newRow("checked") << true << "" << 2 << "-fs -sound 1" << mario
                                 << "MESS " + tail + "-fs -sound 1 ";
        QTest::newRow("checked, empty text")
            << true << "" << 2 << "" << mario << "MESS " + tail + " ";
        QTest::newRow("greyed") << true << "" << 1 << "-fs" << mario << "MESS " + tail;
        QTest::newRow("alternate build")
            << false << "pmame31" << 0 << "" << mario << "pmame31 " + tail;
        QTest::newRow("empty alternate") << false << "" << 0 << "" << mario << " " + tail;
        QTest::newRow("typed spaces and quotes") << false << " my  mess " << 2 << " -x \"a b\" "
                                                 << mario << " my  mess  " + tail + " -x \"a b\"  ";
    }
    void composition() {
        QFETCH(bool, original);
        QFETCH(QString, alternate);
        QFETCH(int, check);
        QFETCH(QString, additional);
        QFETCH(QString, line);
        QFETCH(QString, expected);
        TestPlatform test;
        auto form = openForm(test);
        (original ? form->OriginalMameOption : form->AlternateMameOption)->setChecked(true);
        form->AlternateMameText->setText(alternate);
        form->AdditionalParamCheck->setCheckState(Qt::CheckState(check));
        form->AdditionalParamText->setText(additional);
        form->GamesList->setItems(line.isEmpty() ? QStringList() : QStringList{line});
        form->GamesList->setListIndex(line.isEmpty() ? -1 : 0);
        form->PlayButton->click();
        QCOMPARE(form->CommandlineLabel->text(), expected);
    }

    void splitting_data() {
        QTest::addColumn<QString>("line");
        QTest::addColumn<QString>("program");
        QTest::addColumn<QStringList>("arguments");
        QTest::newRow("game") << "MESS nes \"Super Mario.nes\" "
                              << "MESS" << QStringList{"nes", "Super Mario.nes"};
        QTest::newRow("tabs and runs of blanks") << "MESS\tnes \t  a.nes\t"
                                                 << "MESS" << QStringList{"nes", "a.nes"};
        QTest::newRow("leading blank") << " nes \"a b\" "
                                       << "" << QStringList{"nes", "a b"};
        QTest::newRow("quotes inside a word") << "MESS a\"b c\"d"
                                              << "MESS" << QStringList{"ab cd"};
        QTest::newRow("empty quotes") << "MESS \"\" x"
                                      << "MESS" << QStringList{"", "x"};
        QTest::newRow("unclosed quote") << "MESS \"a  b"
                                        << "MESS" << QStringList{"a  b"};
        QTest::newRow("shell characters")
            << "MESS $(id) `id` ; a|b & 'c d' * > f"
            << "MESS" << QStringList{"$(id)", "`id`", ";", "a|b", "&", "'c", "d'", "*", ">", "f"};
        QTest::newRow("empty") << ""
                               << "" << QStringList();
        QTest::newRow("blanks only") << " \t "
                                     << "" << QStringList();
        // Found by fuzzing: nothing but blanks, tabs and quotes means anything.
        const QString nul(1, QChar(0));
        QTest::newRow("NUL inside a word") << "MESS a" + nul + "b"
                                           << "MESS" << QStringList{"a" + nul + "b"};
        QTest::newRow("lone quote at the end") << "MESS nes \""
                                               << "MESS" << QStringList{"nes", ""};
        QTest::newRow("CR and LF are not separators") << "MESS a\r\nb"
                                                      << "MESS" << QStringList{"a\r\nb"};
        QTest::newRow("1 MB word")
            << "MESS " + QString(1 << 20, 'w') << "MESS" << QStringList{QString(1 << 20, 'w')};
        QTest::newRow("quoted program") << "\"my mess\" nes"
                                        << "my mess" << QStringList{"nes"};
    }
    void splitting() {
        QFETCH(QString, line);
        QFETCH(QString, program);
        QFETCH(QStringList, arguments);
        const SplitCommand split = splitCommandLine(line);
        QCOMPARE(split.program, program);
        QCOMPARE(split.arguments, arguments);
    }

    // Double-click and "Play" are the same reaction: the same words, the same folder, and a
    // process of its own each time.
    void doubleClickAndPlayStartTheSame() {
        TestPlatform test;
        installStandin(test, QStringLiteral("MESS"));
        QtProcessStarter starter;
        auto form = openStarting(test, starter, {"Super Mario.nes", "Zelda.nes"});
        QVERIFY(QTest::qWaitForWindowExposed(form.get()));

        doubleClickGame(*form, QStringLiteral("Super Mario.nes"));
        QTRY_COMPARE_WITH_TIMEOUT(runsOf(test).size(), 1, 10000);
        QCOMPARE(form->CommandlineLabel->text(), QStringLiteral("MESS nes \"Super Mario.nes\" "));
        selectGame(*form, QStringLiteral("Super Mario.nes"));
        form->PlayButton->click();
        QTRY_COMPARE_WITH_TIMEOUT(runsOf(test).size(), 2, 10000);

        const QList<StandinRun> runs = runsOf(test);
        for (const StandinRun& run : runs) {
            QCOMPARE(run.arguments, QStringList({"nes", "Super Mario.nes"}));
            QCOMPARE(run.cwd, canonical(test));
            QCOMPARE(QFileInfo(run.program).fileName(), QStringLiteral("MESS"));
        }
        QVERIFY(runs[0].pid != runs[1].pid);
        QVERIFY(test.messages.notices.isEmpty());
    }

    // Whatever the file is called, the emulator gets it as one argument, letter for letter.
    void namesArriveLiterally_data() {
        QTest::addColumn<QString>("game");
        QTest::addColumn<QString>("emulator"); // the file in the program folder
        QTest::addColumn<bool>("alternate");
        QTest::newRow("blanks") << "  Super  Mario Bros .nes"
                                << "MESS" << false;
        QTest::newRow("non-ASCII") << "Pokémon Ünïcödé 日本語 ñ.nes"
                                   << "MESS" << false;
        QTest::newRow("shell characters") << "$(touch pwned) `touch pwned`; a & b | c 'd' *.nes"
                                          << "MESS" << false;
        QTest::newRow("backslashes and percent") << "100% a\\b \\\\n.nes"
                                                 << "MESS" << false;
        QTest::newRow("emulator spelled mess.exe") << "a.nes"
                                                   << "mess.exe" << false;
        QTest::newRow("alternate build") << "a.nes"
                                         << "pmame31" << true;
        QTest::newRow("emulator on the PATH") << "a.nes"
                                              << "bin/MESS" << false;
    }
    void namesArriveLiterally() {
        QFETCH(QString, game);
        QFETCH(QString, emulator);
        QFETCH(bool, alternate);
        TestPlatform test;
        installStandin(test, emulator);
        // Only the emulator on the PATH needs telling where the program folder's log is.
        qputenv("PATH", (test.path("bin") + ":/usr/bin:/bin").toLocal8Bit());
        qputenv("STANDIN_LOG", test.path("standin.log").toLocal8Bit());
        QtProcessStarter starter;
        auto form = openStarting(test, starter, {game});
        if (alternate)
            form->AlternateMameOption->setChecked(true);
        selectGame(*form, game);
        form->PlayButton->click();
        QTRY_COMPARE_WITH_TIMEOUT(runsOf(test).size(), 1, 10000);
        const StandinRun run = runsOf(test).constFirst();
        QCOMPARE(run.arguments, QStringList({"nes", game}));
        QCOMPARE(run.program, QFileInfo(test.path(emulator)).absoluteFilePath());
        QCOMPARE(run.cwd, canonical(test));
        QVERIFY(!QFile::exists(test.path("pwned")));
        QVERIFY(test.messages.notices.isEmpty());
    }

    // A launch that cannot start says so once, naming the program, and leaves the line shown.
    void unstartableEmulator_data() {
        QTest::addColumn<QString>("alternate"); // empty: "Original MESS"
        QTest::addColumn<QString>("prepare");
        QTest::addColumn<QString>("named");
        const struct {
            const char *row, *alternate, *prepare, *named;
        } rows[] = {
            {"missing", "", "", "MESS"},           {"not executable", "", "plain file", "MESS"},
            {"a folder", "ROMS", "", "ROMS"},      {"a dot, a folder everywhere", ".", "", "."},
            {"empty alternate name", " ", "", ""},
        };
        for (const auto& row : rows)
            QTest::newRow(row.row)
                << QString(row.alternate) << QString(row.prepare) << QString(row.named);
    }
    void unstartableEmulator() {
        QFETCH(QString, alternate);
        QFETCH(QString, prepare);
        QFETCH(QString, named);
        TestPlatform test;
        if (prepare == "plain file")
            test.writeFile(QStringLiteral("MESS"), "#!/bin/sh\n");
        QtProcessStarter starter;
        auto form = openStarting(test, starter, {"a.nes"});
        if (!alternate.isEmpty()) {
            form->AlternateMameOption->setChecked(true);
            form->AlternateMameText->setText(alternate.trimmed());
        }
        selectGame(*form, QStringLiteral("a.nes"));
        form->PlayButton->click();
        const QString expected = (alternate.isEmpty() ? "MESS" : alternate.trimmed()) +
                                 QStringLiteral(" nes \"a.nes\" ");
        QCOMPARE(form->CommandlineLabel->text(), expected);
        QCOMPARE(test.messages.notices.size(), 1);
        if (!named.isEmpty())
            QVERIFY2(test.messages.notices[0].contains('"' + named + '"'),
                     qPrintable(test.messages.notices[0]));
    }
};

QTEST_MAIN(LaunchTest)
#include "tst_launch.moc"
