#pragma once

#include <QString>

class ProgramFolder;
class ShellOpener;

// The Help menu's targets, and the actions that hand them to the shell.

QString webSiteTarget();
// The subject's blank is passed as it is; mail programs accept it.
QString emailTarget();
// "Tallowick v<major>.<minor>.<revision>".
QString versionLine();

// Each opens its target once. The help page is the one beside the program, whatever the current
// folder is.
void openHelpPage(ShellOpener& shell, const ProgramFolder& folder);
void openWebSite(ShellOpener& shell);
void startEmailToMaker(ShellOpener& shell);
