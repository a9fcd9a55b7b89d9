// The games list: the line kept for each image of a system's folder, which files become lines,
// their order, and "Update list".
#include "catalogue/gameline.h"
#include "tests/support/fixture.h"

#include <QDir>
#include <QPushButton>
#include <QtTest>

using L = QStringList;

template <typename... Cells> static void row(const char* name, const Cells&... cells) {
    (QTest::newRow(name) << ... << QString(cells));
}

class GamesListTest : public QObject {
    Q_OBJECT
private slots:
    void lines_data() {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("system");
        QTest::addColumn<QString>("shown"); // columns 1 to 63, before their padding
        QTest::addColumn<QString>("name");  // for messages
        const QString a = QString(62, 'a'), b = QString(61, 'b'), pair = "\U0001F600";
        row("short", "Super Mario.nes", "nes", "Super Mario.nes", "Super Mario.nes");
        row("blanks around", " Pokémon  Rot.gb ", "gb", " Pokémon  Rot.gb", "Pokémon  Rot.gb");
        row("long short name", "x.bin", "neogeo_cartridge", "x.bin", "x.bin");
        row("63 characters", a + 'z', "nes", a + 'z', a + 'z');
        row("64 characters", a + "zy", "nes", a + 'z', a + "zy");
        row("100 characters, blank at 63", a + ' ' + b.left(37), "nes", a, a + ' ' + b.left(37));
        row("pair cut at 63", a + pair + 'z', "nes", a, a + pair + 'z');
        row("pair ends at 63", b + pair + 'z', "nes", b + pair, b + pair + 'z');
    }
    void lines() {
        QFETCH(QString, file);
        QFETCH(QString, system);
        QFETCH(QString, shown);
        QFETCH(QString, name);
        const QString line = GameLine::make(file, system);
        const QString tail = system + " \"" + file + '"';
        QCOMPARE(line, shown.leftJustified(63) + tail);
        QCOMPARE(GameLine::commandTail(line), tail);
        QCOMPARE(GameLine::shortName(line), system);
        QCOMPARE(GameLine::name(line), name);
    }

    void folder_data() {
        QTest::addColumn<QString>("made"); // "~" is ROMS/nes/; "x/" a folder, "x>y" x links to y
        QTest::addColumn<QString>("games");
        row("dir.txt", "~dir.txt|~DIR.TXT|~Dir.txt|~dir.txt.x|~b", "b|dir.txt.x");
        row("hidden, sub-folders", "~.hidden|~.cache/|~sub/in|~Shown", "Shown");
        row("links", "~a|~Linked>a|~Dangling>gone|~Up>..|~Loop>Loop", "a|Linked");
        row("quotes, control characters", "~q\"uote|~tab\t|~new\nline|~del\x7f|~ok", "ok");
        row("long name", "~" + QString(70, 'l'), QString(70, 'l'));
        row("folders in other letter case", "roms/NES/a", "a");
        row("exact spelling wins", "ROMS/NES/upper|~exact|roms/nes/lower", "exact");
        row("missing folder", "ROMS/snes/a", "");
        row("accents", "~Zed|~Ecstasy|~Éclair|~Eagle|~apple", "apple|Eagle|Éclair|Ecstasy|Zed");
        row("accent written apart", "~Ecstasy|~E\u0301clair", "E\u0301clair|Ecstasy");
        row("shorter first", "~abc|~ab|~a", "a|ab|abc");
        const QString x = "~" + QString(30, 'x'), X = QString(30, 'X');
        row("apart after 30 characters", x + "b|~" + X + 'a', X + "a|" + x.mid(1) + 'b');
    }
    void folder() {
        QFETCH(QString, made);
        QFETCH(QString, games);
        TestPlatform test;
        test.write("Tallowick.sys", listing({{"nes", "Nintendo"}}));
        for (QString entry : made.replace('~', "ROMS/nes/").split('|', Qt::SkipEmptyParts)) {
            if (entry.contains('>'))
                QVERIFY(QFile::link(entry.section('>', 1), test.path(entry.section('>', 0, 0))));
            else if (entry.endsWith('/'))
                QVERIFY(QDir().mkpath(test.path(entry)));
            else
                test.write(entry, "image");
        }
        auto form = test.open();
        L lines;
        for (const QString& game : games.split('|', Qt::SkipEmptyParts))
            lines << nesLine(game);
        QCOMPARE(form->GamesList->items(), lines);
        QVERIFY(test.messages.notices.isEmpty());
    }

    void updateList() {
        TestPlatform test;
        test.write("Tallowick.sys", listing({{"nes", "Nintendo"}, {"gb", "Game Boy"}}));
        for (const char* name : {"nes/Zelda", "nes/abc", "nes/mario", "nes/ABC", "nes/Abc",
                                 "nes/\u00e1bc", "nes/aBC", "gb/Tetris"})
            test.write(QStringLiteral("ROMS/") + name, "x");
        auto form = test.open();
        form->show();
        QVERIFY(QTest::qWaitForWindowExposed(form.get()));
        L nes; // names equal but for letter case and accents stay in the folder's order
        const QDir folder(test.path("ROMS/nes"));
        for (const QString& name : folder.entryList({"?bc"}, QDir::Files, QDir::Unsorted))
            nes << nesLine(name);
        nes << nesLine("mario") << nesLine("Zelda");
        for (int fill = 0; fill < 4; ++fill) {
            form->INPFile->setPath(test.elsewhere.path());
            form->INPFile->setPattern("*.*");
            form->GamesList->setListIndex(1);
            if (fill == 3) // "Nintendo" is gone from the file: the list stays as it is
                test.write("Tallowick.sys", listing({{"gb", "Game Boy"}}));
            if (fill == 0)
                form->EmulatedSystemList->setListIndex(1); // "Nintendo" chosen
            else
                QTest::mouseClick(form->GamesListCommand, Qt::LeftButton);
            QCOMPARE(form->GamesList->items(), nes);
            QCOMPARE(form->GamesList->listIndex(), fill == 3 ? 1 : -1);
            QCOMPARE(form->INPFile->path(), test.path("INP"));
            QCOMPARE(form->INPFile->pattern(), "*.INP");
        }
        QVERIFY(test.messages.notices.isEmpty());
    }
};

QTEST_MAIN(GamesListTest)
#include "tst_gameslist.moc"
