// The systems list: the emulator's listing as Tallowick reads it, what the user is told when the
// file gives nothing to show, and the list the window shows from it.
#include "catalogue/systemsfile.h"
#include "tests/support/fixture.h"

#include <QtTest>

namespace {

const QByteArray Header = "Name:             Description:\n";

// A systems file's bytes (null: no file), or what lies in its place instead.
struct Shape {
    QByteArray bytes;
    std::optional<Special> special = {};
};

struct Parsed {
    QString line;
    QString shortName; // empty: the line is no system
    QString description;
};

} // namespace
Q_DECLARE_METATYPE(Parsed)
Q_DECLARE_METATYPE(Shape)

class SystemsListTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { TestPlatform().open(); } // the first window loads fonts and styles

    void eachLineGivesItsSystem_data() {
        QTest::addColumn<Parsed>("p");
        const QString smiley = "\U0001F600";
        QTest::newRow("today's layout")
            << Parsed{"neo_cart   \"Neo \"MVS\", 1\"", "neo_cart", "Neo \"MVS\", 1"};
        QTest::newRow("old layout") << Parsed{"a2600     \"Atari 2600\"", "a2600", "Atari 2600"};
        QTest::newRow("name of 10, cut to 8")
            << Parsed{"neogeocart\"Neo Geo\"", "neogeoca", "Neo Geo"};
        QTest::newRow("by columns") << Parsed{"vectrex    Vectrex.", "vectrex", "Vectrex"};
        QTest::newRow("cut before its quote") << Parsed{"sms  \"Master Sys", "sms", "Master Sys"};
        QTest::newRow("blanks after the quote") << Parsed{"nes  \"NES\"  \t ", "nes", "NES"};
        QTest::newRow("column 8 cuts a character")
            << Parsed{"abcdefg" + smiley + "   Desc.", "", ""};
    }
    void eachLineGivesItsSystem() {
        QFETCH(Parsed, p);
        const auto system = parseSystemLine(p.line);
        QCOMPARE(system.has_value(), !p.shortName.isEmpty());
        if (system) {
            QCOMPARE(system->shortName, p.shortName);
            QCOMPARE(system->description, p.description);
        }
    }

    // Line ends of every kind, in any piece the file is read in, give the same lines.
    void linesReadTheSameInPiecesOfAnySize() {
        TestPlatform t;
        const QByteArray bytes =
            "head\r\nA\rB\nC\r\n\r\nD\n\rE\xff" + QByteArray(70000, 'x') + "\r\nlast";
        QVERIFY(t.write("list", bytes));
        const QList<QByteArray> expected{"head", "A", "B", "C", "", "D", "", "last"};
        for (qsizetype piece : {1, 2, 3, 5, 6, 64 * 1024}) {
            QList<QByteArray> lines;
            const FileProblem problem = readLines(
                t.path("list"), 1 << 20, [&](qint64, const QByteArray& line) { lines << line; },
                piece);
            QVERIFY(!problem);
            QCOMPARE(lines, expected); // the line over 64 KiB is skipped, but counted
        }
    }

    // What the file holds, or what lies in its place, and what the user is told.
    void everyShapeOfFileGivesItsSystemsOrSaysWhyNot_data() {
        QTest::addColumn<Shape>("shape");
        QTest::addColumn<QStringList>("systems");
        QTest::addColumn<QString>("told"); // after "The systems list <path>"
        const QString none = " holds no system that can be shown.", cannot = " cannot be read: it ";
        QTest::newRow("missing") << Shape{} << QStringList() << " was not found.";
        QTest::newRow("header only") << Shape{Header} << QStringList() << none;
        QTest::newRow("invalid UTF-8")
            << Shape{Header + "nes  \"Nin\xfftendo\"\n"} << QStringList{"Nin\uFFFDtendo"} << "";
        QTest::newRow("a line of 200 MB")
            << Shape{{}, Special::LongLine} << QStringList{"NES"} << "";
        QTest::newRow("pipe") << Shape{{}, Special::Pipe} << QStringList()
                              << cannot + "is a named pipe.";
        QTest::newRow("huge") << Shape{{}, Special::Huge} << QStringList()
                              << cannot + "holds 3,000,000,000 bytes, far more than a systems "
                                          "list holds.";
    }
    void everyShapeOfFileGivesItsSystemsOrSaysWhyNot() {
        QFETCH(Shape, shape);
        QFETCH(QStringList, systems);
        QFETCH(QString, told);
        TestPlatform t;
        const QString path = t.path("Tallowick.sys");
        if (shape.special)
            QVERIFY(makeSpecial(path, *shape.special));
        else if (!shape.bytes.isNull())
            QVERIFY(t.write("Tallowick.sys", shape.bytes));
        const double peak = peakMegabytes();
        auto form = t.open(); // at once: nothing is waited on or read whole
        QVERIFY2(peakMegabytes() - peak < 16, "the file was held in memory");
        QCOMPARE(form->EmulatedSystemList->items(), systems);
        QStringList notices;
        if (!told.isEmpty())
            notices << "The systems list " + path + told +
                           "\nChoose \"Update systems\" in the \"File\" menu to make a new one.";
        QCOMPARE(t.messages.notices, notices);
        QVERIFY(!form->GamesList->items().contains("games")); // the placeholder rows are gone
    }

    // Sorted as a person reads; the first is chosen at start; either of two equal descriptions
    // shows the games of the last line that has it; hovering a system names its folder.
    void theListIsInReadingOrderAndAClickShowsThatSystem() {
        TestPlatform t;
        QVERIFY(t.write("Tallowick.sys", listing({{"zx", "Zebra"},
                                                  {"fc", "Éclair"},
                                                  {"eagle", "eagle"},
                                                  {"nes", "Éclair"},
                                                  {"z", QString(27, 'x') + 'z'},
                                                  {"y", QString(27, 'X') + 'y'}})));
        QVERIFY(t.write("ROMS/ZX/a", "x"));
        QVERIFY(t.write("ROMS/ZX/b", "x"));
        QVERIFY(t.write("ROMS/nes/b.nes", "x"));
        auto form = t.open();
        SortedListBox* systems = form->EmulatedSystemList;
        QCOMPARE(systems->items(), (QStringList{"eagle", "Éclair", "Éclair", QString(27, 'X') + 'y',
                                                QString(27, 'x') + 'z', "Zebra"}));
        QCOMPARE(systems->listIndex(), 0);
        QCOMPARE(form->GamesList->count(), 0);
        for (int row : {1, 2}) {
            QVERIFY(clickRow(systems, row));
            QCOMPARE(form->GamesList->items(), QStringList{nesLine("b.nes")});
        }
        const auto tip = [&](int row) {
            return systems->model()->index(row, 0).data(Qt::ToolTipRole).toString();
        };
        QCOMPARE(tip(0), "eagle\nShort name: eagle\nROMS/eagle/ does not exist yet");
        QCOMPARE(tip(5), "Zebra\nShort name: zx\nROMS/ZX/ \u2014 2 images");
    }
};

QTEST_MAIN(SystemsListTest)
#include "tst_systemslist.moc"
