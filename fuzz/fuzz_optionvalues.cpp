// Settings texts read back as truths and whole numbers: never outside the range asked for,
// blanks anywhere ignored, and what numberText() wrote reads back the same.
#include "fuzzsupport.h"
#include "mainwindow/optionvalues.h"

#include <limits>

using namespace OptionValues;

namespace {

constexpr qint64 ExactInDouble = qint64(1) << 53;

bool isTruthWord(const QString& text) {
    const QString word = text.trimmed();
    return word.compare(QLatin1String("True"), Qt::CaseInsensitive) == 0 ||
           word.compare(QLatin1String("False"), Qt::CaseInsensitive) == 0;
}

void checkRanges(const QString& text, qint64 minimum, qint64 maximum) {
    const std::optional<qint64> any = readWholeNumber(text, minimum, maximum);
    if (any)
        FUZZ_CHECK(minimum <= *any && *any <= maximum);
    const std::optional<qint64> int16 = readInt16(text);
    if (int16)
        FUZZ_CHECK(*int16 >= std::numeric_limits<qint16>::min() &&
                   *int16 <= std::numeric_limits<qint16>::max());
    const std::optional<qint64> int32 = readInt32(text);
    if (int32)
        FUZZ_CHECK(*int32 >= std::numeric_limits<qint32>::min() &&
                   *int32 <= std::numeric_limits<qint32>::max());
    // One reading, only the ranges differ.
    if (int16)
        FUZZ_CHECK(int32 == int16);
    if (int32 && minimum <= *int32 && *int32 <= maximum)
        FUZZ_CHECK(any == int32);
    if (any && *any >= std::numeric_limits<qint32>::min() &&
        *any <= std::numeric_limits<qint32>::max())
        FUZZ_CHECK(int32 == any);
    const std::optional<qint64> whole = readWholeNumber(text, std::numeric_limits<qint64>::min(),
                                                        std::numeric_limits<qint64>::max());
    if (any)
        FUZZ_CHECK(whole == any);
}

void checkBlankInserted(const QString& text, qsizetype at, QChar blank) {
    QString spaced = text;
    spaced.insert(at % (text.size() + 1), blank);
    FUZZ_CHECK(readInt16(spaced) == readInt16(text));
    FUZZ_CHECK(readInt32(spaced) == readInt32(text));
    if (!isTruthWord(text) && !isTruthWord(spaced))
        FUZZ_CHECK(readTruth(spaced) == readTruth(text));
}

void checkNumberText(qint64 x, int zeros, bool spaced) {
    const std::optional<qint64> full = readWholeNumber(
        numberText(x), std::numeric_limits<qint64>::min(), std::numeric_limits<qint64>::max());
    if (full)
        FUZZ_CHECK(*full == x || x > ExactInDouble || x < -ExactInDouble);
    if (x >= -ExactInDouble && x <= ExactInDouble) {
        FUZZ_CHECK(full == x);
        FUZZ_CHECK(readWholeNumber(numberText(x), x, x) == x);
    }

    const qint32 x32 = qint32(x);
    const qint16 x16 = qint16(x);
    FUZZ_CHECK(readInt32(numberText(x32)) == x32);
    FUZZ_CHECK(readInt16(numberText(x16)) == x16);
    FUZZ_CHECK(readTruth(numberText(x32)) == (x32 != 0));

    // " 1 2" reads as 12; leading zeros, a point and zeros after it change nothing.
    QString text = numberText(x32);
    if (spaced) {
        QString blanks;
        for (const QChar c : text)
            blanks += QLatin1Char(' ') + c + QLatin1Char('\t');
        text = blanks;
    }
    const QString sign = x32 < 0 ? QStringLiteral("-") : QString();
    const QString digits = numberText(x32).mid(sign.size());
    const QString padded = sign + QString(zeros, QLatin1Char('0')) + digits + QLatin1Char('.') +
                           QString(zeros, QLatin1Char('0'));
    FUZZ_CHECK(readInt32(text) == x32);
    FUZZ_CHECK(readInt32(padded) == x32);
    FUZZ_CHECK(readInt32(numberText(x32) + QStringLiteral("e0")) == x32);
    FUZZ_CHECK(readInt32(numberText(x32) + QStringLiteral("e")) == x32); // exponent without digits
    FUZZ_CHECK(readInt32(numberText(x32) + QStringLiteral("xyz")) == x32);

    // Halves go to the even neighbour.
    if (x32 >= 0 && x32 < std::numeric_limits<qint32>::max()) {
        const qint64 even = x32 % 2 == 0 ? x32 : qint64(x32) + 1;
        FUZZ_CHECK(readInt32(numberText(x32) + QStringLiteral(".5")) == even);
    }
    // A negative exponent never makes a number larger.
    const std::optional<qint64> small =
        readInt32(numberText(x32) + QStringLiteral("e-") + QString::number(zeros));
    FUZZ_CHECK(small && std::abs(*small) <= std::abs(qint64(x32)));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider provider(data, size);
    qint64 minimum = provider.ConsumeIntegral<qint64>();
    qint64 maximum = provider.ConsumeIntegral<qint64>();
    if (minimum > maximum)
        std::swap(minimum, maximum);
    const qint64 x = provider.ConsumeIntegral<qint64>();
    const int zeros = provider.ConsumeIntegralInRange<int>(0, 1000);
    const bool spaced = provider.ConsumeBool();
    const bool truth = provider.ConsumeBool();
    const qsizetype blankAt = provider.ConsumeIntegral<uint16_t>();
    const QChar blank = provider.ConsumeBool() ? QLatin1Char(' ') : QLatin1Char('\t');
    const QString text = takeText(provider, 4000);

    checkRanges(text, minimum, maximum);
    checkBlankInserted(text, blankAt, blank);
    checkNumberText(x, zeros, spaced);
    FUZZ_CHECK(readTruth(truthText(truth)) == truth);
    FUZZ_CHECK(readTruth(truthText(truth).toUpper()) == truth);
    FUZZ_CHECK(readTruth(QLatin1String(" ") + truthText(truth).toLower() + QLatin1String("\t")) ==
               truth);
    return 0;
}
