#include "catalogue/systemsfile.h"
#include "catalogue/systemsregeneration.h"
#include "tests/support/progresswatch.h"
#include "tests/support/standinlog.h"
#include "tests/support/testplatform.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QProgressDialog>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <cerrno>
#include <csignal>
#include <sys/prctl.h>
#include <sys/types.h>
#include <sys/wait.h>

namespace {

const QByteArray oldList = "Name:     Description:\r\n"
                           "oldsys    \"A system from the old list\"\r\n";

const char* const standinSettings[] = {"STANDIN_EXIT",  "STANDIN_HANG", "STANDIN_LISTING",
                                       "STANDIN_EMPTY", "STANDIN_WIDE", "STANDIN_LOG"};

} // namespace

class TstRegeneration : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();
    void listingReplacesTheSystemsList_data();
    void listingReplacesTheSystemsList();
    void failureLeavesTheSystemsListAlone_data();
    void failureLeavesTheSystemsListAlone();

private:
    // A program folder named `name` inside the test's temporary folder, with the stand-in in it
    // as `emulatorName` (none when empty) and, when wanted, the old systems list.
    QString makeProgramFolder(const QString& name, const QString& emulatorName, bool withOldList);
    QStringList temporaryLeftovers(const QString& programFolder) const;
    void applySettings(const QStringList& settings);

    QString m_standin;
    QScopedPointer<QTemporaryDir> m_dir;
    QString m_log;
};

void TstRegeneration::initTestCase() {
    m_standin = qEnvironmentVariable("TALLOWICK_STANDIN");
    // An emulator the shell leaves behind becomes ours, so that it can be reaped after Cancel.
    QCOMPARE(::prctl(PR_SET_CHILD_SUBREAPER, 1), 0);
}

void TstRegeneration::init() {
    m_dir.reset(new QTemporaryDir);
    QVERIFY(m_dir->isValid());
    for (const char* name : standinSettings)
        qunsetenv(name);
    m_log = m_dir->filePath(QStringLiteral("standin-runs.log"));
    qputenv("STANDIN_LOG", QFile::encodeName(m_log));
}

void TstRegeneration::cleanup() {
    for (const char* name : standinSettings)
        qunsetenv(name);
    m_dir.reset();
}

QString TstRegeneration::makeProgramFolder(const QString& name, const QString& emulatorName,
                                           bool withOldList) {
    const QString folder = m_dir->filePath(name);
    if (!QDir().mkpath(folder))
        return {};
    if (withOldList && !writeFileBytes(ProgramFolder(folder).systemsFile(), oldList))
        return {};
    if (!emulatorName.isEmpty()) {
        const QString emulator = folder + QLatin1Char('/') + emulatorName;
        if (!QFile::copy(m_standin, emulator) ||
            !QFile::setPermissions(emulator, QFile::permissions(m_standin) | QFile::ExeOwner))
            return {};
    }
    return folder;
}

QStringList TstRegeneration::temporaryLeftovers(const QString& programFolder) const {
    return QDir(programFolder)
        .entryList({QStringLiteral("Tallowick.sys.*")}, QDir::AllEntries | QDir::Hidden);
}

void TstRegeneration::applySettings(const QStringList& settings) {
    for (const QString& setting : settings) {
        const qsizetype equals = setting.indexOf(QLatin1Char('='));
        qputenv(setting.left(equals).toLatin1().constData(), setting.mid(equals + 1).toUtf8());
    }
}

void TstRegeneration::listingReplacesTheSystemsList_data() {
    QTest::addColumn<QString>("folderName");
    QTest::addColumn<QString>("emulatorName");
    QTest::addColumn<bool>("withOldList");
    QTest::addColumn<QStringList>("settings");
    QTest::addColumn<QByteArray>("ownListing"); // printed instead of a built-in one when set
    QTest::addColumn<QString>("firstName");
    QTest::addColumn<QString>("firstDescription");

    const QString nes = QStringLiteral("nes");
    QTest::newRow("old layout") << QStringLiteral("programs") << QStringLiteral("MESS") << true
                                << QStringList() << QByteArray() << nes
                                << QStringLiteral("Nintendo Entertainment System (NTSC)");
    QTest::newRow("wide layout") << QStringLiteral("programs") << QStringLiteral("MESS") << true
                                 << QStringList{QStringLiteral("STANDIN_WIDE=1")} << QByteArray()
                                 << nes
                                 << QStringLiteral(
                                        "Nintendo Entertainment System / Famicom (NTSC)");
    QTest::newRow("no list yet") << QStringLiteral("programs") << QStringLiteral("MESS") << false
                                 << QStringList() << QByteArray() << nes
                                 << QStringLiteral("Nintendo Entertainment System (NTSC)");
    QTest::newRow("awkward folder path")
        << QStringLiteral("it's a \"folder\" for $HOME; rm -rf x; Ünïcødé ж")
        << QStringLiteral("MESS") << true << QStringList{QStringLiteral("STANDIN_WIDE=1")}
        << QByteArray() << nes << QStringLiteral("Nintendo Entertainment System / Famicom (NTSC)");
    QTest::newRow("emulator named mess.exe")
        << QStringLiteral("programs") << QStringLiteral("mess.exe") << true << QStringList()
        << QByteArray() << nes << QStringLiteral("Nintendo Entertainment System (NTSC)");
    QTest::newRow("a single system")
        << QStringLiteral("programs") << QStringLiteral("MESS") << true << QStringList()
        << QByteArray("Name:  Description:\nzx81  \"ZX81\"\n") << QStringLiteral("zx81")
        << QStringLiteral("ZX81");
}

void TstRegeneration::listingReplacesTheSystemsList() {
    QFETCH(QString, folderName);
    QFETCH(QString, emulatorName);
    QFETCH(bool, withOldList);
    QFETCH(QStringList, settings);
    QFETCH(QByteArray, ownListing);
    QFETCH(QString, firstName);
    QFETCH(QString, firstDescription);
    if (m_standin.isEmpty())
        QSKIP("TALLOWICK_STANDIN is not set");

    const QString folder = makeProgramFolder(folderName, emulatorName, withOldList);
    QVERIFY(!folder.isEmpty());
    const QString systemsFile = ProgramFolder(folder).systemsFile();
    const QFileDevice::Permissions permissions = QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                                 QFileDevice::ReadGroup | QFileDevice::ReadOther;
    if (withOldList)
        QVERIFY(QFile::setPermissions(systemsFile, permissions | QFileDevice::WriteGroup));
    if (!ownListing.isEmpty()) {
        const QString listing = m_dir->filePath(QStringLiteral("listing.txt"));
        QVERIFY(writeFileBytes(listing, ownListing));
        settings << QStringLiteral("STANDIN_LISTING=") + listing;
    }
    applySettings(settings);

    // What the emulator prints, asked directly: the new list must hold exactly these bytes.
    QProcess direct;
    direct.setStandardInputFile(QProcess::nullDevice());
    direct.start(m_standin, {QStringLiteral("-listfull")});
    QVERIFY(direct.waitForFinished(10000));
    const QByteArray printed = direct.readAllStandardOutput();
    QVERIFY(!printed.isEmpty());
    QFile::remove(m_log);

    QWidget window;
    const RegenerationResult result = regenerateSystemsFile(ProgramFolder(folder), &window);

    QVERIFY2(result.replaced, qPrintable(result.message));
    QCOMPARE(result.message, QString());
    QCOMPARE(fileBytes(systemsFile), printed);
    const auto read = readSystemsFile(systemsFile);
    const auto* systems = &read.systems;
    QVERIFY(!read.problem && !systems->empty());
    QCOMPARE(systems->front().shortName, firstName);
    QCOMPARE(systems->front().description, firstDescription);
    QCOMPARE(QFile::permissions(systemsFile) & 0x7077,
             withOldList ? permissions | QFileDevice::WriteGroup : permissions);
    QCOMPARE(temporaryLeftovers(folder), QStringList());

    // The emulator ran once, in the program folder, with nothing but -listfull.
    const QList<StandinRun> runs = readStandinLog(m_log);
    QCOMPARE(runs.size(), 1);
    QCOMPARE(runs.front().cwd, folder);
    QCOMPARE(runs.front().program, folder + QLatin1Char('/') + emulatorName);
    QCOMPARE(runs.front().arguments, QStringList{QStringLiteral("-listfull")});
}

void TstRegeneration::failureLeavesTheSystemsListAlone_data() {
    QTest::addColumn<QString>("emulatorName"); // empty: there is none
    QTest::addColumn<bool>("withOldList");
    QTest::addColumn<QStringList>("settings");
    QTest::addColumn<QByteArray>("ownListing");
    QTest::addColumn<bool>("pressCancel");
    QTest::addColumn<QString>("message");

    const QString mess = QStringLiteral("MESS");
    QTest::newRow("exit code 3")
        << mess << true << QStringList{QStringLiteral("STANDIN_EXIT=3")} << QByteArray() << false
        << QStringLiteral("The emulator ended with exit code 3; the systems list is unchanged.");
    QTest::newRow("exit code 3, no list yet")
        << mess << false << QStringList{QStringLiteral("STANDIN_EXIT=3")} << QByteArray() << false
        << QStringLiteral("The emulator ended with exit code 3; the systems list is unchanged.");
    const QString noSystems =
        QStringLiteral("The emulator's listing holds no systems; the systems list is unchanged.");
    QTest::newRow("prints nothing")
        << mess << true << QStringList{QStringLiteral("STANDIN_EMPTY=1")} << QByteArray() << false
        << noSystems;
    QTest::newRow("header only") << mess << true << QStringList()
                                 << QByteArray("Name:     Description:\r\n") << false << noSystems;
    QTest::newRow("no usable system")
        << mess << true << QStringList()
        << QByteArray("Name:     Description:\r\n\r\nshort\r\n \"no name\"\r\n") << false
        << noSystems;
    QTest::newRow("no emulator")
        << QString() << true << QStringList() << QByteArray() << false
        << QStringLiteral("The emulator \"MESS\" was not found in the program folder.");
    QTest::newRow("only another emulator")
        << QStringLiteral("pmame31") << true << QStringList() << QByteArray() << false
        << QStringLiteral("The emulator \"MESS\" was not found in the program folder.");
    QTest::newRow("cancelled while hanging")
        << mess << true << QStringList{QStringLiteral("STANDIN_HANG=1")} << QByteArray() << true
        << QStringLiteral("Updating the systems list was cancelled; the list is unchanged.");
}

void TstRegeneration::failureLeavesTheSystemsListAlone() {
    QFETCH(QString, emulatorName);
    QFETCH(bool, withOldList);
    QFETCH(QStringList, settings);
    QFETCH(QByteArray, ownListing);
    QFETCH(bool, pressCancel);
    QFETCH(QString, message);
    if (!emulatorName.isEmpty() && m_standin.isEmpty())
        QSKIP("TALLOWICK_STANDIN is not set");

    const QString folder = makeProgramFolder(QStringLiteral("programs"), emulatorName, withOldList);
    QVERIFY(!folder.isEmpty());
    if (!ownListing.isEmpty()) {
        const QString listing = m_dir->filePath(QStringLiteral("listing.txt"));
        QVERIFY(writeFileBytes(listing, ownListing));
        settings << QStringLiteral("STANDIN_LISTING=") + listing;
    }
    applySettings(settings);

    bool cancelPressed = false;
    QTimer poll;
    if (pressCancel)
        whenProgressShows(poll, [&](QProgressDialog* dialog) {
            if (auto* cancel = dialog->findChild<QPushButton*>()) {
                QTest::mouseClick(cancel, Qt::LeftButton);
                cancelPressed = true;
            }
        });

    QWidget window;
    const RegenerationResult result = regenerateSystemsFile(ProgramFolder(folder), &window);

    QVERIFY(!result.replaced);
    QCOMPARE(result.message, message);
    QCOMPARE(cancelPressed, pressCancel);
    if (withOldList)
        QCOMPARE(fileBytes(ProgramFolder(folder).systemsFile()), oldList);
    else
        QVERIFY(!QFileInfo::exists(ProgramFolder(folder).systemsFile()));
    QCOMPARE(temporaryLeftovers(folder), QStringList());

    const QList<StandinRun> runs = readStandinLog(m_log);
    QCOMPARE(runs.size(), emulatorName == QLatin1String("MESS") ? 1 : 0);
    if (pressCancel) {
        // The emulator under the shell is gone too.
        const auto emulator = static_cast<pid_t>(runs.front().pid);
        QVERIFY(emulator > 0);
        QTRY_VERIFY_WITH_TIMEOUT(::waitpid(emulator, nullptr, WNOHANG) == emulator ||
                                     (::kill(emulator, 0) == -1 && errno == ESRCH),
                                 2000);
    }
}

QTEST_MAIN(TstRegeneration)
#include "tst_regeneration.moc"
