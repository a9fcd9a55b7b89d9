// Recordings, Help, About.
#include "about/frmabouthvl.h"
#include "tests/support/fixture.h"

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QtTest>

class RecordingsHelpTest : public QObject {
    Q_OBJECT
private slots:
    void recordingsAreReadAgainOnARightPress() {
        TestPlatform t;
        QVERIFY(QDir().mkpath(t.path("INP")));
        auto form = t.open();
        auto* combo = form->PlaybackCombo;
        for (const char* name :
             {"b.INP", "a.inp", "A.B.INP", "C.Inp", ".h.INP", "d.INP/x", "x.INPX"})
            QVERIFY(t.write("INP/" + QString(name), "r"));
        auto* lister = form->INPFile->viewport();
        for (auto button : {Qt::LeftButton, Qt::MiddleButton})
            QTest::mouseClick(lister, button);
        QCOMPARE(combo->count(), 0);
        QTest::mouseClick(lister, Qt::RightButton);
        QStringList items;
        for (int i = 0; i < combo->count(); ++i)
            items << combo->itemText(i);
        QCOMPARE(items, (QStringList{"A.B", "a", "b", "C"}));
        // No user can reach them: click() stands in.
        for (auto* button : {form->Command1, form->Command2})
            button->setEnabled(true);
        auto* line = form->CommandlineLabel;
        form->Command1->click();
        QCOMPARE(line->text(), "MESS  -playback A.B ");
        form->Command2->click();
        QCOMPARE(line->text(), "MESS  -record Default ");
    }

    void helpMenuOpensPagesAndAbout() {
        TestPlatform t;
        auto form = t.open();
        QVERIFY(QDir::setCurrent("/")); // elsewhere
        form->ReadHelpMenu->trigger();
        form->WebMenu->trigger();
        form->EmailMenu->trigger();
        QCOMPARE(t.shell.targets,
                 (QStringList{t.path("Tallowick.htm"), "https://haverlyn.example/tallowick",
                              "mailto:tallowick@haverlyn.example?Subject=Tallowick program"}));
        form->move(137, 91);
        QString shown;
        QTimer::singleShot(0, [&] {
            auto* about = qobject_cast<FrmAbouthvl*>(qApp->activeModalWidget());
            about->close();
            shown = about->Label1->text();
            QCOMPARE(about->frameGeometry().center(), form->frameGeometry().center());
        });
        form->AboutMenu->trigger();
        QCOMPARE(shown, "Tallowick v0.1.1");
        QVERIFY(!form->findChild<FrmAbouthvl*>()); // gone once closed
    }
};

QTEST_MAIN(RecordingsHelpTest)
#include "tst_recordingshelp.moc"
