#include "mainwindow/form1.h"

#include "launch/recordings.h"

#include <QAction>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>

Form1::Form1(const Platform& platform, QWidget* parent)
    : QMainWindow(parent), m_platform(platform) {
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(ProgramTitle);
    setWindowIcon(QIcon(QStringLiteral(":/tallowick.png")));
    // A fixed dialog border: no resizing, no minimize or maximize button, only the close box.
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
    CreateMenus();
    CreateControls();
    WireReactions();
    setFixedSize(sizeHint());
}

// Every reaction, grouped by control. A change made by the program sets off the same reaction
// as the user's, at once, as the start-up relies on.
void Form1::WireReactions() {
    // The lists.
    connect(EmulatedSystemList, &SortedListBox::selectionClicked, this,
            &Form1::EmulatedSystemList_Click);
    connect(GamesList, &SortedListBox::mouseDown, this, &Form1::GamesList_MouseDown);
    connect(GamesList, &SortedListBox::lineDoubleClicked, this, &Form1::PlayButton_Click);
    connect(GamesListCommand, &QPushButton::clicked, this, &Form1::GamesListCommand_Click);
    connect(SwapListCommand, &QPushButton::clicked, this, &Form1::SwapListCommand_Click);

    // Playing and recordings.
    connect(PlayButton, &QPushButton::clicked, this, &Form1::PlayButton_Click);
    connect(Command1, &QPushButton::clicked, this, &Form1::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &Form1::Command2_Click);
    connect(INPFile, &FileListBox::mouseDown, this, &Form1::INPFile_MouseDown);

    // Options with reactions of their own.
    connect(OriginalMameOption, &QRadioButton::toggled, this, [this](bool on) {
        if (on)
            OriginalMameOption_Click();
    });
    connect(AlternateMameOption, &QRadioButton::toggled, this, [this](bool on) {
        if (on)
            AlternateMameOption_Click();
    });
    connect(AdditionalParamCheck, &QCheckBox::stateChanged, this,
            &Form1::AdditionalParamCheck_Click);
    connect(FrameskipSlider, &QSlider::valueChanged, this, &Form1::FrameskipSlider_Change);

    // Every other option only writes its own key when it changes.
    for (const OptionKey& option : optionTable()) {
        QWidget* control = findChild<QWidget*>(QLatin1String(option.key));
        if (auto* combo = qobject_cast<QComboBox*>(control))
            connect(combo, &QComboBox::currentIndexChanged, this,
                    [this, &option] { writeOption(option); });
        else if (auto* text = qobject_cast<QLineEdit*>(control))
            connect(text, &QLineEdit::textChanged, this, [this, &option] { writeOption(option); });
        else if (auto* check = qobject_cast<QCheckBox*>(control);
                 check && check != AdditionalParamCheck)
            connect(check, &QCheckBox::stateChanged, this,
                    [this, &option] { writeOption(option); });
    }

    // Menus.
    connect(UpdateSystemsMenu, &QAction::triggered, this, &Form1::UpdateSystemsMenu_Click);
    connect(ReadHelpMenu, &QAction::triggered, this, &Form1::ReadHelpMenu_Click);
    connect(WebMenu, &QAction::triggered, this, &Form1::WebMenu_Click);
    connect(EmailMenu, &QAction::triggered, this, &Form1::EmailMenu_Click);
    connect(AboutMenu, &QAction::triggered, this, &Form1::AboutMenu_Click);
}

void Form1::Form_Load() {
    INPFile->setPath(recordingsFolder(m_platform.programFolder));
    INPFile->setPattern(QStringLiteral("*.INP"));
    RefreshRecordings();
    RestoreOptions();
    setFrameskipCaption();
    LoadSystemsList();
}

// Every option was written when it changed; closing saves nothing.
void Form1::Form_Unload() {}

void Form1::closeEvent(QCloseEvent* event) {
    Form_Unload();
    event->accept();
}

void Form1::writeSetting(const QString& section, const QString& key, const QString& value) {
    if (m_platform.settings->write(section, key, value) || m_settingsFailureShown)
        return;
    m_settingsFailureShown = true;
    m_platform.messages->notice(
        QStringLiteral("Your options could not be saved: the settings file cannot be "
                       "written.\nTallowick goes on with the options as they are now."));
}

QString Form1::path(const QString& name) const {
    return m_platform.programFolder + QLatin1Char('/') + name;
}
