// The launch line: how it is composed and how it is cut into the program and its arguments.
#include "fuzzsupport.h"
#include "launch/commandline.h"

namespace {

bool isSeparator(QChar c) {
    return c == QLatin1Char(' ') || c == QLatin1Char('\t');
}

bool holdsSeparatorOrQuote(const QString& word) {
    for (const QChar c : word) {
        if (isSeparator(c) || c == QLatin1Char('"'))
            return true;
    }
    return false;
}

bool startsWithSeparator(const QString& line) {
    return !line.isEmpty() && isSeparator(line.front());
}

// Every word of the line in order, the program first. A line that starts with a separator has
// an empty program, and its words are all arguments.
QStringList wordsOf(const QString& line) {
    const SplitCommand split = splitCommandLine(line);
    if (startsWithSeparator(line)) {
        FUZZ_CHECK(split.program.isEmpty());
        return split.arguments;
    }
    if (split.program.isEmpty() && split.arguments.isEmpty())
        return {};
    return QStringList{split.program} + split.arguments;
}

void checkAnyLine(const QString& line) {
    const QStringList words = wordsOf(line);
    const bool hasQuote = line.contains(QLatin1Char('"'));
    for (const QString& word : words) {
        FUZZ_CHECK(!word.contains(QLatin1Char('"'))); // quotes group, they never stay
        if (!hasQuote)
            FUZZ_CHECK(!word.isEmpty() && !holdsSeparatorOrQuote(word));
    }
    if (!hasQuote) {
        // Plain QString::split, not a regular expression: that refuses lone surrogates.
        QString spaced = line;
        spaced.replace(QLatin1Char('\t'), QLatin1Char(' '));
        FUZZ_CHECK(words == spaced.split(QLatin1Char(' '), Qt::SkipEmptyParts));
    }
    // Every character but quotes and the separators outside them reaches a word, in order.
    QString kept;
    bool quoted = false;
    for (const QChar c : line) {
        if (c == QLatin1Char('"'))
            quoted = !quoted;
        else if (quoted || !isSeparator(c))
            kept += c;
    }
    FUZZ_CHECK(words.join(QString()) == kept);
}

// Words without separators or quotes, joined by single blanks, come back as they were; any words
// without quotes come back when each is put in quotes.
void checkJoinedWords(const QStringList& words) {
    QStringList plain;
    QString quotedLine;
    for (const QString& word : words) {
        if (!word.isEmpty() && !holdsSeparatorOrQuote(word))
            plain << word;
        if (!word.contains(QLatin1Char('"')))
            quotedLine += QLatin1Char('"') + word + QLatin1String("\" ");
    }
    FUZZ_CHECK(wordsOf(plain.join(QLatin1Char(' '))) == plain);
    FUZZ_CHECK(wordsOf(QLatin1Char('\t') + plain.join(QLatin1String(" \t "))) == plain);
    const SplitCommand quoted = splitCommandLine(quotedLine);
    QStringList expected;
    for (const QString& word : words) {
        if (!word.contains(QLatin1Char('"')))
            expected << word;
    }
    if (!expected.isEmpty()) { // a quoted empty first word is an empty program
        FUZZ_CHECK(quoted.program == expected.first());
        FUZZ_CHECK(quoted.arguments == expected.mid(1));
    }
}

void checkComposed(FuzzedDataProvider& provider) {
    LaunchChoices choices;
    choices.originalMess = provider.ConsumeBool();
    choices.alternateName = takeText(provider, 40);
    choices.additionalCheck = provider.ConsumeIntegralInRange<int>(0, 2);
    choices.additionalText = takeText(provider, 80);
    choices.gameTail = takeText(provider, 120);
    choices.extraParam = takeText(provider, 40);
    if (provider.ConsumeBool())
        choices.extraParam.clear();
    else
        choices.extraParam += QLatin1Char(' ');

    const QString line = composeCommandLine(choices);
    FUZZ_CHECK(line.endsWith(QLatin1Char(' ')));
    const QString executable =
        (choices.originalMess ? QStringLiteral("MESS") : choices.alternateName) + QLatin1Char(' ');
    FUZZ_CHECK(line.startsWith(executable));
    QString expected = executable + choices.gameTail + QLatin1Char(' ');
    if (choices.additionalCheck == 1)
        expected += choices.additionalText + QLatin1Char(' ');
    expected += choices.extraParam;
    FUZZ_CHECK(line == expected); // nothing typed is trimmed, quoted or escaped
    checkAnyLine(line);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider provider(data, size);
    checkAnyLine(takeText(provider, 400));
    QStringList words;
    for (int i = provider.ConsumeIntegralInRange<int>(0, 6); i > 0; --i)
        words << takeText(provider, 24);
    checkJoinedWords(words);
    checkComposed(provider);
    return 0;
}
