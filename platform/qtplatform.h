#pragma once

#include "platform/platform.h"

#include <QPointer>
#include <QSettings>
#include <memory>

// Message boxes titled with the program title, without an icon.
class QtMessageBoxes : public MessageBoxes {
public:
    void setParent(QWidget* parent) { m_parent = parent; }
    void notice(const QString& text) override;
    bool question(const QString& text) override;

private:
    QPointer<QWidget> m_parent;
};

class QtProcessStarter : public ProcessStarter {
public:
    bool startDetached(const QString& program, const QStringList& arguments,
                       const QString& workingFolder) override;
};

class QtShellOpener : public ShellOpener {
public:
    void open(const QString& target, const QString& workingFolder) override;
};

// The per-user store: an INI file with one group per section. Every write is synced to disk
// before it returns, so a program killed right after a change still finds it.
class IniSettingsStore : public SettingsStore {
public:
    // The user's own file under the configuration folder (Tallowick/Tallowick.ini).
    IniSettingsStore();
    // A given file; tests use this to keep away from the user's settings.
    explicit IniSettingsStore(const QString& fileName);

    QString read(const QString& section, const QString& key,
                 const QString& defaultValue) const override;
    bool write(const QString& section, const QString& key, const QString& value) override;

    QString fileName() const { return m_settings->fileName(); }

private:
    std::unique_ptr<QSettings> m_settings;
};
