#pragma once

#include <QString>
#include <optional>

// Conversions between the settings store's texts and the controls' values.
namespace OptionValues {

QString truthText(bool value);    // "True" / "False"
QString numberText(qint64 value); // plain decimal

// "True"/"False" in any letter case, or a number (0 false, any other true); else nullopt.
std::optional<bool> readTruth(const QString& text);

// The number at the start of the text (blanks anywhere skipped, reading stops at the first
// character that cannot continue it, 0 when there is none), rounded half to even; nullopt when
// the result lies outside the range. Scanned by hand: QString::toDouble and QLocale refuse a
// number with blanks inside or text after it, which settings files written by hand hold.
std::optional<qint64> readWholeNumber(const QString& text, qint64 minimum, qint64 maximum);
std::optional<qint64> readInt16(const QString& text);
std::optional<qint64> readInt32(const QString& text);

} // namespace OptionValues
