// The program entry: creates the main window, runs its start-up, shows it, and runs until it is
// closed or told to end. No argument, environment variable or configuration file is read.
#include "desktop/endsignals.h"
#include "desktop/inisettings.h"
#include "desktop/messageboxes.h"
#include "desktop/processstarter.h"
#include "desktop/shellopener.h"
#include "mainwindow/form1.h"

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
    // Told to end, Tallowick ends as when its window is closed; a window that first has an
    // "Update systems" to cancel closes, and so ends the program, once that is done.
    bool ended = false;
    const EndOnSignals ending([&window, &ended] {
        ended = window.close();
        if (ended)
            QApplication::quit();
    });
    window.Form_Load();
    if (ended) // during a message of the start-up
        return 0;
    window.show();
    return application.exec();
}
