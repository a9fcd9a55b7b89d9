#include "platform/textorder.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace {

// What the order sees of a character: its base letter in small letters (É, é and e alike), or
// Ignored for a combining accent standing on its own, as in names written decomposed.
constexpr char16_t Ignored = 1;

char16_t workOutPrimary(char16_t c) {
    if (QChar::isSurrogate(c))
        return c;
    if (QChar::category(char32_t(c)) == QChar::Mark_NonSpacing)
        return Ignored;
    char32_t base = c;
    // A canonical decomposition puts the base letter first: É is E and an acute accent.
    while (QChar::decompositionTag(base) == QChar::Canonical)
        base = QChar::decomposition(base).at(0).unicode();
    base = QChar::toCaseFolded(base);
    return base > 0xFFFF || base < 0x20 ? c : char16_t(base);
}

char16_t primaryOf(char16_t c) {
    if (c < 0x80)
        return c >= 'A' && c <= 'Z' ? char16_t(c + 32) : c;
    // Worked out once per character: a large list meets few different ones.
    static char16_t known[0x10000]; // 0 where not worked out yet
    char16_t& slot = known[c];
    if (slot == 0)
        slot = workOutPrimary(c);
    return slot;
}

// Walks a text's characters as the order sees them, leaving out the ignored ones.
class PrimaryReader {
public:
    explicit PrimaryReader(const QString& text)
        : m_at(reinterpret_cast<const char16_t*>(text.utf16())), m_end(m_at + text.size()) {}
    // The next character's value, or 0 at the end.
    char16_t next() {
        while (m_at != m_end) {
            const char16_t value = primaryOf(*m_at++);
            if (value != Ignored)
                return value;
        }
        return 0;
    }

private:
    const char16_t* m_at;
    const char16_t* m_end;
};

// A text's first characters as the order sees them, for as long as those are ASCII, and where the
// text stands in the list. A sort settles most comparisons on these keys, read from one small
// array, instead of on two texts spread over memory; keys that cannot tell two texts apart leave
// it to the texts themselves.
struct SortKey {
    // Enough to tell most file names apart, and a key stays at 32 bytes.
    static constexpr int Capacity = 27;
    unsigned char folded[Capacity];
    unsigned char length; // characters held
    int index;
};

SortKey sortKey(const QString& text, int index) {
    SortKey key{{}, 0, index};
    PrimaryReader reader(text);
    while (key.length < SortKey::Capacity) {
        const char16_t value = reader.next();
        if (value == 0 || value >= 0x80)
            break;
        key.folded[key.length++] = static_cast<unsigned char>(value);
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

} // namespace

int compareAlphabetically(const QString& a, const QString& b) {
    PrimaryReader left(a);
    PrimaryReader right(b);
    for (;;) {
        const char16_t x = left.next();
        const char16_t y = right.next();
        if (x != y)
            return x < y ? -1 : 1;
        if (x == 0)
            return 0;
    }
}

void sortAlphabetically(QStringList& entries,
                        const std::function<QString(const QString&)>& textOf) {
    std::vector<SortKey> keys;
    keys.reserve(std::size_t(entries.size()));
    for (int i = 0; i < entries.size(); ++i)
        keys.push_back(sortKey(textOf(entries.at(i)), i));
    // The places in the list break ties; std::sort, unlike std::stable_sort, needs no second array.
    std::sort(keys.begin(), keys.end(), [&](const SortKey& a, const SortKey& b) {
        if (const int order = std::memcmp(a.folded, b.folded, std::min(a.length, b.length)))
            return order < 0;
        const int order =
            compareAlphabetically(textOf(entries.at(a.index)), textOf(entries.at(b.index)));
        return order != 0 ? order < 0 : a.index < b.index;
    });
    moveToSortedPlaces(entries, keys);
}

void sortAlphabetically(QStringList& entries) {
    sortAlphabetically(entries, [](const QString& entry) { return entry; });
}
