#include "mainwindow/windowmessages.h"

QString optionsNotSaved(const QString& file, const QString& reason) {
    return QStringLiteral("Your options could not be saved: %1 cannot be written: %2.\nTallowick "
                          "goes on with the options as they are now.")
        .arg(file, reason);
}

QString favouritesNotSaved(const QString& file, const QString& reason) {
    return QStringLiteral("Your favourites could not be saved: %1 cannot be written: %2.\nThe "
                          "favourites list is unchanged.")
        .arg(file, reason);
}

QString addFavouriteQuestion(const QString& game) {
    return QStringLiteral("Add ") + game;
}

QString favouriteAddedNotice(const QString& game) {
    return game + QStringLiteral("\nhas been added in your favourites list !");
}

QString removeFavouriteQuestion(const QString& game) {
    return QStringLiteral("Remove ") + game;
}

QString favouriteRemovedNotice(const QString& game) {
    return game + QStringLiteral("\nhas been removed from your favourites list !");
}

QString noImagesIn(const QString& folder) {
    return QStringLiteral("No images in %1/").arg(folder);
}

QString systemToolTip(const QString& description, const QString& shortName, const QString& folder,
                      int images) {
    QString where;
    if (images < 0)
        where = QStringLiteral("%1/ does not exist yet").arg(folder);
    else if (images == 0)
        where = QStringLiteral("%1/ holds no images").arg(folder);
    else if (images == 1)
        where = QStringLiteral("%1/ \u2014 1 image").arg(folder);
    else
        where = QStringLiteral("%1/ \u2014 %2 images").arg(folder, QString::number(images));
    return description + QStringLiteral("\nShort name: ") + shortName + QLatin1Char('\n') + where;
}
