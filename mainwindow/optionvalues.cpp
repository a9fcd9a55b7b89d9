#include "mainwindow/optionvalues.h"

#include <cmath>
#include <limits>

namespace OptionValues {

QString truthText(bool value) {
    return value ? QStringLiteral("True") : QStringLiteral("False");
}

QString numberText(qint64 value) {
    return QString::number(value);
}

namespace {

bool isBlank(QChar c) {
    return c == QLatin1Char(' ') || c == QLatin1Char('\t') || c == QLatin1Char('\n') ||
           c == QLatin1Char('\r');
}

bool isDigit(QChar c) {
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

struct LeadingNumber {
    double value = 0;
    bool hasDigits = false;
    bool wholeText = false; // the number took up every character but blanks
};

// Sign, digits, an optional fraction and an optional exponent, blanks anywhere between them.
LeadingNumber leadingNumber(const QString& text) {
    enum Stage { Sign, Whole, Fraction, ExponentSign, Exponent } stage = Sign;
    QString number;
    qsizetype exponentStart = -1; // where an exponent without digits must be cut off again
    bool exponentDigits = false;
    bool mantissaDigits = false;
    qsizetype i = 0;
    for (; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (isBlank(c))
            continue;
        const bool digit = isDigit(c);
        const char a = c.toLatin1();
        if (stage == Sign && (a == '+' || a == '-')) {
            stage = Whole;
        } else if ((stage == Sign || stage == Whole) && digit) {
            stage = Whole;
            mantissaDigits = true;
        } else if ((stage == Sign || stage == Whole) && a == '.') {
            stage = Fraction;
        } else if (stage == Fraction && digit) {
            mantissaDigits = true;
        } else if ((stage == Whole || stage == Fraction) && mantissaDigits &&
                   (a == 'e' || a == 'E' || a == 'd' || a == 'D')) {
            stage = ExponentSign;
            exponentStart = number.size();
            number += QLatin1Char('e');
            continue;
        } else if (stage == ExponentSign && (a == '+' || a == '-')) {
            stage = Exponent;
        } else if ((stage == ExponentSign || stage == Exponent) && digit) {
            stage = Exponent;
            exponentDigits = true;
        } else {
            break;
        }
        number += c;
    }
    bool complete = i == text.size();
    if (exponentStart >= 0 && !exponentDigits) {
        number.truncate(exponentStart);
        complete = false;
    }
    LeadingNumber result;
    result.hasDigits = mantissaDigits;
    if (!mantissaDigits)
        return result;
    // An exponent too large gives an infinity, one too small 0: both are the value wanted here,
    // though toDouble() calls them failures.
    result.value = number.toDouble();
    result.wholeText = complete;
    return result;
}

} // namespace

std::optional<bool> readTruth(const QString& text) {
    const QString word = text.trimmed();
    if (word.compare(QLatin1String("True"), Qt::CaseInsensitive) == 0)
        return true;
    if (word.compare(QLatin1String("False"), Qt::CaseInsensitive) == 0)
        return false;
    const LeadingNumber number = leadingNumber(text);
    if (!number.hasDigits || !number.wholeText)
        return std::nullopt;
    return number.value != 0;
}

std::optional<qint64> readWholeNumber(const QString& text, qint64 minimum, qint64 maximum) {
    const double rounded = std::nearbyint(leadingNumber(text).value); // ties go to even
    // 2^63 is the first double past qint64. The bounds are compared as whole numbers, since a
    // double cannot hold every qint64 exactly.
    constexpr double pastLargest = 9223372036854775808.0;
    if (!(rounded >= -pastLargest && rounded < pastLargest))
        return std::nullopt;
    const qint64 whole = qint64(rounded);
    if (whole < minimum || whole > maximum)
        return std::nullopt;
    return whole;
}

std::optional<qint64> readInt16(const QString& text) {
    return readWholeNumber(text, std::numeric_limits<qint16>::min(),
                           std::numeric_limits<qint16>::max());
}

std::optional<qint64> readInt32(const QString& text) {
    return readWholeNumber(text, std::numeric_limits<qint32>::min(),
                           std::numeric_limits<qint32>::max());
}

} // namespace OptionValues
