// The games list: the line kept for each image of a system's folder, which files become lines,
// their order, how odd names look, and what an empty list says.
#include "catalogue/gameline.h"
#include "tests/support/fixture.h"

#include <QPushButton>
#include <QtTest>

namespace {

struct Line {
    QString file;
    QString system;
    QString shown; // columns 1 to 63, before their padding
    QString name;  // as messages name the game
};

} // namespace
Q_DECLARE_METATYPE(Line)

class GamesListTest : public QObject {
    Q_OBJECT
private slots:
    void aLineShowsTheNameAndCarriesItWhole_data() {
        QTest::addColumn<Line>("l");
        const QString a = QString(62, 'a'), b = QString(61, 'b'), pair = "\U0001F600";
        QTest::newRow("short") << Line{"Super Mario.nes", "nes", "Super Mario.nes",
                                       "Super Mario.nes"};
        QTest::newRow("63 characters") << Line{a + 'z', "nes", a + 'z', a + 'z'};
        QTest::newRow("pair cut at 63") << Line{a + pair + 'z', "nes", a, a + pair + 'z'};
    }
    void aLineShowsTheNameAndCarriesItWhole() {
        QFETCH(Line, l);
        const QString line = GameLine::make(l.file, l.system);
        const QString tail = l.system + " \"" + l.file + '"';
        QCOMPARE(line, l.shown.leftJustified(63) + tail);
        QCOMPARE(GameLine::commandTail(line), tail);
        QCOMPARE(GameLine::shortName(line), l.system);
        QCOMPARE(GameLine::name(line), l.name);
    }

    void theFolderGivesItsImagesInReadingOrder_data() {
        QTest::addColumn<QStringList>("files"); // made in the program folder
        QTest::addColumn<QStringList>("games");
        const QString x = QString(30, 'x'), X = QString(30, 'X'), l = QString(70, 'l');
        QTest::newRow("dir.txt in any case")
            << QStringList{"ROMS/nes/dir.txt", "ROMS/nes/DIR.TXT", "ROMS/nes/dir.txt.x"}
            << QStringList{"dir.txt.x"};
        QTest::newRow("hidden, sub-folders")
            << QStringList{"ROMS/nes/.hidden", "ROMS/nes/.cache/a", "ROMS/nes/sub/in", "ROMS/nes/S"}
            << QStringList{"S"};
        QTest::newRow("quotes, control characters")
            << QStringList{"ROMS/nes/q\"uote", "ROMS/nes/tab\t", "ROMS/nes/del\x7f", "ROMS/nes/ok"}
            << QStringList{"ok"};
        QTest::newRow("folders in any case") << QStringList{"roms/NES/a"} << QStringList{"a"};
        QTest::newRow("accents and case do not count")
            << QStringList{"ROMS/nes/Zed",   "ROMS/nes/Ecstasy", "ROMS/nes/Éclair",
                           "ROMS/nes/Eagle", "ROMS/nes/apple",   "ROMS/nes/E\u0301cole"}
            << QStringList{"apple", "Eagle", "Éclair", "E\u0301cole", "Ecstasy", "Zed"};
        QTest::newRow("apart after 30 characters")
            << QStringList{"ROMS/nes/" + x + 'b', "ROMS/nes/" + X + 'a'}
            << QStringList{X + 'a', x + 'b'};
    }
    void theFolderGivesItsImagesInReadingOrder() {
        QFETCH(QStringList, files);
        QFETCH(QStringList, games);
        TestPlatform t;
        QVERIFY(t.writeSystem("nes", "Nintendo", {}));
        for (const QString& file : files)
            QVERIFY(t.write(file, "image"));
        auto form = t.open();
        QStringList lines;
        for (const QString& game : games)
            lines << nesLine(game);
        QCOMPARE(form->GamesList->items(), lines);
    }

    void linksToImagesAreImagesToo() {
        TestPlatform t;
        QVERIFY(t.writeSystem("nes", "Nintendo", {"a"}));
        const QDir folder(t.path("ROMS/nes"));
        QVERIFY(QFile::link("a", folder.filePath("Linked")));
        QVERIFY(QFile::link("gone", folder.filePath("Dangling")));
        QVERIFY(QFile::link("..", folder.filePath("Up")));
        auto form = t.open();
        QCOMPARE(form->GamesList->items(), (QStringList{nesLine("a"), nesLine("Linked")}));
    }

    // An empty list names the folder it looked in, as a line drawn in its place, no entry to
    // select, play or keep; "Update list" reads the folder again and selects nothing.
    void updateListReadsTheFolderThatAnEmptyListNames() {
        TestPlatform t;
        QVERIFY(t.write("Tallowick.sys", listing({{"nes", "Nintendo"}, {"gb", "Game Boy"}})));
        QVERIFY(t.write("ROMS/nes/b.nes", "x"));
        auto form = t.open(); // on Game Boy
        QCOMPARE(form->GamesList->emptyText(), "No images in ROMS/gb/");
        QTest::mouseDClick(form->GamesList->viewport(), Qt::LeftButton, {}, {10, 10});
        QTest::mouseClick(form->GamesList->viewport(), Qt::RightButton, {}, {10, 10});
        QVERIFY(t.processes.starts.isEmpty());
        QVERIFY(t.messages.questions.isEmpty());
        const QImage named = form->GamesList->viewport()->grab().toImage();
        QVERIFY(t.write("ROMS/gb/Tetris.gb", "x"));
        QTest::mouseClick(form->GamesListCommand, Qt::LeftButton);
        QCOMPARE(form->GamesList->count(), 1);
        QVERIFY2(form->GamesList->viewport()->grab().toImage() != named, "the line stays");
        QVERIFY(clickRow(form->EmulatedSystemList, 1)); // Nintendo
        QVERIFY(t.write("ROMS/nes/a.nes", "x"));
        QVERIFY(clickRow(form->GamesList, 0));
        QTest::mouseClick(form->GamesListCommand, Qt::LeftButton);
        QCOMPARE(form->GamesList->items(), (QStringList{nesLine("a.nes"), nesLine("b.nes")}));
        QCOMPARE(form->GamesList->listIndex(), -1);
        QCOMPARE(form->INPFile->path(), t.path("INP")); // the recordings lister is given back
        QVERIFY(clickRow(form->GamesList, 1));
        QVERIFY(t.write("Tallowick.sys", listing({{"gb", "Game Boy"}}))); // Nintendo is gone
        QTest::mouseClick(form->GamesListCommand, Qt::LeftButton);
        QCOMPARE(form->GamesList->count(), 2); // the list stays as it was
        QCOMPARE(form->GamesList->listIndex(), 1);
    }

    // A name shown cut, at the list's width or its 63 columns, shows whole as its tooltip; line
    // and paragraph separators show as signs on one line; the emulator gets the name as it is.
    void anyNameReadsWholeOnOneLine() {
        TestPlatform t;
        const QString wide = "A Name That Fits Its Columns But Not The List.nes",
                      whole = QString(70, 'l'), odd = "Two\u2028Lines\u2029.nes";
        QVERIFY(t.writeSystem("nes", "Nintendo", {"a.nes", wide, whole, odd}));
        QVERIFY(t.installStandin());
        auto form = t.open(); // wide, a.nes, whole, odd
        const auto shown = [&](int row, Qt::ItemDataRole role) {
            return form->GamesList->model()->index(row, 0).data(role).toString();
        };
        QCOMPARE(shown(0, Qt::ToolTipRole), wide);
        QCOMPARE(shown(1, Qt::ToolTipRole), QString());
        QCOMPARE(shown(2, Qt::ToolTipRole), whole);
        QCOMPARE(shown(3, Qt::DisplayRole).left(14), "Two\u2424Lines\u00b6.nes");
        QCOMPARE(form->GamesList->sizeHintForRow(3), form->GamesList->sizeHintForRow(1));
        QVERIFY(doubleClickRow(form->GamesList, 3));
        QCOMPARE(t.processes.starts.value(0), (QStringList{"nes", odd}));
    }
};

QTEST_MAIN(GamesListTest)
#include "tst_gameslist.moc"
