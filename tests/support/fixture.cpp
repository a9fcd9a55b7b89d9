#include "tests/support/fixture.h"

#include "catalogue/gameline.h"

#include <QDir>
#include <QFile>
#include <QtTest>

#include <csignal>
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

bool writeBytes(const QString& path, const QByteArray& bytes) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// A file of `size` bytes that ends in `tail` and holds nothing before it, taking no disk.
static bool makeSparse(const QString& path, qint64 size, const QByteArray& tail) {
    if (!writeBytes(path, QByteArray()) ||
        ::truncate(QFile::encodeName(path).constData(), off_t(size - tail.size())) != 0)
        return false;
    QFile file(path);
    return file.open(QIODevice::Append) && file.write(tail) == tail.size();
}

bool makeSpecial(const QString& path, Special shape) {
    const QByteArray name = QFile::encodeName(path);
    QDir().mkpath(QFileInfo(path).absolutePath());
    switch (shape) {
    case Special::Pipe:
        return ::mkfifo(name.constData(), 0644) == 0;
    case Special::Folder:
        return QDir().mkpath(path);
    case Special::Huge:
        return makeSparse(path, 3'000'000'000LL, QByteArray());
    case Special::LongLine:
        return makeSparse(path, 200'000'000LL, "\nnes               \"NES\"\n");
    case Special::Unreadable:
        return writeBytes(path, "Name: Description:\nnes \"NES\"\n") &&
               ::chmod(name.constData(), 0) == 0;
    }
    return false;
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

DiskFull::DiskFull(qint64 bytes) {
    std::signal(SIGXFSZ, SIG_IGN); // a write past the limit fails instead of ending the test
    rlimit old{};
    getrlimit(RLIMIT_FSIZE, &old);
    m_old[0] = qint64(old.rlim_cur);
    m_old[1] = qint64(old.rlim_max);
    const rlimit full{rlim_t(bytes), old.rlim_max};
    setrlimit(RLIMIT_FSIZE, &full);
}

DiskFull::~DiskFull() {
    const rlimit old{rlim_t(m_old[0]), rlim_t(m_old[1])};
    setrlimit(RLIMIT_FSIZE, &old);
}

QString MemorySettings::read(const QString& section, const QString& key,
                             const QString& defaultValue) const {
    return values.value(section + '/' + key, defaultValue);
}

FileProblem MemorySettings::write(const QString& section, const QString& key,
                                  const QString& value) {
    values.insert(section + '/' + key, value);
    return {};
}

bool RecordingMessages::question(const QString& text) {
    questions << text;
    return answers.isEmpty() || answers.takeFirst();
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

bool TestPlatform::writeSystem(const QString& shortName, const QString& description,
                               const QStringList& images) const {
    bool written = write(QStringLiteral("Tallowick.sys"), listing({{shortName, description}}));
    for (const QString& image : images)
        written = written && write("ROMS/" + shortName + '/' + image, "image");
    return written;
}

bool TestPlatform::installStandin(const QString& name) {
    if (!standinLog)
        standinLog.emplace("STANDIN_LOG", QFile::encodeName(elsewhere.filePath("standin.log")));
    return QFile::copy(qEnvironmentVariable("TALLOWICK_STANDIN"), path(name));
}

// The log's escapes undone: \\ is a backslash, \n a line end.
static QString unescaped(const QByteArray& text) {
    QByteArray bytes;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == '\\' && i + 1 < text.size()) {
            ++i;
            bytes += text[i] == 'n' ? '\n' : text[i];
        } else {
            bytes += text[i];
        }
    }
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

static std::optional<QPoint> centreOfRow(SortedListBox* list, int row) {
    if (row < 0 || row >= list->count())
        return std::nullopt;
    list->scrollTo(list->model()->index(row, 0));
    return list->visualRect(list->model()->index(row, 0)).center();
}

bool clickRow(SortedListBox* list, int row, Qt::MouseButton button,
              Qt::KeyboardModifiers modifiers) {
    const auto at = centreOfRow(list, row);
    if (at)
        QTest::mouseClick(list->viewport(), button, modifiers, *at);
    return bool(at);
}

bool doubleClickRow(SortedListBox* list, int row) {
    const auto at = centreOfRow(list, row);
    if (at)
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, *at);
    return bool(at);
}
