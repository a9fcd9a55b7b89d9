#pragma once

#include <QByteArray>
#include <QString>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fuzzer/FuzzedDataProvider.h>

// A broken invariant stops the run at once, so that libFuzzer keeps the input that broke it.
[[noreturn]] inline void fuzzFailure(const char* condition, const char* file, int line) {
    std::fprintf(stderr, "%s:%d: invariant broken: %s\n", file, line, condition);
    std::abort();
}

#define FUZZ_CHECK(condition) ((condition) ? void(0) : fuzzFailure(#condition, __FILE__, __LINE__))

inline QByteArray bytesOf(const uint8_t* data, size_t size) {
    return QByteArray(reinterpret_cast<const char*>(data), qsizetype(size));
}

// Mostly text as a file would give it (UTF-8, invalid bytes included); now and then raw UTF-16
// units, so that lone surrogates reach the code too.
inline QString takeText(FuzzedDataProvider& provider, size_t maxBytes) {
    const bool rawUnits = provider.ConsumeIntegralInRange<int>(0, 7) == 0;
    const std::string bytes = provider.ConsumeRandomLengthString(maxBytes);
    if (!rawUnits)
        return QString::fromUtf8(bytes.data(), qsizetype(bytes.size()));
    QString text(qsizetype(bytes.size() / 2), Qt::Uninitialized);
    std::memcpy(text.data(), bytes.data(), size_t(text.size()) * sizeof(QChar));
    return text;
}

// What survives a trip through a file: valid UTF-16 that does not start with a byte order mark,
// which QString::fromUtf8() drops.
inline bool survivesUtf8(const QString& text) {
    return QString::fromUtf8(text.toUtf8()) == text;
}
