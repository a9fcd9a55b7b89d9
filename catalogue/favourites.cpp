#include "catalogue/favourites.h"

#include "platform/textfile.h"

#include <iterator>

FavouritesFile readFavourites(const QString& path) {
    FavouritesFile favourites;
    const FileProblem problem =
        readLines(path, LargestFavouritesFile, [&](qint64, const QByteArray& bytes) {
            if (bytes.trimmed().isEmpty())
                return;
            const QString line = decodeLine(bytes);
            favourites.lines.append(line);
            favourites.bytesOfLine.insert(line, bytes);
        });
    return problem ? FavouritesFile() : favourites;
}

FileProblem appendFavourite(const QString& path, const QString& line) {
    return appendLine(path, line.toUtf8(), LargestFavouritesFile);
}

FileProblem rewriteFavourites(const QString& path, const QStringList& lines,
                              const FavouritesFile& loaded) {
    QMultiHash<QString, QByteArray> unused = loaded.bytesOfLine;
    QList<QByteArray> out;
    out.reserve(lines.size());
    for (const QString& line : lines) {
        auto it = unused.find(line);
        if (it != unused.end()) {
            // Lines whose bytes are not UTF-8 can read the same; find() gives the latest of them,
            // so walk on to the earliest and the file's order survives.
            for (auto next = std::next(it); next != unused.end() && next.key() == line; ++next)
                it = next;
            out.append(it.value());
            unused.erase(it);
        } else {
            out.append(line.toUtf8());
        }
    }
    return replaceFileLines(path, out);
}
