// Faults of the world around the window: a full disk or an unwritable folder while the
// favourites are saved, an emulator that fails or dies while it lists its systems, a settings
// file that cannot be written. Each must leave the user's files whole, tell the user once, and
// leave the window working.
#include "catalogue/gameline.h"
#include "platform/inisettings.h"
#include "platform/qtplatform.h"
#include "platform/textfile.h"
#include "platform/textorder.h"
#include "tests/support/foldercontents.h"
#include "tests/support/formfixture.h"
#include "tests/support/standinlog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QSlider>
#include <QTimer>
#include <QtTest>

#include <csignal>
#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

const char* const StandinSettings[] = {"STANDIN_EXIT",  "STANDIN_HANG", "STANDIN_LISTING",
                                       "STANDIN_EMPTY", "STANDIN_WIDE", "STANDIN_LOG"};

QString game(const QString& name) {
    return GameLine::make(name, QStringLiteral("nes"));
}

// One system with three games; Alpha and Beta are favourites, with `more` others besides.
void layOutFavourites(TestPlatform& test, int more = 0) {
    test.writeFile("Tallowick.sys", oldLayoutListing({{"nes", "NES"}}));
    for (const char* name : {"Alpha.nes", "Beta.nes", "Gamma.nes"})
        test.writeFile(QStringLiteral("ROMS/nes/") + name, "x");
    QByteArray favourites =
        game("Alpha.nes").toUtf8() + "\r\n" + game("Beta.nes").toUtf8() + "\r\n";
    for (int i = 0; i < more; ++i)
        favourites += game(QStringLiteral("Other %1.nes").arg(i)).toUtf8() + "\r\n";
    test.writeFile("Tallowick.fav", favourites);
}

// The favourites list as the window shows the file's lines.
QStringList favouritesShown(const QByteArray& file) {
    QStringList lines;
    for (const QByteArray& line : splitLines(file))
        lines << QString::fromUtf8(line);
    sortAlphabetically(lines);
    return lines;
}

// Right-clicks a line: in the full list it adds the line to the favourites, in the favourites
// list it removes it (the question is answered OK).
void rightClick(Form1& form, const QString& line) {
    form.GamesList->setListIndex(form.GamesList->items().indexOf(line));
    QCOMPARE(form.GamesList->item(form.GamesList->listIndex()), line);
    form.GamesList_MouseDown(Qt::RightButton);
}

// Files may grow to `limit` bytes and no further while it lives, as on a nearly full disk.
// Writing past it fails with EFBIG instead of killing the process.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t limit) {
        m_signal = std::signal(SIGXFSZ, SIG_IGN);
        m_ok = getrlimit(RLIMIT_FSIZE, &m_old) == 0;
        rlimit lower = m_old;
        lower.rlim_cur = limit;
        m_ok = m_ok && setrlimit(RLIMIT_FSIZE, &lower) == 0;
    }
    ~FileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &m_old);
        std::signal(SIGXFSZ, m_signal);
    }
    bool ok() const { return m_ok; }

private:
    rlimit m_old{};
    void (*m_signal)(int);
    bool m_ok = false;
};

// Makes a folder unwritable even for root: first by permissions, and where they do not bind
// (root) by the file system's immutable flag. Undone when it goes.
class UnwritableFolder {
public:
    explicit UnwritableFolder(const QString& folder) : m_path(QFile::encodeName(folder)) {
        ::chmod(m_path.constData(), 0555);
        if (!canCreateIn())
            return;
        const int fd = ::open(m_path.constData(), O_RDONLY | O_DIRECTORY);
        int flags = 0;
        if (fd >= 0 && ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0) {
            flags |= FS_IMMUTABLE_FL;
            m_immutable = ::ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
        }
        if (fd >= 0)
            ::close(fd);
    }
    ~UnwritableFolder() {
        if (m_immutable) {
            const int fd = ::open(m_path.constData(), O_RDONLY | O_DIRECTORY);
            int flags = 0;
            if (fd >= 0 && ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0) {
                flags &= ~FS_IMMUTABLE_FL;
                ::ioctl(fd, FS_IOC_SETFLAGS, &flags);
            }
            if (fd >= 0)
                ::close(fd);
        }
        ::chmod(m_path.constData(), 0755);
    }
    bool canCreateIn() const {
        const QByteArray probe = m_path + "/.probe";
        const int fd = ::open(probe.constData(), O_WRONLY | O_CREAT | O_EXCL, 0600);
        if (fd < 0)
            return false;
        ::close(fd);
        ::unlink(probe.constData());
        return true;
    }

private:
    QByteArray m_path;
    bool m_immutable = false;
};

} // namespace

class FaultsTest : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void favouritesOnAFullDisk_data();
    void favouritesOnAFullDisk();
    void favouritesInAnUnwritableFolder_data();
    void favouritesInAnUnwritableFolder();
    void favouritesFileIsAFolder();
    void updateSystemsFails_data();
    void updateSystemsFails();
    void settingsCannotBeWritten();

private:
    void checkSavingFails(TestPlatform& test, Form1& form, bool adding,
                          const FolderContents& before, const QStringList& full);
};

void FaultsTest::init() {
    for (const char* name : StandinSettings)
        qunsetenv(name);
}

void FaultsTest::cleanup() {
    init();
}

void FaultsTest::favouritesOnAFullDisk_data() {
    QTest::addColumn<bool>("adding");
    QTest::addColumn<int>("more"); // favourites besides Alpha and Beta
    QTest::newRow("adding to a small file") << true << 0;
    QTest::newRow("removing from a small file") << false << 0;
    QTest::newRow("adding to a file of 40 KiB") << true << 400;
    QTest::newRow("removing from a file of 40 KiB") << false << 400;
}

// The disk takes one byte less than the new favourites file needs.
void FaultsTest::favouritesOnAFullDisk() {
    QFETCH(bool, adding);
    QFETCH(int, more);
    TestPlatform test;
    layOutFavourites(test, more);
    auto form = openForm(test);
    const QStringList full = entriesOf(form->GamesList);
    if (!adding)
        form->SwapListCommand_Click();
    const qsizetype lineSize = game("Gamma.nes").toUtf8().size() + 2; // Beta's is as long
    const qsizetype needed =
        test.readFile("Tallowick.fav").size() + (adding ? lineSize : -lineSize);
    const auto before = contentsOf(test.folder.path());
    {
        FileSizeLimit disk(rlim_t(needed - 1));
        QVERIFY(disk.ok());
        rightClick(*form, game(adding ? "Gamma.nes" : "Beta.nes"));
    }
    checkSavingFails(test, *form, adding, before, full);
}

void FaultsTest::checkSavingFails(TestPlatform& test, Form1& form, bool adding,
                                  const FolderContents& before, const QStringList& full) {
    QCOMPARE(test.messages.questions.size(), 1);
    QCOMPARE(test.messages.notices.size(), 1);
    QVERIFY2(test.messages.notices.first().contains("favourites could not be saved"),
             qPrintable(test.messages.notices.first()));
    QVERIFY(contentsOf(test.folder.path()) == before);
    if (adding) {
        QCOMPARE(entriesOf(form.GamesList), full);
        form.SwapListCommand_Click();
    }
    QCOMPARE(entriesOf(form.GamesList), favouritesShown(test.readFile("Tallowick.fav")));
}

void FaultsTest::favouritesInAnUnwritableFolder_data() {
    QTest::addColumn<bool>("adding");
    QTest::newRow("adding") << true;
    QTest::newRow("removing") << false;
}

void FaultsTest::favouritesInAnUnwritableFolder() {
    QFETCH(bool, adding);
    TestPlatform test;
    layOutFavourites(test);
    auto form = openForm(test);
    const QStringList full = entriesOf(form->GamesList);
    if (!adding)
        form->SwapListCommand_Click();
    const auto before = contentsOf(test.folder.path());
    {
        UnwritableFolder readOnly(test.folder.path());
        if (readOnly.canCreateIn())
            QSKIP("Neither permissions nor the immutable flag keep root from writing here.");
        rightClick(*form, game(adding ? "Gamma.nes" : "Beta.nes"));
    }
    checkSavingFails(test, *form, adding, before, full);
}

// Something else took the favourites file's name; adding must not disturb it.
void FaultsTest::favouritesFileIsAFolder() {
    TestPlatform test;
    test.writeFile("Tallowick.sys", oldLayoutListing({{"nes", "NES"}}));
    test.writeFile("ROMS/nes/Alpha.nes", "x");
    test.writeFile("Tallowick.fav/inside.txt", "user's file");
    auto form = openForm(test);
    const auto before = contentsOf(test.folder.path());
    rightClick(*form, game("Alpha.nes"));
    QCOMPARE(test.messages.notices.size(), 1);
    QVERIFY(test.messages.notices.first().contains("favourites could not be saved"));
    QVERIFY(contentsOf(test.folder.path()) == before);
    form->SwapListCommand_Click();
    QCOMPARE(form->GamesList->count(), 0);
}

void FaultsTest::updateSystemsFails_data() {
    QTest::addColumn<QByteArray>("setting");
    QTest::addColumn<bool>("killMidRun");
    QTest::newRow("exits with 3") << QByteArray("STANDIN_EXIT=3") << false;
    QTest::newRow("prints nothing") << QByteArray("STANDIN_EMPTY=1") << false;
    QTest::newRow("killed mid-run") << QByteArray("STANDIN_HANG=1") << true;
}

void FaultsTest::updateSystemsFails() {
    QFETCH(QByteArray, setting);
    QFETCH(bool, killMidRun);
    const QString standin = qEnvironmentVariable("TALLOWICK_STANDIN");
    if (standin.isEmpty())
        QSKIP("TALLOWICK_STANDIN is not set");
    QTemporaryDir logFolder;
    QVERIFY(logFolder.isValid());
    const QString log = logFolder.filePath("standin.log");
    qputenv("STANDIN_LOG", QFile::encodeName(log));
    const qsizetype equals = setting.indexOf('=');
    qputenv(setting.left(equals).constData(), setting.mid(equals + 1));

    TestPlatform test;
    test.writeFile("Tallowick.sys", oldLayoutListing({{"nes", "NES"}, {"c64", "C64"}}));
    test.writeFile("ROMS/nes/Alpha.nes", "x");
    QVERIFY(QFile::copy(standin, test.path("MESS")));
    QVERIFY(QFile::setPermissions(test.path("MESS"), QFile::permissions(standin)));
    auto form = openForm(test);
    form->EmulatedSystemList->setListIndex(1);
    const auto before = contentsOf(test.folder.path());

    // Killed from outside, by the process id the stand-in logged once it started.
    qint64 killed = 0;
    QTimer killer;
    killer.setInterval(20);
    connect(&killer, &QTimer::timeout, this, [&] {
        const QList<StandinRun> runs = readStandinLog(log);
        if (runs.isEmpty() || runs.first().pid <= 0)
            return;
        killed = runs.first().pid;
        ::kill(pid_t(killed), SIGKILL);
        killer.stop();
    });
    if (killMidRun)
        killer.start();

    form->UpdateSystemsMenu_Click();

    QCOMPARE(killed != 0, killMidRun);
    QCOMPARE(readStandinLog(log).size(), 1);
    QCOMPARE(test.messages.notices.size(), 1);
    QVERIFY2(test.messages.notices.first().contains("unchanged"),
             qPrintable(test.messages.notices.first()));
    QVERIFY(contentsOf(test.folder.path()) == before);
    QCOMPARE(entriesOf(form->EmulatedSystemList), (QStringList{"C64", "NES"}));
    QCOMPARE(form->EmulatedSystemList->listIndex(), 1);
    QCOMPARE(entriesOf(form->GamesList), QStringList{game("Alpha.nes")});
}

// The settings file lies under a plain file, so no one, root included, can create it.
void FaultsTest::settingsCannotBeWritten() {
    TestPlatform test;
    test.writeFile("Tallowick.sys", oldLayoutListing({{"nes", "NES"}}));
    test.writeFile("ROMS/nes/Alpha.nes", "x");
    QTemporaryDir home;
    QVERIFY(home.isValid());
    {
        QFile blocker(home.filePath("afile"));
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.write("a plain file");
    }
    IniSettingsStore settings(home.filePath("afile/Tallowick.ini"));
    Platform platform = test.platform();
    platform.settings = &settings;
    test.writeFile("mymess", "#!/bin/sh\n");
    QVERIFY(QFile::setPermissions(test.path("mymess"), QFile::ReadOwner | QFile::ExeOwner));

    Form1 form(platform);
    form.Form_Load();
    QCOMPARE(entriesOf(form.EmulatedSystemList), QStringList{"NES"});
    QCOMPARE(form.GamesList->count(), 1);

    // Every kind of option changes, several of them twice.
    form.AlternateMameOption->setChecked(true);
    form.AlternateMameText->setText("mymess");
    form.AdditionalParamCheck->setCheckState(Qt::Checked);
    form.AdditionalParamText->setText("-nosound");
    form.FrameskipSlider->setValue(2);
    form.FrameskipSlider->setValue(3);
    form.VideoCombo->setCurrentIndex(4);
    form.JoyCombo->setCurrentIndex(2);
    form.JoyCombo->setCurrentIndex(3);
    form.CheatCheck->setCheckState(Qt::Checked);
    form.GamesList->setListIndex(0);
    form.GamesList_MouseDown(Qt::LeftButton);
    form.OriginalMameOption->setChecked(true);
    form.AlternateMameOption->setChecked(true);

    QCOMPARE(test.messages.notices.size(), 1);
    QVERIFY(test.messages.notices.first().contains("options could not be saved"));
    QCOMPARE(form.FrameskipLabel->text(), QStringLiteral("Frameskip: 3"));
    QVERIFY(form.AlternateMameText->isEnabled());
    QVERIFY(form.AdditionalParamText->isEnabled());

    // The window goes on with the options as they are now.
    form.PlayButton_Click();
    QCOMPARE(form.CommandlineLabel->text(),
             "mymess " + GameLine::commandTail(game("Alpha.nes")) + " -nosound ");
    QCOMPARE(test.processes.starts.size(), 1);
    QCOMPARE(test.messages.notices.size(), 1);
    QCOMPARE(QFile(home.filePath("afile")).size(), qint64(12));
    QVERIFY(!QFileInfo::exists(home.filePath("afile/Tallowick.ini")));
}

QTEST_MAIN(FaultsTest)
#include "tst_faults.moc"
