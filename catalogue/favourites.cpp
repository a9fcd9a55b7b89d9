#include "catalogue/favourites.h"

#include "platform/textfile.h"

#include <QFile>
#include <QFileInfo>
#include <iterator>

FavouritesFile readFavourites(const QString& path) {
    FavouritesFile favourites;
    const auto raw = readRawLines(path);
    if (!raw)
        return favourites;
    for (const QByteArray& bytes : *raw) {
        if (bytes.trimmed().isEmpty())
            continue;
        const QString line = decodeLine(bytes);
        favourites.lines.append(line);
        favourites.bytesOfLine.insert(line, bytes);
    }
    return favourites;
}

bool appendFavourite(const QString& path, const QString& line) {
    QByteArray bytes;
    if (QFileInfo::exists(path)) {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly))
            return false;
        bytes = file.readAll();
        if (file.error() != QFileDevice::NoError)
            return false;
    }
    // A file edited by hand may lack its last line end; the new line must not join that line.
    if (!bytes.isEmpty() && !bytes.endsWith('\n') && !bytes.endsWith('\r'))
        bytes += "\r\n";
    bytes += line.toUtf8() + "\r\n";
    return replaceFileBytes(path, bytes);
}

bool rewriteFavourites(const QString& path, const QStringList& lines,
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
