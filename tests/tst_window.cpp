// The main window as created, before its start-up: every control where it belongs, with its
// caption, entries, state and place, and the menus.
#include "mainwindow/form1.h"
#include "platform/twips.h"
#include "tests/support/formfixture.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QSlider>
#include <QtTest>

class WindowTest : public QObject {
    Q_OBJECT
private slots:
    void init() {
        test = std::make_unique<TestPlatform>();
        form = std::make_unique<Form1>(test->platform());
    }
    void cleanup() {
        form.reset();
        test.reset();
    }
    void controls_data();
    void controls();
    void comboEntries_data();
    void comboEntries();
    void menus();
    void fixedWindowShowsOnlyTheUpperFrames();
    void listsSortIgnoringCase();
    void fonts();

private:
    std::unique_ptr<TestPlatform> test;
    std::unique_ptr<Form1> form;
};

static QString captionOf(const QWidget* widget) {
    if (auto* label = qobject_cast<const QLabel*>(widget))
        return label->text();
    if (auto* button = qobject_cast<const QAbstractButton*>(widget))
        return button->text();
    if (auto* edit = qobject_cast<const QLineEdit*>(widget))
        return edit->text();
    if (auto* frame = qobject_cast<const QGroupBox*>(widget))
        return frame->title();
    return {};
}

void WindowTest::controls_data() {
    QTest::addColumn<QString>("container");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QRect>("place"); // twips
    QTest::addColumn<bool>("enabled");
    QTest::addColumn<bool>("hidden");
    QTest::addColumn<QString>("tooltip");
    auto row = [](const char* name, const char* container, const char* caption, QRect place,
                  bool enabled = true, bool hidden = false, const char* tip = "") {
        QTest::newRow(name) << QString(container) << QString::fromUtf8(caption) << place << enabled
                            << hidden << QString(tip);
    };
    const char* client = "Form1Client";
    row("Frame1", client, "", {120, 0, 6732, 4572});
    row("Frame5", client, "General", {6960, 0, 2772, 4572});
    row("Frame2", client, "Graphics", {120, 4920, 6732, 2292});
    row("Frame4", "Frame2", "Vector", {4800, 240, 1692, 1812});
    row("Frame3", client, "Sound", {6960, 4920, 2772, 1692});
    row("Frame6", client, "Joystick", {6960, 6600, 2772, 612});
    row("CheckListCommand", client, "Check list", {3600, 120, 972, 192}, false, true);
    row("SwapListCommand", client, "Swap list", {4680, 120, 972, 192}, false);
    row("GamesListCommand", client, "Update list", {5760, 120, 972, 192});
    row("CommandlineLabel", client, "Debug", {120, 4560, 8052, 252});
    row("INPFile", client, "", {8280, 7320, 1452, 264});
    row("Label16", client, "Disk/rom #2:", {3120, 7680, 1932, 252});
    row("GamesList2", client, "", {3120, 7920, 3132, 1200}, false);
    row("Label14", "Frame1", "Systems:", {120, 120, 3132, 252});
    row("EmulatedSystemList", "Frame1", "", {120, 360, 3132, 4080});
    row("Label15", "Frame1", "Images:", {3480, 120, 3132, 252});
    row("GamesList", "Frame1", "", {3480, 360, 3132, 4080});
    row("OriginalMameOption", "Frame5", "Original MESS", {120, 240, 1332, 252}, true, false,
        "Use original MAME DOS release");
    row("AlternateMameOption", "Frame5", "Altenate build:", {120, 480, 1332, 252}, true, false,
        "Use non-official MAME like PentiuMame...");
    row("AlternateMameText", "Frame5", "Pmame31", {120, 720, 2532, 288}, false);
    row("AdditionalParamCheck", "Frame5", "Additional parameters:", {120, 1200, 1812, 252});
    row("AdditionalParamText", "Frame5", "", {120, 1440, 2532, 288}, false);
    row("CheatCheck", "Frame5", "Enable cheat", {120, 1920, 2532, 252}, false, true,
        "Enable cheat");
    row("Command1", "Frame5", "Playback", {120, 2280, 1212, 252}, false, true, "Play now !");
    row("PlaybackCombo", "Frame5", "", {1440, 2280, 1212, 264}, false, true);
    row("Command2", "Frame5", "Record", {120, 2640, 1212, 252}, false, true, "Play now !");
    row("RecText", "Frame5", "Default", {1440, 2640, 1212, 252}, false, true);
    row("PlayButton", "Frame5", "Play", {120, 4080, 2532, 372}, true, false, "Play now !");
    row("Label7", "Frame2", "Resolution:", {120, 360, 900, 252});
    row("VideoCombo", "Frame2", "", {1080, 360, 1212, 264}, false, false,
        "Choose your prefered res here...");
    row("Label8", "Frame2", "Scanlines:", {2520, 360, 780, 252});
    row("ScanlinesCombo", "Frame2", "", {3360, 360, 1212, 264}, false);
    row("Label4", "Frame2", "Double pixel:", {120, 720, 900, 252});
    row("DoubleCombo", "Frame2", "", {1080, 720, 1212, 264}, false, false,
        "Can make redraws faster but reduce the image...");
    row("Label9", "Frame2", "VESA:", {2520, 720, 780, 252});
    row("VESACombo", "Frame2", "", {3360, 720, 1212, 264}, false);
    row("Label5", "Frame2", "Color depth:", {120, 1080, 900, 252});
    row("DepthCombo", "Frame2", "", {1080, 1080, 1212, 264}, false);
    row("Label10", "Frame2", "VSync:", {2520, 1080, 780, 252});
    row("VSyncCombo", "Frame2", "", {3360, 1080, 1212, 264}, false);
    row("Label6", "Frame2", "VGA Freq.:", {120, 1440, 900, 252});
    row("VGAFreqCombo", "Frame2", "", {1080, 1440, 1212, 264}, false, false,
        "WARNING: Can damage your monitior ! Please read MAME documentation...");
    row("Label11", "Frame2", "Rotate:", {2520, 1440, 780, 252});
    row("RotateCombo", "Frame2", "", {3360, 1440, 1212, 264}, false);
    row("FrameskipLabel", "Frame2", "Frameskip: 0", {120, 1800, 900, 252});
    row("FrameskipSlider", "Frame2", "", {1080, 1800, 1212, 252});
    row("Label12", "Frame2", "Flip:", {2520, 1800, 780, 252});
    row("FlipCombo", "Frame2", "", {3360, 1800, 1212, 264}, false);
    row("Label13", "Frame4", "Antialiasing:", {120, 240, 852, 252});
    row("AntialiasCombo", "Frame4", "", {120, 480, 1452, 264}, false);
    row("BeamCheck", "Frame4", "Beam:", {120, 960, 732, 252}, false);
    row("BeamText", "Frame4", "1.00", {960, 960, 612, 288}, false);
    row("FlickerCheck", "Frame4", "Flicker:", {120, 1320, 852, 252}, false);
    row("FlickerText", "Frame4", "0", {960, 1320, 612, 288}, false);
    row("Label1", "Frame3", "Soundcard:", {120, 360, 852, 252});
    row("AudioCombo", "Frame3", "", {960, 360, 1692, 264}, false, false,
        "Choose SB if you got a SB AWE32 for better results");
    row("Label2", "Frame3", "Sample rate:", {120, 720, 972, 252});
    row("SampleRateCombo", "Frame3", "", {1080, 720, 1212, 264}, false);
    row("Label3", "Frame3", "Bit rate:", {120, 1080, 732, 252});
    row("BitRateCombo", "Frame3", "", {1080, 1080, 1212, 264}, false, false,
        "For the software sound rendering engine not your soundcard...");
    row("SbOplCheck", "Frame3", "Use the SoundBlaster OPL chip", {120, 1440, 2412, 192}, false,
        false, "Faster but less faithful");
    row("JoyCombo", "Frame6", "", {240, 240, 2412, 264}, false);
}

void WindowTest::controls() {
    QFETCH(QString, container);
    QFETCH(QString, caption);
    QFETCH(QRect, place);
    QFETCH(bool, enabled);
    QFETCH(bool, hidden);
    QFETCH(QString, tooltip);
    const QString name = QString::fromLatin1(QTest::currentDataTag());
    auto* widget = form->findChild<QWidget*>(name);
    QVERIFY2(widget, qPrintable(name));
    QCOMPARE(widget->parentWidget()->objectName(), container);
    QCOMPARE(captionOf(widget), caption);
    const qreal dpi = form->screen()->logicalDotsPerInch();
    QCOMPARE(widget->geometry(),
             twipsRect(place.x(), place.y(), place.width(), place.height(), dpi));
    QCOMPARE(widget->isEnabled(), enabled);
    QCOMPARE(widget->isHidden(), hidden);
    QCOMPARE(widget->toolTip(), tooltip);
    if (auto* check = qobject_cast<QCheckBox*>(widget))
        QCOMPARE(check->checkState(), Qt::Unchecked);
}

void WindowTest::comboEntries_data() {
    QTest::addColumn<QStringList>("entries");
    QTest::newRow("VideoCombo") << QStringList{"Default [Auto]", "320x240", "400x300", "512x384",
                                               "640x480",        "800x600", "1024x768"};
    QTest::newRow("DoubleCombo") << QStringList{"Default [Auto]", "Yes", "No"};
    QTest::newRow("DepthCombo") << QStringList{"Default [16bit]", "8bit [256]", "16bit [65k]"};
    QTest::newRow("VGAFreqCombo") << QStringList{"Default [0]", "1", "2", "3"};
    QTest::newRow("ScanlinesCombo") << QStringList{"Default", "Scanlines", "No scanlines"};
    QTest::newRow("VESACombo") << QStringList{"Default", "VESA", "No VESA"};
    QTest::newRow("VSyncCombo") << QStringList{"Default", "VSync", "No VSync"};
    QTest::newRow("RotateCombo") << QStringList{"Default", "No rotate", "Clockwise",
                                                "Anit-clockwise"};
    QTest::newRow("FlipCombo") << QStringList{"Default", "X only", "Y only", "X&Y"};
    QTest::newRow("AntialiasCombo") << QStringList{"Default", "Antialias", "No Antialias"};
    QTest::newRow("AudioCombo") << QStringList{
        "Ask Interactively",  "Silence",        "Sound Blaster", "Sound Blaster AWE32",
        "Pro Audio Spectrum", "Ultrasound MAX", "Ultrasound",    "Windows Sound System",
        "Ensoniq Soundscape"};
    QTest::newRow("SampleRateCombo")
        << QStringList{"Default", "11,025 kHz", "22,050 kHz", "44,100 kHz"};
    QTest::newRow("BitRateCombo") << QStringList{"Default", "8 bits", "16 bits"};
    QTest::newRow("JoyCombo") << QStringList{"Default",
                                             "No Joystick",
                                             "Normal 2 button",
                                             "CH Flightstick Pro",
                                             "Stick/Pad with 4 buttons",
                                             "Stick/Pad with 6 buttons",
                                             "Dual joysticks",
                                             "Wingman Extreme or Warrior"};
    QTest::newRow("PlaybackCombo") << QStringList{};
}

void WindowTest::comboEntries() {
    QFETCH(QStringList, entries);
    auto* combo = form->findChild<QComboBox*>(QString::fromLatin1(QTest::currentDataTag()));
    QVERIFY(combo);
    QStringList actual;
    for (int i = 0; i < combo->count(); ++i)
        actual << combo->itemText(i);
    QCOMPARE(actual, entries);
    QCOMPARE(combo->currentIndex(), -1);
    QVERIFY(!combo->isEditable());
}

void WindowTest::menus() {
    auto captions = [](const QMenu* menu) {
        QStringList items;
        for (const QAction* action : menu->actions())
            items << (action->isSeparator() ? QStringLiteral("-") : action->text());
        return items;
    };
    QStringList bar;
    for (const QAction* action : form->menuBar()->actions())
        bar << action->text();
    QCOMPARE(bar, (QStringList{"File", "Help"}));
    QCOMPARE(captions(form->FileMenu), QStringList{"Update systems"});
    QCOMPARE(captions(form->HelpMenu), (QStringList{"Help", "Haverlyn", "-", "About..."}));
    QCOMPARE(form->HelpMenu->actions().at(1)->menu(), form->InternetMenu);
    QCOMPARE(captions(form->InternetMenu), (QStringList{"Go to website", "Send email"}));
    QCOMPARE(form->rien2->objectName(), QStringLiteral("rien2"));
    for (QAction* item : {form->UpdateSystemsMenu, form->ReadHelpMenu, form->WebMenu,
                          form->EmailMenu, form->AboutMenu}) {
        QVERIFY(item->isEnabled() && item->isVisible());
        QVERIFY(item->shortcut().isEmpty());
        QVERIFY(!item->isCheckable());
    }
}

void WindowTest::fixedWindowShowsOnlyTheUpperFrames() {
    form->show();
    QVERIFY(QTest::qWaitForWindowExposed(form.get()));
    QCOMPARE(form->windowTitle(), QStringLiteral("Tallowick"));
    QCOMPARE(form->minimumSize(), form->maximumSize());
    QVERIFY(!(form->windowFlags() & Qt::WindowMaximizeButtonHint));
    QVERIFY(!(form->windowFlags() & Qt::WindowMinimizeButtonHint));
    const QWidget* client = form->centralWidget();
    const QRect visible = client->rect();
    for (const char* name : {"Frame2", "Frame3", "Frame6", "INPFile", "Label16", "GamesList2"}) {
        auto* widget = form->findChild<QWidget*>(QLatin1String(name));
        const QRect place(widget->mapTo(client, QPoint(0, 0)), widget->size());
        QVERIFY2(!visible.intersects(place), name);
    }
    for (const char* name : {"Frame1", "Frame5"}) {
        auto* widget = form->findChild<QWidget*>(QLatin1String(name));
        QVERIFY2(visible.contains(widget->geometry()), name);
    }
    // Only the top of the command-line label lies inside: its text sits on the bottom edge.
    QVERIFY(form->CommandlineLabel->geometry().top() < visible.bottom());
    QVERIFY(form->CommandlineLabel->geometry().bottom() > visible.bottom());
}

void WindowTest::listsSortIgnoringCase() {
    form->GamesList->clear();
    for (const char* entry : {"Zebra", "apple", "Mango"})
        form->GamesList->addItem(QLatin1String(entry));
    QCOMPARE(form->GamesList->items(), (QStringList{"apple", "Mango", "Zebra"}));
    QCOMPARE(form->GamesList->tag(), QStringLiteral("Full"));
    QCOMPARE(form->GamesList->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
    const QStringList placeholders{"123456789012345678901234567890123456789012345678901234567890",
                                   "games"};
    QCOMPARE(form->EmulatedSystemList->items(), placeholders);
    QCOMPARE(form->GamesList2->items(), QStringList{"Not working"});
    QCOMPARE(form->Frame1->title(), QString());
}

void WindowTest::fonts() {
    for (const QWidget* list : std::initializer_list<const QWidget*>{
             form->EmulatedSystemList, form->GamesList, form->AlternateMameText,
             form->AdditionalParamText, form->BeamText, form->FlickerText}) {
        QVERIFY2(QFontInfo(list->font()).fixedPitch(), qPrintable(list->objectName()));
        QCOMPARE(list->font().pointSizeF(), 9.6);
    }
    QCOMPARE(form->PlayButton->font().pointSizeF(), 10.2);
    QVERIFY(form->PlayButton->font().bold());
    QCOMPARE(form->CommandlineLabel->font().pointSizeF(), 6.0);
    QCOMPARE(form->AudioCombo->font().pointSizeF(), 7.2);
    QCOMPARE(form->Label14->font().pointSizeF(), 7.8);
}

QTEST_MAIN(WindowTest)
#include "tst_window.moc"
