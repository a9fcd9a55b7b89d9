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

std::optional<SystemLine> parseSystemLine(const QString& line) {
    SystemLine system;
    const qsizetype quote = line.indexOf(QLatin1Char('"'));
    if (quote >= 0) {
        system.shortName = line.left(quote).trimmed();
        // A line cut short (a truncated listing) has no closing quote to drop: keep its text.
        const bool closed = line.size() > quote + 1 && line.endsWith(QLatin1Char('"'));
        system.description = line.mid(quote + 1, line.size() - quote - (closed ? 2 : 1));
    } else {
        if (line.size() < 12)
            return std::nullopt;
        system.shortName = line.left(8).trimmed();
        system.description = line.mid(11, line.size() - 12);
    }
    if (!isUsableShortName(system.shortName))
        return std::nullopt;
    return system;
}

std::optional<std::vector<SystemLine>> readSystemsFile(const QString& path) {
    const auto lines = readRawLines(path);
    if (!lines)
        return std::nullopt;
    std::vector<SystemLine> systems;
    systems.reserve(lines->size());
    for (qsizetype i = 1; i < lines->size(); ++i) {
        if (auto system = parseSystemLine(decodeLine(lines->at(i))))
            systems.push_back(std::move(*system));
    }
    return systems;
}

QString shortNameForDescription(const std::vector<SystemLine>& systems,
                                const QString& description) {
    for (auto it = systems.rbegin(); it != systems.rend(); ++it) {
        if (it->description == description)
            return it->shortName;
    }
    return {};
}
