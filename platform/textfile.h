#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <optional>

// Text files of other programs: UTF-8 (bytes that are not valid UTF-8 never stop a read), lines
// ended by CR LF, LF or a lone CR. A line end after the last line does not add an empty line.

QList<QByteArray> splitLines(const QByteArray& bytes);
QString decodeLine(const QByteArray& line);

// The file's lines as bytes; nullopt when it cannot be read (missing, a folder, no permission).
std::optional<QList<QByteArray>> readRawLines(const QString& path);

// Replaces the whole file in one step: a crash or a full disk leaves the old file as it was. A
// file the user made read-only is left alone. False when nothing was replaced.
bool replaceFileBytes(const QString& path, const QByteArray& bytes);

// The same, each line written followed by CR LF.
bool replaceFileLines(const QString& path, const QList<QByteArray>& lines);
