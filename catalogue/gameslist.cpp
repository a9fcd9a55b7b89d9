#include "catalogue/gameslist.h"

#include "catalogue/gameline.h"
#include "catalogue/systemsfile.h"
#include "platform/folderlisting.h"
#include "platform/programfolder.h"
#include "platform/textorder.h"

QStringList gamesListLines(const QString& folder, const QString& shortName) {
    auto entries = listPlainFiles(folder);
    if (!entries)
        return {};
    entries->removeIf([](const QString& name) {
        return name.compare(QLatin1String("dir.txt"), Qt::CaseInsensitive) == 0 ||
               !GameLine::canCarry(name);
    });
    // The names are put in their lines' order before the lines are made, so that neither the
    // names nor the sort's keys are held alongside all the lines; each name then becomes its line
    // where it stands, giving its memory back as the line is made.
    const auto lineOf = [&shortName](const QString& name) {
        return GameLine::make(name, shortName);
    };
    sortAlphabetically(*entries, lineOf);
    for (QString& entry : *entries)
        entry = lineOf(entry);
    return std::move(*entries);
}

// Apart, so that the listing read to find the name is freed before the folder is listed: a large
// games list should not have the whole systems listing added to its peak memory.
static QString shortNameInSystemsFile(const ProgramFolder& folder, const QString& description) {
    return shortNameForDescription(readSystemsFile(folder.systemsFile()).systems, description);
}

std::optional<QStringList> fullGamesList(const ProgramFolder& folder, const QString& description) {
    const QString shortName = shortNameInSystemsFile(folder, description);
    if (shortName.isEmpty())
        return std::nullopt;
    return gamesListLines(folder.gamesFolder(shortName), shortName);
}
