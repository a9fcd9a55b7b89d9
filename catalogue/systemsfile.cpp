#include "catalogue/systemsfile.h"

#include "platform/textfile.h"

bool isUsableShortName(const QString& name) {
    if (name.isEmpty() || name == QLatin1String(".") || name == QLatin1String(".."))
        return false;
    // Half of a character cut at column 8 cannot be written into a path.
    if (!name.isValidUtf16())
        return false;
    for (const QChar c : name) {
        if (c.isSpace() || c.category() == QChar::Other_Control || c == QLatin1Char('/') ||
            c == QLatin1Char('"') || c == QLatin1Char('\\'))
            return false;
    }
    return true;
}

static bool isBlank(QChar c) {
    return c == QLatin1Char(' ') || c == QLatin1Char('\t');
}

std::optional<SystemLine> parseSystemLine(const QString& line) {
    const qsizetype size = line.size();
    if (size < 12)
        return std::nullopt;
    SystemLine system;
    qsizetype nameEnd = 0;
    while (nameEnd < size && !isBlank(line.at(nameEnd)) && line.at(nameEnd) != QLatin1Char('"'))
        ++nameEnd;
    qsizetype quote = nameEnd;
    while (quote < size && isBlank(line.at(quote)))
        ++quote;
    if (nameEnd > 0 && quote > nameEnd && quote < size && line.at(quote) == QLatin1Char('"')) {
        system.shortName = line.left(nameEnd);
        qsizetype end = size;
        while (end > quote + 1 && isBlank(line.at(end - 1)))
            --end;
        // A line cut short (a truncated listing) has no closing quote to drop: keep its text.
        if (end > quote + 1 && line.at(end - 1) == QLatin1Char('"'))
            system.description = line.mid(quote + 1, end - quote - 2);
        else
            system.description = line.mid(quote + 1);
    } else {
        system.shortName = line.left(8).trimmed();
        system.description = line.mid(11, size - 12);
    }
    if (!isUsableShortName(system.shortName))
        return std::nullopt;
    return system;
}

SystemsFile readSystemsFile(const QString& path) {
    SystemsFile file;
    // The header is the first line, however long; a corrupt one is no reason to lose a system.
    file.problem = readLines(path, LargestSystemsFile, [&](qint64 number, const QByteArray& line) {
        if (number == 0)
            return;
        if (auto system = parseSystemLine(decodeLine(line)))
            file.systems.push_back(std::move(*system));
    });
    if (file.problem)
        file.systems.clear();
    return file;
}

QString shortNameForDescription(const std::vector<SystemLine>& systems,
                                const QString& description) {
    for (auto it = systems.rbegin(); it != systems.rend(); ++it) {
        if (it->description == description)
            return it->shortName;
    }
    return {};
}
