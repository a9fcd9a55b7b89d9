#include "launch/recordings.h"

QStringList recordingItems(const QStringList& fileNames) {
    QStringList items;
    items.reserve(fileNames.size());
    for (const QString& name : fileNames)
        items.append(name.left(qMax<qsizetype>(0, name.size() - 4)));
    return items;
}

QString playbackPiece(const QString& recording) {
    return QLatin1String("-playback ") + recording + QLatin1Char(' ');
}

QString recordPiece(const QString& recording) {
    return QLatin1String("-record ") + recording + QLatin1Char(' ');
}
