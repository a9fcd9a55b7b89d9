// "Update systems" from the window: the stand-in emulator writes a new listing, the lists follow
// it, and a failed run leaves both the file and the lists as they were.
#include "tests/support/formfixture.h"
#include "tests/support/standinlog.h"

#include <QFile>
#include <QRadioButton>
#include <QtTest>

class UpdateSystemsTest : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void newListingReplacesTheList();
    void failedRunChangesNothing_data();
    void failedRunChangesNothing();

private:
    void installStandin(const QString& name);
    std::unique_ptr<TestPlatform> test;
};

static const QByteArray OldListing =
    oldLayoutListing({{"nes", "Nintendo Entertainment System"}, {"c64", "Commodore 64"}});

void UpdateSystemsTest::init() {
    if (qEnvironmentVariableIsEmpty("TALLOWICK_STANDIN"))
        QSKIP("TALLOWICK_STANDIN does not name the stand-in emulator");
    test = std::make_unique<TestPlatform>();
    test->writeFile("Tallowick.sys", OldListing);
    qputenv("STANDIN_LOG", test->path("standin.log").toUtf8());
}

void UpdateSystemsTest::cleanup() {
    for (const char* name : {"STANDIN_LOG", "STANDIN_LISTING", "STANDIN_EXIT", "STANDIN_EMPTY"})
        qunsetenv(name);
    test.reset();
}

void UpdateSystemsTest::installStandin(const QString& name) {
    const QString target = test->path(name);
    QVERIFY(QFile::copy(qEnvironmentVariable("TALLOWICK_STANDIN"), target));
    QVERIFY(QFile::setPermissions(target, QFile::permissions(target) | QFile::ExeOwner));
}

void UpdateSystemsTest::newListingReplacesTheList() {
    installStandin("MESS");
    installStandin("pmame31");
    const QByteArray listing = wideLayoutListing(
        {{"zx81", "Sinclair ZX81"}, {"a2600", "Atari 2600"}, {"msx", "MSX \"1\", Ölkrug"}});
    test->writeFile("new-listing.txt", listing);
    qputenv("STANDIN_LISTING", test->path("new-listing.txt").toUtf8());
    test->writeFile("ROMS/a2600/Pitfall.a26", "x");
    auto form = openForm(*test);
    // The update always asks MESS, whichever emulator is chosen for playing.
    form->AlternateMameOption->setChecked(true);
    form->EmulatedSystemList->setListIndex(1);

    form->UpdateSystemsMenu_Click();

    QCOMPARE(test->readFile("Tallowick.sys"), listing);
    QCOMPARE(entriesOf(form->EmulatedSystemList),
             (QStringList{"Atari 2600", "MSX \"1\", Ölkrug", "Sinclair ZX81"}));
    QCOMPARE(form->EmulatedSystemList->listIndex(), 0);
    QCOMPARE(form->GamesList->count(), 1);
    QVERIFY(form->GamesList->item(0).startsWith("Pitfall.a26"));
    QVERIFY(test->messages.notices.isEmpty());
    const QList<StandinRun> runs = readStandinLog(test->path("standin.log"));
    QCOMPARE(runs.size(), 1);
    QCOMPARE(QFileInfo(runs.first().program).fileName(), QStringLiteral("MESS"));
    QCOMPARE(runs.first().arguments, QStringList{"-listfull"});
}

void UpdateSystemsTest::failedRunChangesNothing_data() {
    QTest::addColumn<QByteArray>("variable");
    QTest::addColumn<bool>("emulatorPresent");
    QTest::addColumn<QString>("message");
    QTest::newRow("exit code 3") << QByteArray("STANDIN_EXIT") << true << "exit code 3";
    QTest::newRow("nothing printed") << QByteArray("STANDIN_EMPTY") << true << "no systems";
    QTest::newRow("no emulator") << QByteArray() << false << "not found";
}

void UpdateSystemsTest::failedRunChangesNothing() {
    QFETCH(QByteArray, variable);
    QFETCH(bool, emulatorPresent);
    QFETCH(QString, message);
    if (emulatorPresent)
        installStandin("MESS");
    if (!variable.isEmpty())
        qputenv(variable.constData(), variable == "STANDIN_EXIT" ? "3" : "1");
    auto form = openForm(*test);
    form->SwapListCommand_Click(); // the favourites view must survive a failed update too
    const QStringList systems = entriesOf(form->EmulatedSystemList);

    form->UpdateSystemsMenu_Click();

    QCOMPARE(test->readFile("Tallowick.sys"), OldListing);
    QCOMPARE(entriesOf(form->EmulatedSystemList), systems);
    QCOMPARE(form->GamesList->tag(), QStringLiteral("Fav"));
    QCOMPARE(test->messages.notices.size(), 1);
    QVERIFY2(test->messages.notices.first().contains(message),
             qPrintable(test->messages.notices.first()));
    QCOMPARE(QDir(test->folder.path()).entryList({"Tallowick.sys.*"}), QStringList());
}

QTEST_MAIN(UpdateSystemsTest)
#include "tst_updatesystems.moc"
