#include "catalogue/gameslist.h"

#include "catalogue/folderlisting.h"
#include "catalogue/gameline.h"
#include "catalogue/systemsfile.h"

#include <algorithm>

bool lessIgnoringCase(const QString& a, const QString& b) {
    return QString::compare(a, b, Qt::CaseInsensitive) < 0;
}

void sortIgnoringCase(QStringList& lines) {
    std::stable_sort(lines.begin(), lines.end(), lessIgnoringCase);
}

QString systemFolder(const QString& programFolder, const QString& shortName) {
    return programFolder + QLatin1String("/ROMS/") + shortName;
}

QStringList gamesListLines(const QString& folder, const QString& shortName) {
    const auto names = listPlainFiles(folder);
    if (!names)
        return {};
    QStringList lines;
    lines.reserve(names->size());
    for (const QString& name : *names) {
        if (name.compare(QLatin1String("dir.txt"), Qt::CaseInsensitive) == 0 ||
            !GameLine::canCarry(name))
            continue;
        lines.append(GameLine::make(name, shortName));
    }
    sortIgnoringCase(lines);
    return lines;
}

std::optional<QStringList> fullGamesList(const QString& programFolder, const QString& description) {
    const auto systems = readSystemsFile(systemsFilePath(programFolder));
    if (!systems)
        return std::nullopt;
    const QString shortName = shortNameForDescription(*systems, description);
    if (shortName.isEmpty())
        return std::nullopt;
    return gamesListLines(systemFolder(programFolder, shortName), shortName);
}
