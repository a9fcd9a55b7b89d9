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

SystemsFile readSystemsFile(const QString& path) {
    SystemsFile file;
    bool header = true;
    file.problem = readLines(path, LargestSystemsFile, [&](const QByteArray& line) {
        if (header)
            header = false;
        else if (auto system = parseSystemLine(decodeLine(line)))
            file.systems.push_back(std::move(*system));
    });
    if (file.problem)
        file.systems.clear();
    return file;
}

QString systemsFileTrouble(const SystemsFile& file, const QString& path) {
    const QString remedy =
        QStringLiteral("\nChoose \"Update systems\" in the \"File\" menu to make a new one.");
    switch (file.problem.kind) {
    case FileProblem::None:
        if (!file.systems.empty())
            return {};
        return QStringLiteral("The systems list %1 holds no system that can be shown.").arg(path) +
               remedy;
    case FileProblem::Missing:
        return QStringLiteral("The systems list %1 was not found.").arg(path) + remedy;
    case FileProblem::TooLarge:
        return QStringLiteral("The systems list %1 cannot be read: %2, far more than a systems "
                              "list holds.")
                   .arg(path, file.problem.text()) +
               remedy;
    case FileProblem::NotAFile:
    case FileProblem::Unreadable:
        break;
    }
    return QStringLiteral("The systems list %1 cannot be read: %2.")
               .arg(path, file.problem.text()) +
           remedy;
}

QString shortNameForDescription(const std::vector<SystemLine>& systems,
                                const QString& description) {
    for (auto it = systems.rbegin(); it != systems.rend(); ++it) {
        if (it->description == description)
            return it->shortName;
    }
    return {};
}
