// Games-list lines: what make() puts in, the readers and the launch's split take back out whole.
#include "catalogue/gameline.h"
#include "catalogue/systemsfile.h"
#include "fuzzsupport.h"
#include "launch/commandline.h"

namespace {

// Any text at all, e.g. a line of a list the user edited: the readers stay within it.
void checkAnyLine(const QString& line) {
    const QString name = GameLine::name(line);
    FUZZ_CHECK(name == name.trimmed());
    const QString tail = GameLine::commandTail(line);
    FUZZ_CHECK(name.size() <= GameLine::NameColumns || tail.contains(name));
    FUZZ_CHECK(line.size() <= GameLine::NameColumns ? tail.isEmpty() : line.endsWith(tail));
    FUZZ_CHECK(tail.size() == qMax<qsizetype>(0, line.size() - GameLine::NameColumns));
    const QString shortName = GameLine::shortName(line);
    FUZZ_CHECK(tail.startsWith(shortName));
    FUZZ_CHECK(!shortName.contains(QLatin1Char(' ')));
}

void checkMadeLine(const QString& fileName, const QString& shortName) {
    const QString line = GameLine::make(fileName, shortName);
    FUZZ_CHECK(line.size() == GameLine::NameColumns + 3 + shortName.size() + fileName.size());
    // The visible columns hold the name alone, cut to them when it is longer.
    const QString shown = line.left(GameLine::NameColumns);
    FUZZ_CHECK(shown.startsWith(fileName.left(GameLine::NameColumns - 1)));
    FUZZ_CHECK(fileName.size() > GameLine::NameColumns ||
               shown == fileName.leftJustified(GameLine::NameColumns));
    FUZZ_CHECK(GameLine::name(line) == fileName.trimmed());
    FUZZ_CHECK(GameLine::commandTail(line) ==
               shortName + QLatin1String(" \"") + fileName + QLatin1Char('"'));
    FUZZ_CHECK(GameLine::shortName(line) == shortName);

    const QStringList expected{shortName, fileName};
    const SplitCommand split =
        splitCommandLine(QLatin1String("MESS ") + GameLine::commandTail(line) + QLatin1Char(' '));
    FUZZ_CHECK(split.program == QLatin1String("MESS"));
    FUZZ_CHECK(split.arguments == expected);

    // The same through the composed launch line, with the alternate build named instead.
    LaunchChoices choices;
    choices.originalMess = false;
    choices.alternateName = QStringLiteral("pmame31");
    choices.gameTail = GameLine::commandTail(line);
    const SplitCommand composed = splitCommandLine(composeCommandLine(choices));
    FUZZ_CHECK(composed.program == QLatin1String("pmame31"));
    FUZZ_CHECK(composed.arguments == expected);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider provider(data, size);
    const QString fileName = takeText(provider, 160);
    const QString shortName = takeText(provider, 40);
    const QString anyLine = takeText(provider, 400);
    checkAnyLine(anyLine);
    if (GameLine::canCarry(fileName) && isUsableShortName(shortName)) {
        checkMadeLine(fileName, shortName);
        checkAnyLine(GameLine::make(fileName, shortName));
    }
    return 0;
}
