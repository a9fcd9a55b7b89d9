// Options kept between runs.
#include "desktop/inisettings.h"
#include "mainwindow/optionvalues.h"
#include "tests/support/fixture.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest>

namespace {

struct Reading {
    QString text;
    std::optional<bool> truth;
    std::optional<qint64> int16, int32;
};

QString shown(std::optional<qint64> v) {
    return v ? QString::number(*v) : "none";
}

struct Restore {
    QString key, stored;
    QVariant shows;
    QString kept; // the file's, after the start-up
};

struct Blocked {
    QString place; // of the settings file, or its folder
    Special shape;
    QString why;
};

struct Profile {
    TestPlatform t;
    ScopedEnv config{"XDG_CONFIG_HOME", QFile::encodeName(t.elsewhere.path())};
    const QString file = t.elsewhere.filePath("Tallowick/Tallowick.ini");
    std::optional<IniSettingsStore> store;

    QString stored(const QString& key) const {
        return QSettings(file, QSettings::IniFormat).value("Options/" + key).toString();
    }
    auto open() { // a new start
        t.platform.settings = &store.emplace();
        return t.open();
    }
};

} // namespace
Q_DECLARE_METATYPE(Reading)
Q_DECLARE_METATYPE(Restore)
Q_DECLARE_METATYPE(Blocked)

class OptionsTest : public QObject {
    Q_OBJECT
private slots:
    void textsReadAsTruthsOrNumbers_data() {
        QTest::addColumn<Reading>("row");
        const Reading rows[] = {
            {" tRuE ", true, 0, 0},
            {" - 1 2 ", true, -12, -12},
            {"2x", {}, 2, 2},
            {"abc", {}, 0, 0},
            {"2.5", true, 2, 2},
            {"-2.5", true, -2, -2},
            {"1e-400", false, 0, 0},
            {"32767", true, 32767, 32767},
            {"32768", true, {}, 32768},
            {"-32768", true, -32768, -32768},
            {"-32769", true, {}, -32769},
            {"2147483647", true, {}, 2147483647},
            {"2147483648", true, {}, {}},
            {"-2147483649", true, {}, {}},
            {"1e999", true, {}, {}},
        };
        for (const auto& row : rows)
            QTest::newRow(qPrintable(row.text)) << row;
    }
    void textsReadAsTruthsOrNumbers() {
        using namespace OptionValues;
        QFETCH(Reading, row);
        QCOMPARE(shown(readTruth(row.text)), shown(row.truth));
        QCOMPARE(shown(readInt16(row.text)), shown(row.int16));
        QCOMPARE(shown(readInt32(row.text)), shown(row.int32));
    }

    void aChoiceIsKeptForTheNextStart() {
        Profile p;
        QVERIFY(!QFile::exists(p.file));
        auto form = p.open();
        QVERIFY(QFile::exists(p.file));
        QTest::mouseClick(form->AlternateMameOption, Qt::LeftButton);
        QCOMPARE(p.stored("OriginalMameOption"), "False");
        QCOMPARE(p.stored("AlternateMameOption"), "True");
        form.reset();
        form = p.open();
        QVERIFY(form->AlternateMameOption->isChecked());
        QVERIFY(form->AlternateMameText->isEnabled());
        QVERIFY(!form->OriginalMameOption->isChecked());
    }

    // A value that does not fit gives the default; a change writes it back.
    void valuesAtTheEndsOfTheirRanges_data() {
        QTest::addColumn<Restore>("row");
        const Restore rows[] = {
            // each end, and past it
            {"FrameskipSlider", "3", 3, "3"},        {"FrameskipSlider", "4", 0, "4"},
            {"FlipCombo", "-1", "", "-1"},           {"FlipCombo", "3", "X&Y", "3"},
            {"FlipCombo", "4", "Default", "0"},      {"CheatCheck", "2", Qt::PartiallyChecked, "2"},
            {"CheatCheck", "3", Qt::Unchecked, "3"}, {"OriginalMameOption", "yes", true, "yes"},
        };
        for (const auto& row : rows)
            QTest::newRow(qPrintable(row.key + '=' + row.stored)) << row;
    }
    void valuesAtTheEndsOfTheirRanges() {
        QFETCH(Restore, row);
        Profile p;
        QVERIFY(writeBytes(p.file, ("[Options]\n" + row.key + '=' + row.stored).toUtf8()));
        auto form = p.open();
        auto* control = form->findChild<QWidget*>(row.key);
        QVariant shows = control->metaObject()->userProperty().read(control);
        if (auto* check = qobject_cast<QCheckBox*>(control))
            shows = check->checkState();
        QCOMPARE(shows, row.shows);
        QCOMPARE(p.stored(row.key), row.kept);
    }

    void playUsesOnlyTheGeneralOptions() {
        Profile p;
        QVERIFY(p.t.writeSystem("nes", "NES", {"g"}));
        QVERIFY(writeBytes(p.file, "[Options]\nAlternateMameOption=True\nAlternateMameText=mess64\n"
                                   "AdditionalParamCheck=1\nAdditionalParamText=-a,-b\n"
                                   "FrameskipSlider=3\nAudioCombo=8"));
        auto form = p.open();
        QCOMPARE(form->FrameskipLabel->text(), "Frameskip: 3");
        QVERIFY(clickRow(form->GamesList, 0));
        QTest::mouseClick(form->PlayButton, Qt::LeftButton);
        QCOMPARE(form->CommandlineLabel->text(), "mess64 nes \"g\" -a,-b ");
    }

    void aClickNeverMakesACheckBoxGrey() {
        Profile p;
        QVERIFY(writeBytes(p.file, "[Options]\nAdditionalParamCheck=2"));
        auto form = p.open();
        auto* box = form->AdditionalParamCheck;
        QCOMPARE(box->checkState(), Qt::PartiallyChecked);
        QVERIFY2(!form->AdditionalParamText->isEnabled(), "grey leaves the text out");
        for (const char* stored : {"1", "0", "1", "0"}) {
            QTest::mouseClick(box, Qt::LeftButton);
            QCOMPARE(p.stored("AdditionalParamCheck"), stored);
        }
    }

    // Said once, naming the file and why; what is there stays as it was.
    void optionsNotSavedAreSaidOnce_data() {
        QTest::addColumn<Blocked>("row");
        const QString ini = "Tallowick/Tallowick.ini";
        const Blocked rows[] = {
            {ini, Special::Pipe, "it is a named pipe"},
            {"Tallowick", Special::Unreadable, "Not a directory"}, // a regular file
        };
        for (const auto& row : rows)
            QTest::newRow(qPrintable(row.why)) << row;
    }
    void optionsNotSavedAreSaidOnce() {
        QFETCH(Blocked, row);
        Profile p;
        QVERIFY(p.t.writeSystem("nes", "NES", {})); // so the only notice is ours
        QVERIFY(makeSpecial(p.t.elsewhere.filePath(row.place), row.shape));
        const auto before = contentsOf(p.t.elsewhere.path());
        auto form = p.open(); // at once: nothing there is read
        const auto notices = p.t.messages.notices;
        QCOMPARE(notices.size(), 1);
        QVERIFY2(notices[0].startsWith("Your options could not be saved: " + p.file +
                                       " cannot be written: " + row.why + '.'),
                 qPrintable(notices[0]));
        QVERIFY(contentsOf(p.t.elsewhere.path()) == before);
    }
};

QTEST_MAIN(OptionsTest)
#include "tst_options.moc"
