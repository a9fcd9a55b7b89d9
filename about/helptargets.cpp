#include "about/helptargets.h"

#include "app/platform.h"

QString helpPagePath(const QString& programFolder) {
    return programFolder + QLatin1Char('/') + ProgramTitle + QStringLiteral(".htm");
}

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

void openHelpPage(ShellOpener& shell, const QString& programFolder) {
    shell.open(helpPagePath(programFolder), programFolder);
}

void openWebSite(ShellOpener& shell, const QString& programFolder) {
    shell.open(webSiteTarget(), programFolder);
}

void startEmailToMaker(ShellOpener& shell, const QString& programFolder) {
    shell.open(emailTarget(), programFolder);
}
