#include "tests/support/standinlog.h"

#include <QFile>

// Undoes the log's escaping: \\ is a backslash, \n a newline.
static QString unescaped(const QByteArray& text) {
    QByteArray bytes;
    bytes.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == '\\' && i + 1 < text.size()) {
            ++i;
            bytes += text[i] == 'n' ? '\n' : text[i];
        } else {
            bytes += text[i];
        }
    }
    return QString::fromUtf8(bytes);
}

QList<StandinRun> readStandinLog(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QList<StandinRun> runs;
    StandinRun run;
    bool inRecord = false;
    for (const QByteArray& line : file.readAll().split('\n')) {
        if (line == "run") {
            run = StandinRun();
            inRecord = true;
        } else if (!inRecord) {
            continue;
        } else if (line == "end") {
            runs << run;
            inRecord = false;
        } else if (line.startsWith("pid=")) {
            run.pid = line.mid(4).toLongLong();
        } else if (line.startsWith("program=")) {
            run.program = unescaped(line.mid(8));
        } else if (line.startsWith("cwd=")) {
            run.cwd = unescaped(line.mid(4));
        } else if (line.startsWith("arg=")) {
            run.arguments << unescaped(line.mid(4));
        }
    }
    return runs;
}
