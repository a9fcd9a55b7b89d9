#pragma once

#include <QAbstractListModel>
#include <QListView>
#include <QStringList>
#include <functional>

// The entries of a sorted list box, alphabetical ignoring letter case.
class SortedListModel : public QAbstractListModel {
    Q_OBJECT
public:
    using QAbstractListModel::QAbstractListModel;

    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;

    const QStringList& entries() const { return m_entries; }
    void clear();
    int add(const QString& entry); // returns the row it went to
    void setEntries(QStringList entries, bool alreadySorted);
    void remove(int row);
    // What an entry's tooltip says; none when it gives an empty text.
    void setToolTips(std::function<QString(int row)> toolTipOf) {
        m_toolTipOf = std::move(toolTipOf);
    }

private:
    QStringList m_entries;
    std::function<QString(int row)> m_toolTipOf;
};

// A list box that keeps its entries sorted, carries a tag text, and reports a change of its
// selected entry (by the user or the program) as "clicked": choosing a system by hand and the
// start-up selecting the first one must fill the games list alike.
// One row height for all, so a list of 100,000 lines never needs a layout pass over every row.
class SortedListBox : public QListView {
    Q_OBJECT
public:
    explicit SortedListBox(QWidget* parent = nullptr);

    void clear();
    void addItem(const QString& entry);
    // Replaces every entry at once; far quicker than adding them one by one.
    void setItems(QStringList entries, bool alreadySorted = false);
    void removeItem(int index);
    QString item(int index) const;
    int count() const;
    const QStringList& items() const { return m_model->entries(); }

    // -1 when no entry is selected. Setting a different index emits selectionClicked.
    int listIndex() const;
    void setListIndex(int index);

    QString tag() const { return m_tag; }
    void setTag(const QString& tag) { m_tag = tag; }

    void setToolTips(std::function<QString(int row)> toolTipOf);
    // The line the empty list shows in its place, drawn and never an entry.
    QString emptyText() const { return m_emptyText; }
    void setEmptyText(const QString& text);
    // True when the text, drawn as an entry, is wider than the list shows.
    bool isCutOnScreen(const QString& text) const;

signals:
    void selectionClicked();
    void lineDoubleClicked();
    void mouseDown(Qt::MouseButton button);

protected:
    QItemSelectionModel::SelectionFlags selectionCommand(const QModelIndex& index,
                                                         const QEvent* event) const override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void changeQuietly(const std::function<void()>& change);

    SortedListModel* m_model;
    QString m_tag;
    QString m_emptyText;
    bool m_quiet = false;
};
