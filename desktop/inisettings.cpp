#include "desktop/inisettings.h"

#include "platform/textfile.h"

#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include <sys/stat.h>

namespace {

// A few dozen keys take a kilobyte; a file far larger is not our settings.
constexpr qint64 LargestSettingsFile = 16 * 1024 * 1024;

// Opening a named pipe would wait for a writer for ever, and a device or a huge file would be
// read without end; only a regular file of a sane size, or none yet, is a settings file.
FileProblem whyNoSettingsFile(const QString& fileName) {
    struct stat info;
    if (::stat(QFile::encodeName(fileName).constData(), &info) != 0)
        return {};
    if (!S_ISREG(info.st_mode))
        return {FileProblem::NotAFile, notAFile(fileName)};
    if (info.st_size > LargestSettingsFile)
        return {FileProblem::TooLarge, QString(), qint64(info.st_size)};
    return {};
}

QString settingsPath(const QString& section, const QString& key) {
    return section + QLatin1Char('/') + key;
}

} // namespace

IniSettingsStore::IniSettingsStore()
    : IniSettingsStore(QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
                       QLatin1Char('/') + ProgramTitle + QLatin1Char('/') + ProgramTitle +
                       QStringLiteral(".ini")) {}

IniSettingsStore::IniSettingsStore(const QString& fileName)
    : m_fileName(fileName), m_refused(whyNoSettingsFile(fileName)) {
    if (!m_refused)
        m_settings = std::make_unique<QSettings>(fileName, QSettings::IniFormat);
}

QString IniSettingsStore::read(const QString& section, const QString& key,
                               const QString& defaultValue) const {
    const QString path = settingsPath(section, key);
    if (!m_settings || !m_settings->contains(path))
        return defaultValue;
    const QVariant value = m_settings->value(path);
    // A hand-edited value with an unquoted comma comes back as a list; keep it as the text.
    if (value.typeId() == QMetaType::QStringList)
        return value.toStringList().join(QLatin1Char(','));
    return value.toString();
}

FileProblem IniSettingsStore::write(const QString& section, const QString& key,
                                    const QString& value) {
    if (!m_settings)
        return m_refused;
    m_settings->setValue(settingsPath(section, key), value);
    m_settings->sync();
    if (m_settings->status() == QSettings::NoError)
        return {};
    // QSettings keeps reporting its first error for good, so a file another program spoiled (or a
    // disk that was full once) would make every later write look lost. A spoiled file was
    // rewritten clean by that sync if it could be written at all; judge this write again on a
    // store whose status tells about it alone.
    m_settings = std::make_unique<QSettings>(m_fileName, QSettings::IniFormat);
    m_settings->setValue(settingsPath(section, key), value);
    m_settings->sync();
    if (m_settings->status() == QSettings::NoError)
        return {};
    // QSettings says only that it failed; a write of as many bytes beside the file tells why.
    if (FileProblem why = probeWrite(m_fileName, QFileInfo(m_fileName).size() + value.size() + 64))
        return why;
    return {FileProblem::Unwritable, QStringLiteral("the system gave no reason")};
}
