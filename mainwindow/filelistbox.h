#pragma once

#include <QListWidget>
#include <QStringList>

// A folder's file names that match a pattern ("*.INP", "*.*"), in any letter case: the
// emulator writes "NAME.INP" and users copy in "name.inp", and both are recordings. Sorted as
// both lists are (platform/textorder.h). Hidden files and sub-folders are not listed; a folder
// that cannot be read lists nothing.
class FileListBox : public QListWidget {
    Q_OBJECT
public:
    using QListWidget::QListWidget;

    QString path() const { return m_folder; }
    void setPath(const QString& folder);
    QString pattern() const { return m_pattern; }
    void setPattern(const QString& pattern);
    // Reads the folder again, so files added or removed since show.
    void refresh();

    int listCount() const { return int(m_names.size()); }
    QString name(int index) const { return m_names.value(index); }

signals:
    void mouseDown(Qt::MouseButton button);

protected:
    void mousePressEvent(QMouseEvent* event) override;

private:
    QString m_folder;
    QString m_pattern = QStringLiteral("*.*");
    QStringList m_names;
};
