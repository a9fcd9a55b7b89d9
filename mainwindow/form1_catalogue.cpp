// The systems list, the games list, the favourites and "Update systems".
#include "mainwindow/form1.h"
#include "mainwindow/optionvalues.h"
#include "mainwindow/windowmessages.h"

#include "catalogue/cataloguemessages.h"
#include "catalogue/favourites.h"
#include "catalogue/gameline.h"
#include "catalogue/gameslist.h"
#include "catalogue/systemsfile.h"
#include "catalogue/systemsregeneration.h"
#include "shelltools/hvl_shelltools.h"

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
        if (const auto system =
                systemFolderOf(m_platform.folder, EmulatedSystemList->item(selected))) {
            // Moved, not copied: each name gives its memory back as it becomes its line.
            GamesList->setItems(
                gamesListLines(imageNames(system->path).value_or(QStringList()), system->shortName),
                true);
            GamesList->setEmptyText(noImagesIn(m_platform.folder.relativePath(system->path)));
            showFullListMode();
        }
    }
    // The recordings lister is given back re-read, as every fill leaves it.
    INPFile->setPath(m_platform.folder.recordingsFolder());
    INPFile->setPattern(QStringLiteral("*.INP"));
}

void Form1::setListMode(const QString& mode) {
    GamesList->setTag(mode);
    Frame1->setTitle(mode == FavMode ? QStringLiteral("Games [Favourites list]")
                                     : QStringLiteral("Games [Full list]"));
}

// A refill shows the full list, so the mode must say so: a removal in "Fav" mode rewrites the
// favourites file from whatever the list holds.
void Form1::showFullListMode() {
    if (GamesList->tag() == FavMode)
        setListMode(FullMode);
}

QString Form1::systemToolTip(int row) const {
    const QString description = EmulatedSystemList->item(row);
    const auto system = systemFolderOf(m_platform.folder, description);
    if (!system)
        return description;
    const auto names = imageNames(system->path);
    return ::systemToolTip(description, system->shortName,
                           m_platform.folder.relativePath(system->path),
                           names ? int(names->size()) : -1);
}

// The list shows a name cut to the list's width, or to its 63 columns; the tooltip shows it whole.
QString Form1::gameToolTip(int row) const {
    const QString line = GamesList->item(row);
    const QString name = GameLine::name(line);
    const QString shown = line.left(GameLine::NameColumns).trimmed();
    return name != shown || GamesList->isCutOnScreen(shown) ? name : QString();
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
    GamesList->setEmptyText(QString());
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
        setListMode(FullMode);
    } else {
        LoadFavourites();
        setListMode(FavMode);
    }
}

void Form1::GamesList_MouseDown(Qt::MouseButton Button) {
    const int index = GamesList->listIndex();
    storeRecordingName(index);
    storeListIndex(index);
    if (Button == Qt::RightButton && index >= 0)
        offerToAddOrRemove(index);
}

// A recording made from here is named after the game's system.
void Form1::storeRecordingName(int index) {
    if (index >= 0)
        RecText->setText(GameLine::shortName(GamesList->item(index)));
}

void Form1::storeListIndex(int index) {
    const QString mode = GamesList->tag();
    if (mode == FullMode || mode == FavMode)
        writeSetting(GamesSection,
                     mode == FullMode ? QStringLiteral("LastFull") : QStringLiteral("LastFav"),
                     QString::number(index));
}

void Form1::offerToAddOrRemove(int index) {
    const QString line = GamesList->item(index);
    const QString name = GameLine::name(line);
    const QString path = m_platform.folder.favouritesFile();
    if (GamesList->tag() != FavMode) {
        if (!m_platform.messages->question(addFavouriteQuestion(name)))
            return;
        if (const FileProblem problem = appendFavourite(path, line))
            m_platform.messages->notice(favouritesNotSaved(path, problem.text()));
        else
            m_platform.messages->notice(favouriteAddedNotice(name));
        return;
    }

    if (!m_platform.messages->question(removeFavouriteQuestion(name)))
        return;
    GamesList->removeItem(index);
    if (const FileProblem problem = rewriteFavourites(path, GamesList->items(), m_favourites)) {
        GamesList->addItem(line); // the file still holds it, so the list shows it again
        m_platform.messages->notice(favouritesNotSaved(path, problem.text()));
        return;
    }
    m_favourites = readFavourites(path);
    m_platform.messages->notice(favouriteRemovedNotice(name));
}

void Form1::UpdateSystemsMenu_Click() {
    SystemsRegeneration regeneration(m_platform.folder);
    QString trouble = regeneration.trouble();
    if (trouble.isEmpty()) {
        m_updating = true;
        const hvl_ShellTools::ShellResult result = hvl_ShellTools::ShellAndWait(
            regeneration.commandLine(), m_platform.folder.path(), this);
        m_updating = false;
        trouble = regeneration.finish(result);
    }
    if (m_closeAfterUpdate) {
        close();
        return;
    }
    if (trouble.isEmpty())
        LoadSystemsList();
    else
        m_platform.messages->notice(trouble);
    showWaitingNotices();
}
