// The games list as the window fills it from a system's folder, and the layout of its lines.
#include "catalogue/gameline.h"
#include "tests/support/formfixture.h"

#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QtTest>

namespace {

const QString Nes = QStringLiteral("Nintendo Entertainment System");
const QString GameBoy = QStringLiteral("Game Boy");

QString line(const QString& name, const QString& shortName = QStringLiteral("nes")) {
    return GameLine::make(name, shortName);
}

// A program folder listing two systems, with the NES one selected.
std::unique_ptr<Form1> openOnNes(TestPlatform& test) {
    test.writeFile(QStringLiteral("Tallowick.sys"),
                   oldLayoutListing({{"nes", Nes}, {"gb", GameBoy}}));
    auto form = openForm(test);
    form->EmulatedSystemList->setListIndex(form->EmulatedSystemList->items().indexOf(Nes));
    return form;
}

} // namespace

class GamesListTest : public QObject {
    Q_OBJECT

private slots:
    void lineLayout_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("shortName");
        QTest::newRow("one letter") << "a"
                                    << "nes";
        QTest::newRow("63 characters") << QString(63, QLatin1Char('x')) << "nes";
        QTest::newRow("blanks and non-ASCII") << " Pokémon  Rot .gb "
                                              << "gb";
        for (int k = 9; k <= 16; ++k)
            QTest::newRow(qPrintable(QStringLiteral("short name of %1").arg(k)))
                << "Game.bin" << QString(k, QLatin1Char('s'));
    }
    void lineLayout() {
        QFETCH(QString, name);
        QFETCH(QString, shortName);
        const QString made = line(name, shortName);
        QCOMPARE(made.size(), 66 + shortName.size() + name.size());
        QCOMPARE(made.left(63), name.leftJustified(63));
        QCOMPARE(made.mid(63, shortName.size()), shortName); // column 64 on, right after the name
        QCOMPARE(GameLine::commandTail(made), shortName + " \"" + name + '"');
        QCOMPARE(GameLine::shortName(made), shortName);
        QCOMPARE(GameLine::name(made), name.trimmed());
    }

    void superMarioColumnByColumn() {
        const QString made = line(QStringLiteral("Super Mario.nes"));
        QCOMPARE(made.size(), 84);
        QCOMPARE(made.left(15), QStringLiteral("Super Mario.nes"));        // columns 1-15
        QCOMPARE(made.mid(15, 48), QString(48, QLatin1Char(' ')));         // 16-63
        QCOMPARE(made.mid(63), QStringLiteral("nes \"Super Mario.nes\"")); // 64-84
        QCOMPARE(GameLine::commandTail(QStringLiteral("short line")), QString());
    }

    void folderListsOnlyCarriableFiles() {
        TestPlatform test;
        const QString tooLong = QLatin1Char('d') + QString(59, QLatin1Char('x')) + ".nes";
        const QString longest = QLatin1Char('c') + QString(58, QLatin1Char('x')) + ".nes";
        for (const QString& name :
             {QStringLiteral("b.nes"), QStringLiteral("A.nes"), QStringLiteral("dir.txt"),
              QStringLiteral("DIR.TXT"), QStringLiteral(".hidden.nes"),
              QStringLiteral("q\"uote.nes"), QStringLiteral("new\nline.nes"), tooLong, longest})
            test.writeFile("ROMS/nes/" + name, "image");
        test.makeFolder(QStringLiteral("ROMS/nes/sub.nes"));
        QVERIFY(QFile::link(test.path("ROMS/nes/A.nes"), test.path("ROMS/nes/link.nes")));
        QVERIFY(QFile::link(test.path("ROMS/nes/gone.nes"), test.path("ROMS/nes/dangling.nes")));
        QCOMPARE(tooLong.size(), 64);
        QCOMPARE(longest.size(), 63);

        auto form = openOnNes(test);
        QCOMPARE(entriesOf(form->GamesList),
                 QStringList({line("A.nes"), line("b.nes"), line(longest), line("link.nes")}));
        QCOMPARE(form->GamesList->listIndex(), -1);
        QVERIFY(test.messages.notices.isEmpty());
    }

    void lastLineWithTheDescriptionWins() {
        TestPlatform test;
        test.writeFile(QStringLiteral("ROMS/famicom/a.nes"), "image");
        test.writeFile(QStringLiteral("ROMS/nes/b.nes"), "image");
        test.writeFile(QStringLiteral("Tallowick.sys"),
                       oldLayoutListing({{"nes", Nes}, {"famicom", Nes}}));
        auto form = openForm(test);
        QCOMPARE(entriesOf(form->GamesList), QStringList{line("a.nes", "famicom")});
    }

    void updateListTwiceGivesTheSameList() {
        TestPlatform test;
        test.writeFile(QStringLiteral("ROMS/nes/Zelda.nes"), "image");
        test.writeFile(QStringLiteral("ROMS/nes/mario.nes"), "image");
        auto form = openOnNes(test);
        const QStringList expected{line("mario.nes"), line("Zelda.nes")};
        for (int round = 0; round < 2; ++round) {
            form->GamesList->setListIndex(1);
            form->GamesListCommand->click();
            QCOMPARE(entriesOf(form->GamesList), expected);
            QCOMPARE(form->GamesList->listIndex(), -1);
        }
    }

    // What a refill leaves behind when the folder or the systems file lets it down.
    void refillOnBadGround_data() {
        QTest::addColumn<QString>("damage");
        QTest::addColumn<bool>("listKept");
        QTest::newRow("system folder missing") << "remove folder" << false;
        QTest::newRow("system folder is a file") << "folder is file" << false;
        QTest::newRow("description no longer listed") << "drop description" << true;
        QTest::newRow("systems file missing") << "remove systems file" << true;
        QTest::newRow("systems file is a folder") << "systems file is folder" << true;
    }
    void refillOnBadGround() {
        QFETCH(QString, damage);
        QFETCH(bool, listKept);
        TestPlatform test;
        test.writeFile(QStringLiteral("ROMS/nes/a.nes"), "image");
        auto form = openOnNes(test);
        const QStringList before = entriesOf(form->GamesList);
        QCOMPARE(before.size(), 1);

        QDir program(test.folder.path());
        if (damage == "remove folder" || damage == "folder is file") {
            QVERIFY(QDir(test.path("ROMS/nes")).removeRecursively());
            if (damage == "folder is file")
                test.writeFile(QStringLiteral("ROMS/nes"), "not a folder");
        } else if (damage == "drop description") {
            test.writeFile(QStringLiteral("Tallowick.sys"), oldLayoutListing({{"gb", GameBoy}}));
        } else {
            QVERIFY(program.remove(QStringLiteral("Tallowick.sys")));
            if (damage == "systems file is folder")
                test.makeFolder(QStringLiteral("Tallowick.sys"));
        }
        form->INPFile->setPath(test.folder.path());
        form->INPFile->setPattern(QStringLiteral("*.*"));

        form->GamesListCommand->click();
        QCOMPARE(entriesOf(form->GamesList), listKept ? before : QStringList());
        QCOMPARE(form->INPFile->path(), test.path("INP"));
        QCOMPARE(form->INPFile->pattern(), QStringLiteral("*.INP"));
        QVERIFY(test.messages.notices.isEmpty());
    }
};

QTEST_MAIN(GamesListTest)
#include "tst_gameslist.moc"
