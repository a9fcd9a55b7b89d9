#pragma once

#include <QString>

// Why a file could not be read or written; `None` when it could.
struct FileProblem {
    enum Kind { None, Missing, NotAFile, TooLarge, Unreadable, Unwritable } kind = None;
    QString reason;  // what it is instead of a file, or the system's words
    qint64 size = 0; // for TooLarge

    explicit operator bool() const { return kind != None; }
    // "it is a named pipe", "No such file or directory", "it holds 3,000,000,000 bytes"...
    QString text() const;
};
