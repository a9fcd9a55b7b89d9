// The systems list: the emulator's listing as Tallowick reads it, what the user is told when the
// file gives nothing to show, and the list the window fills from it.
#include "catalogue/gameline.h"
#include "catalogue/systemsfile.h"
#include "tests/support/fixture.h"

#include <QtTest>

using B = QByteArray;
using L = QStringList;

static void row(const char* name, const B& file, const L& systems, const QString& told = {}) {
    QTest::newRow(name) << file << systems << told;
}

class SystemsListTest : public QObject {
    Q_OBJECT
private slots:
    void file_data() {
        QTest::addColumn<B>("file");       // the lines after the header, or a shape of file
        QTest::addColumn<L>("systems");    // name|description
        QTest::addColumn<QString>("told"); // the message after the file's name; empty: none
        const QString none = " holds no system that can be shown.", cannot = " cannot be read: it ";
        row("today's layout", "neo_cart          \"Neo \"MVS\", 1\"", {"neo_cart|Neo \"MVS\", 1"});
        row("old layout", "a2600     \"Atari 2600 (NTSC)\"", {"a2600|Atari 2600 (NTSC)"});
        row("old layout, name of 10", "neogeocart\"Neo Geo\"", {"neogeoca|Neo Geo"});
        row("tab before the quote", "nes\t\"Nintendo\"", {"nes|Nintendo"});
        row("columns", "vectrex    Vectrex.", {"vectrex|Vectrex"});
        row("columns, quotes inside", "abc        Foo \"x\" bar", {"abc|Foo \"x\" ba"});
        row("shorter than 12 characters", "vectrex    \nx\"\nvectrex    .", {"vectrex|"});
        row("cut before its closing quote", "sms       \"Master Sys", {"sms|Master Sys"});
        row("blanks after the closing quote", "nes       \"NES\"  \t ", {"nes|NES"});
        row("bad names", "..        \"U\"\n/x        \"x\"\n          \"N\"", {}, none);
        row("column 8 cuts a character", "abcdefg\xF0\x9F\x98\x80   Desc.", {}, none);
        row("whole at column 8", "abcdef\xF0\x9F\x98\x80   Desc.", {"abcdef\U0001F600|Desc"});
        row("CR only", "a         \"A\"\rb         \"B\"\r", {"a|A", "b|B"});
        row("mixed line ends", "a         \"A\"\n\rb         \"B\"\r\n", {"a|A", "b|B"});
        row("invalid UTF-8", "nes       \"Nin\xfftendo\"", {"nes|Nin\uFFFDtendo"});
        row("line of 64 KiB", "big       \"" + B(65524, 'd') + '"', {"big|" + QString(65524, 'd')});
        row("over 64 KiB", "big       \"" + B(65525, 'd') + "\"\nnes       \"N\"", {"nes|N"});
        row("header only", "", {}, none);
        row("empty", "empty", {}, none);
        row("missing", "missing", {}, " was not found.");
        row("pipe", "pipe", {}, cannot + "is a named pipe.");
        row("device", "device", {}, cannot + "is a device.");
        row("folder", "folder", {}, cannot + "is a folder.");
        row("huge", "huge", {},
            cannot + "holds 3,000,000,000 bytes, far more than a systems list holds.");
        row("long line before the system", "long line", {"nes|NES"});
    }
    void file() {
        QFETCH(B, file);
        QFETCH(L, systems);
        QFETCH(QString, told);
        const bool special =
            L{"empty", "missing", "pipe", "device", "folder", "huge", "long line"}.contains(file);
        if (!special && !file.contains('\r') && !file.contains('\n')) {
            const auto one = parseSystemLine(QString::fromUtf8(file));
            QCOMPARE(one ? L{one->shortName + '|' + one->description} : L(), systems);
        }
        TestPlatform test;
        const QString path = test.path("Tallowick.sys");
        test.write("ROMS/nes/Game.nes", "image");
        if (file == "pipe" || file == "huge" || file == "long line") {
            // The snapshot reads every file whole: what cannot be read so lies outside, linked.
            makeSpecial(test.elsewhere.filePath("list"), file);
            QVERIFY(QFile::link(test.elsewhere.filePath("list"), path));
        } else if (file == "device" || file == "folder") {
            makeSpecial(path, file);
        } else if (!special || file == "empty") {
            test.write("Tallowick.sys", special ? B() : "Name:             Description:\n" + file);
        }
        const FolderContents before = contentsOf(test.path());
        const double peak = peakMegabytes();
        L read;
        for (const SystemLine& system : readSystemsFile(path).systems)
            read << system.shortName + '|' + system.description;
        auto form = test.open();
        QVERIFY2(!special || peakMegabytes() - peak < 16, "the file was held in memory");
        QCOMPARE(read, systems);
        QCOMPARE(form->EmulatedSystemList->count(), systems.size());
        QVERIFY(!form->GamesList->items().contains("games")); // the placeholders are gone
        const QString message =
            "The systems list " + path + told +
            "\nChoose \"Update systems\" in the \"File\" menu to make a new one.";
        QCOMPARE(test.messages.notices, told.isEmpty() ? L() : L{message});
        QVERIFY(contentsOf(test.path()) == before);
    }

    void windowList() {
        TestPlatform test;
        test.write(
            "Tallowick.sys",
            "Name: Description:\nzx    \"Zebra\"\nec1     \"ecu\"\na2600 \"apple\"\nfamicom "
            "\"Éclair\"\neagle \"Eagle\"\nec2     \"Ecu\"\nnes   \"Éclair\"\nzz    \"éclair\"\n");
        test.write("ROMS/a2600/Pitfall.a26", "x");
        test.write("ROMS/nes/b.nes", "x");
        auto form = test.open();
        SortedListBox* systems = form->EmulatedSystemList;
        for (int load = 0; load < 2; ++load) {
            QCOMPARE(systems->items(),
                     (L{"apple", "Eagle", "Éclair", "Éclair", "éclair", "ecu", "Ecu", "Zebra"}));
            QCOMPARE(systems->listIndex(), 0);
            QCOMPARE(form->GamesList->items(), L{GameLine::make("Pitfall.a26", "a2600")});
            form->show();
            QVERIFY(QTest::qWaitForWindowExposed(form.get()));
            for (int row : {2, 3}) { // either Éclair shows the games of the last line with it
                const QRect place = systems->visualRect(systems->model()->index(row, 0));
                QTest::mouseClick(systems->viewport(), Qt::LeftButton, {}, place.center());
                QCOMPARE(systems->listIndex(), row);
                QCOMPARE(form->GamesList->items(), L{nesLine("b.nes")});
            }
            form->LoadSystemsList(); // after a system was chosen, it starts over at the first
        }
        QVERIFY(test.messages.notices.isEmpty());
    }
};

QTEST_MAIN(SystemsListTest)
#include "tst_systemslist.moc"
