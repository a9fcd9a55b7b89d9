#include "platform/outputtail.h"

#include <QStringList>

void OutputTail::append(const QByteArray& bytes) {
    m_bytes += bytes.right(KeptBytes);
    if (m_bytes.size() > KeptBytes)
        m_bytes.remove(0, m_bytes.size() - KeptBytes);
}

QString lastLinesOf(const QByteArray& output) {
    constexpr int Lines = 8;
    constexpr qsizetype LineLength = 160;
    QStringList lines;
    for (const QByteArray& line : output.split('\n')) {
        const QString text = QString::fromUtf8(line.trimmed());
        if (text.isEmpty())
            continue;
        lines.append(text.size() > LineLength ? text.left(LineLength - 3) + QStringLiteral("...")
                                              : text);
    }
    return lines.mid(qMax<qsizetype>(0, lines.size() - Lines)).join(QLatin1Char('\n'));
}

QString lastWordsParagraph(const QString& lastLines, bool kept) {
    if (!kept)
        return QStringLiteral("\n\nIts error output could not be kept, so its last words are not "
                              "known.");
    if (lastLines.isEmpty())
        return {};
    return QStringLiteral("\n\nIts last words:\n") + lastLines;
}
