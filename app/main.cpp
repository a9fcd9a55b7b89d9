// The program entry: creates the main window, runs its start-up, shows it, and runs until it is
// closed. No argument, environment variable or configuration file is read.
#include "mainwindow/form1.h"
#include "platform/inisettings.h"
#include "platform/processstarter.h"
#include "platform/qtplatform.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    QApplication::setApplicationName(ProgramTitle);

    IniSettingsStore settings;
    QtMessageBoxes messages;
    QtProcessStarter processes;
    QtShellOpener shell;
    Platform platform;
    platform.folder = ProgramFolder(QApplication::applicationDirPath());
    platform.settings = &settings;
    platform.messages = &messages;
    platform.processes = &processes;
    platform.shell = &shell;

    Form1 window(platform);
    messages.setParent(&window);
    window.Form_Load();
    window.show();
    return application.exec();
}
