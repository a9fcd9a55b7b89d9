// Favourites as the user keeps them: a right-click on a game adds it, one on a favourite removes
// it, and the file on disk holds exactly what the list says, byte for byte.
#include "catalogue/favourites.h"
#include "tests/support/fixture.h"

#include <QGroupBox>
#include <QPushButton>
#include <QtTest>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

QByteArray lineOf(const QString& name) {
    return nesLine(name).toUtf8();
}
QByteArray crlf(const QList<QByteArray>& lines) {
    return lines.join("\r\n") + "\r\n";
}
const QByteArray Alpha = lineOf("alpha.zip"), Beta = lineOf("beta.zip"),
                 Gamma = lineOf("gamma.zip");
const QByteArray NoFile; // null: no favourites file yet

// Three images of nes (alpha.zip, beta.zip, Café.nes) and, unless it is NoFile, that favourites
// file.
std::unique_ptr<Form1> openWith(TestPlatform& t, const QByteArray& favourites) {
    if (!t.writeSystem("nes", "Nintendo", {"alpha.zip", "beta.zip", "Café.nes"}))
        return nullptr;
    if (!favourites.isNull() && !t.write("Tallowick.fav", favourites))
        return nullptr;
    return t.open();
}

// The user swaps lists; the button is greyed as shipped, so a test ungreys it.
void swapLists(Form1& form) {
    form.SwapListCommand->setEnabled(true);
    QTest::mouseClick(form.SwapListCommand, Qt::LeftButton);
}

struct Press {
    QByteArray before;
    bool favourites; // the list shows the favourites, sorted; else the full list
    int row;
    bool answer; // to the question "Add ..." or "Remove ..."
    QByteArray after;
};

} // namespace
Q_DECLARE_METATYPE(Press)

class FavouritesTest : public QObject {
    Q_OBJECT
private slots:
    // In the full list a right-click offers to add the line pressed, in the favourites to remove
    // it; the file then holds exactly the lines it should, others' bytes untouched.
    void rightClickAddsOrRemovesTheLinePressed_data() {
        QTest::addColumn<Press>("press");
        QTest::addColumn<QString>("game");
        const QByteArray odd = "x\xff\r\n\r\nlf\n", cafe = "Caf\xc3\xa9.nes";
        const QByteArray cafeLine = cafe + QByteArray(55, ' ') + "nes \"" + cafe + "\"\r\n";
        const QByteArray latin = lineOf("cafX.zip").replace('X', '\xe9');
        QTest::newRow("add the first") << Press{NoFile, false, 1, true, crlf({Beta})} << "beta.zip";
        QTest::newRow("add, cancelled")
            << Press{crlf({Alpha}), false, 1, false, crlf({Alpha})} << "beta.zip";
        QTest::newRow("add after others' bytes")
            << Press{odd, false, 0, true, odd + crlf({Alpha})} << "alpha.zip";
        QTest::newRow("add after a line unended")
            << Press{"typed", false, 1, true, "typed\r\n" + crlf({Beta})} << "beta.zip";
        QTest::newRow("add an accent, in UTF-8")
            << Press{NoFile, false, 2, true, cafeLine} << "Café.nes";
        QTest::newRow("remove, cancelled")
            << Press{crlf({Alpha, Beta}), true, 0, false, crlf({Alpha, Beta})} << "alpha.zip";
        QTest::newRow("remove: the rest in list order")
            << Press{crlf({Gamma, Beta, Alpha}), true, 1, true, crlf({Alpha, Gamma})} << "beta.zip";
        QTest::newRow("remove one of two equal")
            << Press{crlf({Beta, Alpha, Beta}), true, 2, true, crlf({Alpha, Beta})} << "beta.zip";
        QTest::newRow("remove: others' bytes kept")
            << Press{Gamma + "\n\n" + latin + "\r\n" + Alpha + "\r" + Beta, true, 1, true,
                     crlf({Alpha, latin, Gamma})}
            << "beta.zip";
        QTest::newRow("remove the only one")
            << Press{crlf({Beta}), true, 0, true, ""} << "beta.zip";
    }
    void rightClickAddsOrRemovesTheLinePressed() {
        QFETCH(Press, press);
        QFETCH(QString, game);
        TestPlatform t;
        auto form = openWith(t, press.before);
        QVERIFY(form);
        if (press.favourites)
            swapLists(*form);
        const QStringList shownBefore = form->GamesList->items();
        t.messages.answers = {press.answer};
        QVERIFY(clickRow(form->GamesList, press.row, Qt::RightButton));
        QCOMPARE(fileBytes(t.path("Tallowick.fav")), press.after);
        QCOMPARE(t.messages.questions, QStringList{(press.favourites ? "Remove " : "Add ") + game});
        QStringList notices;
        if (press.answer && press.favourites)
            notices << game + "\nhas been removed from your favourites list !";
        if (press.answer && !press.favourites)
            notices << game + "\nhas been added in your favourites list !";
        QCOMPARE(t.messages.notices, notices);
        QStringList shownAfter = shownBefore; // the full list itself never changes
        if (press.favourites)
            shownAfter = QString::fromUtf8(press.after).split("\r\n", Qt::SkipEmptyParts);
        QCOMPARE(form->GamesList->items(), shownAfter);
        // No other favourite is left selected for the next right-click to remove.
        const bool removed = press.favourites && press.answer;
        QCOMPARE(form->GamesList->listIndex(), removed ? -1 : press.row);
    }

    void favouritesNotSavedNameTheFileAndWhy_data() {
        QTest::addColumn<bool>("removing");
        QTest::addColumn<qint64>("room"); // how far a file may grow, as on a full disk; 0: no limit
        QTest::addColumn<QString>("why"); // without room: the file is read-only
        QTest::newRow("disk full mid-line") << false << qint64(184) << "No space left";
        QTest::newRow("disk full, removing") << true << qint64(10) << "File too large";
        QTest::newRow("read-only, removing") << true << qint64(0) << "it is read-only";
    }
    void favouritesNotSavedNameTheFileAndWhy() {
        QFETCH(bool, removing);
        QFETCH(qint64, room);
        QFETCH(QString, why);
        TestPlatform t;
        const QString fav = t.path("Tallowick.fav");
        auto form = openWith(t, crlf({Alpha, Beta})); // 168 bytes
        QVERIFY(form);
        if (room == 0)
            QCOMPARE(::chmod(QFile::encodeName(fav).constData(), 0444), 0);
        if (removing)
            swapLists(*form);
        const FolderContents before = contentsOf(t.path());
        {
            std::optional<DiskFull> full;
            if (room > 0)
                full.emplace(room);
            QVERIFY(clickRow(form->GamesList, 1, Qt::RightButton));
        }
        QCOMPARE(t.messages.notices.size(), 1);
        const QString told = "Your favourites could not be saved: " + fav + " cannot be written: ";
        QVERIFY2(t.messages.notices[0].startsWith(told + why), qPrintable(t.messages.notices[0]));
        QVERIFY(contentsOf(t.path()) == before); // nothing half written, nothing left behind
        QCOMPARE(form->GamesList->count(), removing ? 2 : 3); // a favourite not removed stays
    }

    void twoWindowsAddingAtOnceBothLand() {
        TestPlatform t;
        const QString fav = t.path("Tallowick.fav");
        constexpr int Each = 200;
        const pid_t other = ::fork(); // a second Tallowick, adding its own favourites
        if (other == 0) {
            for (int i = 0; i < Each; ++i)
                appendFavourite(fav, nesLine(QString("other %1.nes").arg(i)));
            ::_exit(0);
        }
        QStringList expected;
        for (int i = 0; i < Each; ++i) {
            QVERIFY(!appendFavourite(fav, nesLine(QString("ours %1.nes").arg(i))));
            expected << nesLine(QString("ours %1.nes").arg(i))
                     << nesLine(QString("other %1.nes").arg(i));
        }
        QCOMPARE(::waitpid(other, nullptr, 0), other);
        QStringList lines = QString::fromUtf8(fileBytes(fav)).split("\r\n");
        QCOMPARE(lines.takeLast(), QString()); // the last line ends too
        lines.sort();
        expected.sort();
        QCOMPARE(lines, expected); // every line whole, none lost, no blank one between
    }

    // The stored line is selected in the favourites; the captions say which list shows, and a
    // left or middle press only stores the line's index.
    void swapShowsTheFavouritesAtTheStoredLineThenTheFullList_data() {
        QTest::addColumn<QString>("stored"); // LastFav; null: never stored
        QTest::addColumn<int>("selected");
        QTest::newRow("second") << "1" << 1;
        QTest::newRow("half rounds to even") << "2.5" << 2;
        QTest::newRow("past the end") << "3" << -1;
        QTest::newRow("not a number") << "abc" << 0;
    }
    void swapShowsTheFavouritesAtTheStoredLineThenTheFullList() {
        QFETCH(QString, stored);
        QFETCH(int, selected);
        TestPlatform t;
        if (!stored.isNull())
            t.settings.values["Games/LastFav"] = stored;
        auto form = openWith(t, crlf({Gamma, Beta, Alpha}));
        QVERIFY(form);
        const QStringList full = form->GamesList->items();
        QCOMPARE(form->Frame1->title(), QString()); // no caption until the first swap
        swapLists(*form);
        QCOMPARE(form->Frame1->title(), QString("Games [Favourites list]"));
        QCOMPARE(form->GamesList->items(), (QStringList{Alpha, Beta, Gamma}));
        QCOMPARE(form->GamesList->listIndex(), selected);
        QVERIFY(clickRow(form->GamesList, 2, Qt::MiddleButton));
        QCOMPARE(t.settings.values.value("Games/LastFav"), QString("2"));
        QVERIFY(t.messages.questions.isEmpty());
        QTest::mouseClick(form->GamesListCommand, Qt::LeftButton); // a refill is the full list
        QCOMPARE(form->Frame1->title(), QString("Games [Full list]"));
        QCOMPARE(form->GamesList->items(), full);
        QCOMPARE(form->GamesList->listIndex(), -1);
        QVERIFY(clickRow(form->GamesList, 1));
        QCOMPARE(t.settings.values.value("Games/LastFull"), QString("1"));
        QCOMPARE(fileBytes(t.path("Tallowick.fav")), crlf({Gamma, Beta, Alpha}));
    }
};

QTEST_MAIN(FavouritesTest)
#include "tst_favourites.moc"
