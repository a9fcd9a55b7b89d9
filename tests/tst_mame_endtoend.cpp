// Tallowick driving today's MAME through tallowick-mame: the adapter copied into the program
// folder as MESS, a scripted "mame" first on PATH, a game launched from the games list.
#include "catalogue/gameline.h"
#include "platform/processstarter.h"
#include "platform/qtplatform.h"
#include "tests/support/formfixture.h"

#include <QCheckBox>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

class MameEndToEndTest : public QObject {
    Q_OBJECT

private:
    QTemporaryDir fakeBin; // holds "mame", the scripted one

    QString argumentsFile() const { return fakeBin.filePath(QStringLiteral("mame-arguments")); }

    static QStringList linesOf(const QString& path) {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly))
            return {};
        QStringList lines = QString::fromUtf8(file.readAll()).split('\n');
        if (lines.constLast().isEmpty())
            lines.removeLast();
        return lines;
    }

private slots:
    void initTestCase() {
        const QString adapter = qEnvironmentVariable("TALLOWICK_MAME_ADAPTER");
        const QString fakeMame = qEnvironmentVariable("TALLOWICK_FAKE_MAME");
        QVERIFY2(QFileInfo(adapter).isExecutable(), qPrintable(adapter));
        QVERIFY2(QFileInfo(fakeMame).isExecutable(), qPrintable(fakeMame));
        QVERIFY(QFile::link(fakeMame, fakeBin.filePath(QStringLiteral("mame"))));
        // The started emulator inherits this environment.
        qputenv("PATH", (fakeBin.path() + ":/usr/bin:/bin").toLocal8Bit());
        qputenv("TALLOWICK_MAME_FALLBACK",
                fakeBin.filePath(QStringLiteral("no-mame")).toLocal8Bit());
        qputenv("FAKE_MAME_ARGUMENTS", argumentsFile().toLocal8Bit());
        qunsetenv("FAKE_MAME_EXIT");
    }

    // The adapter always names the recordings folder after the options it was given.
    void gameReachesMame_data() {
        QTest::addColumn<QString>("game");
        QTest::addColumn<QString>("additional"); // none when empty
        QTest::addColumn<QStringList>("rest");   // what MAME gets between image and folder
        QTest::newRow("game") << "Super Mario Bros. (World).nes"
                              << "" << QStringList();
        QTest::newRow("with options")
            << "Zelda $(x).nes"
            << "-window -skip_gameinfo" << QStringList{"-window", "-skip_gameinfo"};
        QTest::newRow("recording") << "a.nes"
                                   << "-record demo" << QStringList{"-record", "demo.inp"};
    }
    void gameReachesMame() {
        QFETCH(QString, game);
        QFETCH(QString, additional);
        QFETCH(QStringList, rest);
        QFile::remove(argumentsFile());
        TestPlatform test;
        QVERIFY(QFile::copy(qEnvironmentVariable("TALLOWICK_MAME_ADAPTER"), test.path("MESS")));
        test.writeFile("ROMS/nes/" + game, "image");
        test.writeFile(QStringLiteral("Tallowick.sys"),
                       oldLayoutListing({{"nes", "Nintendo Entertainment System"}}));
        QtProcessStarter starter;
        Platform platform = test.platform();
        platform.processes = &starter;
        Form1 form(platform);
        form.Form_Load();
        if (!additional.isEmpty()) {
            form.AdditionalParamCheck->setCheckState(Qt::Checked);
            form.AdditionalParamText->setText(additional);
        }

        form.GamesList->setListIndex(form.GamesList->items().indexOf(GameLine::make(game, "nes")));
        QVERIFY(form.GamesList->listIndex() >= 0);
        form.PlayButton->click();
        const QString folder = QFileInfo(test.folder.path()).canonicalFilePath();
        const QStringList expected = QStringList({"nes", "-cart", folder + "/ROMS/nes/" + game}) +
                                     rest + QStringList({"-input_directory", folder + "/INP"});
        QTRY_COMPARE_WITH_TIMEOUT(linesOf(argumentsFile()), expected, 15000);
        QVERIFY(test.messages.notices.isEmpty());
    }
};

QTEST_MAIN(MameEndToEndTest)
#include "tst_mame_endtoend.moc"
