#include "platform/qtplatform.h"

#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QMessageBox>
#include <QProcess>
#include <QUrl>

void QtMessageBoxes::notice(const QString& text) {
    QMessageBox box(QMessageBox::NoIcon, ProgramTitle, text, QMessageBox::Ok, m_parent);
    box.exec();
}

bool QtMessageBoxes::question(const QString& text) {
    QMessageBox box(QMessageBox::NoIcon, ProgramTitle, text, QMessageBox::Ok | QMessageBox::Cancel,
                    m_parent);
    box.setEscapeButton(QMessageBox::Cancel);
    return box.exec() == QMessageBox::Ok;
}

bool QtProcessStarter::startDetached(const QString& program, const QStringList& arguments,
                                     const QString& workingFolder) {
    QProcess process;
    process.setProgram(program);
    process.setArguments(arguments);
    process.setWorkingDirectory(workingFolder);
    process.setStandardInputFile(QProcess::nullDevice());
    return process.startDetached();
}

void QtShellOpener::open(const QString& target, const QString& workingFolder) {
    // A plain path is a file of ours; anything with a scheme goes to the desktop as it is.
    const QUrl url = QDir::isAbsolutePath(target) ? QUrl::fromLocalFile(target)
                                                  : QUrl(target, QUrl::TolerantMode);
    Q_UNUSED(workingFolder);
    QDesktopServices::openUrl(url);
}

IniSettingsStore::IniSettingsStore()
    : m_settings(std::make_unique<QSettings>(QSettings::IniFormat, QSettings::UserScope,
                                             ProgramTitle, ProgramTitle)) {}

IniSettingsStore::IniSettingsStore(const QString& fileName)
    : m_settings(std::make_unique<QSettings>(fileName, QSettings::IniFormat)) {}

static QString settingsPath(const QString& section, const QString& key) {
    return section + QLatin1Char('/') + key;
}

QString IniSettingsStore::read(const QString& section, const QString& key,
                               const QString& defaultValue) const {
    const QString path = settingsPath(section, key);
    if (!m_settings->contains(path))
        return defaultValue;
    const QVariant value = m_settings->value(path);
    // A hand-edited value with an unquoted comma comes back as a list; keep it as the text.
    if (value.typeId() == QMetaType::QStringList)
        return value.toStringList().join(QLatin1Char(','));
    return value.toString();
}

// The same store anew: QSettings keeps reporting its first error for good, so a file another
// program spoiled (or a disk that was full once) would make every later write look lost.
static std::unique_ptr<QSettings> reopened(const QSettings& settings) {
    if (settings.applicationName().isEmpty())
        return std::make_unique<QSettings>(settings.fileName(), settings.format());
    return std::make_unique<QSettings>(settings.format(), settings.scope(),
                                       settings.organizationName(), settings.applicationName());
}

bool IniSettingsStore::write(const QString& section, const QString& key, const QString& value) {
    m_settings->setValue(settingsPath(section, key), value);
    m_settings->sync();
    if (m_settings->status() == QSettings::NoError)
        return true;
    // A spoiled file was rewritten clean by that sync if it could be written at all; judge this
    // write again on a store whose status tells about it alone.
    m_settings = reopened(*m_settings);
    m_settings->setValue(settingsPath(section, key), value);
    m_settings->sync();
    return m_settings->status() == QSettings::NoError;
}
