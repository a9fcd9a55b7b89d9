// "Update systems" and its shell tools.
#include "desktop/endsignals.h"
#include "desktop/messageboxes.h"
#include "desktop/processstarter.h"
#include "shelltools/hvl_shelltools.h"
#include "tests/support/fixture.h"

#include <QtTest>
#include <QtWidgets>
#include <csignal>
#include <sys/prctl.h>
#include <sys/wait.h>

using namespace hvl_ShellTools;

namespace {

const QByteArray Old = listing({{"nes", "NES"}, {"zx", "ZX"}});
const QByteArray New = listing({{"msx", "MSX \"1\", Ölkrug"}, {"nes", "Famicom"}});
const char* const Said = "Required files missing";

// The old list, new.txt, a game, the stand-in as `emulator`.
bool fill(TestPlatform& t, const QString& emulator = "MESS") {
    return t.write("Tallowick.sys", Old) && t.write("new.txt", New) &&
           t.write("ROMS/nes/Alpha.nes", "x") && t.installStandin(emulator);
}

// Done once the dialog shows.
enum class Stop { Nothing, Cancel, CloseBox, Sigterm };

struct Update {
    QString told;                                            // in the one notice; empty: none
    QByteArray order = "STANDIN_LISTING", value = "new.txt"; // to the stand-in
    Stop stop = Stop::Nothing;
    QString link = {}; // where Tallowick.sys links, from the other folder
    QString emulator = "MESS";
};

} // namespace

class UpdateSystemsTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { QCOMPARE(::prctl(PR_SET_CHILD_SUBREAPER, 1), 0); } // orphans are ours

    // A path the shell reads as one word, whatever it holds.
    void shellWords_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("word");
        QTest::newRow("left alone") << "M1/._-+,:@%"
                                    << "M1/._-+,:@%";
        QTest::newRow("all else") << "'a' b  $(x)`y`\"&;~\\*?[\nÄ"
                                  << "''\\''a'\\'' b  $(x)`y`\"&;~\\*?[\nÄ'";
    }
    void shellWords() {
        QFETCH(QString, text);
        QTEST(shellWord(text), "word");
        TestPlatform t;
        const QString path = t.path(text);
        QCOMPARE(GetShortPath(path), QString("Error!")); // no file yet
        QVERIFY(writeBytes(path, "x"));
        QCOMPARE(QProcess::execute("/bin/sh", {"-c", "test -f " + GetShortPath(path)}), 0);
    }

    // A good run of MESS replaces the list a link leads to; else one notice at most, no change.
    void updateSystems_data() {
        QTest::addColumn<Update>("u");
        const QString none = "/proc/tallowick-none/Tallowick.sys";
        const QByteArray listing = "STANDIN_LISTING", file = "new.txt";
        QTest::newRow("mess, through a link")
            << Update{"", listing, file, Stop::Nothing, "list.sys", "mess"};
        QTest::newRow("link, unwritable")
            << Update{"No new systems list can be written beside " + none, listing, file,
                      Stop::Nothing, none};
        QTest::newRow("no MESS") << Update{"\"MESS\" was not found in the program folder",
                                           listing,
                                           file,
                                           Stop::Nothing,
                                           "",
                                           "MESS.old"};
        QTest::newRow("exit 3") << Update{"exit code 3; the systems list is unchanged.\n\n"
                                          "Its last words:\nRequired files missing",
                                          "STANDIN_EXIT", "3"};
        QTest::newRow("exit 126") << Update{"/MESS cannot be run: it is not a program",
                                            "STANDIN_EXIT", "126"};
        QTest::newRow("empty") << Update{"holds no systems;", "STANDIN_EMPTY", "1"};
        QTest::newRow("Cancel") << Update{"was cancelled;", "STANDIN_HANG", "1", Stop::Cancel};
        QTest::newRow("close box") << Update{"", "STANDIN_HANG", "1", Stop::CloseBox};
        QTest::newRow("SIGTERM") << Update{"", "STANDIN_HANG", "1", Stop::Sigterm};
    }
    void updateSystems() {
        QFETCH(Update, u);
        const bool replaced = u.told.isEmpty() && u.stop == Stop::Nothing;
        TestPlatform t;
        const ScopedEnv say("STANDIN_SAY", Said);
        const ScopedEnv order(u.order.constData(), u.value);
        QVERIFY(fill(t, u.emulator));
        const QString list = t.path("Tallowick.sys");
        QVERIFY(
            QFile::setPermissions(list, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup));
        auto form = t.open();
        if (!u.link.isEmpty()) {
            QVERIFY(QFile::rename(list, t.elsewhere.filePath("list.sys")));
            QVERIFY(QFile::link(QDir(t.elsewhere.path()).filePath(u.link), list));
        }
        const auto mode = QFile::permissions(list); // neither a new file's 0600 nor 0644
        form->show();
        const EndOnSignals ending([&] { form->close(); });
        QTest::mouseClick(form->AlternateMameOption, Qt::LeftButton);
        QVERIFY(clickRow(form->EmulatedSystemList, 1));
        const FolderContents before = contentsOf(t.path());
        QTimer::singleShot(400, form.get(), [] {
            QVERIFY2(!QApplication::activeModalWidget(), "no dialog before half a second");
        });
        QTimer::singleShot(700, form.get(), [&] {
            if (u.stop == Stop::Cancel)
                QTest::mouseClick(QApplication::activeModalWidget()->findChild<QPushButton*>(),
                                  Qt::LeftButton);
            if (u.stop == Stop::CloseBox)
                form->close();
            if (u.stop == Stop::Sigterm)
                ::kill(::getpid(), SIGTERM);
        });
        form->UpdateSystemsMenu->trigger();
        for (const StandinRun& run : t.standinRuns()) // gone, reaped if ours
            QTRY_VERIFY(::waitpid(run.pid, nullptr, WNOHANG) > 0 || ::kill(run.pid, 0));
        QCOMPARE(t.messages.notices.size(), u.told.isEmpty() ? 0 : 1);
        for (const QString& notice : t.messages.notices)
            QVERIFY2(notice.contains(u.told), qPrintable(notice));
        QVERIFY(contentsOf(t.path()) == before); // and nothing beside it
        QCOMPARE(fileBytes(list) == New, replaced);
        QCOMPARE(QFile::permissions(list), mode);
        QCOMPARE(form->EmulatedSystemList->listIndex(), replaced ? 0 : 1);
        QCOMPARE(form->isVisible(), u.stop != Stop::CloseBox && u.stop != Stop::Sigterm);
    }

    // During the update no input lands and a game's notice waits; then the window works.
    void theWindowWaitsForTheUpdate() {
        TestPlatform t;
        t.settings.values["Options/AdditionalParamCheck"] = "1"; // its text takes keys
        QtMessageBoxes boxes;
        QtProcessStarter starter;
        t.platform.messages = &boxes;
        t.platform.processes = &starter;
        QVERIFY(fill(t));
        auto form = t.open();
        boxes.setParent(form.get());
        {
            const ScopedEnv delay("STANDIN_DELAY", "300");
            const ScopedEnv exit("STANDIN_EXIT", "2");
            QVERIFY(doubleClickRow(form->GamesList, 0));
        }
        const ScopedEnv delay("STANDIN_DELAY", "1500");
        const ScopedEnv order("STANDIN_LISTING", "new.txt");
        const auto options = t.settings.values;
        QStringList told;
        QByteArray listWhenTold;
        QTimer poll;
        connect(&poll, &QTimer::timeout, [&] {
            QWidget* modal = QApplication::activeModalWidget();
            if (qobject_cast<QProgressDialog*>(modal)) {
                QTest::mouseClick(form->AlternateMameOption, Qt::LeftButton);
                QTest::keyClicks(form->AdditionalParamText, "x");
            }
            if (auto* box = qobject_cast<QMessageBox*>(modal)) {
                told << box->text();
                listWhenTold = fileBytes(t.path("Tallowick.sys"));
                QTest::mouseClick(box->button(QMessageBox::Ok), Qt::LeftButton);
            }
        });
        poll.start(20);
        form->UpdateSystemsMenu->trigger();
        QCOMPARE(told, QStringList{"The emulator ended with exit code 2 while running Alpha.nes."});
        QCOMPARE(listWhenTold, New); // the wait was over
        QCOMPARE(QDir(t.path()).entryList({"*.sys.*"}), QStringList());
        QVERIFY2(t.settings.values == options, "no option changed");
        QVERIFY(clickRow(form->EmulatedSystemList, 1));
        QCOMPARE(form->GamesList->count(), 0); // MSX has no images
    }
};

QTEST_MAIN(UpdateSystemsTest)
#include "tst_updatesystems.moc"
