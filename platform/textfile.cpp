#include "platform/textfile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
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

FileProblem unwritable(const QString& reason) {
    return {FileProblem::Unwritable, reason};
}

FileProblem unwritable(int error) {
    return unwritable(QString::fromLocal8Bit(std::strerror(error)));
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
FileProblem whyLeftAlone(const QString& path) {
    struct stat info;
    if (::stat(QFile::encodeName(path).constData(), &info) != 0)
        return {};
    if (!S_ISREG(info.st_mode))
        return unwritable(whatItIs(info.st_mode));
    if (!(info.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) || !QFileInfo(path).isWritable())
        return unwritable(QStringLiteral("it is read-only"));
    return {};
}

} // namespace

FileProblem readLines(const QString& path, qint64 maxBytes, const LineTaker& take,
                      qsizetype pieceBytes) {
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
    QByteArray buffer(pieceBytes, Qt::Uninitialized);
    qint64 total = 0;
    for (;;) {
        const ssize_t count = ::read(file.get(), buffer.data(), std::size_t(pieceBytes));
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

QString notAFile(const QString& path) {
    struct stat info;
    if (::stat(QFile::encodeName(path).constData(), &info) != 0 || S_ISREG(info.st_mode))
        return {};
    return whatItIs(info.st_mode);
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

// Qt words a write that the disk took only part of as "Unknown error"; the system's errno, set
// by the failing call, says what happened.
static FileProblem saveProblem(const QSaveFile& file, int error) {
    return unwritable(error != 0 ? QString::fromLocal8Bit(std::strerror(error))
                                 : file.errorString());
}

FileProblem replaceFileBytes(const QString& path, const QByteArray& bytes) {
    if (const FileProblem problem = whyLeftAlone(path))
        return problem;
    QSaveFile file(path);
    errno = 0;
    if (!file.open(QIODevice::WriteOnly))
        return saveProblem(file, errno);
    // A small file sits in Qt's buffer until the commit, and Qt 6.4 commits even when that last
    // flush fails on a full disk: flush first, so a cut file never takes the old one's place.
    if (file.write(bytes) != bytes.size() || !file.flush()) {
        const FileProblem problem = saveProblem(file, errno);
        file.cancelWriting();
        return problem;
    }
    if (!file.commit())
        return saveProblem(file, errno);
    return {};
}

FileProblem replaceFileLines(const QString& path, const QList<QByteArray>& lines) {
    QByteArray bytes;
    for (const QByteArray& line : lines)
        bytes += line + "\r\n";
    return replaceFileBytes(path, bytes);
}

FileProblem appendLine(const QString& path, const QByteArray& line, qint64 maxBytes) {
    if (const FileProblem problem = whyLeftAlone(path))
        return problem;
    const QByteArray name = QFile::encodeName(path);
    // O_APPEND: every write lands at the end as it is at that moment, whoever else is adding.
    constexpr int Flags = O_RDWR | O_APPEND | O_NONBLOCK | O_CLOEXEC;
    bool made = false;
    int fd = ::open(name.constData(), Flags);
    if (fd < 0 && errno == ENOENT) {
        fd = ::open(name.constData(), Flags | O_CREAT | O_EXCL, 0666);
        made = fd >= 0;
        if (fd < 0 && errno == EEXIST) // another Tallowick made it meanwhile
            fd = ::open(name.constData(), Flags);
    }
    const Descriptor file(fd);
    if (file.get() < 0)
        return unwritable(errno);
    // Another Tallowick adding at the same moment waits until this line is in: its look at the
    // last byte must not see half of this line's write.
    while (::flock(file.get(), LOCK_EX) != 0 && errno == EINTR) {
    }
    struct stat info;
    if (::fstat(file.get(), &info) != 0)
        return unwritable(errno);
    if (!S_ISREG(info.st_mode))
        return unwritable(whatItIs(info.st_mode));
    if (info.st_size > maxBytes)
        return {FileProblem::TooLarge, QString(), qint64(info.st_size)};
    QByteArray bytes;
    char last = '\n';
    if (info.st_size > 0 && ::pread(file.get(), &last, 1, info.st_size - 1) != 1)
        return unwritable(errno);
    // A file edited by hand may lack its last line end; the new line must not join that line.
    if (last != '\n' && last != '\r')
        bytes += "\r\n";
    bytes += line + "\r\n";
    const ssize_t written = ::write(file.get(), bytes.constData(), size_t(bytes.size()));
    int error = errno;
    if (written == ssize_t(bytes.size())) {
        if (::fsync(file.get()) == 0)
            return {};
        error = errno;
    } else if (written >= 0) {
        error = ENOSPC; // the disk took only part of the line
    }
    // A full disk took part of the line: it comes out again, unless another program has added a
    // line after it since, which must not be cut.
    const off_t end = ::lseek(file.get(), 0, SEEK_CUR);
    if (written > 0 && ::fstat(file.get(), &info) == 0 && info.st_size == end &&
        ::ftruncate(file.get(), end - written) == 0)
        ::fsync(file.get());
    if (made && ::fstat(file.get(), &info) == 0 && info.st_size == 0)
        ::unlink(name.constData());
    return unwritable(error);
}

FileProblem probeWrite(const QString& path, qint64 bytes) {
    if (const FileProblem problem = whyLeftAlone(path))
        return problem;
    QDir().mkpath(QFileInfo(path).absolutePath());
    QByteArray name = QFile::encodeName(path) + ".XXXXXX";
    const Descriptor file(::mkostemp(name.data(), O_CLOEXEC));
    if (file.get() < 0)
        return unwritable(errno);
    // posix_fallocate gives its error number back rather than in errno.
    int error = ::posix_fallocate(file.get(), 0, off_t(qMax<qint64>(bytes, 1)));
    if (error == 0 && ::fsync(file.get()) != 0)
        error = errno;
    ::unlink(name.constData());
    return error ? unwritable(error) : FileProblem();
}
