// The per-user settings file: where it lies, that every text comes back as written, that a
// write is on disk before it returns, and that a file that cannot be written says so.
#include "platform/inisettings.h"
#include "platform/qtplatform.h"
#include "tests/support/testplatform.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>
#include <unistd.h>

class SettingsStoreTest : public QObject {
    Q_OBJECT
private slots:
    void userFileLiesUnderTheConfigFolder();
    void textsComeBackAsWritten_data();
    void textsComeBackAsWritten();
    void emptyTextIsNotTheDefault();
    void writeIsOnDiskBeforeItReturns();
    void handEditedFileStaysUsable();
    void unwritableFileFails_data();
    void unwritableFileFails();

private:
    QTemporaryDir m_dir;
};

void SettingsStoreTest::userFileLiesUnderTheConfigFolder() {
    // Point the user scope at a temporary folder so the real user's settings stay untouched.
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(m_dir.filePath("config")));
    IniSettingsStore store;
    const QString expected = m_dir.filePath("config/Tallowick/Tallowick.ini");
    QCOMPARE(QFileInfo(store.fileName()).absoluteFilePath(), expected);
    QVERIFY(store.write("Options", "BeamText", "1.00"));
    QVERIFY(store.write("Games", "LastFav", "2"));
    const QByteArray bytes = fileBytes(expected);
    QVERIFY2(bytes.contains("[Options]\nBeamText=1.00"), bytes.constData());
    QVERIFY2(bytes.contains("[Games]\nLastFav=2"), bytes.constData());
}

void SettingsStoreTest::textsComeBackAsWritten_data() {
    QTest::addColumn<QString>("text");
    QTest::newRow("plain") << "Nothing !";
    QTest::newRow("blanks around") << "  -nosound  ";
    QTest::newRow("comma") << "a,b";
    QTest::newRow("semicolon and hash") << "x;y #z";
    QTest::newRow("quotes and backslash") << "\"C:\\mame\\\"";
    QTest::newRow("at sign first") << "@Variant(x)";
    QTest::newRow("equals and brackets") << "[a]=b";
    QTest::newRow("non-ASCII") << QString::fromUtf8("é漢");
    QTest::newRow("truth word") << "True";
}

void SettingsStoreTest::textsComeBackAsWritten() {
    QFETCH(QString, text);
    const QString file =
        m_dir.filePath(QStringLiteral("roundtrip-%1.ini").arg(QTest::currentDataTag()));
    {
        IniSettingsStore store(file);
        QVERIFY(store.write("Options", "AdditionalParamText", text));
    }
    IniSettingsStore again(file);
    QCOMPARE(again.read("Options", "AdditionalParamText", "default"), text);
}

void SettingsStoreTest::emptyTextIsNotTheDefault() {
    const QString file = m_dir.filePath("empty.ini");
    IniSettingsStore store(file);
    QCOMPARE(store.read("Options", "AlternateMameText", "pmame31"), QString("pmame31"));
    QVERIFY(store.write("Options", "AlternateMameText", ""));
    QCOMPARE(store.read("Options", "AlternateMameText", "pmame31"), QString(""));
    QCOMPARE(IniSettingsStore(file).read("Options", "AlternateMameText", "pmame31"), QString(""));
    // The sections are separate groups: the same key elsewhere is still absent.
    QCOMPARE(store.read("Games", "AlternateMameText", "d"), QString("d"));
}

void SettingsStoreTest::writeIsOnDiskBeforeItReturns() {
    const QString file = m_dir.filePath("synced.ini");
    IniSettingsStore store(file);
    QVERIFY(store.write("Options", "FrameskipSlider", "2"));
    QVERIFY(fileBytes(file).contains("FrameskipSlider=2"));
    QVERIFY(store.write("Options", "FrameskipSlider", "3"));
    QVERIFY(fileBytes(file).contains("FrameskipSlider=3"));
}

void SettingsStoreTest::handEditedFileStaysUsable() {
    const QString file = m_dir.filePath("edited.ini");
    QFile edited(file);
    QVERIFY(edited.open(QIODevice::WriteOnly));
    edited.write("garbage without equals\r\n[Options\r\n[Options]\r\nVideoCombo=2\r\n"
                 "AdditionalParamText=-a,-b\r\n=nokey\r\n\xff\xfe\r\n");
    edited.close();
    IniSettingsStore store(file);
    QCOMPARE(store.read("Options", "VideoCombo", "0"), QString("2"));
    QCOMPARE(store.read("Options", "AdditionalParamText", ""), QString("-a,-b"));
    // A file another program spoiled must not make every later change count as lost.
    QVERIFY(store.write("Options", "AudioCombo", "3"));
    QCOMPARE(IniSettingsStore(file).read("Options", "AudioCombo", "0"), QString("3"));
}

void SettingsStoreTest::unwritableFileFails_data() {
    QTest::addColumn<bool>("underAFile");
    QTest::newRow("folder path runs through a file") << true;
    QTest::newRow("read-only folder") << false;
}

void SettingsStoreTest::unwritableFileFails() {
    QFETCH(bool, underAFile);
    const QString base = m_dir.filePath(QStringLiteral("unwritable-%1").arg(underAFile));
    QString file;
    if (underAFile) {
        QFile plain(base);
        QVERIFY(plain.open(QIODevice::WriteOnly));
        file = base + QStringLiteral("/Tallowick/Tallowick.ini");
    } else {
        if (geteuid() == 0)
            QSKIP("Running as root: a read-only folder does not stop root's writes.");
        QVERIFY(QDir().mkpath(base));
        QVERIFY(QFile::setPermissions(base, QFile::ReadOwner | QFile::ExeOwner));
        file = base + QStringLiteral("/Tallowick.ini");
    }
    IniSettingsStore store(file);
    QVERIFY(!store.write("Options", "VideoCombo", "1"));
    QVERIFY(!store.write("Options", "VideoCombo", "2"));
    QVERIFY(!QFileInfo::exists(file));
    QFile::setPermissions(base, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);

    // Once the way is clear again, a later change is kept: an earlier failure does not stick.
    if (underAFile)
        QVERIFY(QFile::remove(base));
    QVERIFY(store.write("Options", "VideoCombo", "3"));
    QCOMPARE(IniSettingsStore(file).read("Options", "VideoCombo", "0"), QString("3"));
}

QTEST_GUILESS_MAIN(SettingsStoreTest)
#include "tst_settingsstore.moc"
