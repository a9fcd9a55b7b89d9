#pragma once

#include <QString>
#include <QStringList>

// What the window holds at the moment of a launch.
struct LaunchChoices {
    bool originalMess = true; // "Original MESS" selected
    QString alternateName;    // the alternate build's name as typed
    int additionalCheck = 0;  // 0 unchecked, 1 checked, 2 grey
    QString additionalText;   // as typed
    QString gameTail;         // the selected line's command tail
    QString extraParam;       // a recording's piece, ending in a blank, or empty
};

// Executable piece, game piece, additional piece and extra piece, joined without separators;
// every non-empty piece ends in one blank. Nothing typed is trimmed, quoted or escaped.
QString composeCommandLine(const LaunchChoices& choices);

struct SplitCommand {
    QString program; // empty when the line starts with a blank
    QStringList arguments;
};

// Blanks and tabs separate words; a pair of double quotes groups blanks into one word and is
// removed. No other character means anything: the words reach the program as they stand.
SplitCommand splitCommandLine(const QString& commandLine);
