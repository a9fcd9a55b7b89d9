// Systems listings no emulator would write: the window must open on them, show what can be
// read, fill the games of every entry it shows, and leave every file as it was.
#include "catalogue/gameline.h"
#include "tests/support/foldercontents.h"
#include "tests/support/formfixture.h"

#include <QRandomGenerator>
#include <QtTest>

namespace {

const QByteArray Header = "name      description\r\n";

// One line of the old layout, built from bytes so that any byte can stand in it.
QByteArray systemLine(const QByteArray& name, const QByteArray& description) {
    return name.leftJustified(10, ' ') + '"' + description + "\"\r\n";
}

// Selects each entry in turn and returns the games it filled. A sentinel line put in first
// shows whether the fill happened at all: a description the lookup cannot find again leaves
// the list as it was.
QList<QStringList> gamesOfEachEntry(Form1& form) {
    QList<QStringList> games;
    for (int i = 0; i < form.EmulatedSystemList->count(); ++i) {
        form.EmulatedSystemList->setListIndex(-1);
        form.GamesList->setItems({QStringLiteral("sentinel: not filled")});
        form.EmulatedSystemList->setListIndex(i);
        games << entriesOf(form.GamesList);
    }
    return games;
}

} // namespace

class BadListingTest : public QObject {
    Q_OBJECT
private slots:
    void noSystems_data();
    void noSystems();
    void garbage_data();
    void garbage();
    void oddLines_data();
    void oddLines();
    void tenThousandEqualDescriptions();
};

void BadListingTest::noSystems_data() {
    QTest::addColumn<QByteArray>("listing"); // "-" for no file at all
    QTest::newRow("missing") << QByteArray("-");
    QTest::newRow("empty") << QByteArray();
    QTest::newRow("header only") << Header;
    QTest::newRow("header only, no line end") << QByteArray("name      description");
    QTest::newRow("line ends only") << QByteArray("\r\n\n\r\r\n\n\n");
    QTest::newRow("NUL bytes after the header") << Header + QByteArray(4096, '\0');
    QTest::newRow("names without a description")
        << Header + "\"\r\n  \"\r\n\t\"x\"\r\n..        \"Up\"\r\n";
}

void BadListingTest::noSystems() {
    QFETCH(QByteArray, listing);
    TestPlatform test;
    if (listing != "-")
        test.writeFile("Tallowick.sys", listing);
    test.writeFile("ROMS/nes/Game.nes", "x");
    const auto before = contentsOf(test.folder.path());
    auto form = openForm(test);
    QCOMPARE(form->EmulatedSystemList->count(), 0);
    QCOMPARE(form->GamesList->count(), 0);
    QCOMPARE(test.messages.notices.size(), 1);
    QVERIFY(test.messages.notices.first().contains("Update systems"));
    QCOMPARE(contentsOf(test.folder.path()), before);
}

void BadListingTest::garbage_data() {
    QTest::addColumn<quint32>("seed");
    QTest::addColumn<int>("size");
    QTest::newRow("64 KiB, seed 1") << 1u << 65536;
    QTest::newRow("64 KiB, seed 2") << 2u << 65536;
    QTest::newRow("1 MiB, seed 3") << 3u << (1 << 20);
}

// Random bytes hold quotes and line ends often enough to give hundreds of entries.
void BadListingTest::garbage() {
    QFETCH(quint32, seed);
    QFETCH(int, size);
    QRandomGenerator random(seed);
    QByteArray listing(size, '\0');
    for (char& byte : listing)
        byte = char(random.bounded(256));
    TestPlatform test;
    test.writeFile("Tallowick.sys", listing);
    test.writeFile("ROMS/nes/Game.nes", "x");
    const auto before = contentsOf(test.folder.path());

    auto form = openForm(test);
    QVERIFY(form->EmulatedSystemList->count() > 0);
    QCOMPARE(form->EmulatedSystemList->listIndex(), 0);
    QVERIFY(test.messages.notices.isEmpty());
    // Each fill reads the whole listing again, so a hundred entries spread over the list do.
    const int step = qMax(1, form->EmulatedSystemList->count() / 100);
    for (int i = 0; i < form->EmulatedSystemList->count(); i += step) {
        form->GamesList->setItems({QStringLiteral("sentinel: not filled")});
        form->EmulatedSystemList->setListIndex(-1);
        form->EmulatedSystemList->setListIndex(i);
        QVERIFY2(!form->GamesList->items().contains(QStringLiteral("sentinel: not filled")),
                 qPrintable(QStringLiteral("entry %1 filled nothing").arg(i)));
    }
    form->show();
    QVERIFY(QTest::qWaitForWindowExposed(form.get()));
    QCOMPARE(contentsOf(test.folder.path()), before);
}

void BadListingTest::oddLines_data() {
    QTest::addColumn<QByteArray>("listing");
    QTest::addColumn<QStringList>("entries");    // in the list's order
    QTest::addColumn<QStringList>("shortNames"); // whose games each entry fills; "" for none

    const QString NinTendo = QString::fromUtf8("Nin\0tendo", 9);
    QTest::newRow("NUL inside a description")
        << Header + systemLine("nes", QByteArray("Nin\0tendo", 9)) << QStringList{NinTendo}
        << QStringList{"nes"};
    QTest::newRow("NUL inside a name")
        << Header + systemLine(QByteArray("ne\0s", 4), "Broken") + systemLine("nes", "NES")
        << QStringList{"NES"} << QStringList{"nes"};
    QTest::newRow("NUL line between systems")
        << Header + systemLine("a", "A") + QByteArray(40, '\0') + "\r\n" + systemLine("b", "B")
        << QStringList{"A", "B"} << QStringList{"a", "b"};

    const QByteArray megabyte(1 << 20, 'M');
    QTest::newRow("a line of 1 MiB with quotes")
        << Header + systemLine("big", megabyte) + systemLine("nes", "NES")
        << QStringList{QString::fromLatin1(megabyte), "NES"} << QStringList{"big", "nes"};
    QTest::newRow("a line of 1 MiB without quotes")
        << Header + "wide      |" + megabyte + "|\r\n" + systemLine("nes", "NES")
        << QStringList{QString::fromLatin1(megabyte), "NES"} << QStringList{"wide", "nes"};

    QTest::newRow("CR only")
        << QByteArray("name      description\rnes       \"NES\"\rsnes      \"SNES\"\r")
        << QStringList{"NES", "SNES"} << QStringList{"nes", "snes"};
    QTest::newRow("LF CR, CR CR LF and no last line end")
        << QByteArray("header\n\rnes       \"NES\"\r\r\nsnes      \"SNES\"\n\r\nc64       \"C64\"")
        << QStringList{"C64", "NES", "SNES"} << QStringList{"c64", "nes", "snes"};

    const QByteArray badUtf8 = "Nin\xff\xfetendo \xc3(\xe2\x82 \xf0\x9f\x92 \xc0\xaf\xed\xa0\x80";
    QTest::newRow("invalid UTF-8 in a description")
        << Header + systemLine("nes", badUtf8) + systemLine("a", "A")
        << QStringList{"A", QString::fromUtf8(badUtf8)} << QStringList{"a", "nes"};
    QTest::newRow("a description cut inside a character")
        << Header + systemLine("gb", "Pok\xc3") + "sms       |S\xc3\xa9ga\xc3|\r\n"
        << QStringList{QString::fromUtf8("Pok\xc3"), QString::fromUtf8("S\xc3\xa9ga\xc3")}
        << QStringList{"gb", "sms"};

    // The last line with a description wins, so every empty entry fills the games of "c".
    QTest::newRow("quotes but no description")
        << Header + "a         \"\r\nb\"\r\nc         \"\"\r\n"
        << QStringList{"", "", ""} << QStringList{"c", "c", "c"};

    const QByteArray longest(255, 'n');
    QTest::newRow("a name of 255 bytes")
        << Header + longest + " \"Longest\"\r\n"
        << QStringList{"Longest"} << QStringList{QString::fromLatin1(longest)};
    QTest::newRow("a name of 256 bytes (no such folder can exist)")
        << Header + longest + "n \"Too long\"\r\n"
        << QStringList{"Too long"} << QStringList{""};
}

// Each system named in shortNames gets one game, so that a fill shows whose folder it read.
void BadListingTest::oddLines() {
    QFETCH(QByteArray, listing);
    QFETCH(QStringList, entries);
    QFETCH(QStringList, shortNames);
    TestPlatform test;
    test.writeFile("Tallowick.sys", listing);
    for (const QString& name : shortNames) {
        if (!name.isEmpty())
            test.writeFile("ROMS/" + name + "/g.bin", "x");
    }
    const auto before = contentsOf(test.folder.path());

    auto form = openForm(test);
    QCOMPARE(entriesOf(form->EmulatedSystemList), entries);
    QCOMPARE(form->EmulatedSystemList->listIndex(), 0);
    QVERIFY(test.messages.notices.isEmpty());
    const QList<QStringList> games = gamesOfEachEntry(*form);
    for (int i = 0; i < entries.size(); ++i) {
        const QStringList expected = shortNames[i].isEmpty()
                                         ? QStringList()
                                         : QStringList{GameLine::make("g.bin", shortNames[i])};
        QCOMPARE(games[i], expected);
    }
    // The lists paint whatever they hold.
    form->show();
    QVERIFY(QTest::qWaitForWindowExposed(form.get()));
    QCOMPARE(contentsOf(test.folder.path()), before);
}

// The emulator may list one description under many names: each line is an entry of its own,
// and every one of them fills the games of the last line.
void BadListingTest::tenThousandEqualDescriptions() {
    QByteArray listing = Header + systemLine("zz", "Other");
    for (int i = 0; i < 10000; ++i)
        listing += systemLine(QByteArray::number(10000 + i), "Same system");
    TestPlatform test;
    test.writeFile("Tallowick.sys", listing);
    test.writeFile("ROMS/10000/first.bin", "x");
    test.writeFile("ROMS/15000/middle.bin", "x");
    test.writeFile("ROMS/19999/last.bin", "x");
    test.writeFile("ROMS/zz/other.bin", "x");
    const auto before = contentsOf(test.folder.path());

    auto form = openForm(test);
    QCOMPARE(form->EmulatedSystemList->count(), 10001);
    QCOMPARE(form->EmulatedSystemList->item(0), QStringLiteral("Other"));
    QCOMPARE(form->EmulatedSystemList->items().count(QStringLiteral("Same system")), 10000);
    QCOMPARE(entriesOf(form->GamesList), QStringList{GameLine::make("other.bin", "zz")});
    const QStringList last{GameLine::make("last.bin", "19999")};
    for (int index : {1, 5000, 10000}) {
        form->EmulatedSystemList->setListIndex(0);
        form->EmulatedSystemList->setListIndex(index);
        QCOMPARE(entriesOf(form->GamesList), last);
    }
    QVERIFY(test.messages.notices.isEmpty());
    QCOMPARE(contentsOf(test.folder.path()), before);
}

QTEST_MAIN(BadListingTest)
#include "tst_badlisting.moc"
