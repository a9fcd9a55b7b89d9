#pragma once

#include <QStringListModel>
#include <QWidget>
#include <memory>
#include <string>
#include <vector>

class QListView;

// The least the job needs, written plainly, to measure the window against: bytes instead of
// text, readdir, ASCII case folding, and a bare window with two list views.
namespace Floor {

struct System {
    std::string shortName;
    std::string description;
};

// The file's lines split at LF, a CR before it dropped.
std::vector<std::string> readLines(const std::string& path);
// The systems after the header line: name before the first quote, description inside quotes.
std::vector<System> systemsOf(const std::vector<std::string>& lines);
// The names of the folder's plain files, hidden ones left out. Unsorted.
std::vector<std::string> listFolder(const std::string& folder);
void sortAlphabetically(std::vector<std::string>& names);

// What a fill needs: the listing read for the system's short name, its folder listed and sorted.
std::vector<std::string> gamesOf(const std::string& programFolder, const std::string& description);

// A window with nothing but the systems and the games, each in a list view.
class Window : public QWidget {
public:
    Window(const std::vector<std::string>& systems, const std::vector<std::string>& games);
    void addGame(const QString& name); // at its place, ignoring letter case
    QListView* gamesView() const { return m_gamesView; }
    int gameCount() const { return m_games->rowCount(); }

private:
    QStringListModel* m_systems;
    QStringListModel* m_games;
    QListView* m_systemsView;
    QListView* m_gamesView;
};

// The start-up: the listing read, the systems sorted, the games of the system with this
// description (the first system when empty) listed and sorted, and the window made, not shown.
std::unique_ptr<Window> makeWindow(const std::string& programFolder,
                                   const std::string& description = {});

} // namespace Floor
