// The recordings the window lists and hands to the emulator, the Help menu's targets, the About.
#include "about/frmabouthvl.h"
#include "tests/support/fixture.h"

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QtTest>

class RecordingsHelpTest : public QObject {
    Q_OBJECT
private slots:
    void recordings_data() {
        QTest::addColumn<QString>("files");     // in INP/, blank-separated
        QTest::addColumn<QStringList>("items"); // what "Playback" offers
        QTest::newRow("names") << "b.INP a.inp A.B.INP C.Inp .h.INP d.INP/x n.txt x.INPX INP"
                               << QStringList{"A.B", "a", "b", "C"};
        QTest::newRow("empty folder") << "d/x" << QStringList();
        QTest::newRow("missing folder") << "" << QStringList();
    }
    void recordings() {
        QFETCH(QString, files);
        QFETCH(QStringList, items);
        TestPlatform test;
        for (const QString& name : files.split(' ', Qt::SkipEmptyParts))
            test.write("INP/" + name, "r");
        auto form = test.open();
        const bool none = items.isEmpty();
        QStringList listed{QString::number(form->PlaybackCombo->currentIndex())}; // then entries
        for (int i = 0; i < form->PlaybackCombo->count(); ++i)
            listed << form->PlaybackCombo->itemText(i);
        QCOMPARE(listed, QStringList{none ? "-1" : "0"} + items);
        form->Command1_Click(); // plays back the one selected, when there is one
        QCOMPARE(form->CommandlineLabel->text(), none ? "Debug" : "MESS  -playback A.B ");
        form->RecText->setText(none ? "" : "r");
        form->Command2_Click();
        QCOMPARE(form->CommandlineLabel->text(), none ? "MESS  -record  " : "MESS  -record r ");
        test.write("INP/0.inp", "r"); // only a right button reads the folder again
        form->PlaybackCombo->setCurrentIndex(int(items.size()) - 1);
        QTest::mousePress(form->INPFile->viewport(), Qt::LeftButton);
        QTest::mousePress(form->INPFile->viewport(), Qt::MiddleButton);
        QCOMPARE(form->PlaybackCombo->currentIndex(), int(items.size()) - 1);
        QTest::mousePress(form->INPFile->viewport(), Qt::RightButton);
        QVERIFY(form->PlaybackCombo->currentText() == "0" &&
                form->PlaybackCombo->count() == items.size() + 1);
    }
    void help_data() {
        QTest::addColumn<QStringList>("to"); // the target, the folder; %1 is the program folder
        QTest::newRow("ReadHelpMenu") << QStringList{"%1/Tallowick.htm", "%1"};
        QTest::newRow("WebMenu") << QStringList{"https://haverlyn.example/tallowick", "%1"};
        QTest::newRow("EmailMenu")
            << QStringList{"mailto:tallowick@haverlyn.example?Subject=Tallowick program", "%1"};
    }
    void help() {
        TestPlatform test;
        auto form = test.open();
        QDir::setCurrent(QDir::rootPath()); // the page is beside the program, not here
        form->findChild<QAction*>(QTest::currentDataTag())->trigger();
        QTEST((test.shell.targets + test.shell.folders).replaceInStrings(test.path(), "%1"), "to");
    }
    void aboutIsModalCentredAndNewEachTime() {
        TestPlatform test;
        auto form = test.open();
        form->move(137, 91); // away from the middle of the screen, where it starts
        for (int round = 0; round < 2; ++round) {
            bool seen = false;
            QTimer::singleShot(0, this, [&] {
                auto* about = qobject_cast<FrmAbouthvl*>(QApplication::activeModalWidget());
                seen = about && about->close() && about->Label1->text() == "Tallowick v0.1.1" &&
                       about->frameGeometry().center() == form->frameGeometry().center();
            });
            form->AboutMenu->trigger();
            QVERIFY(seen);
            QVERIFY(form->findChildren<FrmAbouthvl*>().isEmpty()); // gone once closed
        }
    }
};
QTEST_MAIN(RecordingsHelpTest)
#include "tst_recordingshelp.moc"
