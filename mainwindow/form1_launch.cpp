// Playing a game, the recordings, and the Help menu.
#include "mainwindow/checkvalue.h"
#include "mainwindow/form1.h"

#include "about/frmabouthvl.h"
#include "about/helptargets.h"
#include "catalogue/gameline.h"
#include "launch/commandline.h"
#include "launch/programlookup.h"
#include "launch/recordings.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
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

    // A launch that cannot happen is said so: the label alone would look as if it ran.
    const SplitCommand command = splitCommandLine(commandLine);
    if (command.program.isEmpty()) {
        m_platform.messages->notice(QStringLiteral("The command line names no program to start."));
        return;
    }
    const QString program = resolveProgram(command.program, m_platform.folder);
    if (program.isEmpty() ||
        !m_platform.processes->startDetached(program, command.arguments, m_platform.folder.path()))
        m_platform.messages->notice(
            QStringLiteral("The program \"%1\" could not be started: it is not in the program "
                           "folder or on the PATH, or it cannot be run.")
                .arg(command.program));
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
    openWebSite(*m_platform.shell, m_platform.folder);
}

void Form1::EmailMenu_Click() {
    startEmailToMaker(*m_platform.shell, m_platform.folder);
}

void Form1::AboutMenu_Click() {
    FrmAbouthvl::showModal(this);
}
