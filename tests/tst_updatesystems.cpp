// "Update systems": the emulator's listing becomes the systems list only when its run ended well.
#include "shelltools/hvl_shelltools.h"
#include "tests/support/fixture.h"
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest>
#include <csignal>
#include <sys/prctl.h>
#include <sys/wait.h>

using namespace hvl_ShellTools;
using L = QStringList;
template <typename... Cells> static void row(const char* name, const Cells&... cells) {
    (QTest::newRow(name) << ... << QString(cells));
}

class UpdateSystemsTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { QCOMPARE(::prctl(PR_SET_CHILD_SUBREAPER, 1), 0); } // orphans are ours
    void shellWords_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("word");
        row("what the shell leaves alone", "MESS.b_c-d+e,f:g@h%i", "MESS.b_c-d+e,f:g@h%i");
        row("single quotes", "'it's' x", "''\\''it'\\''s'\\'' x'");
        row("blanks", " two  blanks ", "' two  blanks '");
        row("commands, double quotes", "\"$HOME\"$(exit 7);`id`&|", "'\"$HOME\"$(exit 7);`id`&|'");
        row("backslash, glob, tilde, line break, accent", "~\\*?[a]\nÄ", "'~\\*?[a]\nÄ'");
    }
    void shellWords() {
        QFETCH(QString, text);
        QFETCH(QString, word);
        QCOMPARE(shellWord(text), word);
        QTemporaryDir dir;
        const QString path = dir.filePath(text);
        QCOMPARE(GetShortPath(path), "Error!"); // nothing there yet
        writeBytes(path, "x");
        QCOMPARE(QProcess::execute("/bin/sh", {"-c", "test -f " + GetShortPath(path)}), 0);
    }
    void update_data() {
        QTest::addColumn<QString>("emulator"); // its file; "!" marks it not executable
        QTest::addColumn<QString>("order");    // the stand-in's switch, NAME=value
        QTest::addColumn<QString>("told");     // the message, %1 the program folder; "" replaced
        row("replaced", "MESS", "STANDIN_LISTING=new.txt", "");
        row("replaced by mess", "mess", "STANDIN_LISTING=new.txt", "");
        row("no MESS", "MESS.old!", "STANDIN_EXIT=", "not found in the program folder %1;");
        row("not executable", "MESS!", "STANDIN_EXIT=", "%1/MESS cannot be run: it is not marked");
        row("exit code 3", "MESS", "STANDIN_EXIT=3", "The emulator ended with exit code 3;");
        row("exit 126", "MESS", "STANDIN_EXIT=126", "%1/MESS cannot be run: it is not a program ");
        row("empty listing", "MESS", "STANDIN_EMPTY=1", "The emulator's listing holds no systems;");
        row("no systems listed", "MESS", "STANDIN_LISTING=ROMS/nes/Alpha.nes", "holds no systems;");
        row("cancel pressed", "MESS", "STANDIN_HANG=1", "Updating the systems list was cancelled;");
    }
    void update() {
        QFETCH(QString, emulator);
        QFETCH(QString, order);
        QFETCH(QString, told);
        const QString name = emulator.chopped(emulator.endsWith('!'));
        const QByteArray variable = order.section('=', 0, 0).toUtf8();
        const ScopedEnv env(variable.constData(), order.section('=', 1).toUtf8());
        TestPlatform test;
        const QByteArray listed = listing({{"msx", "MSX \"1\", Ölkrug"}, {"nes", "Famicom"}});
        test.write("new.txt", listed);
        test.write("Tallowick.sys", listing({{"nes", "NES"}, {"c64", "C64"}}));
        QVERIFY(QFile::setPermissions(test.path("Tallowick.sys"),
                                      QFile::ReadOwner | QFile::WriteOwner));
        const auto mode = QFile::permissions(test.path("Tallowick.sys"));
        test.write("ROMS/nes/Alpha.nes", "x");
        test.installStandin("pmame31");
        test.installStandin(name);
        if (name != emulator)
            QVERIFY(QFile::setPermissions(test.path(name), QFile::ReadOwner | QFile::WriteOwner));
        auto form = test.open();
        form->AlternateMameOption->setChecked(true); // the update asks MESS whichever one plays
        form->EmulatedSystemList->setListIndex(1);
        FolderContents after = contentsOf(test.path());
        if (told.isEmpty()) // the listing byte for byte, and nothing else changed
            after["/Tallowick.sys"] = "file " + listed.toStdString();
        const QTime start = QTime::currentTime();
        qint64 cancelledAt = -1;
        QTimer poll; // Cancel pressed once the progress dialog shows
        connect(&poll, &QTimer::timeout, &poll, [&] {
            if (QWidget* dialog = QApplication::activeModalWidget();
                dialog && cancelledAt < 0 && told.contains("cancelled")) {
                cancelledAt = start.msecsTo(QTime::currentTime());
                QTest::mouseClick(dialog->findChild<QPushButton*>(), Qt::LeftButton);
            }
        });
        poll.start(20);
        form->UpdateSystemsMenu_Click();
        QCOMPARE(cancelledAt >= 450, told.contains("cancelled")); // not before half a second
        const StandinRun run = test.standinRuns().value(0); // the one run: MESS, in its folder
        QCOMPARE(run.program + run.arguments.join(' ') + run.cwd,
                 name == emulator ? test.path(name) + "-listfull" + test.path() : "");
        QTRY_VERIFY_WITH_TIMEOUT(
            !run.pid || waitpid(run.pid, nullptr, WNOHANG) > 0 || kill(run.pid, 0), 3000);
        const L notice = test.messages.notices.filter(QString(told).replace("%1", test.path()));
        QCOMPARE(test.messages.notices, told.isEmpty() ? L() : notice.mid(0, 1)); // just one
        QVERIFY(contentsOf(test.path()) == after); // no leftover listing either
        QCOMPARE(QFile::permissions(test.path("Tallowick.sys")), mode);
        QCOMPARE(form->EmulatedSystemList->items(),
                 (told.isEmpty() ? L{"Famicom", "MSX \"1\", Ölkrug"} : L{"C64", "NES"}));
        QCOMPARE(form->EmulatedSystemList->listIndex(), told.isEmpty() ? 0 : 1);
        QCOMPARE(form->GamesList->items(), L{nesLine("Alpha.nes")});
    }
};

QTEST_MAIN(UpdateSystemsTest)
#include "tst_updatesystems.moc"
