// The window as created: every control with its caption, entries, tooltip, font, state and
// place. Places are in twips, so the layout keeps its proportions at any screen resolution.
#include "desktop/windowlook.h"
#include "mainwindow/form1.h"
#include "mainwindow/twostatecheckbox.h"
#include "platform/twips.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>

namespace {

// Creates a named control in its container at a place given in twips.
class Placer {
public:
    explicit Placer(qreal dpi) : m_dpi(dpi) {}

    template <typename W, typename... Args>
    W* make(QWidget* container, const char* name, int left, int top, int width, int height,
            Args&&... args) const {
        auto* widget = new W(std::forward<Args>(args)..., container);
        widget->setObjectName(QLatin1String(name));
        widget->setGeometry(twipsRect(left, top, width, height, m_dpi));
        widget->setFont(tahoma(7.8));
        return widget;
    }

    // Labels show their text as it is: the command line label shows file names, and a name
    // such as "<u>Under & over.nes" is not markup.
    QLabel* label(QWidget* container, const char* name, const char* caption, int left, int top,
                  int width, int height = 252) const {
        auto* label =
            make<QLabel>(container, name, left, top, width, height, QString::fromUtf8(caption));
        label->setTextFormat(Qt::PlainText);
        return label;
    }

    QComboBox* combo(QWidget* container, const char* name, const QStringList& entries, int left,
                     int top, int width = 1212, int height = 264, const char* tip = "") const {
        auto* box = make<QComboBox>(container, name, left, top, width, height);
        box->setFont(tahoma(7.2));
        box->addItems(entries);
        box->setCurrentIndex(-1);
        box->setToolTip(QString::fromUtf8(tip));
        box->setEnabled(false);
        return box;
    }

    QGroupBox* frame(QWidget* container, const char* name, const char* caption, int left, int top,
                     int width, int height) const {
        return make<QGroupBox>(container, name, left, top, width, height,
                               QString::fromUtf8(caption));
    }

    qreal dpi() const { return m_dpi; }

private:
    qreal m_dpi;
};

} // namespace

void Form1::CreateMenus() {
    auto action = [](QMenu* menu, const char* name, const char* caption) {
        QAction* item = menu->addAction(QString::fromUtf8(caption));
        item->setObjectName(QLatin1String(name));
        return item;
    };
    FileMenu = menuBar()->addMenu(QStringLiteral("File"));
    FileMenu->setObjectName(QStringLiteral("FileMenu"));
    UpdateSystemsMenu = action(FileMenu, "UpdateSystemsMenu", "Update systems");

    HelpMenu = menuBar()->addMenu(QStringLiteral("Help"));
    HelpMenu->setObjectName(QStringLiteral("HelpMenu"));
    ReadHelpMenu = action(HelpMenu, "ReadHelpMenu", "Help");
    InternetMenu = HelpMenu->addMenu(QStringLiteral("Haverlyn"));
    InternetMenu->setObjectName(QStringLiteral("InternetMenu"));
    WebMenu = action(InternetMenu, "WebMenu", "Go to website");
    EmailMenu = action(InternetMenu, "EmailMenu", "Send email");
    rien2 = HelpMenu->addSeparator();
    rien2->setObjectName(QStringLiteral("rien2"));
    AboutMenu = action(HelpMenu, "AboutMenu", "About...");
}

void Form1::CreateControls() {
    const Placer at(screenDpi());
    auto* client = new QWidget(this);
    client->setObjectName(QStringLiteral("Form1Client"));
    client->setFixedSize(twipsToPixels(9864, at.dpi()), twipsToPixels(4692, at.dpi()));
    setCentralWidget(client);

    // The lists.
    Frame1 = at.frame(client, "Frame1", "", 120, 0, 6732, 4572);
    Label14 = at.label(Frame1, "Label14", "Systems:", 120, 120, 3132);
    EmulatedSystemList = at.make<SortedListBox>(Frame1, "EmulatedSystemList", 120, 360, 3132, 4080);
    EmulatedSystemList->setFont(courier());
    Line1 = at.make<QFrame>(Frame1, "Line1", 3360, 240, 15, 4080);
    Line1->setFrameShape(QFrame::VLine);
    Line1->setForegroundRole(QPalette::PlaceholderText);
    Label15 = at.label(Frame1, "Label15", "Images:", 3480, 120, 3132);
    GamesList = at.make<SortedListBox>(Frame1, "GamesList", 3480, 360, 3132, 4080);
    GamesList->setFont(courier());
    GamesList->setTag(QStringLiteral("Full"));
    for (SortedListBox* list : {EmulatedSystemList, GamesList})
        list->setItems(
            {QStringLiteral("123456789012345678901234567890123456789012345678901234567890"),
             QStringLiteral("games")},
            true);

    // On the window, over the lists' frame and below the visible area.
    CheckListCommand = at.make<QPushButton>(client, "CheckListCommand", 3600, 120, 972, 192,
                                            QStringLiteral("Check list"));
    CheckListCommand->setEnabled(false);
    CheckListCommand->setVisible(false);
    SwapListCommand = at.make<QPushButton>(client, "SwapListCommand", 4680, 120, 972, 192,
                                           QStringLiteral("Swap list"));
    SwapListCommand->setEnabled(false);
    GamesListCommand = at.make<QPushButton>(client, "GamesListCommand", 5760, 120, 972, 192,
                                            QStringLiteral("Update list"));
    CommandlineLabel = at.label(client, "CommandlineLabel", "Debug", 120, 4560, 8052);
    CommandlineLabel->setFont(tahoma(6));
    CommandlineLabel->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    INPFile = at.make<FileListBox>(client, "INPFile", 8280, 7320, 1452, 264);
    Label16 = at.label(client, "Label16", "Disk/rom #2:", 3120, 7680, 1932);
    GamesList2 = at.make<SortedListBox>(client, "GamesList2", 3120, 7920, 3132, 1200);
    GamesList2->setItems({QStringLiteral("Not working")}, true);
    GamesList2->setEnabled(false);

    // "General".
    Frame5 = at.frame(client, "Frame5", "General", 6960, 0, 2772, 4572);
    OriginalMameOption = at.make<QRadioButton>(Frame5, "OriginalMameOption", 120, 240, 1332, 252,
                                               QStringLiteral("Original MESS"));
    OriginalMameOption->setToolTip(QStringLiteral("Use original MAME DOS release"));
    OriginalMameOption->setChecked(true);
    AlternateMameOption = at.make<QRadioButton>(Frame5, "AlternateMameOption", 120, 480, 1332, 252,
                                                QStringLiteral("Altenate build:"));
    AlternateMameOption->setToolTip(QStringLiteral("Use non-official MAME like PentiuMame..."));
    AlternateMameText = at.make<QLineEdit>(Frame5, "AlternateMameText", 120, 720, 2532, 288,
                                           QStringLiteral("Pmame31"));
    AlternateMameText->setEnabled(false);
    AdditionalParamCheck =
        at.make<TwoStateCheckBox>(Frame5, "AdditionalParamCheck", 120, 1200, 1812, 252,
                                  QStringLiteral("Additional parameters:"));
    AdditionalParamText = at.make<QLineEdit>(Frame5, "AdditionalParamText", 120, 1440, 2532, 288);
    AdditionalParamText->setEnabled(false);
    CheatCheck = at.make<TwoStateCheckBox>(Frame5, "CheatCheck", 120, 1920, 2532, 252,
                                           QStringLiteral("Enable cheat"));
    CheatCheck->setToolTip(QStringLiteral("Enable cheat"));
    Command1 =
        at.make<QPushButton>(Frame5, "Command1", 120, 2280, 1212, 252, QStringLiteral("Playback"));
    PlaybackCombo = at.combo(Frame5, "PlaybackCombo", {}, 1440, 2280);
    Command2 =
        at.make<QPushButton>(Frame5, "Command2", 120, 2640, 1212, 252, QStringLiteral("Record"));
    RecText =
        at.make<QLineEdit>(Frame5, "RecText", 1440, 2640, 1212, 252, QStringLiteral("Default"));
    RecText->setFont(tahoma(7.2));
    for (QWidget* hidden :
         std::initializer_list<QWidget*>{CheatCheck, Command1, PlaybackCombo, Command2, RecText}) {
        hidden->setEnabled(false);
        hidden->setVisible(false);
    }
    for (QPushButton* button : {Command1, Command2}) {
        button->setFont(tahoma(7.8, true));
        button->setToolTip(QStringLiteral("Play now !"));
    }
    PlayButton =
        at.make<QPushButton>(Frame5, "PlayButton", 120, 4080, 2532, 372, QStringLiteral("Play"));
    PlayButton->setFont(tahoma(10.2, true));
    PlayButton->setToolTip(QStringLiteral("Play now !"));

    // "Graphics": label and control pairs in two columns.
    Frame2 = at.frame(client, "Frame2", "Graphics", 120, 4920, 6732, 2292);
    Label7 = at.label(Frame2, "Label7", "Resolution:", 120, 360, 900);
    VideoCombo = at.combo(
        Frame2, "VideoCombo",
        {"Default [Auto]", "320x240", "400x300", "512x384", "640x480", "800x600", "1024x768"}, 1080,
        360, 1212, 264, "Choose your prefered res here...");
    Label8 = at.label(Frame2, "Label8", "Scanlines:", 2520, 360, 780);
    ScanlinesCombo =
        at.combo(Frame2, "ScanlinesCombo", {"Default", "Scanlines", "No scanlines"}, 3360, 360);
    Label4 = at.label(Frame2, "Label4", "Double pixel:", 120, 720, 900);
    DoubleCombo = at.combo(Frame2, "DoubleCombo", {"Default [Auto]", "Yes", "No"}, 1080, 720, 1212,
                           264, "Can make redraws faster but reduce the image...");
    Label9 = at.label(Frame2, "Label9", "VESA:", 2520, 720, 780);
    VESACombo = at.combo(Frame2, "VESACombo", {"Default", "VESA", "No VESA"}, 3360, 720);
    Label5 = at.label(Frame2, "Label5", "Color depth:", 120, 1080, 900);
    DepthCombo = at.combo(Frame2, "DepthCombo", {"Default [16bit]", "8bit [256]", "16bit [65k]"},
                          1080, 1080);
    Label10 = at.label(Frame2, "Label10", "VSync:", 2520, 1080, 780);
    VSyncCombo = at.combo(Frame2, "VSyncCombo", {"Default", "VSync", "No VSync"}, 3360, 1080);
    Label6 = at.label(Frame2, "Label6", "VGA Freq.:", 120, 1440, 900);
    VGAFreqCombo =
        at.combo(Frame2, "VGAFreqCombo", {"Default [0]", "1", "2", "3"}, 1080, 1440, 1212, 264,
                 "WARNING: Can damage your monitior ! Please read MAME documentation...");
    Label11 = at.label(Frame2, "Label11", "Rotate:", 2520, 1440, 780);
    RotateCombo = at.combo(Frame2, "RotateCombo",
                           {"Default", "No rotate", "Clockwise", "Anit-clockwise"}, 3360, 1440);
    FrameskipLabel = at.label(Frame2, "FrameskipLabel", "Frameskip: 0", 120, 1800, 900);
    FrameskipSlider =
        at.make<QSlider>(Frame2, "FrameskipSlider", 1080, 1800, 1212, 252, Qt::Horizontal);
    FrameskipSlider->setRange(0, 3);
    FrameskipSlider->setPageStep(1);
    FrameskipSlider->setTickPosition(QSlider::TicksBelow);
    Label12 = at.label(Frame2, "Label12", "Flip:", 2520, 1800, 780);
    FlipCombo = at.combo(Frame2, "FlipCombo", {"Default", "X only", "Y only", "X&Y"}, 3360, 1800);

    // "Vector", inside "Graphics".
    Frame4 = at.frame(Frame2, "Frame4", "Vector", 4800, 240, 1692, 1812);
    Label13 = at.label(Frame4, "Label13", "Antialiasing:", 120, 240, 852);
    AntialiasCombo = at.combo(Frame4, "AntialiasCombo", {"Default", "Antialias", "No Antialias"},
                              120, 480, 1452, 264);
    BeamCheck =
        at.make<TwoStateCheckBox>(Frame4, "BeamCheck", 120, 960, 732, 252, QStringLiteral("Beam:"));
    BeamText = at.make<QLineEdit>(Frame4, "BeamText", 960, 960, 612, 288, QStringLiteral("1.00"));
    FlickerCheck = at.make<TwoStateCheckBox>(Frame4, "FlickerCheck", 120, 1320, 852, 252,
                                             QStringLiteral("Flicker:"));
    FlickerText =
        at.make<QLineEdit>(Frame4, "FlickerText", 960, 1320, 612, 288, QStringLiteral("0"));

    // "Sound".
    Frame3 = at.frame(client, "Frame3", "Sound", 6960, 4920, 2772, 1692);
    Label1 = at.label(Frame3, "Label1", "Soundcard:", 120, 360, 852);
    AudioCombo =
        at.combo(Frame3, "AudioCombo",
                 {"Ask Interactively", "Silence", "Sound Blaster", "Sound Blaster AWE32",
                  "Pro Audio Spectrum", "Ultrasound MAX", "Ultrasound", "Windows Sound System",
                  "Ensoniq Soundscape"},
                 960, 360, 1692, 264, "Choose SB if you got a SB AWE32 for better results");
    Label2 = at.label(Frame3, "Label2", "Sample rate:", 120, 720, 972);
    SampleRateCombo = at.combo(Frame3, "SampleRateCombo",
                               {"Default", "11,025 kHz", "22,050 kHz", "44,100 kHz"}, 1080, 720);
    Label3 = at.label(Frame3, "Label3", "Bit rate:", 120, 1080, 732);
    BitRateCombo =
        at.combo(Frame3, "BitRateCombo", {"Default", "8 bits", "16 bits"}, 1080, 1080, 1212, 264,
                 "For the software sound rendering engine not your soundcard...");
    SbOplCheck = at.make<TwoStateCheckBox>(Frame3, "SbOplCheck", 120, 1440, 2412, 192,
                                           QStringLiteral("Use the SoundBlaster OPL chip"));
    SbOplCheck->setToolTip(QStringLiteral("Faster but less faithful"));

    // "Joystick".
    Frame6 = at.frame(client, "Frame6", "Joystick", 6960, 6600, 2772, 612);
    JoyCombo = at.combo(Frame6, "JoyCombo",
                        {"Default", "No Joystick", "Normal 2 button", "CH Flightstick Pro",
                         "Stick/Pad with 4 buttons", "Stick/Pad with 6 buttons", "Dual joysticks",
                         "Wingman Extreme or Warrior"},
                        240, 240, 2412, 264);

    for (QWidget* unreachable : std::initializer_list<QWidget*>{BeamCheck, BeamText, FlickerCheck,
                                                                FlickerText, SbOplCheck})
        unreachable->setEnabled(false);
    for (QLineEdit* text : {AlternateMameText, AdditionalParamText, BeamText, FlickerText})
        text->setFont(courier());
    keepUnseenControlsFromFocus(client);
}

// A control the window keeps out of sight (hidden, or placed outside the client area) takes no
// focus by keyboard or mouse either: a key pressed there would change an option nobody sees.
void Form1::keepUnseenControlsFromFocus(QWidget* client) {
    for (QWidget* control : client->findChildren<QWidget*>()) {
        const QRect place(control->mapTo(client, QPoint()), control->size());
        if (!control->isVisibleTo(client) || !client->rect().intersects(place))
            control->setFocusPolicy(Qt::NoFocus);
    }
}
