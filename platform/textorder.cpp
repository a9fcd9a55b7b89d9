#include "platform/textorder.h"

#include <algorithm>
#include <cstring>
#include <vector>

bool lessIgnoringCase(const QString& a, const QString& b) {
    return QString::compare(a, b, Qt::CaseInsensitive) < 0;
}

namespace {

// A line's first characters as the case-insensitive comparison sees them, for as long as they
// are ASCII (where its folding is just A-Z to a-z), and where the line stands in the list. A sort
// settles most comparisons on these keys, read from one small array, instead of on two lines
// spread over memory; keys that cannot tell two lines apart leave it to the lines themselves.
struct SortKey {
    // Enough to tell most file names apart, and a key stays at 32 bytes.
    static constexpr int Capacity = 27;
    unsigned char folded[Capacity];
    unsigned char length; // leading ASCII characters held
    int index;
};

SortKey sortKey(const QString& line, int index) {
    SortKey key{{}, 0, index};
    const qsizetype size = std::min<qsizetype>(line.size(), SortKey::Capacity);
    for (; key.length < size; ++key.length) {
        const char16_t c = line.at(key.length).unicode();
        if (c >= 0x80)
            break;
        key.folded[key.length] = static_cast<unsigned char>(c >= 'A' && c <= 'Z' ? c + 32 : c);
    }
    return key;
}

// Moves each entry to where its key stands after the sort, one cycle of moves at a time, so that
// no second list is needed: with 100,000 entries that would show in the peak memory.
void moveToSortedPlaces(QStringList& entries, std::vector<SortKey>& keys) {
    for (int start = 0; start < int(keys.size()); ++start) {
        if (keys[start].index == start)
            continue;
        QString first = std::move(entries[start]);
        int at = start;
        for (int from = keys[at].index; from != start; from = keys[at].index) {
            entries[at] = std::move(entries[from]);
            keys[at].index = at;
            at = from;
        }
        entries[at] = std::move(first);
        keys[at].index = at;
    }
}

// Sorts the entries by the text each stands for, alphabetically ignoring letter case; entries
// whose texts are equal but for letter case keep their order, as in a stable sort.
void sortByText(QStringList& entries, const std::function<QString(const QString&)>& textOf) {
    std::vector<SortKey> keys;
    keys.reserve(std::size_t(entries.size()));
    for (int i = 0; i < entries.size(); ++i)
        keys.push_back(sortKey(textOf(entries.at(i)), i));
    // The places in the list break ties; std::sort, unlike std::stable_sort, needs no second array.
    std::sort(keys.begin(), keys.end(), [&](const SortKey& a, const SortKey& b) {
        if (const int order = std::memcmp(a.folded, b.folded, std::min(a.length, b.length)))
            return order < 0;
        const int order = QString::compare(textOf(entries.at(a.index)), textOf(entries.at(b.index)),
                                           Qt::CaseInsensitive);
        return order != 0 ? order < 0 : a.index < b.index;
    });
    moveToSortedPlaces(entries, keys);
}

} // namespace

void sortIgnoringCase(QStringList& entries) {
    sortByText(entries, [](const QString& entry) { return entry; });
}

void sortIgnoringCase(QStringList& entries, const std::function<QString(const QString&)>& textOf) {
    sortByText(entries, textOf);
}
