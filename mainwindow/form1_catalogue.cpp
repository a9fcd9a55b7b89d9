// The systems list, the games list, the favourites and "Update systems".
#include "mainwindow/form1.h"
#include "mainwindow/optionvalues.h"

#include "catalogue/favourites.h"
#include "catalogue/gameline.h"
#include "catalogue/gameslist.h"
#include "catalogue/systemsfile.h"
#include "catalogue/systemsregeneration.h"

#include <QGroupBox>
#include <QLineEdit>

static const QString FullMode = QStringLiteral("Full");
static const QString FavMode = QStringLiteral("Fav");
static const QString GamesSection = QStringLiteral("Games");

void Form1::LoadSystemsList() {
    const QString path = m_platform.folder.systemsFile();
    const SystemsFile file = readSystemsFile(path);
    QStringList descriptions;
    descriptions.reserve(qsizetype(file.systems.size()));
    for (const SystemLine& system : file.systems)
        descriptions.append(system.description);
    EmulatedSystemList->setItems(descriptions);
    if (EmulatedSystemList->count() > 0) {
        EmulatedSystemList->setListIndex(0);
        return;
    }
    GamesList->clear();
    m_platform.messages->notice(systemsFileTrouble(file, path));
}

void Form1::FillGamesList() {
    const int selected = EmulatedSystemList->listIndex();
    if (selected >= 0) {
        if (auto lines = fullGamesList(m_platform.folder, EmulatedSystemList->item(selected))) {
            GamesList->setItems(std::move(*lines), true);
            showFullListMode();
        }
    }
    // The recordings lister is given back re-read, as every fill leaves it.
    INPFile->setPath(m_platform.folder.recordingsFolder());
    INPFile->setPattern(QStringLiteral("*.INP"));
}

// A refill shows the full list, so the mode must say so: a removal in "Fav" mode rewrites the
// favourites file from whatever the list holds.
void Form1::showFullListMode() {
    if (GamesList->tag() == FavMode) {
        GamesList->setTag(FullMode);
        Frame1->setTitle(QStringLiteral("Games [Full list]"));
    }
}

void Form1::EmulatedSystemList_Click() {
    FillGamesList();
}

void Form1::GamesListCommand_Click() {
    FillGamesList();
}

void Form1::LoadFavourites() {
    m_favourites = readFavourites(m_platform.folder.favouritesFile());
    GamesList->setItems(m_favourites.lines);
    const QString stored =
        m_platform.settings->read(GamesSection, QStringLiteral("LastFav"), QStringLiteral("0"));
    // An index past the end (a removal shortened the list since) selects no line.
    GamesList->setListIndex(int(OptionValues::readInt32(stored).value_or(-1)));
}

void Form1::SwapListCommand_Click() {
    if (GamesList->tag() == FavMode) {
        FillGamesList();
        // No system to fill from: the favourites must not stay on show as the full list.
        if (GamesList->tag() == FavMode)
            GamesList->clear();
        GamesList->setTag(FullMode);
        Frame1->setTitle(QStringLiteral("Games [Full list]"));
    } else {
        LoadFavourites();
        GamesList->setTag(FavMode);
        Frame1->setTitle(QStringLiteral("Games [Favourites list]"));
    }
}

void Form1::GamesList_MouseDown(Qt::MouseButton Button) {
    const int index = GamesList->listIndex();
    const QString line = GamesList->item(index);
    if (index >= 0)
        RecText->setText(GameLine::shortName(line));
    const QString mode = GamesList->tag();
    if (mode == FullMode || mode == FavMode)
        writeSetting(GamesSection,
                     mode == FullMode ? QStringLiteral("LastFull") : QStringLiteral("LastFav"),
                     QString::number(index));
    if (Button != Qt::RightButton || index < 0)
        return;

    const QString name = GameLine::name(line);
    const QString favouritesPath = m_platform.folder.favouritesFile();
    const QString notSaved = QStringLiteral("Your favourites could not be saved: %1 cannot be "
                                            "written.\nThe favourites list is unchanged.")
                                 .arg(favouritesPath);
    if (mode != FavMode) {
        if (!m_platform.messages->question(QStringLiteral("Add ") + name))
            return;
        if (!appendFavourite(favouritesPath, line)) {
            m_platform.messages->notice(notSaved);
            return;
        }
        m_platform.messages->notice(name +
                                    QStringLiteral("\nhas been added in your favourites list !"));
        return;
    }

    if (!m_platform.messages->question(QStringLiteral("Remove ") + name))
        return;
    GamesList->removeItem(index);
    if (!rewriteFavourites(favouritesPath, GamesList->items(), m_favourites)) {
        GamesList->addItem(line); // the file still holds it, so the list shows it again
        m_platform.messages->notice(notSaved);
        return;
    }
    m_favourites = readFavourites(favouritesPath);
    m_platform.messages->notice(name +
                                QStringLiteral("\nhas been removed from your favourites list !"));
}

void Form1::UpdateSystemsMenu_Click() {
    const RegenerationResult result = regenerateSystemsFile(m_platform.folder, this);
    if (result.replaced)
        LoadSystemsList();
    else
        m_platform.messages->notice(result.message);
}
