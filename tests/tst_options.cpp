// The options kept between runs, through the real main window: what a first start writes, how
// stored texts are read back, what an unwritable store does, and that the hidden options never
// reach the command line.
#include "mainwindow/optionvalues.h"
#include "platform/inisettings.h"
#include "platform/qtplatform.h"
#include "tests/support/formfixture.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QtTest>
#include <unistd.h>

namespace {

const QString Options = QStringLiteral("Options");

// One system with one game, so that the start-up has nothing to complain about.
void prepareFolder(const TestPlatform& test) {
    test.writeFile("Tallowick.sys", oldLayoutListing({{"nes", "Nintendo Entertainment System"}}));
    test.writeFile("ROMS/nes/game.zip", "image");
}

std::unique_ptr<Form1> openWith(TestPlatform& test, SettingsStore& store) {
    Platform platform = test.platform();
    platform.settings = &store;
    auto form = std::make_unique<Form1>(platform);
    form->Form_Load();
    return form;
}

// What a control holds, in the store's terms.
QString shown(const Form1& form, const QString& key) {
    QWidget* control = form.findChild<QWidget*>(key);
    if (auto* button = qobject_cast<QRadioButton*>(control))
        return button->isChecked() ? "True" : "False";
    if (auto* text = qobject_cast<QLineEdit*>(control))
        return text->text();
    if (auto* slider = qobject_cast<QSlider*>(control))
        return QString::number(slider->value());
    if (auto* check = qobject_cast<QCheckBox*>(control)) // 0 clear, 1 ticked, 2 grey
        return QString::number(check->checkState() == Qt::Checked            ? 1
                               : check->checkState() == Qt::PartiallyChecked ? 2
                                                                             : 0);
    if (auto* combo = qobject_cast<QComboBox*>(control))
        return QString::number(combo->currentIndex());
    return "no such control";
}

const char* const HiddenKeys[] = {
    "VideoCombo",      "AudioCombo",   "DoubleCombo",    "DepthCombo",  "VGAFreqCombo",
    "ScanlinesCombo",  "VESACombo",    "VSyncCombo",     "RotateCombo", "FlipCombo",
    "SampleRateCombo", "BitRateCombo", "AntialiasCombo", "JoyCombo",    "FrameskipSlider",
    "CheatCheck",      "BeamCheck",    "FlickerCheck",   "SbOplCheck",  "BeamText",
    "FlickerText"};

} // namespace

class OptionsTest : public QObject {
    Q_OBJECT
private slots:
    void emptyStoreGivesDefaults() {
        TestPlatform test;
        prepareFolder(test);
        auto form = openForm(test);
        QHash<QString, QString> expected;
        for (const OptionKey& option : optionTable()) {
            QCOMPARE(shown(*form, option.key), QString(option.defaultText));
            if (option.kind == OptionKind::ComboBox)
                expected.insert(Options + '/' + option.key, "0");
        }
        expected.insert("Options/AlternateMameText", "pmame31");
        expected.insert("Options/AdditionalParamText", "Nothing !");
        QCOMPARE(test.settings.writes.size(), expected.size());
        QCOMPARE(test.settings.values, expected);
        QVERIFY(!form->AlternateMameText->isEnabled());
        QVERIFY(!form->AdditionalParamText->isEnabled());
        QCOMPARE(form->FrameskipLabel->text(), QString("Frameskip: 0"));
        QVERIFY(test.messages.notices.isEmpty());
    }

    // truth: 1 true, 0 false, -1 unfit. number: -99 stands for unfit.
    void storedTextsConvert_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("truth");
        QTest::addColumn<int>("number");
        QTest::newRow("True") << "True" << 1 << 0;
        QTest::newRow("false") << "false" << 0 << 0;
        QTest::newRow("0") << "0" << 0 << 0;
        QTest::newRow("7") << "7" << 1 << 7;
        QTest::newRow("abc") << "abc" << -1 << 0;
        QTest::newRow("blanks inside") << " 1 2" << 1 << 12;
        QTest::newRow("1.5") << "1.5" << 1 << 2;
        QTest::newRow("2.5") << "2.5" << 1 << 2;
        QTest::newRow("3.5") << "3.5" << 1 << 4;
        QTest::newRow("-1") << "-1" << 1 << -1;
        QTest::newRow("40000") << "40000" << 1 << -99;
        QTest::newRow("32767.5") << "32767.5" << 1 << -99;
        QTest::newRow("empty") << "" << -1 << 0;
        QTest::newRow("trailing letters") << "2x" << -1 << 2;
        QTest::newRow("tiny exponent") << "1e-400" << 0 << 0;
        QTest::newRow("huge exponent") << "-1e999" << 1 << -99;
        QTest::newRow("past 64 bits") << "99999999999999999999" << 1 << -99;
    }

    void storedTextsConvert() {
        QFETCH(QString, text);
        QFETCH(int, truth);
        QFETCH(int, number);
        const auto readTruth = OptionValues::readTruth(text);
        QCOMPARE(readTruth.has_value() ? int(*readTruth) : -1, truth);
        const auto readNumber = OptionValues::readInt16(text);
        QCOMPARE(readNumber ? int(*readNumber) : -99, number);

        // Through the window: each kind takes the value when it fits, else its default.
        const auto fitsOrZero = [&](int low, int high) {
            return QString::number(number >= low && number <= high ? number : 0);
        };
        for (const char* button : {"OriginalMameOption", "AlternateMameOption"}) {
            TestPlatform test;
            prepareFolder(test);
            for (const char* key : {button, "AudioCombo", "FrameskipSlider", "CheatCheck"})
                test.settings.set(Options, key, text);
            auto form = openForm(test);
            const bool fallback = qstrcmp(button, "OriginalMameOption") == 0;
            QCOMPARE(shown(*form, button),
                     truth < 0 ? (fallback ? "True" : "False") : (truth ? "True" : "False"));
            QCOMPARE(shown(*form, "AudioCombo"), fitsOrZero(-1, 8));
            QCOMPARE(shown(*form, "FrameskipSlider"), fitsOrZero(0, 3));
            QCOMPARE(shown(*form, "CheatCheck"), fitsOrZero(0, 2));
            // A value the control changed to is written back as the control now holds it.
            QCOMPARE(test.settings.value(Options, "AudioCombo"), shown(*form, "AudioCombo"));
        }
    }

    void anyStoredTextOpensTheWindow_data() {
        QTest::addColumn<QString>("text");
        for (const char* text :
             {"", "-", ".", "e5", "nan", "inf", "--1", "+-1", "\xef\xbc\x91", "\xc2\xa0", "&H10"})
            QTest::newRow(text) << QString::fromUtf8(text);
    }

    void anyStoredTextOpensTheWindow() {
        QFETCH(QString, text);
        TestPlatform test;
        prepareFolder(test);
        for (const OptionKey& option : optionTable())
            test.settings.set(Options, option.key, text);
        auto form = openForm(test);
        for (const OptionKey& option : optionTable()) {
            const bool takesAnyText = option.kind == OptionKind::TextBox;
            QCOMPARE(shown(*form, option.key), takesAnyText ? text : QString(option.defaultText));
        }
    }

    void unfitValueRestoresDefault_data() {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("text");
        QTest::newRow("combo past its entries") << "VideoCombo"
                                                << "7";
        QTest::newRow("combo below none") << "JoyCombo"
                                          << "-2";
        QTest::newRow("slider past 3") << "FrameskipSlider"
                                       << "4";
        QTest::newRow("slider below 0") << "FrameskipSlider"
                                        << "-1";
        QTest::newRow("check box 3") << "SbOplCheck"
                                     << "3";
        QTest::newRow("option button word") << "OriginalMameOption"
                                            << "yes";
        QTest::newRow("option button number and word") << "AlternateMameOption"
                                                       << "1 a";
    }

    void unfitValueRestoresDefault() {
        QFETCH(QString, key);
        QFETCH(QString, text);
        TestPlatform test;
        prepareFolder(test);
        test.settings.set(Options, key, text);
        auto form = openForm(test);
        for (const OptionKey& option : optionTable())
            QCOMPARE(shown(*form, option.key), QString(option.defaultText));
        form->show();
        QVERIFY(QTest::qWaitForWindowExposed(form.get()));
    }

    void reactionsWriteTheirKeys() {
        TestPlatform test;
        prepareFolder(test);
        auto form = openForm(test);
        using Writes = QList<QPair<QString, QString>>;
        test.settings.writes.clear();
        form->AlternateMameOption->click();
        QVERIFY(form->AlternateMameText->isEnabled());
        form->OriginalMameOption->click();
        QVERIFY(!form->AlternateMameText->isEnabled());
        QCOMPARE(test.settings.writes, (Writes{{"Options/OriginalMameOption", "False"},
                                               {"Options/AlternateMameOption", "True"},
                                               {"Options/OriginalMameOption", "True"},
                                               {"Options/AlternateMameOption", "False"}}));

        test.settings.writes.clear();
        for (Qt::CheckState state :
             {Qt::Checked, Qt::PartiallyChecked, Qt::Unchecked, Qt::Checked}) {
            form->AdditionalParamCheck->setCheckState(state);
            QCOMPARE(form->AdditionalParamText->isEnabled(), state == Qt::Checked);
        }
        form->FrameskipSlider->setValue(3);
        QCOMPARE(form->FrameskipLabel->text(), QString("Frameskip: 3"));
        // Typing writes the whole text at every key, blanks and all.
        QTest::keyClicks(form->AdditionalParamText, " x ");
        QCOMPARE(test.settings.writes, (Writes{{"Options/AdditionalParamCheck", "1"},
                                               {"Options/AdditionalParamCheck", "2"},
                                               {"Options/AdditionalParamCheck", "0"},
                                               {"Options/AdditionalParamCheck", "1"},
                                               {"Options/FrameskipSlider", "3"},
                                               {"Options/AdditionalParamText", "Nothing ! "},
                                               {"Options/AdditionalParamText", "Nothing ! x"},
                                               {"Options/AdditionalParamText", "Nothing ! x "}}));
    }

    void roundTripThroughIniFile() {
        TestPlatform test;
        prepareFolder(test);
        const QString file = test.path("config/Tallowick.ini");
        // Each change, and the line the file holds right after it, before any store is closed.
        const QList<QPair<std::function<void(Form1&)>, QByteArray>> changes{
            {[](Form1& f) { f.AlternateMameOption->click(); }, "AlternateMameOption=True\n"},
            {[](Form1& f) { f.AlternateMameText->clear(); }, "AlternateMameText=\n"},
            {[](Form1& f) { f.AdditionalParamCheck->click(); }, "AdditionalParamCheck=1\n"},
            {[](Form1& f) { f.AdditionalParamText->setText(" -nosound "); },
             "AdditionalParamText=\" -nosound \"\n"},
            {[](Form1& f) { f.BeamText->setText("2.5"); }, "BeamText=2.5\n"},
            {[](Form1& f) { f.FrameskipSlider->setValue(2); }, "FrameskipSlider=2\n"},
            {[](Form1& f) { f.CheatCheck->setCheckState(Qt::PartiallyChecked); }, "CheatCheck=2\n"},
            {[](Form1& f) { f.VideoCombo->setCurrentIndex(6); }, "VideoCombo=6\n"},
            {[](Form1& f) { f.JoyCombo->setCurrentIndex(-1); }, "JoyCombo=-1\n"},
        };
        {
            IniSettingsStore store(file);
            auto form = openWith(test, store);
            for (const auto& [change, line] : changes) {
                change(*form);
                QVERIFY2(fileBytes(file).contains(line), line.constData());
            }
        }
        IniSettingsStore store(file);
        auto form = openWith(test, store);
        const QHash<QString, QString> expected{{"OriginalMameOption", "False"},
                                               {"AlternateMameOption", "True"},
                                               {"AlternateMameText", ""},
                                               {"AdditionalParamCheck", "1"},
                                               {"AdditionalParamText", " -nosound "},
                                               {"BeamText", "2.5"},
                                               {"FrameskipSlider", "2"},
                                               {"CheatCheck", "2"},
                                               {"VideoCombo", "6"},
                                               {"JoyCombo", "-1"}};
        for (const OptionKey& option : optionTable())
            QCOMPARE(shown(*form, option.key), expected.value(option.key, option.defaultText));
        QVERIFY(form->AlternateMameText->isEnabled());
        QVERIFY(form->AdditionalParamText->isEnabled());
        QCOMPARE(form->FrameskipLabel->text(), QString("Frameskip: 2"));
        QVERIFY(test.messages.notices.isEmpty());
    }

    void hiddenOptionsLeaveCommandLineAlone_data() {
        QTest::addColumn<QStringList>("values"); // one per hidden key, in HiddenKeys' order
        QTest::newRow("lowest") << QStringList{"0", "0", "0", "0", "0", "0", "0",
                                               "0", "0", "0", "0", "0", "0", "0",
                                               "0", "0", "0", "0", "0", "0", "0"};
        QTest::newRow("highest") << QStringList{"6", "8", "2", "2", "3", "2",   "2",
                                                "2", "3", "3", "3", "2", "2",   "7",
                                                "3", "1", "1", "1", "1", "3.0", "0.5"};
        QTest::newRow("none and grey")
            << QStringList{"-1", "-1", "1",  "1", "-1", "1", "1", "1", "2", "1",          "-1",
                           "1",  "1",  "-1", "1", "2",  "2", "2", "2", "",  "-r 1024x768"};
    }

    void hiddenOptionsLeaveCommandLineAlone() {
        QFETCH(QStringList, values);
        const auto commandLine = [](TestPlatform& test) {
            auto form = openForm(test);
            form->GamesList->setListIndex(0);
            form->PlayButton->click();
            return form->CommandlineLabel->text();
        };
        TestPlatform plain;
        prepareFolder(plain);
        const QString expected = commandLine(plain);
        QCOMPARE(expected, QString("MESS nes \"game.zip\" "));

        TestPlatform test;
        prepareFolder(test);
        for (int i = 0; i < values.size(); ++i)
            test.settings.set(Options, HiddenKeys[i], values.at(i));
        QCOMPARE(commandLine(test), expected);
        auto form = openForm(test); // the values were really taken
        for (int i = 0; i < values.size(); ++i)
            QCOMPARE(shown(*form, HiddenKeys[i]), values.at(i));
    }

    void unwritableStoreShowsOneMessage_data() {
        QTest::addColumn<QString>("where"); // "memory", "under a file", "read-only folder"
        QTest::newRow("store refuses") << "memory";
        QTest::newRow("INI path runs through a file") << "under a file";
        QTest::newRow("INI in a read-only folder") << "read-only folder";
    }

    void unwritableStoreShowsOneMessage() {
        QFETCH(QString, where);
        TestPlatform test;
        prepareFolder(test);
        std::unique_ptr<IniSettingsStore> ini;
        if (where == "memory") {
            test.settings.failWrites = true;
        } else if (where == "under a file") {
            test.writeFile("plain", "");
            ini = std::make_unique<IniSettingsStore>(test.path("plain/Tallowick.ini"));
        } else {
            if (geteuid() == 0)
                QSKIP("Running as root: a read-only folder does not stop root's writes.");
            test.makeFolder("locked");
            QFile::setPermissions(test.path("locked"), QFile::ReadOwner | QFile::ExeOwner);
            ini = std::make_unique<IniSettingsStore>(test.path("locked/Tallowick.ini"));
        }
        auto form = ini ? openWith(test, *ini) : openForm(test);
        form->AlternateMameOption->click();
        form->VideoCombo->setCurrentIndex(2);
        form->GamesList_MouseDown(Qt::LeftButton); // the games section fails alike
        QCOMPARE(test.messages.notices.size(), 1);
        QVERIFY(test.messages.notices.first().contains("could not be saved"));
        QCOMPARE(shown(*form, "VideoCombo"), QString("2")); // the window goes on as it is
        QFile::setPermissions(test.path("locked"),
                              QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
};

QTEST_MAIN(OptionsTest)
#include "tst_options.moc"
