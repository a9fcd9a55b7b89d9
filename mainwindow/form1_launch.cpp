// Playing a game, the recordings, and the Help menu.
#include "mainwindow/checkvalue.h"
#include "mainwindow/form1.h"

#include "about/frmabouthvl.h"
#include "about/helptargets.h"
#include "catalogue/gameline.h"
#include "launch/commandline.h"
#include "launch/launchnotices.h"
#include "launch/programlookup.h"
#include "launch/recordings.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QRadioButton>

void Form1::LaunchEmulator(const QString& ExtraParam) {
    LaunchChoices choices;
    choices.originalMess = OriginalMameOption->isChecked();
    choices.alternateName = AlternateMameText->text();
    choices.additionalCheck = checkValue(AdditionalParamCheck->checkState());
    choices.additionalText = AdditionalParamText->text();
    choices.gameTail = GameLine::commandTail(GamesList->item(GamesList->listIndex()));
    choices.extraParam = ExtraParam;
    const QString commandLine = composeCommandLine(choices);
    CommandlineLabel->setText(commandLine);

    const SplitCommand command = splitCommandLine(commandLine);
    if (command.program.isEmpty()) {
        m_platform.messages->notice(noProgramNotice());
        return;
    }
    const QString program = resolveProgram(command.program, m_platform.folder);
    // A game the emulator refuses (files missing, an image of the wrong kind) is told: the
    // emulator's own last words say why.
    const QString game = GameLine::name(GamesList->item(GamesList->listIndex()));
    const auto failed = [window = QPointer<Form1>(this), game](const ProgramEnd& end) {
        if (window)
            window->noticeWhenFree(emulatorFailedNotice(game, end));
    };
    if (program.isEmpty() ||
        !m_platform.processes->start(program, command.arguments, m_platform.folder.path(), failed))
        m_platform.messages->notice(cannotStartNotice(command.program));
}

void Form1::PlayButton_Click() {
    LaunchEmulator(QString());
}

void Form1::RefreshRecordings() {
    QStringList names;
    for (int i = 0; i < INPFile->listCount(); ++i)
        names.append(INPFile->name(i));
    PlaybackCombo->clear();
    PlaybackCombo->addItems(recordingItems(names));
    PlaybackCombo->setCurrentIndex(PlaybackCombo->count() > 0 ? 0 : -1);
}

void Form1::Command1_Click() {
    if (PlaybackCombo->currentIndex() < 0)
        return;
    LaunchEmulator(playbackPiece(PlaybackCombo->currentText()));
}

void Form1::Command2_Click() {
    LaunchEmulator(recordPiece(RecText->text()));
}

void Form1::INPFile_MouseDown(Qt::MouseButton Button) {
    if (Button != Qt::RightButton)
        return;
    INPFile->refresh();
    RefreshRecordings();
}

void Form1::ReadHelpMenu_Click() {
    openHelpPage(*m_platform.shell, m_platform.folder);
}

void Form1::WebMenu_Click() {
    openWebSite(*m_platform.shell);
}

void Form1::EmailMenu_Click() {
    startEmailToMaker(*m_platform.shell);
}

void Form1::AboutMenu_Click() {
    FrmAbouthvl::showModal(this);
}
