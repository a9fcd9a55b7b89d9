#pragma once

#include <QString>

// What the main window says to the user in its own words.

QString optionsNotSaved(const QString& file, const QString& reason);
QString favouritesNotSaved(const QString& file, const QString& reason);

QString addFavouriteQuestion(const QString& game);
QString favouriteAddedNotice(const QString& game);
QString removeFavouriteQuestion(const QString& game);
QString favouriteRemovedNotice(const QString& game);

// The games list's empty area, naming the folder it looked in ("ROMS/nes").
QString noImagesIn(const QString& folder);

// A systems-list entry's tooltip: its whole description, its short name, and its images folder
// with the number of images in it, -1 when the folder does not exist yet.
QString systemToolTip(const QString& description, const QString& shortName, const QString& folder,
                      int images);
