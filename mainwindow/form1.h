#pragma once

#include "catalogue/favourites.h"
#include "mainwindow/filelistbox.h"
#include "mainwindow/optionbinding.h"
#include "mainwindow/sortedlistbox.h"
#include "platform/platform.h"

#include <QMainWindow>
#include <QTimer>

class QAction;
class QCheckBox;
class QComboBox;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QRadioButton;
class QSlider;

// The main window. Its controls hold the program's whole state: both lists and their
// selections, the list mode (the games list's tag), every option, the last command line.
class Form1 : public QMainWindow {
    Q_OBJECT
public:
    explicit Form1(const Platform& platform, QWidget* parent = nullptr);

    // The start-up: recordings, options, frameskip label, systems list (and so the games list).
    void Form_Load();

    // Procedures the reactions share.
    void RefreshRecordings();
    void RestoreOptions();
    void LoadSystemsList();
    void FillGamesList();
    void LoadFavourites();
    void LaunchEmulator(const QString& ExtraParam);

    // Reactions, named after their control and event.
    void EmulatedSystemList_Click();
    void GamesListCommand_Click();
    void GamesList_MouseDown(Qt::MouseButton Button);
    void SwapListCommand_Click();
    void PlayButton_Click();
    void Command1_Click();
    void Command2_Click();
    void INPFile_MouseDown(Qt::MouseButton Button);
    void UpdateSystemsMenu_Click();
    void ReadHelpMenu_Click();
    void WebMenu_Click();
    void EmailMenu_Click();
    void AboutMenu_Click();
    void OriginalMameOption_Click();
    void AlternateMameOption_Click();
    void AdditionalParamCheck_Click();
    void FrameskipSlider_Change();

    // Menus.
    QMenu* FileMenu;
    QAction* UpdateSystemsMenu;
    QMenu* HelpMenu;
    QAction* ReadHelpMenu;
    QMenu* InternetMenu;
    QAction* WebMenu;
    QAction* EmailMenu;
    QAction* rien2;
    QAction* AboutMenu;

    // Directly on the window.
    QPushButton* CheckListCommand;
    QPushButton* SwapListCommand;
    QPushButton* GamesListCommand;
    QLabel* CommandlineLabel;
    FileListBox* INPFile;
    QLabel* Label16;
    SortedListBox* GamesList2;

    // The lists.
    QGroupBox* Frame1;
    QLabel* Label14;
    SortedListBox* EmulatedSystemList;
    QFrame* Line1;
    QLabel* Label15;
    SortedListBox* GamesList;

    // "General".
    QGroupBox* Frame5;
    QRadioButton* OriginalMameOption;
    QRadioButton* AlternateMameOption;
    QLineEdit* AlternateMameText;
    QCheckBox* AdditionalParamCheck;
    QLineEdit* AdditionalParamText;
    QCheckBox* CheatCheck;
    QPushButton* Command1;
    QComboBox* PlaybackCombo;
    QPushButton* Command2;
    QLineEdit* RecText;
    QPushButton* PlayButton;

    // "Graphics", below the visible area.
    QGroupBox* Frame2;
    QLabel *Label7, *Label8, *Label4, *Label9, *Label5, *Label10, *Label6, *Label11, *Label12;
    QComboBox *VideoCombo, *ScanlinesCombo, *DoubleCombo, *VESACombo, *DepthCombo, *VSyncCombo,
        *VGAFreqCombo, *RotateCombo, *FlipCombo;
    QLabel* FrameskipLabel;
    QSlider* FrameskipSlider;

    // "Vector", inside "Graphics".
    QGroupBox* Frame4;
    QLabel* Label13;
    QComboBox* AntialiasCombo;
    QCheckBox* BeamCheck;
    QLineEdit* BeamText;
    QCheckBox* FlickerCheck;
    QLineEdit* FlickerText;

    // "Sound" and "Joystick", below the visible area.
    QGroupBox* Frame3;
    QLabel *Label1, *Label2, *Label3;
    QComboBox *AudioCombo, *SampleRateCombo, *BitRateCombo;
    QCheckBox* SbOplCheck;
    QGroupBox* Frame6;
    QComboBox* JoyCombo;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void CreateMenus();
    void CreateControls();
    void keepUnseenControlsFromFocus(QWidget* client);
    void WireReactions();
    void Form_Unload();

    void writeSetting(const QString& section, const QString& key, const QString& value);
    void writeOption(const OptionControl& control);
    void setFrameskipCaption();

    // The list mode ("Full" or "Fav", the games list's tag) and the caption that shows it.
    void setListMode(const QString& mode);
    void showFullListMode();

    // The three steps of a press on the games list.
    void storeRecordingName(int index);
    void storeListIndex(int index);
    void offerToAddOrRemove(int index);

    QString systemToolTip(int row) const;
    QString gameToolTip(int row) const;

    // A notice that arrives on its own (a game that failed) waits while "Update systems" runs or
    // another box is open, so that no box ever stands where it cannot be answered.
    void noticeWhenFree(const QString& text);
    void showWaitingNotices();

    Platform m_platform;
    std::vector<OptionBinding> m_options; // the option table, bound to this window's controls
    FavouritesFile m_favourites;          // the favourites as last loaded, for a byte-exact rewrite
    bool m_settingsFailureShown = false;
    bool m_updating = false;         // "Update systems" is waiting for the emulator
    bool m_closeAfterUpdate = false; // the window was closed meanwhile
    QStringList m_waitingNotices;
    QTimer m_noticeRetry;
};
