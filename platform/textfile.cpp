#include "platform/textfile.h"

#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QSaveFile>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Splits bytes that arrive a piece at a time into lines; a CR at the end of one piece and an LF
// at the start of the next are one line end.
class LineSplitter {
public:
    explicit LineSplitter(const LineTaker& take) : m_take(take) {}

    void feed(const char* data, qsizetype size) {
        qsizetype start = 0;
        if (m_afterCr && size > 0 && data[0] == '\n')
            start = 1;
        m_afterCr = false;
        // Where the next LF and the next CR stand, each found by memchr and kept until passed:
        // a corrupt file's line of hundreds of megabytes is crossed at memory speed.
        qsizetype lf = -1;
        qsizetype cr = -1;
        const auto next = [&](char c, qsizetype from) {
            const void* found = std::memchr(data + from, c, std::size_t(size - from));
            return found ? static_cast<const char*>(found) - data : size;
        };
        for (qsizetype i = start; i < size; i = start) {
            if (lf < i)
                lf = next('\n', i);
            if (cr < i)
                cr = next('\r', i);
            i = std::min(lf, cr);
            if (i == size)
                break;
            keep(data + start, i - start);
            endLine();
            if (data[i] == '\r') {
                if (i + 1 == size)
                    m_afterCr = true;
                else if (data[i + 1] == '\n')
                    ++i;
            }
            start = i + 1;
        }
        keep(data + start, size - start);
    }

    void finish() {
        if (!m_line.isEmpty() || m_tooLong)
            endLine();
    }

private:
    void keep(const char* data, qsizetype size) {
        if (m_tooLong || size == 0)
            return;
        if (m_line.size() + size > LongestLine) {
            m_tooLong = true;
            m_line = QByteArray();
            return;
        }
        m_line.append(data, size);
    }

    void endLine() {
        if (!m_tooLong)
            m_take(m_number, m_line);
        ++m_number;
        m_line.clear();
        m_tooLong = false;
    }

    const LineTaker& m_take;
    QByteArray m_line;
    qint64 m_number = 0;
    bool m_tooLong = false;
    bool m_afterCr = false;
};

QString whatItIs(mode_t mode) {
    if (S_ISDIR(mode))
        return QStringLiteral("it is a folder");
    if (S_ISFIFO(mode))
        return QStringLiteral("it is a named pipe");
    if (S_ISSOCK(mode))
        return QStringLiteral("it is a socket");
    if (S_ISCHR(mode) || S_ISBLK(mode))
        return QStringLiteral("it is a device");
    return QStringLiteral("it is not a regular file");
}

FileProblem systemProblem(int error) {
    if (error == ENOENT || error == ENOTDIR)
        return {FileProblem::Missing, QString::fromLocal8Bit(std::strerror(error))};
    return {FileProblem::Unreadable, QString::fromLocal8Bit(std::strerror(error))};
}

class Descriptor {
public:
    explicit Descriptor(int fd) : m_fd(fd) {}
    ~Descriptor() {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int get() const { return m_fd; }

private:
    int m_fd;
};

// A file the user made read-only stays as it is, though its folder would allow a rename. Its mode
// bits are asked too: for root, isWritable() says yes to every file.
bool isLeftAlone(const QFileInfo& info) {
    const auto anyWrite =
        QFileDevice::WriteOwner | QFileDevice::WriteGroup | QFileDevice::WriteOther;
    return info.exists() &&
           (!info.isFile() || !info.isWritable() || !(info.permissions() & anyWrite));
}

} // namespace

QString FileProblem::text() const {
    if (kind == TooLarge)
        return QStringLiteral("it holds %1 bytes").arg(QLocale(QLocale::English).toString(size));
    return reason;
}

FileProblem readLines(const QString& path, qint64 maxBytes, const LineTaker& take) {
    // O_NONBLOCK: opening a named pipe must not wait for a writer that never comes.
    const Descriptor file(
        ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
    if (file.get() < 0)
        return systemProblem(errno);
    struct stat info;
    if (::fstat(file.get(), &info) != 0)
        return systemProblem(errno);
    if (!S_ISREG(info.st_mode))
        return {FileProblem::NotAFile, whatItIs(info.st_mode)};
    if (info.st_size > maxBytes)
        return {FileProblem::TooLarge, QString(), qint64(info.st_size)};

    LineSplitter lines(take);
    static constexpr qsizetype Piece = 64 * 1024;
    QByteArray buffer(Piece, Qt::Uninitialized);
    qint64 total = 0;
    for (;;) {
        const ssize_t count = ::read(file.get(), buffer.data(), Piece);
        if (count < 0 && errno == EINTR)
            continue;
        if (count < 0)
            return systemProblem(errno);
        if (count == 0)
            break;
        total += count;
        // A file that grows while it is read is held to the same bound.
        if (total > maxBytes)
            return {FileProblem::TooLarge, QString(), total};
        lines.feed(buffer.constData(), count);
    }
    lines.finish();
    return {};
}

QList<QByteArray> splitLines(const QByteArray& bytes) {
    QList<QByteArray> lines;
    const LineTaker take = [&lines](qint64, const QByteArray& line) { lines.append(line); };
    LineSplitter splitter(take);
    splitter.feed(bytes.constData(), bytes.size());
    splitter.finish();
    return lines;
}

QString decodeLine(const QByteArray& line) {
    return QString::fromUtf8(line);
}

bool replaceFileBytes(const QString& path, const QByteArray& bytes) {
    if (isLeftAlone(QFileInfo(path)))
        return false;
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    // A small file sits in Qt's buffer until the commit, and Qt 6.4 commits even when that last
    // flush fails on a full disk: flush first, so a cut file never takes the old one's place.
    if (file.write(bytes) != bytes.size() || !file.flush()) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

bool replaceFileLines(const QString& path, const QList<QByteArray>& lines) {
    QByteArray bytes;
    for (const QByteArray& line : lines)
        bytes += line + "\r\n";
    return replaceFileBytes(path, bytes);
}

bool appendLine(const QString& path, const QByteArray& line, qint64 maxBytes) {
    if (isLeftAlone(QFileInfo(path)))
        return false;
    const QByteArray name = QFile::encodeName(path);
    constexpr int Flags = O_RDWR | O_NONBLOCK | O_CLOEXEC;
    bool made = false;
    int fd = ::open(name.constData(), Flags);
    if (fd < 0 && errno == ENOENT) {
        fd = ::open(name.constData(), Flags | O_CREAT | O_EXCL, 0666);
        made = fd >= 0;
    }
    const Descriptor file(fd);
    if (file.get() < 0)
        return false;
    struct stat info;
    if (::fstat(file.get(), &info) != 0 || !S_ISREG(info.st_mode) || info.st_size > maxBytes)
        return false;
    const off_t oldSize = info.st_size;
    QByteArray bytes;
    char last = '\n';
    if (oldSize > 0 && ::pread(file.get(), &last, 1, oldSize - 1) != 1)
        return false;
    // A file edited by hand may lack its last line end; the new line must not join that line.
    if (last != '\n' && last != '\r')
        bytes += "\r\n";
    bytes += line + "\r\n";
    const ssize_t written = ::pwrite(file.get(), bytes.constData(), size_t(bytes.size()), oldSize);
    if (written == ssize_t(bytes.size()) && ::fsync(file.get()) == 0)
        return true;
    // A full disk took part of the line: the file goes back to what it held.
    if (::ftruncate(file.get(), oldSize) == 0)
        ::fsync(file.get());
    if (made)
        ::unlink(name.constData());
    return false;
}
