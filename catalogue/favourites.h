#pragma once

#include "platform/fileproblem.h"

#include <QByteArray>
#include <QMultiHash>
#include <QString>
#include <QStringList>

// The favourites as loaded, with the bytes each line had in the file, so that a rewrite keeps
// every other line exactly as the user's file held it.
struct FavouritesFile {
    QStringList lines;
    QMultiHash<QString, QByteArray> bytesOfLine;
};

// Thousands of favourites take a megabyte; a file far larger is not the user's favourites.
constexpr qint64 LargestFavouritesFile = 64 * 1024 * 1024;

// Missing, unreadable or too large: no favourites. Blank lines are not favourites.
FavouritesFile readFavourites(const QString& path);

// Adds the line at the end; the file's earlier bytes stay exactly as they were, and are not read.
// Another window adding at the same moment loses nothing.
FileProblem appendFavourite(const QString& path, const QString& line);

// Rewrites the file with these lines in this order, in one step.
FileProblem rewriteFavourites(const QString& path, const QStringList& lines,
                              const FavouritesFile& loaded);
