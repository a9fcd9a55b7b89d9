#include "mainwindow/filelistbox.h"

#include "platform/folderlisting.h"
#include "platform/textorder.h"

#include <QMouseEvent>
#include <QRegularExpression>

void FileListBox::setPath(const QString& folder) {
    m_folder = folder;
    refresh();
}

void FileListBox::setPattern(const QString& pattern) {
    if (pattern == m_pattern)
        return; // the names already read are the ones it lists
    m_pattern = pattern;
    refresh();
}

void FileListBox::refresh() {
    // "*.*" is every file, with or without a dot: a games folder holds images without extension.
    const bool everything = m_pattern == QLatin1String("*.*") || m_pattern == QLatin1String("*");
    const QRegularExpression match(QRegularExpression::wildcardToRegularExpression(m_pattern),
                                   QRegularExpression::CaseInsensitiveOption);
    m_names.clear();
    if (const auto names = listPlainFiles(m_folder)) {
        for (const QString& name : *names) {
            if (everything || match.match(name).hasMatch())
                m_names.append(name);
        }
    }
    sortAlphabetically(m_names);
    QListWidget::clear();
    addItems(m_names);
}

void FileListBox::mousePressEvent(QMouseEvent* event) {
    QListWidget::mousePressEvent(event);
    emit mouseDown(event->button());
}
