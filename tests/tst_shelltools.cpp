#include "shelltools/hvl_shelltools.h"
#include "tests/support/progresswatch.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QProgressDialog>
#include <QPushButton>
#include <QSpontaneKeyEvent>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <cerrno>
#include <csignal>
#include <sys/prctl.h>
#include <sys/types.h>
#include <sys/wait.h>

using hvl_ShellTools::ShellResult;

Q_DECLARE_METATYPE(ShellResult::Outcome)

class TstShellTools : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void shortPathOfNothingIsError_data();
    void shortPathOfNothingIsError();
    void shortPathIsOneShellWord_data();
    void shortPathIsOneShellWord();
    void shellEndings_data();
    void shellEndings();
    void shellRunsInTheWorkingFolderWithoutInput();
    void missingWorkingFolderFailsToStart();
    void windowsTakeNoInputWhileWaiting();
    void cancelEndsTheShellAndWhatItStarted();

private:
    static QByteArray runShell(const QString& commandLine);
};

void TstShellTools::initTestCase() {
    // Processes the shell leaves behind become ours, so that a killed one can be reaped and
    // checked for being gone, whatever the system's first process does with orphans.
    QCOMPARE(::prctl(PR_SET_CHILD_SUBREAPER, 1), 0);
}

QByteArray TstShellTools::runShell(const QString& commandLine) {
    QProcess shell;
    shell.start(QStringLiteral("/bin/sh"), {QStringLiteral("-c"), commandLine});
    if (!shell.waitForFinished(10000))
        return "<did not finish>";
    return shell.readAllStandardOutput();
}

void TstShellTools::shortPathOfNothingIsError_data() {
    QTest::addColumn<QString>("name"); // in a fresh folder; empty means the empty path
    QTest::addColumn<QString>("linkTarget");
    QTest::newRow("missing") << QStringLiteral("missing.txt") << QString();
    QTest::newRow("broken link") << QStringLiteral("link") << QStringLiteral("nowhere");
    QTest::newRow("empty path") << QString() << QString();
}

void TstShellTools::shortPathOfNothingIsError() {
    QFETCH(QString, name);
    QFETCH(QString, linkTarget);
    QTemporaryDir dir;
    if (!linkTarget.isEmpty())
        QVERIFY(QFile::link(dir.filePath(linkTarget), dir.filePath(name)));
    const QString path = name.isEmpty() ? QString() : dir.filePath(name);
    QCOMPARE(hvl_ShellTools::GetShortPath(path), QStringLiteral("Error!"));
}

void TstShellTools::shortPathIsOneShellWord_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("unchanged");
    QTest::newRow("plain") << QStringLiteral("MESS") << true;
    QTest::newRow("punctuation the shell leaves alone")
        << QStringLiteral("a.b_c-d+e,f:g@h%i") << true;
    QTest::newRow("single quote") << QStringLiteral("it's") << false;
    QTest::newRow("single quotes at both ends") << QStringLiteral("'x'") << false;
    QTest::newRow("blanks") << QStringLiteral(" two  blanks ") << false;
    QTest::newRow("dollar") << QStringLiteral("$HOME$(id)") << false;
    QTest::newRow("semicolon") << QStringLiteral("a;exit 7") << false;
    QTest::newRow("double quotes") << QStringLiteral("say \"hi\"") << false;
    QTest::newRow("backslash and backquote") << QStringLiteral("b\\s`id`") << false;
    QTest::newRow("glob and tilde") << QStringLiteral("~*?[a]") << false;
    QTest::newRow("line break") << QStringLiteral("two\nlines") << false;
    QTest::newRow("non-ASCII letters") << QStringLiteral("Ærø Über ж") << false;
    QTest::newRow("non-ASCII without blank") << QStringLiteral("Ärger") << false;
}

void TstShellTools::shortPathIsOneShellWord() {
    QFETCH(QString, name);
    QFETCH(bool, unchanged);
    QTemporaryDir dir;
    const QString path = dir.filePath(name);
    const QByteArray content = "content of " + name.toUtf8() + "\n";
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(content);
    file.close();

    const QString word = hvl_ShellTools::GetShortPath(path);
    QCOMPARE(word == path, unchanged);
    QCOMPARE(runShell(QStringLiteral("cat ") + word), content);
    // A folder is a path as well; the word must also hold up inside a longer command.
    QCOMPARE(runShell(QStringLiteral("cd ") + hvl_ShellTools::GetShortPath(dir.path()) +
                      QStringLiteral(" && cat ") + word + QStringLiteral("; echo end")),
             content + "end\n");
}

void TstShellTools::shellEndings_data() {
    QTest::addColumn<QString>("commandLine");
    QTest::addColumn<ShellResult::Outcome>("outcome");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<int>("minimumMs");
    QTest::addColumn<int>("maximumMs");
    QTest::newRow("ends at once") << QStringLiteral("true") << ShellResult::Finished << 0 << 0
                                  << 400;
    QTest::newRow("exit code") << QStringLiteral("exit 3") << ShellResult::Finished << 3 << 0
                               << 400;
    QTest::newRow("killed by a signal")
        << QStringLiteral("kill -KILL $$") << ShellResult::Crashed << -1 << 0 << 400;
    QTest::newRow("waited for") << QStringLiteral("sleep 1") << ShellResult::Finished << 0 << 950
                                << 2500;
}

void TstShellTools::shellEndings() {
    QFETCH(QString, commandLine);
    QFETCH(ShellResult::Outcome, outcome);
    QFETCH(int, exitCode);
    QFETCH(int, minimumMs);
    QFETCH(int, maximumMs);
    QTemporaryDir dir;
    QWidget window;
    window.show();

    QElapsedTimer clock;
    clock.start();
    const ShellResult result = hvl_ShellTools::ShellAndWait(commandLine, dir.path(), &window);
    const qint64 elapsed = clock.elapsed();

    QCOMPARE(result.outcome, outcome);
    if (outcome != ShellResult::Crashed)
        QCOMPARE(result.exitCode, exitCode);
    QVERIFY2(elapsed >= minimumMs && elapsed <= maximumMs, QByteArray::number(elapsed));
    QVERIFY(!QApplication::activeModalWidget());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(window.findChildren<QProgressDialog*>().isEmpty());
}

void TstShellTools::shellRunsInTheWorkingFolderWithoutInput() {
    QTemporaryDir dir;
    const QString folder = dir.filePath(QStringLiteral("it's a $folder; ж"));
    QVERIFY(QDir().mkpath(folder));
    // `cat` would wait forever for input if the shell's input were not empty.
    const ShellResult result = hvl_ShellTools::ShellAndWait(
        QStringLiteral("pwd > here.txt; cat > input.txt"), folder, nullptr);
    QCOMPARE(result.outcome, ShellResult::Finished);
    QCOMPARE(result.exitCode, 0);
    QFile here(folder + QStringLiteral("/here.txt"));
    QVERIFY(here.open(QIODevice::ReadOnly));
    QCOMPARE(QString::fromUtf8(here.readAll()).trimmed(), folder);
    QCOMPARE(QFileInfo(folder + QStringLiteral("/input.txt")).size(), 0);
}

void TstShellTools::missingWorkingFolderFailsToStart() {
    QTemporaryDir dir;
    const ShellResult result = hvl_ShellTools::ShellAndWait(
        QStringLiteral("true"), dir.filePath(QStringLiteral("missing")), nullptr);
    QCOMPARE(result.outcome, ShellResult::FailedToStart);
}

void TstShellTools::windowsTakeNoInputWhileWaiting() {
    QTemporaryDir dir;
    QWidget window;
    auto* button = new QPushButton(QStringLiteral("Press"), &window);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    int clicks = 0;
    connect(button, &QPushButton::clicked, this, [&] { ++clicks; });
    bool closeRefused = false;
    QTimer::singleShot(200, this, [&] {
        QTest::mouseClick(button, Qt::LeftButton);
        QTest::keyClick(button, Qt::Key_Space);
        QCloseEvent close;
        QSpontaneKeyEvent::setSpontaneous(&close);
        // Sent the way the window system delivers it (sendEvent would clear the mark).
        qApp->notify(&window, &close);
        closeRefused = !close.isAccepted();
    });
    const ShellResult result =
        hvl_ShellTools::ShellAndWait(QStringLiteral("sleep 1"), dir.path(), &window);
    QCOMPARE(result.outcome, ShellResult::Finished);
    QCOMPARE(clicks, 0);
    QVERIFY(closeRefused);
    QVERIFY(window.isVisible());

    // Once the wait is over, the window takes input again.
    QTest::mouseClick(button, Qt::LeftButton);
    QCOMPARE(clicks, 1);
}

void TstShellTools::cancelEndsTheShellAndWhatItStarted() {
    QTemporaryDir dir;
    const QString pidFile = dir.filePath(QStringLiteral("pid"));
    QWidget window;
    window.show();

    QElapsedTimer clock;
    clock.start();
    qint64 shownAfter = -1;
    qint64 cancelledAt = -1;
    QString label;
    QWidget* dialogParent = nullptr;
    bool modal = false;
    QTimer poll;
    whenProgressShows(poll, [&](QProgressDialog* dialog) {
        shownAfter = clock.elapsed();
        label = dialog->labelText();
        dialogParent = dialog->parentWidget();
        modal = dialog->isModal();
        QCOMPARE(dialog->objectName(), QStringLiteral("ShellAndWaitProgress"));
        // Long enough for the shell to have started its child.
        QTRY_VERIFY(QFileInfo(pidFile).size() > 0);
        auto* cancel = dialog->findChild<QPushButton*>();
        QVERIFY(cancel);
        cancelledAt = clock.elapsed();
        QTest::mouseClick(cancel, Qt::LeftButton);
    });
    // Should Cancel fail, ending the child lets the wait end and the test fail instead of hang.
    QTimer::singleShot(15000, this, [&] {
        QProcess::execute(
            QStringLiteral("/bin/sh"),
            {QStringLiteral("-c"), QStringLiteral("kill $(cat ") + pidFile + QStringLiteral(")")});
    });

    const ShellResult result = hvl_ShellTools::ShellAndWait(
        QStringLiteral("sleep 1000 & echo $! > pid; wait"), dir.path(), &window);
    const qint64 returnedAt = clock.elapsed();

    QCOMPARE(result.outcome, ShellResult::Cancelled);
    QVERIFY2(shownAfter >= 400 && shownAfter <= 1500, QByteArray::number(shownAfter));
    QCOMPARE(label, QStringLiteral("Updating systems..."));
    QCOMPARE(dialogParent, &window);
    QVERIFY(modal);
    QVERIFY(cancelledAt >= 0);
    QVERIFY2(returnedAt - cancelledAt <= 2000, QByteArray::number(returnedAt - cancelledAt));
    QVERIFY(!QApplication::activeModalWidget());

    QFile file(pidFile);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const pid_t child = static_cast<pid_t>(file.readAll().trimmed().toLongLong());
    QVERIFY(child > 0);
    // The orphaned child is ours to reap; once reaped, no process has its id.
    const auto gone = [child] {
        if (::waitpid(child, nullptr, WNOHANG) == child)
            return true;
        return ::kill(child, 0) == -1 && errno == ESRCH;
    };
    QTRY_VERIFY_WITH_TIMEOUT(gone(), 2000);
    QCOMPARE(::kill(child, 0), -1);
}

QTEST_MAIN(TstShellTools)
#include "tst_shelltools.moc"
