// The options: stored texts read back, the window restoring and writing them, the settings file.
#include "mainwindow/optionvalues.h"
#include "platform/inisettings.h"
#include "tests/support/fixture.h"
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QSlider>
#include <QtTest>
namespace {
const QString Defaults = // all but the combo boxes after a first start; X.enabled: X takes input
    "OriginalMameOption=True;AlternateMameOption=False;AlternateMameText=pmame31;"
    "AlternateMameText.enabled=0;AdditionalParamText=Nothing !;AdditionalParamText.enabled=0;"
    "BeamText=1.00;FlickerText=0;FrameskipSlider=0;FrameskipLabel=Frameskip: 0;CheatCheck=0;"
    "AdditionalParamCheck=0;BeamCheck=0;FlickerCheck=0;SbOplCheck=0;"
    "CommandlineLabel=MESS nes \"game.zip\" ";
const QString NotSaved = "Your options could not be saved: the settings file cannot be written.\n"
                         "Tallowick goes on with the options as they are now.";
QString shown(const Form1& form, const QString& key) { // what a control shows, as the file words it
    const QWidget* c = form.findChild<QWidget*>(key.section('.', 0, 0));
    const auto* check = qobject_cast<const QCheckBox*>(c); // 0 clear, 1 ticked, 2 grey
    auto name = c->inherits("QComboBox") ? "currentIndex" : c->metaObject()->userProperty().name();
    const QVariant v = key.endsWith(".enabled") ? int(c->isEnabled())
                       : check                  ? QString("021").at(check->checkState())
                                                : c->property(name ? name : "text");
    return v.typeId() == QMetaType::Bool ? (v.toBool() ? "True" : "False") : v.toString();
}
std::unique_ptr<Form1> openOn(TestPlatform& t) {
    t.write("Tallowick.sys", listing({{"nes", "Nintendo Entertainment System"}}));
    t.write("ROMS/nes/game.zip", "image");
    return t.open();
}
} // namespace
class OptionsTest : public QObject {
    Q_OBJECT
private slots:
    void conversions_data() { // text|readTruth|readInt16|readInt32 ("-": none), rows split by /
        QTest::addColumn<QString>("row");
        const QString rows =
            " tRuE |True|0|0/ fALSE |False|0|0/ - 1 2 "
            "|True|-12|-12/2x|-|2|2/abc|-|0|0/1.5|True|2|2/"
            "2.5|True|2|2/-2.5|True|-2|-2/1e3|True|1000|1000/1e|-|1|1/1e-400|False|0|0/"
            "32767|True|32767|32767/32768|True|-|32768/-32768|True|-32768|-32768/"
            "-32769|True|-|-32769/2147483647|True|-|2147483647/2147483648|True|-|-/"
            "-2147483648|True|-|-2147483648/-2147483649|True|-|-/1e999|True|-|-";
        for (const QString& row : rows.split('/'))
            QTest::newRow(qPrintable(row)) << row;
    }
    void conversions() {
        using namespace OptionValues;
        QFETCH(QString, row);
        const QString text = row.section('|', 0, 0);
        const auto n = [](std::optional<qint64> v) { return v ? QString::number(*v) : "-"; };
        const QString truth = readTruth(text) ? (*readTruth(text) ? "True" : "False") : "-";
        QCOMPARE(text + '|' + truth + '|' + n(readInt16(text)) + '|' + n(readInt32(text)), row);
    }
    void writes() { // a first start's, in the start-up's order, then the reactions'
        TestPlatform t;
        auto form = openOn(t);
        form->AlternateMameOption->click(); // typing reaches only a text that takes input
        form->AdditionalParamCheck->click();
        QTest::keyClicks(form->AdditionalParamText, "ab");
        form->AdditionalParamCheck->click();
        form->VideoCombo->setCurrentIndex(3);
        form->FrameskipSlider->setValue(2);
        form->OriginalMameOption->click();
        QString writes;
        for (const auto& [key, value] : t.settings.writes)
            writes += key.mid(8) + '=' + value + ';';
        QCOMPARE(writes,
                 "AlternateMameText=pmame31;AdditionalParamText=Nothing !;VideoCombo=0;"
                 "AudioCombo=0;DoubleCombo=0;DepthCombo=0;VGAFreqCombo=0;ScanlinesCombo=0;"
                 "VESACombo=0;VSyncCombo=0;RotateCombo=0;FlipCombo=0;SampleRateCombo=0;"
                 "BitRateCombo=0;AntialiasCombo=0;JoyCombo=0;OriginalMameOption=False;"
                 "AlternateMameOption=True;AdditionalParamCheck=1;AdditionalParamText=Nothing !a;"
                 "AdditionalParamText=Nothing !ab;AdditionalParamCheck=0;VideoCombo=3;"
                 "FrameskipSlider=2;OriginalMameOption=True;AlternateMameOption=False;");
        QVERIFY(!form->AlternateMameText->isEnabled() && !form->AdditionalParamText->isEnabled());
        QCOMPARE(form->FrameskipLabel->text(), QString("Frameskip: 2"));
    }
    void settingsFile_data() {
        // The file's lines after [Options]; what shows besides them and Defaults; its stand-in.
        QTest::addColumn<QStringList>("row");
        QTest::newRow("nothing stored") << QStringList{""};
        QTest::newRow("alternate build, additional") << QStringList{
            "OriginalMameOption=False;AlternateMameOption=True;AlternateMameText=mess64;"
            "AdditionalParamCheck=1;AdditionalParamText=-a,-b;FrameskipSlider=4",
            "AlternateMameText.enabled=1;AdditionalParamText.enabled=1;FrameskipSlider=0;"
            "CommandlineLabel=mess64 nes \"game.zip\" -a,-b "};
        QTest::newRow("values, fit and unfit")
            << QStringList{"AlternateMameText=;AdditionalParamCheck=2;AdditionalParamText=-a;"
                           "AudioCombo=2;VideoCombo=2.5;JoyCombo=-1;FrameskipSlider=2;CheatCheck=2;"
                           "FlickerText=-r 1024x768;FlipCombo=4;RotateCombo=-2;BeamCheck=3;"
                           "OriginalMameOption=yes",
                           "VideoCombo=2;FrameskipLabel=Frameskip: 2;FlipCombo=0;RotateCombo=0;"
                           "BeamCheck=0;OriginalMameOption=True"};
        QTest::newRow("spoiled") << QStringList{"garbage;[Options;=nokey;[Options];VideoCombo=2"};
        for (const char* shape : {"pipe", "device", "huge", "unreadable"})
            QTest::newRow(shape) << QStringList{"", "", shape};
    }
    void settingsFile() {
        QFETCH(QStringList, row);
        const QString lines = row.value(0), shownAlso = row.value(1), shape = row.value(2);
        TestPlatform t;
        ScopedEnv config("XDG_CONFIG_HOME", QFile::encodeName(t.elsewhere.path()));
        const QString file = t.elsewhere.filePath("Tallowick/Tallowick.ini"); // the user's own
        if (shape.isEmpty())
            writeBytes(file, "[Options]\n" + QString(lines).replace(';', '\n').toUtf8());
        else // "unreadable": a file where the settings file's folder should be
            makeSpecial(shape == "unreadable" ? QFileInfo(file).path() : file, shape);
        const qint64 size = QFileInfo(file).size(); // a pipe or a huge file is not to be read here
        IniSettingsStore store;
        t.platform.settings = &store;
        auto form = openOn(t); // at once: nothing in the file's place is waited on or read through
        QCOMPARE(t.messages.notices, QStringList(shape.isEmpty() ? 0 : 1, NotSaved));
        form->GamesList->setListIndex(0);
        form->PlayButton_Click(); // the graphics and sound options never reach the command line
        QMap<QString, QString> expected;
        for (const QString& pair : (Defaults + ';' + lines + ';' + shownAlso).split(';'))
            if (pair.indexOf('=') > 0)
                expected[pair.section('=', 0, 0)] = pair.section('=', 1);
        for (auto it = expected.cbegin(); it != expected.cend(); ++it)
            QCOMPARE(it.key() + '=' + shown(*form, it.key()), it.key() + '=' + it.value());
        QVERIFY(shape.isEmpty() || QFileInfo(file).size() == size);
    }
};
QTEST_MAIN(OptionsTest)
#include "tst_options.moc"
