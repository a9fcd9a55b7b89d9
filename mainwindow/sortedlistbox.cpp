#include "mainwindow/sortedlistbox.h"

#include "platform/textorder.h"

#include <QMouseEvent>
#include <algorithm>

int SortedListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(m_entries.size());
}

QVariant SortedListModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= m_entries.size())
        return {};
    // The list shows a line's beginning only, and drawing a corrupt listing's megabyte-long entry
    // whole would take seconds; what is drawn is cut long past what fits.
    constexpr qsizetype LongestShown = 512;
    if (role == Qt::DisplayRole)
        return m_entries.at(index.row()).left(LongestShown);
    return {};
}

void SortedListModel::clear() {
    beginResetModel();
    m_entries.clear();
    endResetModel();
}

int SortedListModel::add(const QString& entry) {
    const auto at = std::upper_bound(m_entries.begin(), m_entries.end(), entry, lessAlphabetically);
    const int row = int(at - m_entries.begin());
    beginInsertRows({}, row, row);
    m_entries.insert(row, entry);
    endInsertRows();
    return row;
}

void SortedListModel::setEntries(QStringList entries, bool alreadySorted) {
    if (!alreadySorted)
        sortAlphabetically(entries);
    beginResetModel();
    m_entries = std::move(entries);
    endResetModel();
}

void SortedListModel::remove(int row) {
    beginRemoveRows({}, row, row);
    m_entries.removeAt(row);
    endRemoveRows();
}

SortedListBox::SortedListBox(QWidget* parent)
    : QListView(parent), m_model(new SortedListModel(this)) {
    setModel(m_model);
    setUniformItemSizes(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setTextElideMode(Qt::ElideNone);
    setWordWrap(false);
    // The selection, not the current row: a mouse press moves the current row before it
    // selects, and the reaction must find the new entry selected.
    connect(selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] {
        if (!m_quiet)
            emit selectionClicked();
    });
}

void SortedListBox::changeQuietly(const std::function<void()>& change) {
    m_quiet = true;
    change();
    m_quiet = false;
}

void SortedListBox::clear() {
    changeQuietly([this] { m_model->clear(); });
}

void SortedListBox::addItem(const QString& entry) {
    // An insertion moves the rows below it; the selected entry stays the selected entry.
    changeQuietly([&] { m_model->add(entry); });
}

void SortedListBox::setItems(QStringList entries, bool alreadySorted) {
    changeQuietly([&] { m_model->setEntries(std::move(entries), alreadySorted); });
}

void SortedListBox::removeItem(int index) {
    if (index < 0 || index >= count())
        return;
    changeQuietly([&] {
        m_model->remove(index);
        selectionModel()->clear();
    });
}

QString SortedListBox::item(int index) const {
    return index >= 0 && index < count() ? m_model->entries().at(index) : QString();
}

int SortedListBox::count() const {
    return int(m_model->entries().size());
}

int SortedListBox::listIndex() const {
    const QModelIndexList selected = selectionModel()->selectedRows();
    return selected.isEmpty() ? -1 : selected.first().row();
}

void SortedListBox::setListIndex(int index) {
    if (index < -1 || index >= count())
        index = -1;
    if (index == listIndex())
        return;
    if (index < 0) {
        selectionModel()->clear(); // emits selectionChanged, hence selectionClicked
        return;
    }
    const QModelIndex target = m_model->index(index);
    selectionModel()->setCurrentIndex(target, QItemSelectionModel::ClearAndSelect);
    scrollTo(target);
}

// The user moves the selection but never clears it: Ctrl+click or Ctrl+Space on the selected
// line would leave the games of a system that is no longer selected on show.
QItemSelectionModel::SelectionFlags SortedListBox::selectionCommand(const QModelIndex& index,
                                                                    const QEvent* event) const {
    const auto command = QListView::selectionCommand(index, event);
    if (command & (QItemSelectionModel::Deselect | QItemSelectionModel::Toggle))
        return QItemSelectionModel::NoUpdate;
    return command;
}

void SortedListBox::mousePressEvent(QMouseEvent* event) {
    // The press selects the line under the pointer first, for every button, so the reaction
    // works on the line the user pressed; a press below the last line keeps the selection.
    const QModelIndex under = indexAt(event->position().toPoint());
    if (under.isValid())
        QListView::mousePressEvent(event);
    if (under.isValid() && event->button() != Qt::LeftButton)
        setListIndex(under.row());
    emit mouseDown(event->button());
}

void SortedListBox::mouseDoubleClickEvent(QMouseEvent* event) {
    QListView::mouseDoubleClickEvent(event);
    if (event->button() == Qt::LeftButton && indexAt(event->position().toPoint()).isValid())
        emit lineDoubleClicked();
}
