// The favourites, through the real main window and its mouse: the index each press stores, adding
// and removing lines byte for byte, swapping lists, launching favourites of several systems, and
// favourites that cannot be saved.
#include "catalogue/gameline.h"
#include "tests/support/formfixture.h"

#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>
#include <unistd.h>

namespace {

const QString Fav = QStringLiteral("Tallowick.fav");

QByteArray line(const char* name, const char* system = "nes") {
    return GameLine::make(name, system).toUtf8();
}

QByteArray crlf(const QList<QByteArray>& lines) {
    QByteArray bytes;
    for (const QByteArray& l : lines)
        bytes += l + "\r\n";
    return bytes;
}

// Two systems; NES, the first, shows at start-up. A MESS to start, so launches are recorded.
std::unique_ptr<Form1> openShown(TestPlatform& test) {
    test.writeFile("Tallowick.sys", oldLayoutListing({{"nes", "Nintendo Entertainment System"},
                                                      {"snes", "Super Nintendo"}}));
    for (const char* game : {"alpha.zip", "beta.zip", "gamma.zip"})
        test.writeFile(QStringLiteral("ROMS/nes/") + game, "image");
    test.writeFile("ROMS/snes/delta.sfc", "image");
    test.writeFile("MESS", "#!/bin/sh\n");
    QFile::setPermissions(test.path("MESS"),
                          QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    auto form = openForm(test);
    form->show();
    if (!QTest::qWaitForWindowExposed(form.get()))
        qWarning("window not exposed");
    return form;
}

// A real press and release on a row of the games list; row -1 presses below the last line.
void press(Form1& form, int row, Qt::MouseButton button) {
    SortedListBox* list = form.GamesList;
    const int at = row < 0 ? list->count() - 1 : row;
    QPoint point = list->visualRect(list->model()->index(at, 0)).center();
    if (row < 0)
        point.ry() += list->visualRect(list->model()->index(at, 0)).height() * 2;
    QTest::mousePress(list->viewport(), button, {}, point);
    QTest::mouseRelease(list->viewport(), button, {}, point);
}

void showFavourites(Form1& form) {
    form.SwapListCommand->setEnabled(true);
    form.SwapListCommand->click();
    QCOMPARE(form.GamesList->tag(), QString("Fav"));
}

QStringList decoded(const QByteArray& bytes) {
    QStringList lines;
    for (const QByteArray& l : bytes.split('\n'))
        if (!l.trimmed().isEmpty())
            lines << QString::fromUtf8(l.endsWith('\r') ? l.chopped(1) : l);
    lines.sort(Qt::CaseInsensitive);
    return lines;
}

} // namespace

class FavouritesTest : public QObject {
    Q_OBJECT
private slots:
    void leftPressStoresIndex_data() {
        QTest::addColumn<bool>("favourites");
        QTest::addColumn<QString>("lastFav"); // what the store holds before the swap
        QTest::addColumn<int>("preselect");
        QTest::addColumn<int>("row");
        QTest::addColumn<QString>("stored");
        QTest::newRow("full list line") << false << "" << -1 << 1 << "1";
        QTest::newRow("full list, below last line") << false << "" << 2 << -1 << "2";
        QTest::newRow("favourites line") << true << "0" << -1 << 2 << "2";
        QTest::newRow("favourites, none selected") << true << "9" << -1 << -1 << "-1";
    }

    void leftPressStoresIndex() {
        QFETCH(bool, favourites);
        QFETCH(QString, lastFav);
        QFETCH(int, preselect);
        QFETCH(int, row);
        QFETCH(QString, stored);
        TestPlatform test;
        const QByteArray file = crlf({line("gamma.zip"), line("alpha.zip"), line("beta.zip")});
        test.writeFile(Fav, file);
        test.settings.set("Games", "LastFav", lastFav);
        auto form = openShown(test);
        if (favourites)
            showFavourites(*form);
        form->GamesList->setListIndex(preselect);
        const QStringList before = form->GamesList->items();
        press(*form, row, Qt::LeftButton);
        QCOMPARE(test.settings.value("Games", favourites ? "LastFav" : "LastFull"), stored);
        QCOMPARE(form->GamesList->listIndex(), stored.toInt());
        if (stored != "-1")
            QCOMPARE(form->RecText->text(), QString("nes"));
        QVERIFY(test.messages.questions.isEmpty());
        QVERIFY(test.messages.notices.isEmpty());
        QCOMPARE(form->GamesList->items(), before);
        QCOMPARE(test.readFile(Fav), file);
    }

    void rightPressAdds_data() {
        QTest::addColumn<QByteArray>("before"); // "-" for no file
        QTest::addColumn<QList<bool>>("answers");
        QTest::addColumn<QByteArray>("after");
        const QByteArray beta = line("beta.zip");
        QTest::newRow("new file") << QByteArray("-") << QList<bool>{true} << crlf({beta});
        QTest::newRow("twice") << QByteArray("-") << QList<bool>{true, true} << crlf({beta, beta});
        QTest::newRow("cancel") << QByteArray("-") << QList<bool>{false} << QByteArray("-");
        QTest::newRow("no final line end") << line("gamma.zip", "snes") << QList<bool>{true}
                                           << crlf({line("gamma.zip", "snes"), beta});
        QTest::newRow("empty file") << QByteArray() << QList<bool>{true} << crlf({beta});
    }

    void rightPressAdds() {
        QFETCH(QByteArray, before);
        QFETCH(QList<bool>, answers);
        QFETCH(QByteArray, after);
        TestPlatform test;
        if (before != "-")
            test.writeFile(Fav, before);
        auto form = openShown(test);
        const QStringList full = form->GamesList->items();
        test.messages.answers = answers;
        for (int i = 0; i < answers.size(); ++i)
            press(*form, 1, Qt::RightButton);
        QCOMPARE(form->GamesList->listIndex(), 1); // the press selected the line first
        QCOMPARE(test.settings.value("Games", "LastFull"), QString("1"));
        QCOMPARE(test.messages.questions, QStringList(answers.size(), "Add beta.zip"));
        QCOMPARE(
            test.messages.notices,
            QStringList(answers.count(true), "beta.zip\nhas been added in your favourites list !"));
        QCOMPARE(QFileInfo::exists(test.path(Fav)) ? test.readFile(Fav) : QByteArray("-"), after);
        QCOMPARE(form->GamesList->items(), full);
    }

    void rightPressRemoves_data() {
        QTest::addColumn<QByteArray>("before");
        QTest::addColumn<int>("row"); // in the sorted list
        QTest::addColumn<bool>("answer");
        QTest::addColumn<QByteArray>("after");
        const QByteArray a = line("alpha.zip"), b = line("beta.zip"), g = line("gamma.zip");
        QByteArray odd = line("cafX.zip");
        odd.replace('X', '\xe9'); // not UTF-8
        QTest::newRow("rest sorted") << crlf({g, a, b}) << 1 << true << crlf({a, g});
        QTest::newRow("only one") << crlf({b}) << 0 << true << QByteArray();
        QTest::newRow("cancel") << crlf({g, a, b}) << 1 << false << crlf({g, a, b});
        QTest::newRow("blank lines and LF")
            << (b + "\n\n  \n" + a + "\n") << 0 << true << crlf({b});
        QTest::newRow("invalid UTF-8 kept") << crlf({odd, a}) << 0 << true << crlf({odd});
    }

    void rightPressRemoves() {
        QFETCH(QByteArray, before);
        QFETCH(int, row);
        QFETCH(bool, answer);
        QFETCH(QByteArray, after);
        TestPlatform test;
        test.writeFile(Fav, before);
        auto form = openShown(test);
        showFavourites(*form);
        const QString name = GameLine::name(form->GamesList->item(row));
        test.messages.answers = {answer};
        press(*form, row, Qt::RightButton);
        QCOMPARE(test.settings.value("Games", "LastFav"), QString::number(row));
        QCOMPARE(test.messages.questions, QStringList{"Remove " + name});
        QCOMPARE(test.messages.notices,
                 answer ? QStringList{name + "\nhas been removed from your favourites list !"}
                        : QStringList{});
        QCOMPARE(test.readFile(Fav), after);
        QCOMPARE(form->GamesList->items(), decoded(after));
    }

    void swapTwice_data() {
        QTest::addColumn<QByteArray>("file"); // "-" for no file
        QTest::addColumn<QString>("lastFav"); // "-" for none stored
        QTest::addColumn<int>("selected");
        const QByteArray three = crlf({line("gamma.zip"), line("alpha.zip"), line("beta.zip")});
        QTest::newRow("stored line") << three << "2" << 2;
        QTest::newRow("first by default") << three << "-" << 0;
        QTest::newRow("stored past the end") << three << "3" << -1;
        QTest::newRow("stored text without a number") << three << "abc" << 0;
        QTest::newRow("stored half rounds to even") << three << "1.5" << 2;
        QTest::newRow("no file") << QByteArray("-") << "-" << -1;
        QTest::newRow("blank lines")
            << QByteArray("\r\n \r\n" + crlf({line("beta.zip")}) + "\n") << "-" << 0;
    }

    void swapTwice() {
        QFETCH(QByteArray, file);
        QFETCH(QString, lastFav);
        QFETCH(int, selected);
        TestPlatform test;
        if (file != "-")
            test.writeFile(Fav, file);
        if (lastFav != "-")
            test.settings.set("Games", "LastFav", lastFav);
        auto form = openShown(test);
        const QStringList full = form->GamesList->items();
        form->GamesList->setListIndex(1);
        showFavourites(*form);
        QCOMPARE(form->Frame1->title(), QString("Games [Favourites list]"));
        QCOMPARE(form->GamesList->items(), decoded(file == "-" ? QByteArray() : file));
        QCOMPARE(form->GamesList->listIndex(), selected);
        form->SwapListCommand->click();
        QCOMPARE(form->GamesList->tag(), QString("Full"));
        QCOMPARE(form->Frame1->title(), QString("Games [Full list]"));
        QCOMPARE(form->GamesList->items(), full);
        QCOMPARE(form->GamesList->listIndex(), -1);
    }

    void twoSystemsLaunchTheirOwn() {
        TestPlatform test;
        test.writeFile(Fav, crlf({line("delta.sfc", "snes"), line("alpha.zip", "nes")}));
        auto form = openShown(test);
        showFavourites(*form);
        QCOMPARE(form->GamesList->items(),
                 (QStringList{line("alpha.zip", "nes"), line("delta.sfc", "snes")}));
        const QList<QStringList> expected{{"nes", "alpha.zip"}, {"snes", "delta.sfc"}};
        for (int row = 0; row < 2; ++row) {
            form->GamesList->setListIndex(row);
            form->PlayButton_Click();
            QCOMPARE(test.processes.starts.size(), row + 1);
            QCOMPARE(test.processes.starts.last().arguments, expected.at(row));
        }
        QVERIFY(test.messages.notices.isEmpty());
    }

    void swapBackWithoutSystemsShowsNoFavourites() {
        TestPlatform test;
        test.writeFile(Fav, crlf({line("alpha.zip")}));
        auto form = openForm(test); // no systems file: nothing to fill the full list from
        showFavourites(*form);
        QCOMPARE(form->GamesList->count(), 1);
        form->SwapListCommand->click();
        QCOMPARE(form->GamesList->tag(), QString("Full"));
        QCOMPARE(form->GamesList->count(), 0);
        QCOMPARE(test.readFile(Fav), crlf({line("alpha.zip")}));
    }

    void modeFollowsFullListFill_data() {
        QTest::addColumn<bool>("otherSystem"); // else "Update list"
        QTest::newRow("another system") << true;
        QTest::newRow("update list") << false;
    }

    void modeFollowsFullListFill() {
        QFETCH(bool, otherSystem);
        TestPlatform test;
        test.writeFile(Fav, crlf({line("alpha.zip")}));
        auto form = openShown(test);
        showFavourites(*form);
        if (otherSystem)
            form->EmulatedSystemList->setListIndex(1);
        else
            form->GamesListCommand->click();
        QCOMPARE(form->GamesList->tag(), QString("Full"));
        QCOMPARE(form->Frame1->title(), QString("Games [Full list]"));
        QCOMPARE(form->GamesList->items().size(), otherSystem ? 1 : 3);
        // A right press now offers to add, and the favourites file keeps its line.
        test.messages.answers = {false};
        press(*form, 0, Qt::RightButton);
        QVERIFY(test.messages.questions.first().startsWith("Add "));
        QCOMPARE(test.readFile(Fav), crlf({line("alpha.zip")}));
    }

    void unwritableFavourites_data() {
        QTest::addColumn<bool>("lockFolder"); // else the file alone is read-only
        QTest::newRow("read-only file") << false;
        QTest::newRow("read-only program folder") << true;
    }

    void unwritableFavourites() {
        QFETCH(bool, lockFolder);
        if (lockFolder && geteuid() == 0)
            QSKIP("Running as root: a read-only folder does not stop root's writes.");
        TestPlatform test;
        const QByteArray file = crlf({line("gamma.zip"), line("alpha.zip")});
        test.writeFile(Fav, file);
        auto form = openShown(test);
        const QString locked = lockFolder ? test.folder.path() : test.path(Fav);
        const auto permissions = QFileInfo(locked).permissions();
        const auto readOnly = QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther; // 0444
        QVERIFY(QFile::setPermissions(locked, lockFolder ? readOnly | QFile::ExeOwner |
                                                               QFile::ExeGroup | QFile::ExeOther
                                                         : readOnly));

        press(*form, 1, Qt::RightButton); // add beta.zip
        showFavourites(*form);
        const QStringList favourites = form->GamesList->items();
        press(*form, 0, Qt::RightButton); // remove alpha.zip
        QFile::setPermissions(locked, permissions);

        QCOMPARE(test.messages.notices.size(), 2);
        for (const QString& notice : test.messages.notices)
            QVERIFY2(notice.contains("favourites could not be saved"), qPrintable(notice));
        QCOMPARE(test.readFile(Fav), file);
        QCOMPARE(form->GamesList->items(), favourites);
    }
};

QTEST_MAIN(FavouritesTest)
#include "tst_favourites.moc"
