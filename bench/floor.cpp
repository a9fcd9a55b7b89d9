#include "bench/floor.h"

#include <QListView>
#include <algorithm>
#include <dirent.h>
#include <fstream>
#include <iterator>
#include <strings.h>

namespace Floor {

std::vector<std::string> readLines(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(file)),
                            std::istreambuf_iterator<char>());
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < bytes.size()) {
        std::size_t end = bytes.find('\n', start);
        if (end == std::string::npos)
            end = bytes.size();
        const std::size_t length = end - start - (end > start && bytes[end - 1] == '\r');
        lines.emplace_back(bytes, start, length);
        start = end + 1;
    }
    return lines;
}

std::vector<System> systemsOf(const std::vector<std::string>& lines) {
    std::vector<System> systems;
    systems.reserve(lines.size());
    for (std::size_t i = 1; i < lines.size(); ++i) {
        const std::string& line = lines[i];
        const std::size_t quote = line.find('"');
        if (quote == std::string::npos || quote + 2 > line.size())
            continue;
        const std::size_t nameEnd = line.find(' ');
        systems.push_back({line.substr(0, std::min(quote, nameEnd)),
                           line.substr(quote + 1, line.size() - quote - 2)});
    }
    return systems;
}

std::vector<std::string> listFolder(const std::string& folder) {
    std::vector<std::string> names;
    DIR* dir = opendir(folder.c_str());
    if (!dir)
        return names;
    while (const dirent* entry = readdir(dir)) {
        if (entry->d_name[0] != '.' && entry->d_type == DT_REG)
            names.emplace_back(entry->d_name);
    }
    closedir(dir);
    return names;
}

void sortAlphabetically(std::vector<std::string>& names) {
    std::sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) {
        return strcasecmp(a.c_str(), b.c_str()) < 0;
    });
}

static std::vector<std::string> sortedGames(const std::string& programFolder,
                                            const std::string& shortName) {
    std::vector<std::string> games = listFolder(programFolder + "/ROMS/" + shortName);
    sortAlphabetically(games);
    return games;
}

std::vector<std::string> gamesOf(const std::string& programFolder, const std::string& description) {
    for (const System& system : systemsOf(readLines(programFolder + "/Tallowick.sys"))) {
        if (system.description == description)
            return sortedGames(programFolder, system.shortName);
    }
    return {};
}

static QStringList texts(const std::vector<std::string>& lines) {
    QStringList list;
    list.reserve(qsizetype(lines.size()));
    for (const std::string& line : lines)
        list.append(QString::fromUtf8(line.data(), qsizetype(line.size())));
    return list;
}

static QListView* listView(QWidget* parent, QStringListModel* model, int left) {
    auto* view = new QListView(parent);
    view->setUniformItemSizes(true); // as any list of this size must
    view->setModel(model);
    view->setGeometry(left, 8, 209, 272); // the main window's list size
    return view;
}

Window::Window(const std::vector<std::string>& systems, const std::vector<std::string>& games)
    : m_systems(new QStringListModel(texts(systems), this)),
      m_games(new QStringListModel(texts(games), this)),
      m_systemsView(listView(this, m_systems, 8)), m_gamesView(listView(this, m_games, 225)) {
    resize(442, 288);
}

void Window::addGame(const QString& name) {
    int row = 0;
    {
        // The copy of the list must be gone before the insertion, or the insertion copies it.
        const QStringList names = m_games->stringList();
        row = int(std::upper_bound(names.begin(), names.end(), name,
                                   [](const QString& a, const QString& b) {
                                       return a.compare(b, Qt::CaseInsensitive) < 0;
                                   }) -
                  names.begin());
    }
    m_games->insertRows(row, 1);
    m_games->setData(m_games->index(row), name);
}

std::unique_ptr<Window> makeWindow(const std::string& programFolder,
                                   const std::string& description) {
    std::vector<System> systems = systemsOf(readLines(programFolder + "/Tallowick.sys"));
    std::sort(systems.begin(), systems.end(), [](const System& a, const System& b) {
        return strcasecmp(a.description.c_str(), b.description.c_str()) < 0;
    });
    std::vector<std::string> descriptions;
    descriptions.reserve(systems.size());
    std::string shortName = systems.empty() ? std::string() : systems.front().shortName;
    for (System& system : systems) {
        if (system.description == description)
            shortName = system.shortName;
        descriptions.push_back(std::move(system.description));
    }
    return std::make_unique<Window>(descriptions, sortedGames(programFolder, shortName));
}

} // namespace Floor
