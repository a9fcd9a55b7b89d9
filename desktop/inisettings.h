#pragma once

#include "platform/platform.h"

#include <QSettings>
#include <memory>

// The per-user store: an INI file with one group per section. Every write is synced to disk
// before it returns, so a program killed right after a change still finds it.
class IniSettingsStore : public SettingsStore {
public:
    // The user's own file, Tallowick/Tallowick.ini under the configuration folder.
    IniSettingsStore();
    // A given file; tests use this to keep away from the user's settings.
    explicit IniSettingsStore(const QString& fileName);

    QString read(const QString& section, const QString& key,
                 const QString& defaultValue) const override;
    FileProblem write(const QString& section, const QString& key, const QString& value) override;
    QString location() const override { return m_fileName; }

private:
    QString m_fileName;
    // Set when something other than a settings file lies at the file's place: then every read
    // gives its default and every write fails, and that thing is never opened.
    FileProblem m_refused;
    std::unique_ptr<QSettings> m_settings;
};
