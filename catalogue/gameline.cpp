#include "catalogue/gameline.h"

namespace GameLine {

bool canCarry(const QString& fileName) {
    if (fileName.isEmpty())
        return false;
    for (const QChar c : fileName) {
        if (c == QLatin1Char('"') || c.category() == QChar::Other_Control)
            return false;
    }
    return true;
}

QString make(const QString& fileName, const QString& shortName) {
    QString shown = fileName.left(NameColumns);
    // A cut between the two halves of a character would show half of it.
    if (shown.size() < fileName.size() && shown.back().isHighSurrogate())
        shown.chop(1);
    QString line;
    line.reserve(NameColumns + shortName.size() + fileName.size() + 3);
    line += shown;
    line += QString(NameColumns - shown.size(), QLatin1Char(' '));
    line += shortName;
    line += QLatin1String(" \"");
    line += fileName;
    line += QLatin1Char('"');
    return line;
}

QString commandTail(const QString& line) {
    return line.mid(NameColumns);
}

QString name(const QString& line) {
    const QString tail = commandTail(line);
    const qsizetype open = tail.indexOf(QLatin1Char('"'));
    const qsizetype length = tail.size() - open - 2;
    if (open >= 0 && length > NameColumns && tail.endsWith(QLatin1Char('"')))
        return tail.mid(open + 1, length).trimmed();
    return line.left(NameColumns).trimmed();
}

QString shortName(const QString& line) {
    const QString tail = commandTail(line);
    return tail.left(tail.indexOf(QLatin1Char(' ')));
}

} // namespace GameLine
