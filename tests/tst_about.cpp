#include "about/frmabouthvl.h"
#include "about/helptargets.h"
#include "tests/support/testplatform.h"

#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <functional>

class TstAbout : public QObject {
    Q_OBJECT
private slots:
    void targets();
    void menuActionsOpenTheirTargetFromTheProgramFolder_data();
    void menuActionsOpenTheirTargetFromTheProgramFolder();
    void versionLine();
    void windowLayout();
    void showModalCentresOnOwnerAndBlocksUntilClosed();

private:
    // Runs FrmAbouthvl::showModal(owner), inspects the open window, then clicks Close.
    void showAndClose(QWidget* owner, const std::function<void(FrmAbouthvl*)>& inspect);
};

void TstAbout::targets() {
    QCOMPARE(webSiteTarget(), QStringLiteral("https://haverlyn.example/tallowick"));
    QCOMPARE(emailTarget(),
             QStringLiteral("mailto:tallowick@haverlyn.example?Subject=Tallowick program"));
    QCOMPARE(ProgramFolder(QStringLiteral("/opt/tw")).helpPage(),
             QStringLiteral("/opt/tw/Tallowick.htm"));
}

void TstAbout::menuActionsOpenTheirTargetFromTheProgramFolder_data() {
    QTest::addColumn<int>("action");
    QTest::addColumn<QString>("expectedFile"); // relative to the program folder, or a full target
    QTest::newRow("help") << 0 << QStringLiteral("Tallowick.htm");
    QTest::newRow("web site") << 1 << webSiteTarget();
    QTest::newRow("email") << 2 << emailTarget();
}

void TstAbout::menuActionsOpenTheirTargetFromTheProgramFolder() {
    QFETCH(int, action);
    QFETCH(QString, expectedFile);
    TestPlatform test;
    QTemporaryDir elsewhere;
    const QString before = QDir::currentPath();
    QVERIFY(QDir::setCurrent(elsewhere.path()));
    const QString programFolder = test.folder.path();

    switch (action) {
    case 0:
        openHelpPage(test.shell, ProgramFolder(programFolder));
        break;
    case 1:
        openWebSite(test.shell, ProgramFolder(programFolder));
        break;
    case 2:
        startEmailToMaker(test.shell, ProgramFolder(programFolder));
        break;
    }
    QDir::setCurrent(before);

    const QString expected = action == 0 ? test.path(expectedFile) : expectedFile;
    QCOMPARE(test.shell.targets, QStringList{expected});
    QCOMPARE(test.shell.folders, QStringList{programFolder});
}

void TstAbout::versionLine() {
    QCOMPARE(::versionLine(), QStringLiteral("Tallowick v0.1.1"));
}

void TstAbout::windowLayout() {
    FrmAbouthvl window;
    QCOMPARE(window.windowTitle(), QStringLiteral("About..."));
    QCOMPARE(window.Label1->objectName(), QStringLiteral("Label1"));
    QCOMPARE(window.Label2->objectName(), QStringLiteral("Label2"));
    QCOMPARE(window.Command1->objectName(), QStringLiteral("Command1"));
    QCOMPARE(window.Label1->text(), QStringLiteral("Tallowick v0.1.1"));
    QVERIFY(window.Label2->text().contains(QStringLiteral("Haverlyn")));
    QCOMPARE(window.Command1->text(), QStringLiteral("Close"));
    QVERIFY(window.Command1->isDefault());
    for (QWidget* control :
         {static_cast<QWidget*>(window.Label1), static_cast<QWidget*>(window.Label2),
          static_cast<QWidget*>(window.Command1)}) {
        QVERIFY(control->font().bold());
        QCOMPARE(control->font().family(), QStringLiteral("Tahoma"));
    }
    QCOMPARE(window.Label1->font().pointSizeF(), 10.2);
    QCOMPARE(window.Label2->font().pointSizeF(), 7.8);
    QCOMPARE(window.Label1->focusPolicy(), Qt::NoFocus);
    QCOMPARE(window.Label2->focusPolicy(), Qt::NoFocus);

    // 4224 x 1332 twips, and it cannot be resized.
    const qreal dpi = window.logicalDpiY();
    const QSize expected(qRound(4224 * dpi / 1440), qRound(1332 * dpi / 1440));
    QCOMPARE(window.size(), expected);
    QCOMPARE(window.minimumSize(), expected);
    QCOMPARE(window.maximumSize(), expected);
    const Qt::WindowFlags flags = window.windowFlags();
    QVERIFY(flags.testFlag(Qt::MSWindowsFixedSizeDialogHint));
    QVERIFY(!flags.testFlag(Qt::WindowMinimizeButtonHint));
    QVERIFY(!flags.testFlag(Qt::WindowMaximizeButtonHint));
    QVERIFY(!flags.testFlag(Qt::WindowContextHelpButtonHint));
}

void TstAbout::showAndClose(QWidget* owner, const std::function<void(FrmAbouthvl*)>& inspect) {
    bool inspected = false;
    QTimer::singleShot(0, this, [&] {
        auto* window = qobject_cast<FrmAbouthvl*>(QApplication::activeModalWidget());
        QVERIFY(window);
        inspect(window);
        inspected = true;
        QTest::mouseClick(window->Command1, Qt::LeftButton);
    });
    // A watchdog, so a window that fails to close fails the test instead of hanging it.
    QTimer::singleShot(5000, this, [] {
        if (QWidget* stuck = QApplication::activeModalWidget())
            stuck->close();
    });
    FrmAbouthvl::showModal(owner);
    QVERIFY(inspected);
    QVERIFY(!QApplication::activeModalWidget());
}

void TstAbout::showModalCentresOnOwnerAndBlocksUntilClosed() {
    QWidget owner;
    owner.setGeometry(137, 91, 641, 479);
    owner.show();
    QVERIFY(QTest::qWaitForWindowExposed(&owner));

    QList<FrmAbouthvl*> seen;
    for (int round = 0; round < 2; ++round) {
        showAndClose(&owner, [&](FrmAbouthvl* window) {
            seen << window;
            QVERIFY(window->isVisible());
            QCOMPARE(window->parentWidget(), &owner);
            QCOMPARE(window->frameGeometry().center(), owner.frameGeometry().center());
            QCOMPARE(window->Label1->text(), QStringLiteral("Tallowick v0.1.1"));
        });
        if (QTest::currentTestFailed())
            return;
    }
    QCOMPARE(seen.size(), 2);
    // Closed windows are gone: nothing of the About window outlives its call.
    QVERIFY(owner.findChildren<FrmAbouthvl*>().isEmpty());
}

QTEST_MAIN(TstAbout)
#include "tst_about.moc"
