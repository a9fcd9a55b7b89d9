#include "bench/benchfolder.h"

#include <QDir>
#include <QSaveFile>
#include <cstdio>
#include <fcntl.h>
#include <random>
#include <stdexcept>
#include <unistd.h>
#include <unordered_set>
#include <vector>

namespace {

template <typename T, std::size_t N> const T& pick(std::mt19937& random, const T (&choices)[N]) {
    return choices[std::uniform_int_distribution<std::size_t>(0, N - 1)(random)];
}

bool chance(std::mt19937& random, int percent) {
    return std::uniform_int_distribution<int>(0, 99)(random) < percent;
}

// Every maker starts with a letter, so no generated description sorts before the first system's.
struct Maker {
    const char* name;
    const char* prefix; // lower-case letters only: with a decimal number after it, names are unique
};
const Maker makers[] = {
    {"Acorn", "acorn"},
    {"Amstrad", "cpc"},
    {"Apple", "apple"},
    {"Atari", "atari"},
    {"Bandai", "bandai"},
    {"Casio", "casio"},
    {"Commodore", "cbm"},
    {"Epoch", "epoch"},
    {"Fujitsu", "fm"},
    {"Hitachi", "hitachi"},
    {"Mattel", "mattel"},
    {"NEC", "pc"},
    {"Nintendo", "nin"},
    {"Panasonic", "pana"},
    {"Philips", "philips"},
    {"Sanyo", "sanyo"},
    {"Sega", "sega"},
    {"Sharp", "sharp"},
    {"Sinclair", "zx"},
    {"Sony", "sony"},
    {"Tandy", "trs"},
    {"Texas Instruments", "ti"},
    {"Thomson", "to"},
    {"Toshiba", "pasopia"},
    {"Yamaha", "yis"},
    {"Videoton", "tvc"},
    {"Škoda Elektronik", "skoda"},
    {"Électronique Grandin", "grandin"},
    {"Ōtsuka Denki", "otsuka"},
    {"Robotron", "kc"},
    {"Elektronika", "bk"},
    {"Dragon Data", "dragon"},
    {"Exidy", "exidy"},
    {"Heathkit", "heath"},
    {"Kaypro", "kaypro"},
    {"Osborne", "osborne"},
};
const char* const kinds[] = {
    "Personal Computer", "Home Computer",     "Video Game System", "Handheld",
    "Pocket Computer",   "Terminal",          "Trainer Board",     "Word Processor",
    "Learning Computer", "Business Computer", "Music Computer",    "Portable",
};
const char* const systemExtras[] = {
    "",
    "",
    "",
    "",
    " (Japan)",
    " (Europe)",
    " (USA)",
    " (PAL)",
    " (NTSC, Rev. B)",
    " \"Turbo\"",
    ", 128K",
    " (Brazil, Portuguese)",
    " \"Mark II\", expanded",
    " (Deutschland, Ausführung 2)",
    " (France, clavier AZERTY)",
    " / Expansion Unit",
    " (日本)",
    " & Disk Drive",
};

std::string upperCase(std::string text) {
    for (char& c : text)
        c = char(std::toupper(static_cast<unsigned char>(c)));
    return text;
}

BenchSystem generatedSystem(std::mt19937& random, int index) {
    const Maker& maker = pick(random, makers);
    const std::string number = std::to_string(index);
    BenchSystem system;
    system.shortName = maker.prefix + number; // at most 7 letters and 5 digits
    system.description = std::string(maker.name) + ' ' + pick(random, kinds) + ' ' +
                         upperCase(maker.prefix).substr(0, 2) + '-' + number +
                         pick(random, systemExtras);
    return system;
}

const char* const titleWords[] = {
    "Super",   "Mega",     "Ultra",     "Dragon",   "Knight",   "Quest",   "Racing", "Soccer",
    "Tennis",  "Galaxy",   "Space",     "Invaders", "Castle",   "Ninja",   "Puzzle", "Bomber",
    "Pinball", "Golf",     "Wrestling", "Kart",     "Island",   "Legend",  "of",     "the",
    "Return",  "Warriors", "Chess",     "Mahjong",  "Baseball", "Blaster", "Frog",   "Ghosts",
    "Goblins", "Turbo",    "Force",     "Star",     "Jungle",   "Hunt",
};
// A minority of names carry one of these, as in real collections, which are mostly ASCII.
const char* const nonAsciiWords[] = {"Pokémon", "Café",   "Über",  "Ōkami",      "Straße",
                                     "Zürich",  "Fútbol", "Ñandú", "Ränkespiel", "東京"};
const char* const regions[] = {
    "(USA)",   "(Europe)",     "(Japan)",  "(USA, Europe)", "(World)",
    "(Fr,De)", "(Japan) (En)", "(Brazil)", "(Korea)",       "(Spain)",
};
const char* const dumpFlags[] = {"",       "",         "",      " [!]",     " [b1]", " [a]",
                                 " [h2C]", " [t+Fre]", " [o1]", " [T-Eng]", " [!p]"};
const char* const extensions[] = {".zip", ".zip", ".zip", ".nes", ".bin", ".rom", ".ZIP", ".7z"};

void setCase(std::string& word, int style) {
    for (char& c : word) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x80)
            c = char(style == 1 ? std::tolower(byte) : style == 2 ? std::toupper(byte) : byte);
    }
}

// A name like "Super Ninja Quest 2 (USA) [!].zip": mixed case, blanks, brackets, some non-ASCII
// letters, at most 60 bytes (and so at most 60 characters). Unique within `taken`.
std::string gameFileName(std::mt19937& random, std::unordered_set<std::string>& taken) {
    const int style = chance(random, 80) ? 0 : chance(random, 50) ? 1 : 2;
    const std::string tail = std::string(" ") + pick(random, regions) + pick(random, dumpFlags);
    const std::string extension = pick(random, extensions);
    // Room is kept for a number (" 99") and a revision (" (Rev 99)").
    const std::size_t room = 60 - tail.size() - extension.size() - 3 - 9;
    std::string title;
    const int words = std::uniform_int_distribution<int>(1, 5)(random);
    for (int i = 0; i < words; ++i) {
        std::string word =
            chance(random, 2) ? pick(random, nonAsciiWords) : pick(random, titleWords);
        setCase(word, style);
        if (title.size() + word.size() + 1 > room)
            break;
        title += (title.empty() ? "" : " ") + word;
    }
    if (chance(random, 30))
        title += ' ' + std::to_string(std::uniform_int_distribution<int>(2, 99)(random));
    std::string name = title + tail + extension;
    for (int revision = 1; !taken.insert(name).second; ++revision)
        name = title + tail + " (Rev " + std::to_string(revision) + ')' + extension;
    return name;
}

void writeWhole(const QString& path, const std::string& bytes) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) ||
        file.write(bytes.data(), qint64(bytes.size())) != qint64(bytes.size()) || !file.commit())
        throw std::runtime_error("cannot write " + path.toStdString());
}

void fillRomsFolder(const QString& programFolder, const std::string& shortName, int files,
                    std::mt19937& random) {
    const std::string folder = programFolder.toStdString() + "/ROMS/" + shortName + '/';
    if (!QDir().mkpath(QString::fromStdString(folder)))
        throw std::runtime_error("cannot make " + folder);
    std::unordered_set<std::string> taken;
    for (int i = 0; i < files; ++i) {
        const std::string path = folder + gameFileName(random, taken);
        const int fd = ::open(path.c_str(), O_CREAT | O_EXCL | O_WRONLY, 0644);
        if (fd < 0)
            throw std::runtime_error("cannot make " + path);
        ::close(fd);
    }
}

} // namespace

BenchFolder makeBenchFolder(const QString& programFolder, const BenchSizes& sizes) {
    std::mt19937 random(1999);
    std::vector<BenchSystem> systems;
    systems.reserve(std::size_t(sizes.systems));
    for (int i = 0; i < sizes.systems; ++i)
        systems.push_back(generatedSystem(random, i));

    // A digit sorts before every letter, so this one is the systems list's first line.
    BenchFolder folder;
    systems[std::size_t(sizes.systems / 5)] = {"vc1292", "1292 Advanced Programmable Video System"};
    folder.first = systems[std::size_t(sizes.systems / 5)];
    folder.small = systems[std::size_t(sizes.systems / 3)];
    folder.large = systems[std::size_t(sizes.systems * 2 / 3)];
    folder.empty = systems[std::size_t(sizes.systems / 2)];

    std::string listing = "Name:             Description:\n";
    listing.reserve(std::size_t(sizes.systems) * 64);
    char line[512];
    for (const BenchSystem& system : systems) {
        std::snprintf(line, sizeof line, "%-17s \"%s\"\n", system.shortName.c_str(),
                      system.description.c_str());
        listing += line;
    }
    writeWhole(programFolder + QStringLiteral("/Tallowick.sys"), listing);

    fillRomsFolder(programFolder, folder.first.shortName, sizes.firstGames, random);
    fillRomsFolder(programFolder, folder.small.shortName, sizes.smallGames, random);
    fillRomsFolder(programFolder, folder.large.shortName, sizes.largeGames, random);
    return folder;
}
