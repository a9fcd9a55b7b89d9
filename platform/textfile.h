#pragma once

#include "platform/fileproblem.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <functional>

// Text files of other programs: UTF-8 (bytes that are not valid UTF-8 never stop a read), lines
// ended by CR LF, LF or a lone CR. A line end after the last line does not add an empty line.

// No real line of the files the program reads comes near this; a longer one is a corrupt file's,
// and is skipped without ever being held whole.
constexpr qsizetype LongestLine = 64 * 1024;

// Takes one line, without its line end, and its number in the file counted from 0; a line too long
// to be held is skipped but counted.
using LineTaker = std::function<void(qint64 number, const QByteArray& line)>;

// Hands each line of the file to `take`, reading pieceBytes at a time. Only a regular file, or a
// link to one, is read: a pipe, a device, a socket or a folder in its place is refused before
// anything is read, and opening it cannot block. A file larger than maxBytes is refused without
// being read.
constexpr qsizetype ReadPiece = 64 * 1024;
FileProblem readLines(const QString& path, qint64 maxBytes, const LineTaker& take,
                      qsizetype pieceBytes = ReadPiece);

// What lies at the path instead of a regular file ("it is a folder"); empty when a regular file,
// a link to one, or nothing lies there.
QString notAFile(const QString& path);

// The same split, of bytes already in memory.
QList<QByteArray> splitLines(const QByteArray& bytes);
QString decodeLine(const QByteArray& line);

// Replaces the whole file in one step: a crash or a full disk leaves the old file as it was. A
// file the user made read-only, or anything but a regular file, is left alone. A problem when
// nothing was replaced.
FileProblem replaceFileBytes(const QString& path, const QByteArray& bytes);
// The same, each line written followed by CR LF.
FileProblem replaceFileLines(const QString& path, const QList<QByteArray>& lines);

// Adds the line and a CR LF at the end of the file (made when missing), on a line of its own even
// when the file's last line has no line end; only the file's last byte is read. The line goes in
// with one write at the file's end as it is at that moment, so lines that two programs add at once
// both land whole; a write or sync that fails takes the partial line out again. Files
// replaceFileBytes leaves alone, and files larger than maxBytes, are left alone too.
FileProblem appendLine(const QString& path, const QByteArray& line, qint64 maxBytes);

// Why `bytes` bytes cannot be written where `path` lies: a file as large, written beside it and
// removed again, meets what a write of the real file would (no space, no permission, a read-only
// disk, a folder that cannot be made). No problem when it can be written.
FileProblem probeWrite(const QString& path, qint64 bytes);
