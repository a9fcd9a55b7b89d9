#include "desktop/messageboxes.h"

#include <QMessageBox>

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
