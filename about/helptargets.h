#pragma once

#include <QString>

class ShellOpener;

// The Help menu's targets, and the actions that hand them to the shell.

// The help page lies beside the program, whatever the current folder is.
QString helpPagePath(const QString& programFolder);
QString webSiteTarget();
// The subject's blank is passed as it is; mail programs accept it.
QString emailTarget();
// "Tallowick v<major>.<minor>.<revision>", from the version the build sets once.
QString versionLine();

// Each opens its target once, with the program folder as the working folder.
void openHelpPage(ShellOpener& shell, const QString& programFolder);
void openWebSite(ShellOpener& shell, const QString& programFolder);
void startEmailToMaker(ShellOpener& shell, const QString& programFolder);
