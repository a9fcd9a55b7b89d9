#include "tests/support/testplatform.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QtTest>

static QString joined(const QString& section, const QString& key) {
    return section + QLatin1Char('/') + key;
}

QByteArray fileBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool writeFileBytes(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
           file.write(bytes) == bytes.size();
}

QString MemorySettingsStore::read(const QString& section, const QString& key,
                                  const QString& defaultValue) const {
    return values.value(joined(section, key), defaultValue);
}

bool MemorySettingsStore::write(const QString& section, const QString& key, const QString& value) {
    if (failWrites)
        return false;
    values.insert(joined(section, key), value);
    writes.append({joined(section, key), value});
    return true;
}

bool MemorySettingsStore::contains(const QString& section, const QString& key) const {
    return values.contains(joined(section, key));
}

QString MemorySettingsStore::value(const QString& section, const QString& key) const {
    return values.value(joined(section, key));
}

void MemorySettingsStore::set(const QString& section, const QString& key, const QString& value) {
    values.insert(joined(section, key), value);
}

bool RecordingMessageBoxes::question(const QString& text) {
    questions << text;
    return answers.isEmpty() ? true : answers.takeFirst();
}

bool RecordingProcessStarter::start(const QString& program, const QStringList& arguments,
                                    const QString& workingFolder, Failure failed) {
    starts.append({program, arguments, workingFolder, failed});
    return succeed;
}

TestPlatform::TestPlatform() {
    QVERIFY2(folder.isValid(), "no temporary folder");
}

void TestPlatform::writeFile(const QString& name, const QByteArray& bytes) const {
    const QString full = path(name);
    QDir().mkpath(QFileInfo(full).absolutePath());
    QFile file(full);
    QVERIFY2(file.open(QIODevice::WriteOnly | QIODevice::Truncate), qPrintable(full));
    file.write(bytes);
}

QByteArray TestPlatform::readFile(const QString& name) const {
    return fileBytes(path(name));
}

void TestPlatform::makeFolder(const QString& name) const {
    QDir().mkpath(path(name));
}

Platform TestPlatform::platform() {
    Platform p;
    p.folder = ProgramFolder(folder.path());
    p.settings = &settings;
    p.messages = &messages;
    p.processes = &processes;
    p.shell = &shell;
    return p;
}
