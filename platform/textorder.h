#pragma once

#include <QString>
#include <QStringList>
#include <functional>

// The order of every sorted list: alphabetical, ignoring letter case. Entries that compare equal
// keep the order they came in, so a list never reshuffles them between two fills.
bool lessIgnoringCase(const QString& a, const QString& b);
void sortIgnoringCase(QStringList& entries);

// The same order, by the text each entry stands for rather than the entry itself.
void sortIgnoringCase(QStringList& entries, const std::function<QString(const QString&)>& textOf);
