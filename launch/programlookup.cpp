#include "launch/programlookup.h"

#include "platform/programfolder.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

QString resolveProgram(const QString& word, const ProgramFolder& folder) {
    if (word.isEmpty())
        return {};
    if (word.contains(QLatin1Char('/'))) {
        const QFileInfo info(QDir(folder.path()).filePath(word));
        return info.isFile() && info.isExecutable() ? info.filePath() : QString();
    }
    const QString own = folder.program(word);
    if (!own.isEmpty())
        return own;
    return QStandardPaths::findExecutable(word);
}
