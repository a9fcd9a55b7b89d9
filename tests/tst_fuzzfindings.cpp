// What the fuzz targets found, kept as cases, and a table of nasty inputs for each parser: NUL
// bytes, bytes that are not UTF-8, 1 MB lines, CR-only and mixed line ends, quotes with no
// description and very long names.
#include "catalogue/favourites.h"
#include "catalogue/gameline.h"
#include "catalogue/systemsfile.h"
#include "launch/commandline.h"
#include "mainwindow/optionvalues.h"
#include "platform/textfile.h"
#include "tests/support/testplatform.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>
#include <limits>

namespace {

constexpr int OneMegabyte = 1 << 20;
constexpr qint64 Unfit = std::numeric_limits<qint64>::min(); // stands for nullopt in the tables

const QString Astral = QString::fromUtf8("\xF0\x9F\x98\x80"); // two UTF-16 units

qint64 orUnfit(std::optional<qint64> value) {
    return value ? *value : Unfit;
}

int truthOrUnfit(std::optional<bool> value) {
    return value ? int(*value) : -1;
}

QString withNul(const char* before, const char* after) {
    return QLatin1String(before) + QChar(0) + QLatin1String(after);
}

} // namespace

class FuzzFindingsTest : public QObject {
    Q_OBJECT
private slots:
    void systemLine_data();
    void systemLine();
    void systemsFile_data();
    void systemsFile();
    void gameLineRoundTrip_data();
    void gameLineRoundTrip();
    void gameLineReaders_data();
    void gameLineReaders();
    void favouritesKeepBytes_data();
    void favouritesKeepBytes();
    void optionTexts_data();
    void optionTexts();
    void wholeNumberBounds_data();
    void wholeNumberBounds();
};

void FuzzFindingsTest::systemLine_data() {
    QTest::addColumn<QString>("line");
    QTest::addColumn<bool>("parsed");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("description");

    // Found by fuzz_systemline: column 8 cut a character in two, and the half was taken as a
    // usable name that no folder can carry.
    QTest::newRow("column 8 cuts a character")
        << "abcdefg" + Astral + "   Desc." << false << QString() << QString();
    QTest::newRow("lone surrogate before the quote")
        << QString(QChar(0xD800)) + " \"x\"" << false << QString() << QString();
    QTest::newRow("character whole within column 8")
        << "abcdef" + Astral + "   Desc." << true << "abcdef" + Astral << "Desc";

    QTest::newRow("quoted") << "a2600     \"Atari 2600 (NTSC)\"" << true << "a2600"
                            << "Atari 2600 (NTSC)";
    QTest::newRow("quote with no description") << "nes       \"" << true << "nes"
                                               << "";
    QTest::newRow("quote right after the name") << "nes\"" << true << "nes"
                                                << "";
    QTest::newRow("lone quote") << "\"" << false << ""
                                << "";
    QTest::newRow("quote before the name") << "\"nes\" \"x\"" << false << ""
                                           << "";
    QTest::newRow("inner quotes kept") << "sms \"Master \"Edition\"\"" << true << "sms"
                                       << "Master \"Edition\"";
    QTest::newRow("no closing quote keeps the text") << "sms \"Master" << true << "sms"
                                                     << "Master";
    QTest::newRow("tab before the quote") << "nes\t\"x\"" << true << "nes"
                                          << "x";
    QTest::newRow("fixed columns") << "vectrex    Vectrex." << true << "vectrex"
                                   << "Vectrex";
    QTest::newRow("fixed columns, 11 characters") << "vectrex    " << false << ""
                                                  << "";
    QTest::newRow("fixed columns, 12 characters") << "vectrex    ." << true << "vectrex"
                                                  << "";
    QTest::newRow("NUL in the name") << withNul("a", "b \"x\"") << false << ""
                                     << "";
    QTest::newRow("NUL in the description")
        << withNul("nes \"a", "b\"") << true << "nes" << withNul("a", "b");
    QTest::newRow("bytes that are not UTF-8") << decodeLine("nes \"\xff\xfe\"") << true << "nes"
                                              << QString(2, QChar::ReplacementCharacter);
    QTest::newRow("byte order mark before the name")
        << decodeLine("\xEF\xBB\xBFnes \"NES\"") << true << "nes"
        << "NES";
    QTest::newRow("name of 255 characters")
        << QString(255, 'n') + " \"Long\"" << true << QString(255, 'n') << "Long";
    const QString wide = QString(85, QChar(0x65E5)); // 255 bytes in UTF-8
    QTest::newRow("name of 255 bytes") << wide + " \"Wide\"" << true << wide << "Wide";
    QTest::newRow("1 MB description") << "big \"" + QString(OneMegabyte, 'd') + "\"" << true
                                      << "big" << QString(OneMegabyte, 'd');
    QTest::newRow("slash in the name") << "a/b \"x\"" << false << ""
                                       << "";
    QTest::newRow("backslash in the name") << "a\\b \"x\"" << false << ""
                                           << "";
    QTest::newRow("dot") << ". \"x\"" << false << ""
                         << "";
    QTest::newRow("dot dot") << ".. \"x\"" << false << ""
                             << "";
}

void FuzzFindingsTest::systemLine() {
    QFETCH(QString, line);
    QFETCH(bool, parsed);
    QFETCH(QString, name);
    QFETCH(QString, description);
    const std::optional<SystemLine> system = parseSystemLine(line);
    QCOMPARE(system.has_value(), parsed);
    if (!system)
        return;
    QCOMPARE(system->shortName, name);
    QCOMPARE(system->description, description);
    QVERIFY(isUsableShortName(system->shortName));
}

void FuzzFindingsTest::systemsFile_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QStringList>("names");
    QTest::addColumn<QStringList>("descriptions");

    QTest::newRow("CR only") << QByteArray("Name:\rnes \"NES\"\rsms \"SMS\"\r")
                             << QStringList{"nes", "sms"} << QStringList{"NES", "SMS"};
    QTest::newRow("mixed line ends")
        << QByteArray("Name:\r\nnes \"NES\"\nsms \"SMS\"\r\r\ngg \"GG\"")
        << QStringList{"nes", "sms", "gg"} << QStringList{"NES", "SMS", "GG"};
    QTest::newRow("LF CR is two line ends")
        << QByteArray("Name:\n\rnes \"NES\"") << QStringList{"nes"} << QStringList{"NES"};
    QTest::newRow("header only") << QByteArray("Name:     Description:\r\n") << QStringList()
                                 << QStringList();
    QTest::newRow("empty") << QByteArray() << QStringList() << QStringList();
    QTest::newRow("first line is the header")
        << QByteArray("nes \"NES\"\r\nsms \"SMS\"") << QStringList{"sms"} << QStringList{"SMS"};
    QTest::newRow("NUL bytes") << QByteArray("Name:\r\nnes \"N\0ES\"\r\n\0\0\0\r\n", 24)
                               << QStringList{"nes"} << QStringList{withNul("N", "ES")};
    QTest::newRow("bytes that are not UTF-8")
        << QByteArray("Name:\r\n\xff\xfe \"x\"\r\nnes \"\xc3\"\r\n")
        << QStringList{QString(2, QChar::ReplacementCharacter), "nes"}
        << QStringList{"x", QString(QChar::ReplacementCharacter)};
    QTest::newRow("1 MB line") << "Name:\r\nbig \"" + QByteArray(OneMegabyte, 'd') +
                                      "\"\r\nnes \"NES\""
                               << QStringList{"big", "nes"}
                               << QStringList{QString(OneMegabyte, 'd'), "NES"};
}

void FuzzFindingsTest::systemsFile() {
    QFETCH(QByteArray, bytes);
    QFETCH(QStringList, names);
    QFETCH(QStringList, descriptions);
    QTemporaryDir folder;
    QVERIFY(folder.isValid());
    const QString path = ProgramFolder(folder.path()).systemsFile();
    QVERIFY(writeFileBytes(path, bytes));
    const auto read = readSystemsFile(path);
    QVERIFY(!read.problem);
    const auto* systems = &read.systems;
    QStringList readNames;
    QStringList readDescriptions;
    for (const SystemLine& system : *systems) {
        readNames << system.shortName;
        readDescriptions << system.description;
    }
    QCOMPARE(readNames, names);
    QCOMPARE(readDescriptions, descriptions);
}

void FuzzFindingsTest::gameLineRoundTrip_data() {
    QTest::addColumn<QString>("fileName");
    QTest::addColumn<QString>("shortName");
    QTest::addColumn<bool>("carried");

    QTest::newRow("plain") << "Pac-Man (1981).bin"
                           << "a2600" << true;
    QTest::newRow("63 characters") << QString(63, 'g') << "nes" << true;
    QTest::newRow("64 characters") << QString(64, 'g') << "nes" << false;
    QTest::newRow("blanks around") << "  spaced .nes "
                                   << "nes" << true;
    QTest::newRow("only blanks") << "   "
                                 << "nes" << true;
    QTest::newRow("empty") << ""
                           << "nes" << false;
    QTest::newRow("NUL") << withNul("a", "b.nes") << "nes" << false;
    QTest::newRow("tab") << "a\tb.nes"
                         << "nes" << false;
    QTest::newRow("DEL") << "a\x7f.nes"
                         << "nes" << false;
    QTest::newRow("quote") << "a\"b.nes"
                           << "nes" << false;
    QTest::newRow("bytes that are not UTF-8") << decodeLine("\xff.nes") << "nes" << true;
    QTest::newRow("astral characters") << Astral + ".nes"
                                       << "nes" << true;
    QTest::newRow("short name of 255 characters") << "x.nes" << QString(255, 's') << true;
    QTest::newRow("short name of 255 bytes") << "x.nes" << QString(85, QChar(0x65E5)) << true;
}

void FuzzFindingsTest::gameLineRoundTrip() {
    QFETCH(QString, fileName);
    QFETCH(QString, shortName);
    QFETCH(bool, carried);
    QVERIFY(isUsableShortName(shortName));
    QCOMPARE(GameLine::canCarry(fileName), carried);
    if (!carried)
        return;
    const QString line = GameLine::make(fileName, shortName);
    QCOMPARE(line.size(), 66 + shortName.size() + fileName.size());
    QCOMPARE(GameLine::name(line), fileName.trimmed());
    QCOMPARE(GameLine::shortName(line), shortName);
    const SplitCommand split = splitCommandLine("MESS " + GameLine::commandTail(line) + " ");
    QCOMPARE(split.program, QStringLiteral("MESS"));
    QCOMPARE(split.arguments, (QStringList{shortName, fileName}));
}

void FuzzFindingsTest::gameLineReaders_data() {
    QTest::addColumn<QString>("line");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("tail");
    QTest::addColumn<QString>("shortName");

    QTest::newRow("shorter than the name columns") << "abc"
                                                   << "abc"
                                                   << ""
                                                   << "";
    QTest::newRow("1 MB line") << QString(OneMegabyte, 'x') << QString(63, 'x')
                               << QString(OneMegabyte - 63, 'x') << QString(OneMegabyte - 63, 'x');
    QTest::newRow("tail without a blank") << QString(63, ' ') + "nes"
                                          << ""
                                          << "nes"
                                          << "nes";
    QTest::newRow("NUL in the tail")
        << QString(63, 'a') + withNul("n", "s \"x\"") << QString(63, 'a') << withNul("n", "s \"x\"")
        << withNul("n", "s");
    QTest::newRow("CR in the name columns") << "a\rb"
                                            << "a\rb"
                                            << ""
                                            << "";
}

void FuzzFindingsTest::gameLineReaders() {
    QFETCH(QString, line);
    QFETCH(QString, name);
    QFETCH(QString, tail);
    QFETCH(QString, shortName);
    QCOMPARE(GameLine::name(line), name);
    QCOMPARE(GameLine::commandTail(line), tail);
    QCOMPARE(GameLine::shortName(line), shortName);
}

void FuzzFindingsTest::favouritesKeepBytes_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QByteArray>("rewritten");
    QTest::addColumn<int>("count");

    // Found by fuzz_favourites: two lines whose bytes differ but read the same came back in the
    // opposite order.
    QTest::newRow("lines that read the same")
        << QByteArray("\xff\r\n\xfe\r\n") << QByteArray("\xff\r\n\xfe\r\n") << 2;
    QTest::newRow("lines that read the same, apart")
        << QByteArray("a\xff\nb\ra\xfe\na\xfd") << QByteArray("a\xff\r\nb\r\na\xfe\r\na\xfd\r\n")
        << 4;

    QTest::newRow("CR only") << QByteArray("a\rb\r") << QByteArray("a\r\nb\r\n") << 2;
    QTest::newRow("mixed line ends")
        << QByteArray("a\r\nb\nc\rd") << QByteArray("a\r\nb\r\nc\r\nd\r\n") << 4;
    QTest::newRow("blank lines") << QByteArray(" \t\r\n\f\v\r\n\r\nx\r\n") << QByteArray("x\r\n")
                                 << 1;
    QTest::newRow("NUL bytes") << QByteArray("a\0b\r\n\0\r\n", 8) << QByteArray("a\0b\r\n\0\r\n", 8)
                               << 2;
    QTest::newRow("1 MB line") << QByteArray(OneMegabyte, 'f') + "\n"
                               << QByteArray(OneMegabyte, 'f') + "\r\n"
                               << 1;
    QTest::newRow("byte order mark kept")
        << QByteArray("\xEF\xBB\xBFx\ny") << QByteArray("\xEF\xBB\xBFx\r\ny\r\n") << 2;
    QTest::newRow("empty") << QByteArray() << QByteArray() << 0;
    QTest::newRow("no end after the last line") << QByteArray("x") << QByteArray("x\r\n") << 1;
}

void FuzzFindingsTest::favouritesKeepBytes() {
    QFETCH(QByteArray, bytes);
    QFETCH(QByteArray, rewritten);
    QFETCH(int, count);
    QTemporaryDir folder;
    QVERIFY(folder.isValid());
    const QString path = ProgramFolder(folder.path()).favouritesFile();
    QVERIFY(writeFileBytes(path, bytes));

    const FavouritesFile loaded = readFavourites(path);
    QCOMPARE(loaded.lines.size(), count);
    const QString copy = folder.filePath("copy.fav");
    QVERIFY(rewriteFavourites(copy, loaded.lines, loaded));
    QCOMPARE(fileBytes(copy), rewritten);

    QVERIFY(appendFavourite(path, "Added"));
    const QByteArray after = fileBytes(path);
    QVERIFY(after.startsWith(bytes));
    QVERIFY(after.endsWith("Added\r\n"));
    QCOMPARE(readFavourites(path).lines, loaded.lines + QStringList{"Added"});
}

void FuzzFindingsTest::optionTexts_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("truth"); // 1 true, 0 false, -1 unfit
    QTest::addColumn<qint64>("int16");
    QTest::addColumn<qint64>("int32");

    // Found by fuzz_optionvalues: an exponent too small for a double read as out of range.
    QTest::newRow("tiny exponent") << "5e-400" << 0 << qint64(0) << qint64(0);
    QTest::newRow("tiny negative exponent")
        << "-7e-99999999999999999999" << 0 << qint64(0) << qint64(0);
    QTest::newRow("huge exponent") << "1e400" << 1 << Unfit << Unfit;

    QTest::newRow("NUL after digits") << withNul("12", "3") << -1 << qint64(12) << qint64(12);
    QTest::newRow("NUL only") << QString(QChar(0)) << -1 << qint64(0) << qint64(0);
    QTest::newRow("bytes that are not UTF-8")
        << decodeLine("12\xff") << -1 << qint64(12) << qint64(12);
    QTest::newRow("1 MB of blanks")
        << QString(OneMegabyte, ' ') + "7" << 1 << qint64(7) << qint64(7);
    QTest::newRow("1 MB of digits") << QString(OneMegabyte, '9') << 1 << Unfit << Unfit;
    QTest::newRow("1 MB of zeros")
        << QString(OneMegabyte, '0') + "5" << 1 << qint64(5) << qint64(5);
    QTest::newRow("blanks inside") << " 1 2" << 1 << qint64(12) << qint64(12);
    QTest::newRow("CR and LF inside") << "\r1\n2\r" << 1 << qint64(12) << qint64(12);
    QTest::newRow("mixed line ends inside") << "1\r\n2\r3" << 1 << qint64(123) << qint64(123);
    QTest::newRow("int16 largest") << "32767" << 1 << qint64(32767) << qint64(32767);
    QTest::newRow("int16 past largest") << "32768" << 1 << Unfit << qint64(32768);
    QTest::newRow("int16 smallest half") << "-32768.5" << 1 << qint64(-32768) << qint64(-32768);
    QTest::newRow("int16 past smallest") << "-32769" << 1 << Unfit << qint64(-32769);
    QTest::newRow("int32 largest") << "2147483647" << 1 << Unfit << qint64(2147483647);
    QTest::newRow("int32 half past largest") << "2147483647.5" << 1 << Unfit << Unfit;
    QTest::newRow("exponent without digits") << "12e" << -1 << qint64(12) << qint64(12);
    QTest::newRow("exponent sign without digits") << "12e+" << -1 << qint64(12) << qint64(12);
    QTest::newRow("sign only") << "-" << -1 << qint64(0) << qint64(0);
    QTest::newRow("True in any case") << " tRUE\t" << 1 << qint64(0) << qint64(0);
}

void FuzzFindingsTest::optionTexts() {
    QFETCH(QString, text);
    QFETCH(int, truth);
    QFETCH(qint64, int16);
    QFETCH(qint64, int32);
    QCOMPARE(truthOrUnfit(OptionValues::readTruth(text)), truth);
    QCOMPARE(orUnfit(OptionValues::readInt16(text)), int16);
    QCOMPARE(orUnfit(OptionValues::readInt32(text)), int32);
}

void FuzzFindingsTest::wholeNumberBounds_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<qint64>("minimum");
    QTest::addColumn<qint64>("maximum");
    QTest::addColumn<bool>("fits"); // Unfit could be an answer here, so it cannot stand for none
    QTest::addColumn<qint64>("number");
    constexpr qint64 smallest = std::numeric_limits<qint64>::min();
    constexpr qint64 largest = std::numeric_limits<qint64>::max();

    // Found by fuzz_optionvalues: the largest qint64 reads as 2^63, which was let through and
    // then overflowed; and a bound a double cannot hold let a number past it.
    QTest::newRow("largest qint64")
        << "9223372036854775807" << smallest << largest << false << qint64(0);
    QTest::newRow("bound a double cannot hold")
        << "9007199254740996" << qint64(0) << qint64(9007199254740995) << false << qint64(0);

    QTest::newRow("smallest qint64")
        << "-9223372036854775808" << smallest << largest << true << smallest;
    QTest::newRow("below a bound a double cannot hold")
        << "9007199254740994" << qint64(0) << qint64(9007199254740995) << true
        << qint64(9007199254740994);
    QTest::newRow("range of one") << "0.4" << qint64(0) << qint64(0) << true << qint64(0);
    QTest::newRow("empty reads as 0") << "" << qint64(-1) << qint64(1) << true << qint64(0);
}

void FuzzFindingsTest::wholeNumberBounds() {
    QFETCH(QString, text);
    QFETCH(qint64, minimum);
    QFETCH(qint64, maximum);
    QFETCH(bool, fits);
    QFETCH(qint64, number);
    const std::optional<qint64> read = OptionValues::readWholeNumber(text, minimum, maximum);
    QCOMPARE(read.has_value(), fits);
    if (read)
        QCOMPARE(*read, number);
}

QTEST_GUILESS_MAIN(FuzzFindingsTest)
#include "tst_fuzzfindings.moc"
