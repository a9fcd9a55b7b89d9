// The emulator's systems listing: line splitting, one line's parse, and the file as a whole.
#include "catalogue/systemsfile.h"
#include "fuzzsupport.h"
#include "platform/textfile.h"

#include <QFile>
#include <QTemporaryDir>

namespace {

bool isLineEnd(char c) {
    return c == '\r' || c == '\n';
}

// The lines, put back with one line end each (CR LF counting as one), give the bytes again, and
// a line end after the last line adds no empty line.
void checkSplitLines(const QByteArray& bytes) {
    const QList<QByteArray> lines = splitLines(bytes);
    qsizetype at = 0;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QByteArray& line = lines.at(i);
        FUZZ_CHECK(!line.contains('\r') && !line.contains('\n'));
        FUZZ_CHECK(bytes.mid(at, line.size()) == line);
        at += line.size();
        if (at == bytes.size()) {
            FUZZ_CHECK(i == lines.size() - 1);
            FUZZ_CHECK(!line.isEmpty());
            break;
        }
        FUZZ_CHECK(isLineEnd(bytes.at(at)));
        at += bytes.at(at) == '\r' && at + 1 < bytes.size() && bytes.at(at + 1) == '\n' ? 2 : 1;
    }
    FUZZ_CHECK(at == bytes.size());
}

bool isBlank(QChar c) {
    return c == QLatin1Char(' ') || c == QLatin1Char('\t');
}

// The layout today's emulator writes: a one-word name, blanks, an opening quote. The name and
// what follows the quote, or nothing when the line is not laid out so.
std::optional<std::pair<QString, QString>> quotedLayout(const QString& line) {
    const qsizetype quote = line.indexOf(QLatin1Char('"'));
    qsizetype blank = 0;
    while (blank < quote && !isBlank(line.at(blank)))
        ++blank;
    if (quote <= 0 || blank == 0 || blank == quote)
        return std::nullopt;
    for (qsizetype i = blank; i < quote; ++i) {
        if (!isBlank(line.at(i)))
            return std::nullopt;
    }
    return std::make_pair(line.left(blank), line.mid(quote + 1));
}

void checkParsedLine(const QString& line) {
    const std::optional<SystemLine> system = parseSystemLine(line);
    if (line.size() < 12) {
        FUZZ_CHECK(!system);
        return;
    }
    const auto quoted = quotedLayout(line);
    if (quoted && isUsableShortName(quoted->first))
        FUZZ_CHECK(system.has_value());
    if (!system)
        return;
    // The name becomes a folder name and one word of a command line.
    FUZZ_CHECK(isUsableShortName(system->shortName));
    // Whole characters only. (A trip through UTF-8 is no test here: QString::fromUtf8() drops a
    // byte order mark at the start, and a name may start with one.)
    FUZZ_CHECK(system->shortName.isValidUtf16());
    FUZZ_CHECK(!system->shortName.contains(QLatin1Char('"')));
    FUZZ_CHECK(system->shortName == system->shortName.trimmed());
    if (quoted) {
        // Up to a closing quote that ends the line but for blanks, never including it.
        FUZZ_CHECK(system->shortName == quoted->first);
        const QString& afterQuote = quoted->second;
        qsizetype end = afterQuote.size();
        while (end > 0 && isBlank(afterQuote.at(end - 1)))
            --end;
        const bool closed = end > 0 && afterQuote.at(end - 1) == QLatin1Char('"');
        FUZZ_CHECK(system->description == (closed ? afterQuote.left(end - 1) : afterQuote));
    } else {
        FUZZ_CHECK(system->shortName.size() <= 8);
        FUZZ_CHECK(line.left(8).contains(system->shortName));
        FUZZ_CHECK(system->description == line.mid(11).chopped(1));
    }
}

// A line written the way the emulator writes it gives back what went in.
void checkRoundTrip(const QString& name, const QString& description) {
    if (!isUsableShortName(name) || description.contains(QLatin1Char('\r')) ||
        description.contains(QLatin1Char('\n')))
        return;
    const QString quoted =
        name.leftJustified(17) + QLatin1String(" \"") + description + QLatin1Char('"');
    const std::optional<SystemLine> system = parseSystemLine(quoted);
    FUZZ_CHECK(system && system->shortName == name && system->description == description);

    // The older listing with fixed columns: name in 1 to 8, description from 12, one last mark.
    if (name.size() <= 8 && !description.contains(QLatin1Char('"'))) {
        const QString columns =
            name.leftJustified(8) + QLatin1String("   ") + description + QLatin1Char('.');
        const std::optional<SystemLine> old = parseSystemLine(columns);
        FUZZ_CHECK(old && old->shortName == name && old->description == description);
    }

    // Through a file: the header line is skipped, the system line read back whole.
    if (!survivesUtf8(quoted))
        return;
    const QList<QByteArray> lines = splitLines("header\r\n" + quoted.toUtf8() + "\n");
    FUZZ_CHECK(lines.size() == 2 && decodeLine(lines.at(1)) == quoted);
}

void checkSystemsFile(const QByteArray& bytes) {
    static QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("Tallowick.sys"));
    QFile file(path);
    FUZZ_CHECK(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    FUZZ_CHECK(file.write(bytes) == bytes.size());
    file.close();

    const auto read = readSystemsFile(path);
    FUZZ_CHECK(!read.problem);
    const auto* systems = &read.systems;
    const QList<QByteArray> lines = splitLines(bytes);
    std::vector<SystemLine> expected;
    for (qsizetype i = 1; i < lines.size(); ++i) {
        if (auto system = parseSystemLine(decodeLine(lines.at(i))))
            expected.push_back(*system);
    }
    FUZZ_CHECK(systems->size() == expected.size());
    for (size_t i = 0; i < expected.size(); ++i) {
        FUZZ_CHECK(systems->at(i).shortName == expected.at(i).shortName);
        FUZZ_CHECK(systems->at(i).description == expected.at(i).description);
    }
    // The last system with a description wins (a few of them: the check is quadratic).
    for (size_t i = 0; i < std::min<size_t>(expected.size(), 16); ++i) {
        QString last;
        for (const SystemLine& other : expected) {
            if (other.description == expected.at(i).description)
                last = other.shortName;
        }
        FUZZ_CHECK(shortNameForDescription(*systems, expected.at(i).description) == last);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray bytes = bytesOf(data, size);
    checkSplitLines(bytes);
    for (const QByteArray& line : splitLines(bytes))
        checkParsedLine(decodeLine(line));
    checkSystemsFile(bytes);

    FuzzedDataProvider provider(data, size);
    const QString name = takeText(provider, 24);
    const QString description = takeText(provider, 200);
    checkRoundTrip(name, description);
    checkParsedLine(name + description); // raw UTF-16 pieces reach the parse too
    return 0;
}
