// Program folders spoilt by hand or by other programs: odd favourites files, settings another
// program left, games folders holding things that are not games. The window must open on them,
// show what it can, and change no byte of the user's files it was not asked to change.
#include "catalogue/gameline.h"
#include "platform/textfile.h"
#include "tests/support/foldercontents.h"
#include "tests/support/formfixture.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QSlider>
#include <QtTest>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Creates an empty file under the program folder from its raw name.
bool touchRaw(const TestPlatform& test, const QByteArray& relative) {
    const QByteArray path = QFile::encodeName(test.folder.path()) + '/' + relative;
    const int fd = ::open(path.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    return fd >= 0 && ::close(fd) == 0;
}

QString game(const QString& name) {
    return GameLine::make(name, QStringLiteral("nes"));
}

// One system, "nes", with two games.
void layOutNes(TestPlatform& test) {
    test.writeFile("Tallowick.sys", oldLayoutListing({{"nes", "NES"}}));
    test.writeFile("ROMS/nes/Alpha.nes", "a");
    test.writeFile("ROMS/nes/Beta.nes", "b");
}

QByteArray favouriteBytes(const QString& name) {
    return game(name).toUtf8();
}

} // namespace

class BadFoldersTest : public QObject {
    Q_OBJECT
private slots:
    // Tallowick.fav
    void favouritesBlankLinesAreSkipped();
    void favouritesShortLineGivesAGamePieceOfOneBlank();
    void favouritesInvalidUtf8SurvivesRemovingAnother();
    void favouritesWithoutLastLineEnd_data();
    void favouritesWithoutLastLineEnd();
    // Settings
    void unfitOptionValues_data();
    void unfitOptionValues();
    // Folders
    void gamesFolderIsNotAFolder_data();
    void gamesFolderIsNotAFolder();
    void unreadableGamesFolder();
    void gamesFolderEntriesLeftOut();
    void recordingsFolderIsAFile();
};

void BadFoldersTest::favouritesBlankLinesAreSkipped() {
    TestPlatform test;
    layOutNes(test);
    const QByteArray favourites = "\r\n" + favouriteBytes("Beta.nes") + "\r\n   \t \r\n\n\r" +
                                  favouriteBytes("Alpha.nes") + "\r\n\r\n";
    test.writeFile("Tallowick.fav", favourites);
    const auto before = contentsOf(test.folder.path());
    auto form = openForm(test);
    form->SwapListCommand_Click();
    QCOMPARE(entriesOf(form->GamesList), (QStringList{game("Alpha.nes"), game("Beta.nes")}));
    QVERIFY(test.messages.notices.isEmpty());
    QVERIFY(contentsOf(test.folder.path()) == before);
}

// A hand-edited line without the command tail still plays: the game piece is then one blank.
void BadFoldersTest::favouritesShortLineGivesAGamePieceOfOneBlank() {
    TestPlatform test;
    layOutNes(test);
    test.writeFile("MESS", "#!/bin/sh\n");
    QVERIFY(QFile::setPermissions(test.path("MESS"),
                                  QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
    test.writeFile("Tallowick.fav",
                   "Short one\r\n" + QByteArray(63, 'x') + "\r\n" + favouriteBytes("Alpha.nes"));
    const auto before = contentsOf(test.folder.path());
    auto form = openForm(test);
    form->SwapListCommand_Click();
    QCOMPARE(entriesOf(form->GamesList),
             (QStringList{game("Alpha.nes"), "Short one", QString(63, 'x')}));
    for (int index : {1, 2}) {
        test.processes.starts.clear();
        form->GamesList->setListIndex(index);
        form->PlayButton_Click();
        QCOMPARE(form->CommandlineLabel->text(), QStringLiteral("MESS  "));
        QCOMPARE(test.processes.starts.size(), 1);
        QCOMPARE(test.processes.starts.first().arguments, QStringList());
    }
    QVERIFY(test.messages.notices.isEmpty());
    QVERIFY(contentsOf(test.folder.path()) == before);
}

// Two lines whose bytes differ only where they are not UTF-8 read the same; removing a third
// must write each back with its own bytes.
void BadFoldersTest::favouritesInvalidUtf8SurvivesRemovingAnother() {
    TestPlatform test;
    layOutNes(test);
    const QByteArray first = "Bad\xff.nes" + QByteArray(56, ' ') + "nes \"Bad\xff.nes\"";
    const QByteArray second = "Bad\xfe.nes" + QByteArray(56, ' ') + "nes \"Bad\xfe.nes\"";
    test.writeFile("Tallowick.fav", first + "\r\n" + favouriteBytes("Alpha.nes") + "\r\n" + second +
                                        "\r\n" + favouriteBytes("Beta.nes") + "\r\n");
    auto form = openForm(test);
    form->SwapListCommand_Click();
    QCOMPARE(form->GamesList->count(), 4);
    const QString shown = QString::fromUtf8(first);
    QCOMPARE(form->GamesList->items().count(shown), 2);
    QCOMPARE(QString::fromUtf8(second), shown);

    form->GamesList->setListIndex(form->GamesList->items().indexOf(game("Beta.nes")));
    form->GamesList_MouseDown(Qt::RightButton);
    QCOMPARE(test.messages.notices.size(), 1);
    QVERIFY(test.messages.notices.first().contains("has been removed"));
    const QList<QByteArray> lines = splitLines(test.readFile("Tallowick.fav"));
    QCOMPARE(lines.size(), 3);
    QCOMPARE(lines.count(first), 1);
    QCOMPARE(lines.count(second), 1);
    QCOMPARE(lines.count(favouriteBytes("Alpha.nes")), 1);
    QCOMPARE(form->GamesList->count(), 3);
}

void BadFoldersTest::favouritesWithoutLastLineEnd_data() {
    QTest::addColumn<QByteArray>("lastEnd");
    QTest::newRow("none") << QByteArray();
    QTest::newRow("CR alone") << QByteArray("\r");
    QTest::newRow("LF alone") << QByteArray("\n");
}

void BadFoldersTest::favouritesWithoutLastLineEnd() {
    QFETCH(QByteArray, lastEnd);
    TestPlatform test;
    layOutNes(test);
    const QByteArray favourites = favouriteBytes("Alpha.nes") + lastEnd;
    test.writeFile("Tallowick.fav", favourites);
    auto form = openForm(test);
    form->GamesList->setListIndex(entriesOf(form->GamesList).indexOf(game("Beta.nes")));
    form->GamesList_MouseDown(Qt::RightButton);
    QCOMPARE(test.messages.notices.size(), 1);
    QVERIFY(test.messages.notices.first().contains("has been added"));
    const QByteArray joined = lastEnd.isEmpty() ? QByteArray("\r\n") : lastEnd;
    QCOMPARE(test.readFile("Tallowick.fav"), favourites +
                                                 (lastEnd.isEmpty() ? joined : QByteArray()) +
                                                 favouriteBytes("Beta.nes") + "\r\n");
    form->SwapListCommand_Click();
    QCOMPARE(entriesOf(form->GamesList), (QStringList{game("Alpha.nes"), game("Beta.nes")}));
}

// Every option key holds the same text. Text boxes take any text; the other controls take
// their default where the text does not fit them.
void BadFoldersTest::unfitOptionValues_data() {
    QTest::addColumn<QString>("stored");
    QTest::addColumn<bool>("alternate"); // the alternate build ends up chosen
    QTest::addColumn<int>("number");     // the slider's, check boxes' and lists' value

    // A number other than 0 reads as true, so both buttons are "on" and the later one wins.
    QTest::newRow("abc") << "abc" << false << 0;
    QTest::newRow("99999") << "99999" << true << 0;
    QTest::newRow("-5") << "-5" << true << 0;
    QTest::newRow("-2") << "-2" << true << 0;
    QTest::newRow("1e400") << "1e400" << true << 0;
    QTest::newRow("-1e400") << "-1e400" << true << 0;
    QTest::newRow("empty") << "" << false << 0;
    QTest::newRow("blanks") << "   " << false << 0;
    QTest::newRow("True") << "True" << true << 0;
    QTest::newRow("nan") << "nan" << false << 0;
    QTest::newRow("0x10") << "0x10" << false << 0;
    QTest::newRow("2") << "2" << true << 2;
    QTest::newRow("NUL") << QString(QChar(0)) << false << 0;
    QTest::newRow("10 KiB of digits") << QString(10240, '9') << true << 0;
}

void BadFoldersTest::unfitOptionValues() {
    QFETCH(QString, stored);
    QFETCH(bool, alternate);
    QFETCH(int, number);
    TestPlatform test;
    layOutNes(test);
    for (const OptionKey& option : optionTable())
        test.settings.set(OptionsSection, option.key, stored);
    auto form = openForm(test);

    QCOMPARE(form->AlternateMameOption->isChecked(), alternate);
    QCOMPARE(form->OriginalMameOption->isChecked(), !alternate);
    QCOMPARE(form->AlternateMameText->isEnabled(), alternate);
    for (QLineEdit* text :
         {form->AlternateMameText, form->AdditionalParamText, form->BeamText, form->FlickerText})
        QCOMPARE(text->text(), stored);
    QCOMPARE(form->FrameskipSlider->value(), number);
    QCOMPARE(form->FrameskipLabel->text(), "Frameskip: " + QString::number(number));
    // A stored 2 is the greyed state; the additional parameters stay off then.
    const Qt::CheckState state = number == 2 ? Qt::PartiallyChecked : Qt::Unchecked;
    for (QCheckBox* check : {form->CheatCheck, form->AdditionalParamCheck, form->BeamCheck,
                             form->FlickerCheck, form->SbOplCheck})
        QCOMPARE(check->checkState(), state);
    QVERIFY(!form->AdditionalParamText->isEnabled());
    for (const OptionKey& option : optionTable()) {
        if (option.kind == OptionKind::ComboBox)
            QCOMPARE(form->findChild<QComboBox*>(option.key)->currentIndex(), number);
    }
    QVERIFY(test.messages.notices.isEmpty());
    QCOMPARE(form->EmulatedSystemList->count(), 1);
}

void BadFoldersTest::gamesFolderIsNotAFolder_data() {
    QTest::addColumn<QString>("spoil");
    QTest::newRow("ROMS/nes is a file") << "nes file";
    QTest::newRow("ROMS is a file") << "ROMS file";
    QTest::newRow("ROMS is missing") << "no ROMS";
    QTest::newRow("ROMS/nes links to itself") << "nes loop";
}

void BadFoldersTest::gamesFolderIsNotAFolder() {
    QFETCH(QString, spoil);
    TestPlatform test;
    test.writeFile("Tallowick.sys", oldLayoutListing({{"nes", "NES"}}));
    if (spoil == "nes file")
        test.writeFile("ROMS/nes", "not a folder");
    else if (spoil == "ROMS file")
        test.writeFile("ROMS", "not a folder");
    else if (spoil == "nes loop") {
        test.makeFolder("ROMS");
        QVERIFY(QFile::link("nes", test.path("ROMS/nes")));
    }
    const auto before = contentsOf(test.folder.path());
    auto form = openForm(test);
    QCOMPARE(entriesOf(form->EmulatedSystemList), QStringList{"NES"});
    QCOMPARE(form->GamesList->count(), 0);
    form->GamesListCommand_Click();
    QCOMPARE(form->GamesList->count(), 0);
    QVERIFY(test.messages.notices.isEmpty());
    QVERIFY(contentsOf(test.folder.path()) == before);
}

void BadFoldersTest::unreadableGamesFolder() {
    TestPlatform test;
    layOutNes(test);
    const QByteArray folder = QFile::encodeName(test.path("ROMS/nes"));
    QCOMPARE(::chmod(folder.constData(), 0), 0);
    const auto restore = qScopeGuard([&] { ::chmod(folder.constData(), 0755); });
    if (DIR* dir = opendir(folder.constData())) {
        closedir(dir);
        QSKIP("A folder without permissions can still be read here (running as root).");
    }
    auto form = openForm(test);
    QCOMPARE(form->GamesList->count(), 0);
    QVERIFY(test.messages.notices.isEmpty());
}

// Only plain files whose names a line can carry and the launch can open again by name.
void BadFoldersTest::gamesFolderEntriesLeftOut() {
    TestPlatform test;
    layOutNes(test);
    QVERIFY(QFile::link(test.path("nowhere"), test.path("ROMS/nes/Dangling.nes")));
    QVERIFY(QFile::link("Looping.nes", test.path("ROMS/nes/Looping.nes")));
    QVERIFY(QFile::link("Alpha.nes", test.path("ROMS/nes/Linked.nes")));
    const QString euros63 = QString(63, QChar(0x20AC)); // 189 bytes, 63 characters
    const QList<QByteArray> rawNames{
        QByteArray(255, 'L'), QString(85, QChar(0x20AC)).toUtf8(), // 255 bytes
        euros63.toUtf8(),     "Bad\xff.nes",
        "Cut\xe2\x82.nes",    "Tab\there.nes"};
    // Names that are not text are beyond QTemporaryDir's clean-up.
    const auto removeRaw = qScopeGuard([&] {
        for (const QByteArray& name : rawNames)
            ::unlink((QFile::encodeName(test.path("ROMS/nes/")) + name).constData());
    });
    for (const QByteArray& name : rawNames)
        QVERIFY(touchRaw(test, "ROMS/nes/" + name));
    const auto before = contentsOf(test.folder.path());

    auto form = openForm(test);
    QCOMPARE(entriesOf(form->GamesList),
             (QStringList{game("Alpha.nes"), game("Beta.nes"), game("Linked.nes"), game(euros63)}));
    QVERIFY(test.messages.notices.isEmpty());
    QVERIFY(contentsOf(test.folder.path()) == before);
}

// The recordings come first at start-up; a file in their place must not stop the rest.
void BadFoldersTest::recordingsFolderIsAFile() {
    TestPlatform test;
    layOutNes(test);
    test.writeFile("INP", "not a folder");
    const auto before = contentsOf(test.folder.path());
    auto form = openForm(test);
    QCOMPARE(form->PlaybackCombo->count(), 0);
    QCOMPARE(entriesOf(form->EmulatedSystemList), QStringList{"NES"});
    QCOMPARE(form->GamesList->count(), 2);
    form->INPFile_MouseDown(Qt::RightButton);
    QCOMPARE(form->PlaybackCombo->count(), 0);
    QVERIFY(test.messages.notices.isEmpty());
    QVERIFY(contentsOf(test.folder.path()) == before);
}

QTEST_MAIN(BadFoldersTest)
#include "tst_badfolders.moc"
