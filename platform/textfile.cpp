#include "platform/textfile.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

QList<QByteArray> splitLines(const QByteArray& bytes) {
    QList<QByteArray> lines;
    qsizetype start = 0;
    const qsizetype size = bytes.size();
    for (qsizetype i = 0; i < size; ++i) {
        const char c = bytes.at(i);
        if (c != '\r' && c != '\n')
            continue;
        lines.append(bytes.mid(start, i - start));
        if (c == '\r' && i + 1 < size && bytes.at(i + 1) == '\n')
            ++i;
        start = i + 1;
    }
    if (start < size)
        lines.append(bytes.mid(start));
    return lines;
}

QString decodeLine(const QByteArray& line) {
    return QString::fromUtf8(line);
}

std::optional<QList<QByteArray>> readRawLines(const QString& path) {
    QFile file(path);
    if (QFileInfo(path).isDir() || !file.open(QIODevice::ReadOnly))
        return std::nullopt;
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return std::nullopt;
    return splitLines(bytes);
}

bool replaceFileBytes(const QString& path, const QByteArray& bytes) {
    // A file the user made read-only stays as it is, though its folder would allow a rename.
    // Its mode bits are asked too: for root, isWritable() says yes to every file.
    const QFileInfo info(path);
    const auto anyWrite =
        QFileDevice::WriteOwner | QFileDevice::WriteGroup | QFileDevice::WriteOther;
    if (info.exists() && (!info.isFile() || !info.isWritable() || !(info.permissions() & anyWrite)))
        return false;
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    // A small file sits in Qt's buffer until the commit, and Qt 6.4 commits even when that last
    // flush fails on a full disk: flush first, so a cut file never takes the old one's place.
    if (file.write(bytes) != bytes.size() || !file.flush()) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

bool replaceFileLines(const QString& path, const QList<QByteArray>& lines) {
    QByteArray bytes;
    for (const QByteArray& line : lines)
        bytes += line + "\r\n";
    return replaceFileBytes(path, bytes);
}
