#include "mainwindow/form1.h"
#include "mainwindow/windowmessages.h"

#include "shelltools/hvl_shelltools.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QPushButton>
#include <QScreen>

Form1::Form1(const Platform& platform, QWidget* parent)
    : QMainWindow(parent), m_platform(platform) {
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(ProgramTitle);
    QIcon icon(QStringLiteral(":/icons/tallowick-32.png"));
    icon.addFile(QStringLiteral(":/icons/tallowick-256.png"));
    setWindowIcon(icon);
    // A fixed dialog border: no resizing, no minimize or maximize button, only the close box.
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
    CreateMenus();
    CreateControls();
    m_options = optionTable(*this);
    WireReactions();
    setFixedSize(sizeHint());
    // In its place before the start-up runs, so that a message the start-up shows stands over
    // the window rather than in a corner of the screen.
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
    m_noticeRetry.setSingleShot(true);
    m_noticeRetry.setInterval(200);
    connect(&m_noticeRetry, &QTimer::timeout, this, &Form1::showWaitingNotices);
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
    EmulatedSystemList->setToolTips([this](int row) { return systemToolTip(row); });
    GamesList->setToolTips([this](int row) { return gameToolTip(row); });
    connect(SwapListCommand, &QPushButton::clicked, this, &Form1::SwapListCommand_Click);

    // Playing and recordings.
    connect(PlayButton, &QPushButton::clicked, this, &Form1::PlayButton_Click);
    connect(Command1, &QPushButton::clicked, this, &Form1::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &Form1::Command2_Click);
    connect(INPFile, &FileListBox::mouseDown, this, &Form1::INPFile_MouseDown);

    // Options: every change writes the control's own key, or runs the reaction its row names.
    for (const OptionBinding& option : m_options) {
        const OptionControl control = option.control;
        const auto reaction = option.reaction;
        onOptionChange(control, this, [this, control, reaction] {
            if (reaction)
                (this->*reaction)();
            else
                writeOption(control);
        });
    }

    // Menus.
    connect(UpdateSystemsMenu, &QAction::triggered, this, &Form1::UpdateSystemsMenu_Click);
    connect(ReadHelpMenu, &QAction::triggered, this, &Form1::ReadHelpMenu_Click);
    connect(WebMenu, &QAction::triggered, this, &Form1::WebMenu_Click);
    connect(EmailMenu, &QAction::triggered, this, &Form1::EmailMenu_Click);
    connect(AboutMenu, &QAction::triggered, this, &Form1::AboutMenu_Click);
}

void Form1::Form_Load() {
    INPFile->setPath(m_platform.folder.recordingsFolder());
    INPFile->setPattern(QStringLiteral("*.INP"));
    RefreshRecordings();
    RestoreOptions();
    setFrameskipCaption();
    LoadSystemsList();
}

// Every option was written when it changed; closing saves nothing.
void Form1::Form_Unload() {}

// While "Update systems" waits, closing the window first cancels it as its Cancel button does,
// so that no emulator run or temporary file outlives Tallowick; the window closes once it is over.
void Form1::closeEvent(QCloseEvent* event) {
    if (m_updating) {
        m_closeAfterUpdate = true;
        hvl_ShellTools::cancelShellAndWait();
        event->ignore();
        return;
    }
    Form_Unload();
    m_waitingNotices.clear();
    event->accept();
}

void Form1::writeSetting(const QString& section, const QString& key, const QString& value) {
    const FileProblem problem = m_platform.settings->write(section, key, value);
    if (!problem || m_settingsFailureShown)
        return;
    m_settingsFailureShown = true;
    m_platform.messages->notice(optionsNotSaved(m_platform.settings->location(), problem.text()));
}

void Form1::noticeWhenFree(const QString& text) {
    m_waitingNotices.append(text);
    showWaitingNotices();
}

void Form1::showWaitingNotices() {
    if (m_updating || QApplication::activeModalWidget()) {
        m_noticeRetry.start();
        return;
    }
    while (!m_waitingNotices.isEmpty())
        m_platform.messages->notice(m_waitingNotices.takeFirst());
}
