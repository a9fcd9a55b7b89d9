// The favourites file: a read, a rewrite with the same lines and an append never change a byte
// the user's file held.
#include "catalogue/favourites.h"
#include "fuzzsupport.h"
#include "platform/textfile.h"

#include <QFile>
#include <QTemporaryDir>
#include <algorithm>

namespace {

// Blank the way a favourites reader sees it: nothing but blanks, tabs and form feeds.
bool isBlankLine(const QByteArray& line) {
    return std::all_of(line.begin(), line.end(),
                       [](char c) { return c == ' ' || c == '\t' || c == '\v' || c == '\f'; });
}

QByteArray contentsOf(const QString& path) {
    QFile file(path);
    FUZZ_CHECK(file.open(QIODevice::ReadOnly));
    return file.readAll();
}

void putContents(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    FUZZ_CHECK(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    FUZZ_CHECK(file.write(bytes) == bytes.size());
}

QByteArray withLineEnds(const QList<QByteArray>& lines) {
    QByteArray bytes;
    for (const QByteArray& line : lines)
        bytes += line + "\r\n";
    return bytes;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static QTemporaryDir folder;
    const QString original = folder.filePath(QStringLiteral("Tallowick.fav"));
    const QString rewritten = folder.filePath(QStringLiteral("rewritten.fav"));

    FuzzedDataProvider provider(data, size);
    const QString added = takeText(provider, 80);
    const std::vector<uint8_t> rest = provider.ConsumeRemainingBytes<uint8_t>();
    const QByteArray bytes = bytesOf(rest.data(), rest.size());
    putContents(original, bytes);

    QList<QByteArray> kept;
    for (const QByteArray& line : splitLines(bytes)) {
        if (!isBlankLine(line))
            kept << line;
    }
    const FavouritesFile loaded = readFavourites(original);
    FUZZ_CHECK(loaded.lines.size() == kept.size());
    for (qsizetype i = 0; i < kept.size(); ++i)
        FUZZ_CHECK(loaded.lines.at(i) == decodeLine(kept.at(i)));

    // The same lines in the same order: the same bytes, every line ended by CR LF.
    FUZZ_CHECK(!rewriteFavourites(rewritten, loaded.lines, loaded));
    FUZZ_CHECK(contentsOf(rewritten) == withLineEnds(kept));

    // In the opposite order: the same lines, each with bytes the file held for it.
    QStringList reversed = loaded.lines;
    std::reverse(reversed.begin(), reversed.end());
    FUZZ_CHECK(!rewriteFavourites(rewritten, reversed, loaded));
    QList<QByteArray> written = splitLines(contentsOf(rewritten));
    FUZZ_CHECK(written.size() == kept.size());
    QList<QByteArray> sortedKept = kept;
    std::sort(sortedKept.begin(), sortedKept.end());
    std::sort(written.begin(), written.end());
    FUZZ_CHECK(written == sortedKept);

    // A line the file never held is written as UTF-8.
    const bool oneLine = !added.contains(QLatin1Char('\r')) && !added.contains(QLatin1Char('\n'));
    if (oneLine && !loaded.lines.contains(added)) {
        FUZZ_CHECK(!rewriteFavourites(rewritten, loaded.lines + QStringList{added}, loaded));
        FUZZ_CHECK(contentsOf(rewritten) == withLineEnds(kept) + added.toUtf8() + "\r\n");
    }

    // An append keeps every earlier byte, ends the last line if it had no end, and can be read
    // back.
    FUZZ_CHECK(!appendFavourite(original, added));
    const QByteArray after = contentsOf(original);
    const QByteArray addedBytes = added.toUtf8() + "\r\n";
    const bool lastLineOpen = !bytes.isEmpty() && !bytes.endsWith('\r') && !bytes.endsWith('\n');
    FUZZ_CHECK(after == bytes + (lastLineOpen ? "\r\n" : "") + addedBytes);
    if (oneLine && survivesUtf8(added)) {
        QStringList expected = loaded.lines;
        if (!isBlankLine(added.toUtf8()))
            expected << added;
        FUZZ_CHECK(readFavourites(original).lines == expected);
    }
    return 0;
}
