// The main window as a user meets it: what shows and what is greyed, captions, fonts, menus, its
// lists' selection and order, texts shown as they are, and each control wired to its reaction.
#include "platform/qtplatform.h"
#include "tests/support/fixture.h"

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QtTest>

class WindowTest : public QObject {
    Q_OBJECT
private slots:
    void places_data() {
        QTest::addColumn<int>("seen"); // 2 whole in the window, 1 its top edge, 0 hidden or below
        QTest::addColumn<QString>("controls"); // name=caption, "~" greyed, "*" bold; "|" between
        QTest::newRow("shown") << 2
                               << "Label14=Systems:|EmulatedSystemList=|Label15=Images:|GamesList=|"
                                  "GamesListCommand=Update list|SwapListCommand=Swap list~|"
                                  "Frame5=General|OriginalMameOption=Original MESS|"
                                  "AlternateMameOption=Altenate build:|AlternateMameText=pmame31~|"
                                  "AdditionalParamCheck=Additional parameters:|"
                                  "AdditionalParamText=Nothing !~|PlayButton=Play*";
        QTest::newRow("bottom label") << 1 << "CommandlineLabel=Debug";
        QTest::newRow("unseen") << 0
                                << "Frame2=Graphics|Frame3=Sound|Frame6=Joystick|INPFile=|"
                                   "Label16=Disk/rom #2:|GamesList2=~|CheckListCommand=Check list~|"
                                   "Command1=Playback~*|Command2=Record~*|PlaybackCombo=~|"
                                   "RecText=Default~|CheatCheck=Enable cheat~";
    }
    void places() {
        QFETCH(int, seen);
        QFETCH(QString, controls);
        TestPlatform test;
        auto form = test.open();
        const QRect client = form->centralWidget()->rect();
        for (const QString& row : controls.split('|')) {
            QWidget* control = form->findChild<QWidget*>(row.section('=', 0, 0));
            const QRect place(control->mapTo(form->centralWidget(), QPoint()), control->size());
            const bool shows = control->isVisibleTo(form.get()) && client.intersects(place);
            const QString caption =
                control->property(row.startsWith("Frame") ? "title" : "text").toString() +
                (control->isEnabled() ? "" : "~") + (control->font().bold() ? "*" : "");
            QCOMPARE(caption + QString::number(shows ? 1 + client.contains(place) : 0),
                     row.section('=', 1) + QString::number(seen));
        }
    }
    void window() {
        TestPlatform test;
        const QPoint middle = Form1(test.platform).geometry().center(); // before its start-up
        QCOMPARE(middle, QGuiApplication::primaryScreen()->availableGeometry().center());
        test.write("Tallowick.sys", listing({{"nes", "NES"}, {"snes", "SNES"}}));
        test.write("ROMS/nes/<u>Under & over.nes", "image");
        test.write("ROMS/nes/a.nes", "image");
        auto form = test.open();
        QVERIFY(form->minimumSize() == form->maximumSize() && form->size() == form->maximumSize());
        QVERIFY(form->windowIcon().availableSizes().contains(QSize(32, 32)));
        for (const QComboBox* combo : form->findChildren<QComboBox*>()) // every option greyed
            QVERIFY2(!combo->isEnabled(), qPrintable(combo->objectName()));
        QStringList menus;
        for (const QMenu* menu : form->menuBar()->findChildren<QMenu*>())
            for (const QAction* action : menu->actions())
                menus << menu->title() + ":" + (action->isSeparator() ? "-" : action->text());
        QCOMPARE(menus.join('|'),
                 "File:Update systems|Help:Help|Help:Haverlyn|Help:-|Help:About...|"
                 "Haverlyn:Go to website|Haverlyn:Send email");
        SortedListBox *systems = form->EmulatedSystemList, *games = form->GamesList;
        auto at = [](auto* l, int r) { return l->visualRect(l->model()->index(r, 0)).center(); };
        for (SortedListBox* list : {games, systems}) { // Ctrl+click, Ctrl+Space keep the selection
            list->setListIndex(1);
            QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::ControlModifier, at(list, 1));
            QCOMPARE(list->listIndex(), 1);
            QTest::keyClick(list, Qt::Key_Space, Qt::ControlModifier);
            QVERIFY(list->listIndex() == 1 && QFontInfo(list->font()).fixedPitch());
        }
        QTest::mouseClick(systems->viewport(), Qt::LeftButton, {}, at(systems, 0));
        QCOMPARE(games->count(), 2); // NES's, after SNES's none
        test.write("ROMS/nes/c.nes", "image");
        QTest::mouseClick(form->GamesListCommand, Qt::LeftButton);
        QCOMPARE(games->count(), 3);
        QTest::mouseDClick(games->viewport(), Qt::LeftButton, {}, at(games, 0)); // plays it
        QCOMPARE(form->CommandlineLabel->text(), "MESS nes \"<u>Under & over.nes\" ");
        QCOMPARE(form->CommandlineLabel->textFormat(), Qt::PlainText);
        for (QAction* item : {form->ReadHelpMenu, form->WebMenu, form->EmailMenu})
            item->trigger();
        QCOMPARE(test.shell.targets.size(), 3);
        games->setItems({QString(1 << 20, 'x')}); // a corrupt listing's megabyte line, drawn cut
        for (const char* entry : {"Zebra", "apple", "Mango"}) // sorted as a person reads them
            games->addItem(entry);
        QCOMPARE(games->items(), (QStringList{"apple", "Mango", QString(1 << 20, 'x'), "Zebra"}));
        QVERIFY(games->model()->index(2, 0).data().toString().size() <= 512);
        form->move(500, 400); // off the screen's middle; message boxes still stand over it
        QtMessageBoxes boxes; // and show names as they are, though the window is not shown yet
        boxes.setParent(form.get());
        bool seen = false;
        QTimer::singleShot(0, this, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            seen = box && box->close() && box->textFormat() == Qt::PlainText &&
                   form->frameGeometry().contains(box->frameGeometry().center());
        });
        boxes.notice("<u>Under & over.nes");
        QVERIFY(seen);
    }
};
QTEST_MAIN(WindowTest)
#include "tst_window.moc"
