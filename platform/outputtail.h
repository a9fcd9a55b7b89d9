#pragma once

#include <QByteArray>
#include <QString>

// The end of what a program writes to its error output, however much it writes: the last bytes
// are kept, the rest let go as they arrive.
class OutputTail {
public:
    static constexpr qsizetype KeptBytes = 16 * 1024;

    void append(const QByteArray& bytes);
    const QByteArray& bytes() const { return m_bytes; }

private:
    QByteArray m_bytes;
};

// The last lines of what a program wrote, cut to a size a message box shows whole.
QString lastLinesOf(const QByteArray& output);

// The paragraph that ends a notice about a program that went wrong: its last lines of error
// output, nothing when it wrote none, or that none could be kept.
QString lastWordsParagraph(const QString& lastLines, bool kept = true);
