#include "platform/qtplatform.h"

#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QMessageBox>
#include <QUrl>

// The texts name games and files, which may look like markup ("<u>Under & over.nes"): they are
// shown as they are.
void QtMessageBoxes::notice(const QString& text) {
    QMessageBox box(QMessageBox::NoIcon, ProgramTitle, text, QMessageBox::Ok, m_parent);
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

bool QtMessageBoxes::question(const QString& text) {
    QMessageBox box(QMessageBox::NoIcon, ProgramTitle, text, QMessageBox::Ok | QMessageBox::Cancel,
                    m_parent);
    box.setTextFormat(Qt::PlainText);
    box.setEscapeButton(QMessageBox::Cancel);
    return box.exec() == QMessageBox::Ok;
}

void QtShellOpener::open(const QString& target, const QString& workingFolder) {
    // A plain path is a file of ours; anything with a scheme goes to the desktop as it is.
    const QUrl url = QDir::isAbsolutePath(target) ? QUrl::fromLocalFile(target)
                                                  : QUrl(target, QUrl::TolerantMode);
    Q_UNUSED(workingFolder);
    QDesktopServices::openUrl(url);
}
