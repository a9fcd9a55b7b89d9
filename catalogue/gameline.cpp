#include "catalogue/gameline.h"

namespace GameLine {

bool canCarry(const QString& fileName) {
    if (fileName.isEmpty() || fileName.size() > NameColumns)
        return false;
    for (const QChar c : fileName) {
        if (c == QLatin1Char('"') || c.category() == QChar::Other_Control)
            return false;
    }
    return true;
}

QString make(const QString& fileName, const QString& shortName) {
    QString line;
    line.reserve(NameColumns + shortName.size() + fileName.size() + 3);
    line += fileName;
    line += QString(NameColumns - fileName.size(), QLatin1Char(' '));
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
    return line.left(NameColumns).trimmed();
}

QString shortName(const QString& line) {
    const QString tail = commandTail(line);
    return tail.left(tail.indexOf(QLatin1Char(' ')));
}

} // namespace GameLine
