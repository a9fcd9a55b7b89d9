#include "tests/support/fixture.h"

#include "catalogue/gameline.h"

#include <QDir>
#include <QFile>
#include <QtTest>

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

QByteArray listing(const Systems& systems) {
    QByteArray bytes = "Name:             Description:\n";
    for (const auto& [name, description] : systems)
        bytes += name.leftJustified(17).toUtf8() + " \"" + description.toUtf8() + "\"\n";
    return bytes;
}

QByteArray fileBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeBytes(const QString& path, const QByteArray& bytes) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    QVERIFY2(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size(),
             qPrintable(path));
}

static void makeSparse(const QString& path, qint64 size, const QByteArray& tail) {
    writeBytes(path, QByteArray());
    QVERIFY(::truncate(QFile::encodeName(path).constData(), off_t(size - tail.size())) == 0);
    QFile file(path);
    QVERIFY(file.open(QIODevice::Append) && file.write(tail) == tail.size());
}

void makeSpecial(const QString& path, const QString& shape) {
    const QByteArray name = QFile::encodeName(path);
    QDir().mkpath(QFileInfo(path).absolutePath());
    if (shape == "pipe")
        QVERIFY(::mkfifo(name.constData(), 0644) == 0);
    else if (shape == "device")
        QVERIFY(QFile::link(QStringLiteral("/dev/zero"), path));
    else if (shape == "folder")
        QVERIFY(QDir().mkpath(path));
    else if (shape == "huge")
        makeSparse(path, 3'000'000'000LL, QByteArray());
    else if (shape == "long line")
        makeSparse(path, 200'000'000LL, "\nnes               \"NES\"\n");
    else if (shape == "unreadable")
        writeBytes(path, "Name: Description:\nnes \"NES\"\n"), ::chmod(name.constData(), 0);
    else
        QFAIL(qPrintable("no such shape: " + shape));
}

double peakMegabytes() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_maxrss) / 1024.0;
}

ScopedEnv::ScopedEnv(const char* name, const QByteArray& value)
    : m_name(name), m_old(qgetenv(name)), m_had(qEnvironmentVariableIsSet(name)) {
    qputenv(name, value);
}

ScopedEnv::~ScopedEnv() {
    if (m_had)
        qputenv(m_name, m_old);
    else
        qunsetenv(m_name);
}

QString MemorySettings::read(const QString& section, const QString& key,
                             const QString& defaultValue) const {
    return values.value(section + '/' + key, defaultValue);
}

bool MemorySettings::write(const QString& section, const QString& key, const QString& value) {
    values.insert(section + '/' + key, value);
    writes.append({section + '/' + key, value});
    return true;
}

bool RecordingMessages::question(const QString& text) {
    questions << text;
    return answers.isEmpty() || answers.takeFirst();
}

bool RecordingStarter::start(const QString& program, const QStringList& arguments,
                             const QString& workingFolder, Failure failed) {
    starts.append({program, arguments, workingFolder, failed});
    return true;
}

TestPlatform::TestPlatform() {
    platform.folder = ProgramFolder(folder.path());
    platform.settings = &settings;
    platform.messages = &messages;
    platform.processes = &processes;
    platform.shell = &shell;
}

QString TestPlatform::path(const QString& name) const {
    return name.isEmpty() ? folder.path() : folder.filePath(name);
}

void TestPlatform::installStandin(const QString& name) {
    const QString standin = qEnvironmentVariable("TALLOWICK_STANDIN");
    QVERIFY2(QFile::copy(standin, path(name)), qPrintable(standin));
    qputenv("STANDIN_LOG", QFile::encodeName(elsewhere.filePath("standin.log")));
}

// The log's escapes undone: \\ is a backslash, \n a line end.
static QString unescaped(const QByteArray& text) {
    QByteArray bytes;
    for (qsizetype i = 0; i < text.size(); ++i)
        bytes += text[i] == '\\' && ++i < text.size() ? (text[i] == 'n' ? '\n' : text[i]) : text[i];
    return QString::fromUtf8(bytes);
}

QList<StandinRun> TestPlatform::standinRuns() const {
    QList<StandinRun> runs;
    for (const QByteArray& line : fileBytes(elsewhere.filePath("standin.log")).split('\n')) {
        const QString value = unescaped(line.mid(line.indexOf('=') + 1));
        if (line == "run")
            runs.append(StandinRun());
        else if (line.startsWith("pid="))
            runs.last().pid = value.toLongLong();
        else if (line.startsWith("program="))
            runs.last().program = value;
        else if (line.startsWith("cwd="))
            runs.last().cwd = value;
        else if (line.startsWith("arg="))
            runs.last().arguments << value;
    }
    return runs;
}

std::unique_ptr<Form1> TestPlatform::open() {
    auto window = std::make_unique<Form1>(platform);
    window->Form_Load();
    return window;
}

QString nesLine(const QString& fileName) {
    return GameLine::make(fileName, QStringLiteral("nes"));
}
