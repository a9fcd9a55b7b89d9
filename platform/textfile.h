#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <functional>

// Text files of other programs: UTF-8 (bytes that are not valid UTF-8 never stop a read), lines
// ended by CR LF, LF or a lone CR. A line end after the last line does not add an empty line.

// Why a file could not be read; `None` when it was.
struct FileProblem {
    enum Kind { None, Missing, NotAFile, TooLarge, Unreadable } kind = None;
    QString reason;  // what it is instead of a file, or the system's words for Unreadable
    qint64 size = 0; // for TooLarge

    explicit operator bool() const { return kind != None; }
    // "it is a named pipe", "No such file or directory", "it holds 3,000,000,000 bytes"...
    QString text() const;
};

// No real line of the files the program reads comes near this; a longer one is a corrupt file's,
// and is skipped without ever being held whole.
constexpr qsizetype LongestLine = 64 * 1024;

// Takes one line, without its line end, and its number in the file counted from 0; a line too long
// to be held is skipped but counted.
using LineTaker = std::function<void(qint64 number, const QByteArray& line)>;

// Hands each line of the file to `take`, reading a piece at a time. Only
// a regular file, or a link to one, is read: a pipe, a device, a socket or a folder in its place
// is refused before anything is read, and opening it cannot block. A file larger than maxBytes is
// refused without being read.
FileProblem readLines(const QString& path, qint64 maxBytes, const LineTaker& take);

// The same split, of bytes already in memory.
QList<QByteArray> splitLines(const QByteArray& bytes);
QString decodeLine(const QByteArray& line);

// Replaces the whole file in one step: a crash or a full disk leaves the old file as it was. A
// file the user made read-only, or anything but a regular file, is left alone. False when nothing
// was replaced.
bool replaceFileBytes(const QString& path, const QByteArray& bytes);
// The same, each line written followed by CR LF.
bool replaceFileLines(const QString& path, const QList<QByteArray>& lines);

// Adds the line and a CR LF at the end of the file (made when missing), on a line of its own even
// when the file's last line has no line end; only the file's last byte is read. The line goes in
// with one write, and a write or sync that fails cuts the file back to what it was. Files
// replaceFileBytes leaves alone, and files larger than maxBytes, are left alone too.
bool appendLine(const QString& path, const QByteArray& line, qint64 maxBytes);
