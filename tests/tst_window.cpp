// The window as a user meets it.
#include "desktop/messageboxes.h"
#include "tests/support/fixture.h"

#include <QMessageBox>
#include <QSlider>
#include <QtTest>

class WindowTest : public QObject {
    Q_OBJECT
private slots:
    void tabVisitsOnlyControlsTheUserCanSee() {
        TestPlatform t;
        auto form = t.open();
        form->show();
        QVERIFY(QTest::qWaitForWindowActive(form.get()));
        auto* client = form->centralWidget();
        for (auto modifier : {Qt::NoModifier, Qt::ShiftModifier}) {
            QWidget* focus = form->EmulatedSystemList;
            focus->setFocus();
            int stops = 0;
            do {
                QVERIFY2(++stops < 30, "Tab never comes back");
                QTest::keyClick(focus, Qt::Key_Tab, modifier);
                focus = qApp->focusWidget();
                const QByteArray name = focus->objectName().toUtf8();
                QVERIFY2(focus->isVisible(), name);
                QVERIFY2(focus->isEnabled(), name);
                const QRect place(focus->mapTo(client, QPoint()), focus->size());
                QVERIFY2(client->rect().contains(place), name);
            } while (focus != form->EmulatedSystemList);
        }
        for (int press = 0; press < 9; ++press) // 7 Tabs, 2 Rights
            QTest::keyClick(qApp->focusWidget(), press < 7 ? Qt::Key_Tab : Qt::Key_Right);
        QCOMPARE(form->FrameskipSlider->value(), 0); // out of sight
        QVERIFY(!t.settings.values.contains("Options/FrameskipSlider"));
    }

    // A list's selection can be moved, never cleared: the games shown are the selected system's.
    void aSelectionIsMovedNeverCleared() {
        TestPlatform t;
        QVERIFY(t.writeSystem("nes", "NES", {"a.nes"}));
        auto form = t.open();
        for (auto* list : {form->EmulatedSystemList, form->GamesList}) {
            QVERIFY(QFontInfo(list->font()).fixedPitch());
            QVERIFY(clickRow(list, 0));
            QVERIFY(clickRow(list, 0, Qt::LeftButton, Qt::ControlModifier));
            QCOMPARE(list->listIndex(), 0);
            QTest::keyClick(list, Qt::Key_Space, Qt::ControlModifier);
            QCOMPARE(list->listIndex(), 0);
        }
    }

    void boxesStandOverTheWindow() {
        TestPlatform t;
        auto form = t.open();
        form->move(500, 400);
        QtMessageBoxes boxes;
        boxes.setParent(form.get());
        QRect box;
        QTimer::singleShot(0, [&] {
            auto* shown = qobject_cast<QMessageBox*>(qApp->activeModalWidget());
            shown->close();
            box = shown->frameGeometry();
            QCOMPARE(shown->textFormat(), Qt::PlainText);
        });
        boxes.notice("<u>Under & over.nes");
        QVERIFY(form->frameGeometry().contains(box.center()));
    }
};

QTEST_MAIN(WindowTest)
#include "tst_window.moc"
