#include "catalogue/systemsregeneration.h"

#include "catalogue/cataloguemessages.h"
#include "catalogue/systemsfile.h"
#include "platform/programfolder.h"
#include "shelltools/hvl_shelltools.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <unistd.h>

namespace {

// Where the systems list really lies, however many links lead there.
QString finalTarget(const QString& path) {
    QString target = path;
    for (int links = 0; links < 40 && QFileInfo(target).isSymLink(); ++links)
        target = QFileInfo(target).symLinkTarget();
    return target;
}

// The listing gets the old list's permissions (a fresh temporary file is private to its owner),
// reaches the disk, and then takes the old list's name in one step.
FileProblem install(const QString& listing, const QString& systemsList) {
    const QFileInfo old(systemsList);
    const QFileDevice::Permissions permissions =
        old.exists() ? old.permissions()
                     : QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup |
                           QFileDevice::ReadOther;
    QFile file(listing);
    if (!file.setPermissions(permissions) || !file.open(QIODevice::ReadWrite))
        return {FileProblem::Unwritable, file.errorString()};
    if (::fsync(file.handle()) != 0)
        return {FileProblem::Unwritable, QString::fromLocal8Bit(std::strerror(errno))};
    // QFile::rename will not replace an existing file; rename() does it in one step.
    if (std::rename(QFile::encodeName(listing).constData(),
                    QFile::encodeName(systemsList).constData()) != 0)
        return {FileProblem::Unwritable, QString::fromLocal8Bit(std::strerror(errno))};
    return {};
}

} // namespace

SystemsRegeneration::SystemsRegeneration(const ProgramFolder& folder) {
    m_emulator = folder.emulator();
    if (m_emulator.isEmpty()) {
        const QString file = folder.emulatorFile();
        m_trouble = file.isEmpty() ? emulatorNotFound(folder.path()) : emulatorNotExecutable(file);
        return;
    }
    m_systemsList = finalTarget(folder.systemsFile());
    QTemporaryFile temporary(m_systemsList + QStringLiteral(".XXXXXX"));
    temporary.setAutoRemove(false);
    if (!temporary.open()) {
        m_trouble = listingNotWritable(m_systemsList, temporary.errorString());
        return;
    }
    m_listing = temporary.fileName();
    // The shell runs in the program folder, so a listing there is named without a folder; the
    // emulator's full path keeps it right even for a relative program folder.
    m_commandLine = hvl_ShellTools::GetShortPath(QFileInfo(m_emulator).absoluteFilePath()) +
                    QLatin1String(" -listfull > ") +
                    hvl_ShellTools::shellWord(QDir(folder.path()).relativeFilePath(m_listing));
}

SystemsRegeneration::~SystemsRegeneration() {
    if (!m_listing.isEmpty())
        QFile::remove(m_listing);
}

QString SystemsRegeneration::finish(const hvl_ShellTools::ShellResult& result) {
    if (result.outcome != hvl_ShellTools::ShellResult::Finished || result.exitCode != 0)
        return runEndedBadly(result, m_emulator);
    if (QString trouble = listingTrouble(readSystemsFile(m_listing), result.lastErrors);
        !trouble.isEmpty())
        return trouble;
    if (const FileProblem problem = install(m_listing, m_systemsList))
        return listNotSaved(m_systemsList, problem.text());
    m_listing.clear();
    return {};
}
