#include "about/helptargets.h"

#include "platform/platform.h"

#include <tallowick_version.h>

QString webSiteTarget() {
    return QStringLiteral("https://haverlyn.example/tallowick");
}

QString emailTarget() {
    return QStringLiteral("mailto:tallowick@haverlyn.example?Subject=") + ProgramTitle +
           QStringLiteral(" program");
}

QString versionLine() {
    return ProgramTitle + QStringLiteral(" v%1.%2.%3")
                              .arg(TALLOWICK_VERSION_MAJOR)
                              .arg(TALLOWICK_VERSION_MINOR)
                              .arg(TALLOWICK_VERSION_PATCH);
}

void openHelpPage(ShellOpener& shell, const ProgramFolder& folder) {
    shell.open(folder.helpPage());
}

void openWebSite(ShellOpener& shell) {
    shell.open(webSiteTarget());
}

void startEmailToMaker(ShellOpener& shell) {
    shell.open(emailTarget());
}
