#pragma once

#include <QString>
#include <QStringList>

// The recordings list's items: each file name without its last four characters (".INP").
QStringList recordingItems(const QStringList& fileNames);

// The pieces a recording adds to the emulator's command line; the name goes in as it stands.
QString playbackPiece(const QString& recording);
QString recordPiece(const QString& recording);
