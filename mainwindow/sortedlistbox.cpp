#include "mainwindow/sortedlistbox.h"

#include "platform/textorder.h"

#include <QMouseEvent>
#include <QPainter>
#include <QStyle>
#include <algorithm>

// A name may hold characters that would break its row into several lines or vanish; each is
// drawn as a visible stand-in on the one line (the entry itself is unchanged).
static QString drawnOnOneLine(const QString& text) {
    const auto odd = [](QChar c) {
        return c.unicode() < 0x20 || (c.unicode() >= 0x7F && c.unicode() <= 0x9F) ||
               c.unicode() == 0x2028 || c.unicode() == 0x2029;
    };
    if (std::none_of(text.begin(), text.end(), odd))
        return text;
    QString drawn = text;
    for (QChar& c : drawn) {
        if (c.unicode() < 0x20)
            c = QChar(0x2400 + c.unicode()); // the control pictures: \t is shown as a small HT
        else if (c.unicode() == 0x7F)
            c = QChar(0x2421);
        else if (c.unicode() == 0x2028 || c.unicode() == 0x85)
            c = QChar(0x2424); // a new-line symbol
        else if (c.unicode() == 0x2029)
            c = QChar(0x00B6); // a paragraph sign
        else if (odd(c))
            c = QChar(QChar::ReplacementCharacter);
    }
    return drawn;
}

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
        return drawnOnOneLine(m_entries.at(index.row()).left(LongestShown));
    if (role == Qt::ToolTipRole && m_toolTipOf) {
        const QString tip = m_toolTipOf(index.row());
        if (!tip.isEmpty())
            return tip;
    }
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

void SortedListBox::setToolTips(std::function<QString(int row)> toolTipOf) {
    m_model->setToolTips(std::move(toolTipOf));
}

void SortedListBox::setEmptyText(const QString& text) {
    m_emptyText = text;
    viewport()->update();
}

bool SortedListBox::isCutOnScreen(const QString& text) const {
    const int margin = style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, this) + 1;
    return fontMetrics().horizontalAdvance(text) + 2 * margin > viewport()->width();
}

void SortedListBox::paintEvent(QPaintEvent* event) {
    QListView::paintEvent(event);
    if (count() > 0 || m_emptyText.isEmpty())
        return;
    QPainter painter(viewport());
    painter.setPen(palette().color(QPalette::PlaceholderText));
    painter.drawText(viewport()->rect().adjusted(4, 4, -4, -4),
                     Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, m_emptyText);
}

void SortedListBox::mouseDoubleClickEvent(QMouseEvent* event) {
    QListView::mouseDoubleClickEvent(event);
    if (event->button() == Qt::LeftButton && indexAt(event->position().toPoint()).isValid())
        emit lineDoubleClicked();
}
