// The recordings: the INP folder's lister, the playback list it fills, and the pieces
// "Playback" and "Record" add to the command line.
#include "catalogue/gameline.h"
#include "tests/support/formfixture.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

namespace {

// Names ending in "/" are made as folders; the name "INP" alone makes INP a plain file.
void makeRecordingsFolder(const TestPlatform& test, const QStringList& names) {
    for (const QString& name : names) {
        if (name == "INP")
            test.writeFile(name, "not a folder");
        else if (name.endsWith('/'))
            test.makeFolder("INP/" + name);
        else
            test.writeFile("INP/" + name, "recording");
    }
}

QStringList playbackItems(const Form1& form) {
    QStringList items;
    for (int i = 0; i < form.PlaybackCombo->count(); ++i)
        items << form.PlaybackCombo->itemText(i);
    return items;
}

// The window on a folder with one system and an emulator the launch can find, shown.
std::unique_ptr<Form1> openShown(TestPlatform& test) {
    test.writeFile(QStringLiteral("Tallowick.sys"), oldLayoutListing({{"nes", "NES"}}));
    test.writeFile(QStringLiteral("MESS"), "#!/bin/sh\n");
    QFile::setPermissions(test.path("MESS"),
                          QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    auto form = openForm(test);
    form->show();
    return form;
}

} // namespace

class RecordingsTest : public QObject {
    Q_OBJECT

private slots:
    void startUp_data() {
        QTest::addColumn<QStringList>("files");
        QTest::addColumn<QStringList>("items");
        QTest::newRow("no INP folder") << QStringList() << QStringList();
        QTest::newRow("INP is a file") << QStringList{"INP"} << QStringList();
        QTest::newRow("empty folder") << QStringList{"sub/"} << QStringList();
        QTest::newRow("several") << QStringList{"b.INP",       "a.inp",       "A.B.INP",   "C.Inp",
                                                ".hidden.INP", "folder.INP/", "notes.txt", "x.INPX"}
                                 << QStringList{"A.B", "a", "b",
                                                "C"}; // "A.B.INP" sorts before "a.inp"
    }
    void startUp() {
        QFETCH(QStringList, files);
        QFETCH(QStringList, items);
        TestPlatform test;
        makeRecordingsFolder(test, files);
        auto form = openShown(test);
        QCOMPARE(form->INPFile->path(), test.path("INP"));
        QCOMPARE(form->INPFile->pattern(), QStringLiteral("*.INP"));
        QCOMPARE(playbackItems(*form), items);
        QCOMPARE(form->PlaybackCombo->currentIndex(), items.isEmpty() ? -1 : 0);
        QCOMPARE(form->EmulatedSystemList->count(), 1); // the start-up went on
        QVERIFY(test.messages.notices.isEmpty());
    }

    // Only a right click reads the folder again; the first recording is selected after it.
    void rightClickRefills() {
        TestPlatform test;
        makeRecordingsFolder(test, {"m.INP", "n.INP"});
        auto form = openShown(test);
        QVERIFY(QTest::qWaitForWindowExposed(form.get()));
        form->PlaybackCombo->setCurrentIndex(1);
        makeRecordingsFolder(test, {"a.INP"});

        for (const Qt::MouseButton button : {Qt::LeftButton, Qt::MiddleButton}) {
            QTest::mousePress(form->INPFile->viewport(), button);
            QCOMPARE(playbackItems(*form), QStringList({"m", "n"}));
            QCOMPARE(form->PlaybackCombo->currentIndex(), 1);
        }
        for (int round = 0; round < 2; ++round) {
            QTest::mousePress(form->INPFile->viewport(), Qt::RightButton);
            QCOMPARE(playbackItems(*form), QStringList({"a", "m", "n"}));
            QCOMPARE(form->PlaybackCombo->currentIndex(), 0);
            form->PlaybackCombo->setCurrentIndex(2);
        }
        QVERIFY(QFile::remove(test.path("INP/m.INP")));
        QVERIFY(QFile::remove(test.path("INP/a.INP")));
        QTest::mousePress(form->INPFile->viewport(), Qt::RightButton);
        QCOMPARE(playbackItems(*form), QStringList({"n"}));
        QCOMPARE(form->PlaybackCombo->currentIndex(), 0);
    }

    void pieces_data() {
        QTest::addColumn<QStringList>("files");
        QTest::addColumn<bool>("playback"); // else record
        QTest::addColumn<QString>("recText");
        QTest::addColumn<bool>("withGame");
        QTest::addColumn<QString>("expected"); // empty: nothing launched
        QTest::newRow("playback the first")
            << QStringList{"z.inp", "A.B.INP"} << true << "" << false << "MESS  -playback A.B ";
        QTest::newRow("playback after the additional piece")
            << QStringList{"run.INP"} << true << "" << true
            << "MESS nes \"x.nes\" -fs -playback run ";
        QTest::newRow("playback of nothing") << QStringList() << true << "" << true << "";
        QTest::newRow("record") << QStringList() << false << "my run" << true
                                << "MESS nes \"x.nes\" -fs -record my run ";
        QTest::newRow("record, empty name")
            << QStringList() << false << "" << false << "MESS  -record  ";
    }
    void pieces() {
        QFETCH(QStringList, files);
        QFETCH(bool, playback);
        QFETCH(QString, recText);
        QFETCH(bool, withGame);
        QFETCH(QString, expected);
        TestPlatform test;
        makeRecordingsFolder(test, files);
        auto form = openShown(test);
        form->RecText->setText(recText);
        if (withGame) {
            form->GamesList->setItems({GameLine::make("x.nes", "nes")});
            form->GamesList->setListIndex(0);
            form->AdditionalParamCheck->setCheckState(Qt::Checked);
            form->AdditionalParamText->setText(QStringLiteral("-fs"));
        }
        const QString before = form->CommandlineLabel->text();
        // The buttons are hidden, as they always were; the reactions still run.
        playback ? form->Command1_Click() : form->Command2_Click();
        QCOMPARE(form->CommandlineLabel->text(), expected.isEmpty() ? before : expected);
        QCOMPARE(test.processes.starts.size(), expected.isEmpty() ? 0 : 1);
    }
};

QTEST_MAIN(RecordingsTest)
#include "tst_recordings.moc"
