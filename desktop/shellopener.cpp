#include "desktop/shellopener.h"

#include <QDesktopServices>
#include <QDir>
#include <QUrl>

void QtShellOpener::open(const QString& target) {
    // A plain path is a file of ours; anything with a scheme goes to the desktop as it is.
    const QUrl url = QDir::isAbsolutePath(target) ? QUrl::fromLocalFile(target)
                                                  : QUrl(target, QUrl::TolerantMode);
    QDesktopServices::openUrl(url);
}
