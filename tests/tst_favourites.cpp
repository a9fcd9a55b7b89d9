// Favourites through the window: presses, adding and removing byte for byte, swapping, faults.
#include "tests/support/fixture.h"
#include <QGroupBox>
#include <QtTest>
#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>
namespace {
const QString Long = "The Tale of a Cartridge Whose Name Runs On Past 63 Columns.nes";
const auto line = [](const QString& name) { return nesLine(name).toUtf8(); };
const auto crlf = [](const QList<QByteArray>& lines) { return lines.join("\r\n") + "\r\n"; };
const QByteArray A = line("alpha.zip"), B = line("beta.zip"), G = line("gamma.zip");

struct DiskFull { // no file may grow past `bytes`; a write past it fails instead of killing us
    rlimit old{};
    explicit DiskFull(rlim_t bytes) {
        std::signal(SIGXFSZ, SIG_IGN);
        getrlimit(RLIMIT_FSIZE, &old);
        const rlimit full{bytes, old.rlim_max};
        setrlimit(RLIMIT_FSIZE, &full);
    }
    ~DiskFull() { setrlimit(RLIMIT_FSIZE, &old); }
};
struct P {
    // The favourites before ("-": none), after (in list order, for a removal; "=": folder as was)
    QByteArray before, after;
    int row;
    Qt::MouseButton button;
    QString said;          // the questions, then the notices, joined by |
    QByteArray fault = ""; // "full disk", "read-only", or a makeSpecial() shape in its place
    const char* lastFav = nullptr; // the favourites on show, swapped to with this stored; "-": none
    bool answer = true;
};
} // namespace
Q_DECLARE_METATYPE(P)

class FavouritesTest : public QObject {
    Q_OBJECT
private slots:
    void press_data() {
        QTest::addColumn<P>("p");
        const QByteArray F = crlf({A, B, G}), odd = line("cafX.zip").replace('X', '\xe9'),
                         o = "x\xff\r\n\r\nlf\n", mixed = G + "\n\n" + odd + "\r\n" + A + "\r" + B;
        const auto L = Qt::LeftButton, M = Qt::MiddleButton, R = Qt::RightButton;
        const QString add = "Add beta.zip|beta.zip\nhas been added in your favourites list !";
        const QString rm = "Remove beta.zip|beta.zip\nhas been removed from your favourites list !";
        const QString unsaved = " beta.zip|Your favourites could not be saved: @ cannot be "
                                "written.\nThe favourites list is unchanged.";
        QTest::newRow("full, left") << P{F, "=", 2, L, ""};
        QTest::newRow("add cancelled") << P{F, "=", 1, R, "Add beta.zip", "", nullptr, false};
        QTest::newRow("add to no file") << P{"-", crlf({B}), 1, R, add};
        QTest::newRow("add keeps earlier bytes") << P{o, o + crlf({B}), 1, R, add};
        QTest::newRow("add after no line end") << P{"typed", "typed\r\n" + crlf({B}), 1, R, add};
        QTest::newRow("add after a lone CR") << P{"x\r", "x\r" + crlf({B}), 1, R, add};
        QTest::newRow("add a long name")
            << P{"-", crlf({line(Long)}), 3, R, QString(add).replace("beta.zip", Long)};
        QTest::newRow("favourites, middle") << P{F, "=", 2, M, "", "", "1.5"};
        QTest::newRow("favourites, past the end") << P{F, "=", -1, R, "", "", "3"};
        QTest::newRow("remove cancelled") << P{F, "=", 0, R, "Remove alpha.zip", "", "-", false};
        QTest::newRow("one of two equal") << P{crlf({B, A, B}), crlf({A, B}), 2, R, rm, "", "2"};
        QTest::newRow("the rest keep bytes") << P{mixed, crlf({A, odd, G}), 1, R, rm, "", "1"};
        QTest::newRow("remove the last") << P{crlf({B}), "", 0, R, rm, "", "0"};
        for (const QByteArray tag :
             {"full disk, add", "full disk, new file", "full disk, remove", "read-only, add",
              "read-only, remove", "pipe", "device", "folder", "huge"}) {
            const bool remove = tag.endsWith("remove");
            const QString said = (remove ? "Remove" : "Add") + unsaved;
            const QByteArray before = tag.endsWith("new file") ? "-" : F;
            QTest::newRow(tag) << P{before, "=", 1, R, said, tag.left(9), remove ? "1" : nullptr};
        }
    }
    void press() {
        QFETCH(P, p);
        TestPlatform t;
        const QString fav = t.path("Tallowick.fav");
        t.write("Tallowick.sys", listing({{"nes", "Nintendo Entertainment System"}}));
        for (const QString& name : QStringList{"alpha.zip", "beta.zip", "gamma.zip", Long})
            t.write("ROMS/nes/" + name, "image");
        if (p.before != "-")
            writeBytes(fav, p.before);
        if (p.fault == "read-only")
            QVERIFY(::chmod(QFile::encodeName(fav).constData(), 0444) == 0);
        else if (p.fault != "full disk" && !p.fault.isEmpty() && QFile::remove(fav))
            makeSpecial(fav, p.fault);
        if (p.lastFav && qstrcmp(p.lastFav, "-"))
            t.settings.values.insert("Games/LastFav", p.lastFav);
        auto form = t.open();
        const QStringList full = form->GamesList->items();
        if (p.lastFav) {
            form->SwapListCommand_Click();
            QCOMPARE(form->Frame1->title(), QString("Games [Favourites list]"));
            QCOMPARE(form->GamesList->listIndex(), p.row);
        }
        form->GamesList->setListIndex(p.row);
        const bool readable = p.fault != "pipe" && p.fault != "huge"; // blocks; takes ages
        FolderContents expected = readable ? contentsOf(t.path()) : FolderContents();
        const qint64 size = QFileInfo(fav).size();
        t.messages.answers = {p.answer};
        const rlim_t room = p.lastFav ? 10 : size + 10; // none for a rewrite; a line only half fits
        auto diskFull = p.fault == "full disk" ? std::make_unique<DiskFull>(room) : nullptr;
        form->GamesList_MouseDown(p.button);
        diskFull.reset();
        const QString key = p.lastFav ? "Games/LastFav" : "Games/LastFull"; // the list's own
        QCOMPARE(t.settings.writes.last(), qMakePair(key, QString::number(p.row)));
        QCOMPARE((t.messages.questions + t.messages.notices).join('|'), p.said.replace('@', fav));
        if (p.after != "=")
            expected["/Tallowick.fav"] = "file " + p.after.toStdString();
        QVERIFY(readable ? contentsOf(t.path()) == expected : QFileInfo(fav).size() == size);
        if (p.lastFav) { // the file's lines in order, then back to the full list, none selected
            const QString shown = QString::fromUtf8(p.after == "=" ? p.before : p.after);
            QCOMPARE((QStringList(form->GamesList->items()) << "").join("\r\n"), shown);
            // No other favourite is left selected for the next right-click to remove.
            const bool removed = p.said.startsWith("Remove") && p.answer;
            QCOMPARE(form->GamesList->listIndex(), removed ? -1 : p.row);
            form->SwapListCommand_Click();
            QCOMPARE(form->Frame1->title(), QString("Games [Full list]"));
        }
        QCOMPARE(form->GamesList->items(), full);
        QCOMPARE(form->GamesList->listIndex(), p.lastFav ? -1 : p.row);
    }
};
QTEST_MAIN(FavouritesTest)
#include "tst_favourites.moc"
