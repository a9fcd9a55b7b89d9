// The stand-in emulator is what every launch and listing test talks to, so its log and its
// listings must be exactly what those tests expect. It is run here as a real process.

#include "tests/support/standinlog.h"
#include "tests/support/testplatform.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QStringDecoder>
#include <QTemporaryDir>
#include <QtTest>

#include <algorithm>
#include <memory>

using Environment = QList<QPair<QString, QString>>;

namespace {

struct Finished {
    int exitCode = -1;
    QByteArray output;
    qint64 pid = 0;
};

const QString demoListingPath = QStringLiteral("../demo/folder/Tallowick.sys");

} // namespace

class TestStandin : public QObject {
    Q_OBJECT

private:
    QString standin;
    QTemporaryDir scratch;

    QString logPath() const { return scratch.filePath(QStringLiteral("standin.log")); }

    // The stand-in's settings come only from the row under test, never from the caller's shell.
    QProcessEnvironment environment(const Environment& extra) const {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        for (const QString& name : env.keys()) {
            if (name.startsWith(QLatin1String("STANDIN_")))
                env.remove(name);
        }
        env.insert(QStringLiteral("STANDIN_LOG"), logPath());
        for (const auto& [name, value] : extra)
            env.insert(name, value);
        return env;
    }

    void start(QProcess& process, const QStringList& arguments, const Environment& extra = {},
               const QString& program = {}) const {
        process.setProcessEnvironment(environment(extra));
        if (process.workingDirectory().isEmpty())
            process.setWorkingDirectory(scratch.path());
        process.start(program.isEmpty() ? standin : program, arguments);
    }

    Finished run(const QStringList& arguments, const Environment& extra = {}) const {
        QProcess process;
        start(process, arguments, extra);
        Finished finished;
        if (!process.waitForStarted())
            return finished;
        finished.pid = process.processId();
        if (!process.waitForFinished(20000) || process.exitStatus() != QProcess::NormalExit)
            return finished;
        finished.exitCode = process.exitCode();
        finished.output = process.readAllStandardOutput();
        return finished;
    }

private slots:
    void initTestCase() {
        standin = qEnvironmentVariable("TALLOWICK_STANDIN");
        QVERIFY2(QFileInfo(standin).isExecutable(), "TALLOWICK_STANDIN names no program");
        QVERIFY(scratch.isValid());
    }

    void init() { QFile::remove(logPath()); }

    void recordsEveryArgumentAsGiven_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::newRow("none") << QStringList();
        QTest::newRow("blanks and quotes") << QStringList{
            QStringLiteral("ROMS/nes/Lantern Keep.nes"), QStringLiteral("\"quoted\""),
            QStringLiteral("it's"), QStringLiteral("  two  blanks  ")};
        QTest::newRow("shell syntax stays text")
            << QStringList{QStringLiteral("$(x)"), QStringLiteral("`x`"), QStringLiteral("a;b"),
                           QStringLiteral("*")};
        QTest::newRow("newline and backslash")
            << QStringList{QStringLiteral("line1\nline2"), QStringLiteral("a\\b"),
                           QStringLiteral("\\n"), QStringLiteral("ends with \\")};
        QTest::newRow("empty argument") << QStringList{QString(), QStringLiteral("x"), QString()};
        QTest::newRow("non-ASCII")
            << QStringList{QStringLiteral("Fjörd Rider.nes"), QStringLiteral("Ålesund"),
                           QStringLiteral("ファミコン")};
    }

    void recordsEveryArgumentAsGiven() {
        QFETCH(QStringList, arguments);
        const Finished finished = run(arguments);
        QCOMPARE(finished.exitCode, 0);
        QCOMPARE(finished.output, QByteArray());

        const QList<StandinRun> runs = readStandinLog(logPath());
        QCOMPARE(runs.size(), 1);
        QCOMPARE(runs[0].pid, finished.pid);
        QCOMPARE(runs[0].program, standin);
        QCOMPARE(runs[0].cwd, QDir(scratch.path()).canonicalPath());
        QCOMPARE(runs[0].arguments, arguments);
    }

    // The exact bytes, escapes included, in the working folder's name as well.
    void writesTheRecordFormat() {
        const QString folder = scratch.filePath(QStringLiteral("back\\slash"));
        QVERIFY(QDir().mkpath(folder));
        const QString cwd = QDir(folder).canonicalPath();

        QProcess process;
        process.setWorkingDirectory(folder);
        start(process, {QStringLiteral("a\\b"), QStringLiteral("x\ny"), QStringLiteral("ö")});
        QVERIFY(process.waitForStarted());
        const qint64 pid = process.processId();
        QVERIFY(process.waitForFinished());

        QByteArray escapedCwd = cwd.toUtf8();
        escapedCwd.replace("\\", "\\\\");
        const QByteArray expected = "run\npid=" + QByteArray::number(pid) +
                                    "\nprogram=" + standin.toUtf8() + "\ncwd=" + escapedCwd +
                                    "\narg=a\\\\b\narg=x\\ny\narg=\xc3\xb6\nend\n";
        QCOMPARE(fileBytes(logPath()), expected);
    }

    void keepsConcurrentRecordsWhole() {
        // Large records, so that runs writing in pieces would show up mixed.
        const int runCount = 8;
        std::vector<std::unique_ptr<QProcess>> processes;
        std::vector<QStringList> argumentLists;
        for (int i = 0; i < runCount; ++i) {
            QStringList arguments;
            for (int j = 0; j < 2000; ++j)
                arguments << QStringLiteral("run %1 argument %2 %3")
                                 .arg(i)
                                 .arg(j)
                                 .arg(QString(40, QLatin1Char('x')));
            argumentLists.push_back(arguments);
            processes.push_back(std::make_unique<QProcess>());
        }
        for (int i = 0; i < runCount; ++i)
            start(*processes[i], argumentLists[i]);
        for (auto& process : processes) {
            QVERIFY(process->waitForFinished());
            QCOMPARE(process->exitCode(), 0);
        }

        const QList<StandinRun> runs = readStandinLog(logPath());
        QCOMPARE(runs.size(), runCount);
        QSet<int> seen;
        for (const StandinRun& run : runs) {
            const int index = run.arguments.value(0).section(QLatin1Char(' '), 1, 1).toInt();
            QVERIFY(index >= 0 && index < runCount);
            QCOMPARE(run.arguments, argumentLists[index]);
            seen.insert(index);
        }
        QCOMPARE(seen.size(), runCount);
    }

    void exitsWithTheAskedCode_data() {
        QTest::addColumn<QString>("code");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QByteArray>("output");
        const QByteArray listing = fileBytes(QFINDTESTDATA(demoListingPath));
        QTest::newRow("3") << QStringLiteral("3") << 3 << QByteArray();
        QTest::newRow("0 still prints nothing") << QStringLiteral("0") << 0 << QByteArray();
        QTest::newRow("255") << QStringLiteral("255") << 255 << QByteArray();
        QTest::newRow("not a number is ignored") << QStringLiteral("3x") << 0 << listing;
    }

    void exitsWithTheAskedCode() {
        QFETCH(QString, code);
        QFETCH(int, exitCode);
        QFETCH(QByteArray, output);
        const QStringList arguments{QStringLiteral("-listfull")};
        const Finished finished = run(arguments, {{QStringLiteral("STANDIN_EXIT"), code}});
        QCOMPARE(finished.exitCode, exitCode);
        QCOMPARE(finished.output, output);
        const QList<StandinRun> runs = readStandinLog(logPath());
        QCOMPARE(runs.size(), 1);
        QCOMPARE(runs[0].arguments, arguments);
    }

    void prints_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<Environment>("environment");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QByteArray>("output");

        const QByteArray demo = fileBytes(QFINDTESTDATA(demoListingPath));
        QVERIFY(!demo.isEmpty());
        const QString listingFile = scratch.filePath(QStringLiteral("listing.txt"));
        static const char oddBytes[] = "head\r\nnul\0byte \xff\xfe not UTF-8\rno end";
        const QByteArray odd(oddBytes, sizeof oddBytes - 1);
        QFile file(listingFile);
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(odd) == odd.size());
        file.close();
        const QStringList listfull{QStringLiteral("-listfull")};
        const QString on = QStringLiteral("1");

        QTest::newRow("demo listing") << listfull << Environment() << 0 << demo;
        QTest::newRow("listing after -listfull's own arguments")
            << QStringList{QStringLiteral("-listfull"), QStringLiteral("nes")} << Environment() << 0
            << demo;
        QTest::newRow("empty") << listfull << Environment{{QStringLiteral("STANDIN_EMPTY"), on}}
                               << 0 << QByteArray();
        QTest::newRow("file passed through")
            << listfull << Environment{{QStringLiteral("STANDIN_LISTING"), listingFile}} << 0
            << odd;
        QTest::newRow("file wins over wide and empty")
            << listfull
            << Environment{{QStringLiteral("STANDIN_LISTING"), listingFile},
                           {QStringLiteral("STANDIN_WIDE"), on},
                           {QStringLiteral("STANDIN_EMPTY"), on}}
            << 0 << odd;
        QTest::newRow("empty wins over wide") << listfull
                                              << Environment{{QStringLiteral("STANDIN_EMPTY"), on},
                                                             {QStringLiteral("STANDIN_WIDE"), on}}
                                              << 0 << QByteArray();
        QTest::newRow("missing file") << listfull
                                      << Environment{{QStringLiteral("STANDIN_LISTING"),
                                                      scratch.filePath(QStringLiteral("none"))}}
                                      << 1 << QByteArray();
        QTest::newRow("-listfull only counts first")
            << QStringList{QStringLiteral("nes"), QStringLiteral("-listfull")} << Environment() << 0
            << QByteArray();
        QTest::newRow("game launch") << QStringList{QStringLiteral("nes"), QStringLiteral("-cart"),
                                                    QStringLiteral("ROMS/nes/blipblop.nes")}
                                     << Environment() << 0 << QByteArray();
    }

    void prints() {
        QFETCH(QStringList, arguments);
        QFETCH(Environment, environment);
        QFETCH(int, exitCode);
        QFETCH(QByteArray, output);
        const Finished finished = run(arguments, environment);
        QCOMPARE(finished.exitCode, exitCode);
        QCOMPARE(finished.output, output);
        QCOMPARE(readStandinLog(logPath()).size(), 1);
    }

    // The demo folder's Tallowick.sys in the layout old MESS versions printed.
    void demoListingHasTheOldLayout() {
        const QByteArray demo = fileBytes(QFINDTESTDATA(demoListingPath));
        QVERIFY(demo.endsWith("\r\n"));
        QList<QByteArray> lines = demo.split('\n');
        lines.removeLast();
        QVERIFY(lines.size() >= 13);
        const QRegularExpression system(QStringLiteral("^(\\S{1,8}) +\"([^\"]*)\"\r$"));
        for (qsizetype i = 1; i < lines.size(); ++i) {
            const QString line = QString::fromUtf8(lines[i]);
            const QRegularExpressionMatch match = system.match(line);
            QVERIFY2(match.hasMatch(), lines[i].constData());
            QCOMPARE(line + QLatin1Char('\n'),
                     QString::asprintf("%-10s\"%s\"\r\n", qPrintable(match.captured(1)),
                                       qPrintable(match.captured(2))));
        }
    }

    void wideListingHasTodaysLayout() {
        const Finished finished = run({QStringLiteral("-listfull")},
                                      {{QStringLiteral("STANDIN_WIDE"), QStringLiteral("1")}});
        QCOMPARE(finished.exitCode, 0);
        QByteArray output = finished.output;
        QVERIFY(!output.contains('\r'));
        QVERIFY(output.startsWith("Name:             Description:\n"));
        QVERIFY(output.endsWith('\n'));
        QStringDecoder decoder(QStringDecoder::Utf8);
        const QString text = decoder(output);
        QVERIFY(!decoder.hasError());

        QStringList lines = text.split(QLatin1Char('\n'));
        lines.removeFirst();
        lines.removeLast();
        QVERIFY(lines.size() >= 12);
        bool quote = false, comma = false, nonAscii = false, longName = false;
        for (const QString& line : lines) {
            const qsizetype open = line.indexOf(QLatin1Char('"'));
            QVERIFY2(open > 0 && line.endsWith(QLatin1Char('"')), qPrintable(line));
            const QString name = line.left(open).trimmed();
            const QString description = line.mid(open + 1, line.size() - open - 2);
            QVERIFY2(!name.isEmpty() && name.size() <= 16, qPrintable(line));
            QCOMPARE(line + QLatin1Char('\n'),
                     QString::asprintf("%-17s \"%s\"\n", name.toUtf8().constData(),
                                       description.toUtf8().constData()));
            quote |= description.contains(QLatin1Char('"'));
            comma |= description.contains(QLatin1Char(','));
            nonAscii |= std::any_of(description.begin(), description.end(),
                                    [](QChar c) { return c.unicode() > 127; });
            longName |= name.size() > 8;
        }
        QVERIFY(quote);
        QVERIFY(comma);
        QVERIFY(nonAscii);
        QVERIFY(longName);
    }

    void hangsUntilKilled_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<Environment>("environment");
        QTest::addColumn<QByteArray>("output");
        const QString on = QStringLiteral("1");
        const QByteArray demo = fileBytes(QFINDTESTDATA(demoListingPath));
        QTest::newRow("demo header") << QStringList{QStringLiteral("-listfull")}
                                     << Environment{{QStringLiteral("STANDIN_HANG"), on}}
                                     << demo.left(demo.indexOf('\n') + 1);
        QTest::newRow("wide header") << QStringList{QStringLiteral("-listfull")}
                                     << Environment{{QStringLiteral("STANDIN_HANG"), on},
                                                    {QStringLiteral("STANDIN_WIDE"), on}}
                                     << QByteArray("Name:             Description:\n");
        QTest::newRow("game launch")
            << QStringList{QStringLiteral("nes")}
            << Environment{{QStringLiteral("STANDIN_HANG"), on}} << QByteArray();
    }

    void hangsUntilKilled() {
        QFETCH(QStringList, arguments);
        QFETCH(Environment, environment);
        QFETCH(QByteArray, output);
        QProcess process;
        start(process, arguments, environment);
        QVERIFY(process.waitForStarted());
        QByteArray printed;
        QDeadlineTimer deadline(5000);
        while (printed.size() < output.size() && !deadline.hasExpired()) {
            process.waitForReadyRead(100);
            printed += process.readAllStandardOutput();
        }
        QCOMPARE(printed, output);
        QVERIFY(!process.waitForFinished(700));
        QCOMPARE(process.state(), QProcess::Running);
        QCOMPARE(readStandinLog(logPath()).size(), 1);

        process.kill();
        QVERIFY(process.waitForFinished());
        QCOMPARE(process.exitStatus(), QProcess::CrashExit);
        QCOMPARE(process.readAllStandardOutput(), QByteArray());
    }

    // The demo folder relies on this: MESS logs next to itself, wherever it is started from.
    void logsBesideTheExecutableByDefault() {
        const QString programFolder = scratch.filePath(QStringLiteral("program folder"));
        QVERIFY(QDir().mkpath(programFolder));
        const QString mess = programFolder + QStringLiteral("/MESS");
        QFile::remove(mess);
        QVERIFY(QFile::copy(standin, mess));

        QProcess process;
        QProcessEnvironment env = environment({});
        env.remove(QStringLiteral("STANDIN_LOG"));
        process.setProcessEnvironment(env);
        process.setWorkingDirectory(QDir::rootPath());
        process.start(mess, {QStringLiteral("nes")});
        QVERIFY(process.waitForFinished());
        QCOMPARE(process.exitCode(), 0);

        const QList<StandinRun> runs =
            readStandinLog(programFolder + QStringLiteral("/standin.log"));
        QCOMPARE(runs.size(), 1);
        QCOMPARE(runs[0].program, mess);
        QCOMPARE(runs[0].cwd, QDir::rootPath());
        QCOMPARE(runs[0].arguments, QStringList{QStringLiteral("nes")});
        QVERIFY(!QFile::exists(logPath()));
    }

    // Other tests read the log while a stand-in may still be writing; half a record is no run.
    void readerLeavesOutCutRecords() {
        QFile log(logPath());
        QVERIFY(log.open(QIODevice::WriteOnly));
        log.write("run\npid=7\nprogram=MESS\ncwd=/a\narg=x\nend\nrun\npid=8\nprogram=MESS\narg=");
        log.close();
        const QList<StandinRun> runs = readStandinLog(logPath());
        QCOMPARE(runs.size(), 1);
        QCOMPARE(runs[0].pid, qint64(7));
        QCOMPARE(runs[0].arguments, QStringList{QStringLiteral("x")});
        QVERIFY(readStandinLog(scratch.filePath(QStringLiteral("absent.log"))).isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestStandin)
#include "tst_standin.moc"
