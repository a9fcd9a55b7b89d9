#include "catalogue/gameslist.h"

#include "catalogue/gameline.h"
#include "catalogue/systemsfile.h"
#include "platform/folderlisting.h"
#include "platform/programfolder.h"
#include "platform/textorder.h"

std::optional<QStringList> imageNames(const QString& folder) {
    auto names = listPlainFiles(folder);
    if (!names)
        return std::nullopt;
    names->removeIf([](const QString& name) {
        return name.compare(QLatin1String("dir.txt"), Qt::CaseInsensitive) == 0 ||
               !GameLine::canCarry(name);
    });
    return names;
}

QStringList gamesListLines(QStringList names, const QString& shortName) {
    // The names are put in their lines' order before the lines are made, so that neither the
    // names nor the sort's keys are held alongside all the lines; each name then becomes its line
    // where it stands, giving its memory back as the line is made.
    const auto lineOf = [&shortName](const QString& name) {
        return GameLine::make(name, shortName);
    };
    sortAlphabetically(names, lineOf);
    for (QString& name : names)
        name = lineOf(name);
    return names;
}

std::optional<SystemFolder> systemFolderOf(const ProgramFolder& folder,
                                           const QString& description) {
    // The listing read to find the name is freed before the caller lists the folder: a large
    // games list should not have the whole systems listing added to its peak memory.
    const QString shortName =
        shortNameForDescription(readSystemsFile(folder.systemsFile()).systems, description);
    if (shortName.isEmpty())
        return std::nullopt;
    return SystemFolder{shortName, folder.gamesFolder(shortName)};
}
