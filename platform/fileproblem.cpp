#include "platform/fileproblem.h"

#include <QLocale>

QString FileProblem::text() const {
    if (kind == TooLarge)
        return QStringLiteral("it holds %1 bytes").arg(QLocale(QLocale::English).toString(size));
    return reason;
}
