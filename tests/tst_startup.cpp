// The start-up and the systems list: what the window shows when it opens on a program folder.
#include "tests/support/foldercontents.h"
#include "tests/support/formfixture.h"

#include <QDir>
#include <QtTest>

class StartupTest : public QObject {
    Q_OBJECT
private slots:
    void systemsAreSortedAndTheFirstIsChosen();
    void systemLines_data();
    void systemLines();
    void loadingTwiceGivesTheSameEntries();
    void clickingASystemShowsItsGames();
    void closingWritesNothing();
};

void StartupTest::systemsAreSortedAndTheFirstIsChosen() {
    TestPlatform test;
    test.writeFile("Tallowick.sys", oldLayoutListing({{"snes", "Super Nintendo"},
                                                      {"a2600", "Atari 2600"},
                                                      {"nes", "Nintendo Entertainment System"}}));
    test.writeFile("ROMS/a2600/Pitfall.a26", "x");
    test.writeFile("ROMS/nes/Other.nes", "x");
    auto form = openForm(test);
    QCOMPARE(entriesOf(form->EmulatedSystemList),
             (QStringList{"Atari 2600", "Nintendo Entertainment System", "Super Nintendo"}));
    QCOMPARE(form->EmulatedSystemList->listIndex(), 0);
    // The games of the first system are there before the window is first shown.
    QVERIFY(!form->isVisible());
    QCOMPARE(form->GamesList->count(), 1);
    QVERIFY(form->GamesList->item(0).startsWith("Pitfall.a26 "));
    QCOMPARE(form->GamesList->listIndex(), -1);
    QVERIFY(test.messages.notices.isEmpty());
}

void StartupTest::systemLines_data() {
    QTest::addColumn<QByteArray>("listing");
    QTest::addColumn<QStringList>("entries");
    QTest::newRow("12 characters give an empty entry")
        << QByteArray("header\r\nabc       \"\"\r\n") << QStringList{""};
    QTest::newRow("quotes and commas reach the list")
        << QByteArray("header\r\nx68k      \"Sharp \"X68000\", rev. 2\"\r\n")
        << QStringList{"Sharp \"X68000\", rev. 2"};
    QTest::newRow("fixed columns without quotes")
        << QByteArray("header\r\nnes       |Nintendo|\r\n") << QStringList{"Nintendo"};
    QTest::newRow("today's wide layout")
        << wideLayoutListing({{"neogeo_cartridge", "Neo-Geo \"MVS\", cartridge"},
                              {"zx", "Sinclair ZX Spectrum Ölkrug"}})
        << QStringList{"Neo-Geo \"MVS\", cartridge", "Sinclair ZX Spectrum Ölkrug"};
    QTest::newRow("LF, CR and CR LF line ends")
        << QByteArray("header\na         \"One\"\rb         \"Two\"\r\nc         \"Three\"")
        << QStringList{"One", "Three", "Two"};
    QTest::newRow("short, blank and nameless lines are passed over")
        << QByteArray("header\r\n\r\nshort\r\n          \"No name\"\r\nok        \"Kept\"\r\n")
        << QStringList{"Kept"};
    QTest::newRow("names that could leave the ROMS folder are passed over")
        << QByteArray("header\n..        \"Up\"\na/b       \"Slash\"\nfine      \"Fine\"\n")
        << QStringList{"Fine"};
}

void StartupTest::systemLines() {
    QFETCH(QByteArray, listing);
    QFETCH(QStringList, entries);
    TestPlatform test;
    test.writeFile("Tallowick.sys", listing);
    auto form = openForm(test);
    QCOMPARE(entriesOf(form->EmulatedSystemList), entries);
    QCOMPARE(form->EmulatedSystemList->listIndex(), 0);
}

void StartupTest::loadingTwiceGivesTheSameEntries() {
    TestPlatform test;
    test.writeFile("Tallowick.sys", oldLayoutListing({{"nes", "NES"}, {"c64", "C64"}}));
    auto form = openForm(test);
    form->EmulatedSystemList->setListIndex(1);
    form->LoadSystemsList();
    QCOMPARE(entriesOf(form->EmulatedSystemList), (QStringList{"C64", "NES"}));
    QCOMPARE(form->EmulatedSystemList->listIndex(), 0);
}

void StartupTest::clickingASystemShowsItsGames() {
    TestPlatform test;
    test.writeFile("Tallowick.sys", oldLayoutListing({{"nes", "NES"}, {"c64", "C64"}}));
    test.writeFile("ROMS/nes/Zelda.nes", "x");
    test.writeFile("ROMS/c64/Elite.d64", "x");
    auto form = openForm(test);
    form->show();
    QVERIFY(QTest::qWaitForWindowExposed(form.get()));
    QVERIFY(form->GamesList->item(0).startsWith("Elite.d64"));
    const QRect row =
        form->EmulatedSystemList->visualRect(form->EmulatedSystemList->model()->index(1, 0));
    QTest::mouseClick(form->EmulatedSystemList->viewport(), Qt::LeftButton, {}, row.center());
    QCOMPARE(form->EmulatedSystemList->listIndex(), 1);
    QCOMPARE(form->GamesList->count(), 1);
    QVERIFY(form->GamesList->item(0).startsWith("Zelda.nes"));
}

void StartupTest::closingWritesNothing() {
    TestPlatform test;
    test.writeFile("Tallowick.sys", oldLayoutListing({{"nes", "NES"}}));
    auto form = openForm(test);
    form->show();
    QVERIFY(QTest::qWaitForWindowExposed(form.get()));
    const auto writes = test.settings.writes.size();
    const FolderContents files = contentsOf(test.folder.path());
    QVERIFY(form->close());
    QCOMPARE(test.settings.writes.size(), writes);
    QCOMPARE(contentsOf(test.folder.path()), files);
}

QTEST_MAIN(StartupTest)
#include "tst_startup.moc"
