#include "launch/commandline.h"

QString composeCommandLine(const LaunchChoices& choices) {
    const QString blank = QStringLiteral(" ");
    QString line = choices.originalMess ? QStringLiteral("MESS ") : choices.alternateName + blank;
    line += choices.gameTail + blank;
    if (choices.additionalCheck == 1)
        line += choices.additionalText + blank;
    line += choices.extraParam;
    return line;
}

static bool isSeparator(QChar c) {
    return c == QLatin1Char(' ') || c == QLatin1Char('\t');
}

SplitCommand splitCommandLine(const QString& commandLine) {
    QStringList words;
    QString word;
    bool inWord = false;
    bool quoted = false;
    bool programIsEmpty = !commandLine.isEmpty() && isSeparator(commandLine.front());
    for (const QChar c : commandLine) {
        if (c == QLatin1Char('"')) {
            quoted = !quoted;
            inWord = true;
        } else if (isSeparator(c) && !quoted) {
            if (inWord)
                words.append(word);
            word.clear();
            inWord = false;
        } else {
            word += c;
            inWord = true;
        }
    }
    if (inWord)
        words.append(word);

    SplitCommand split;
    if (programIsEmpty || words.isEmpty()) {
        split.arguments = words;
        return split;
    }
    split.program = words.takeFirst();
    split.arguments = words;
    return split;
}
