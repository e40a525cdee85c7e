#ifndef FUZZCHECK_H
#define FUZZCHECK_H

#include <QString>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

// A broken property stops the fuzzer like a crash, so the input is kept as an artifact.
inline void require(bool holds, const char *property, const QString &detail = {})
{
    if (holds)
        return;
    std::fprintf(stderr, "property broken: %s\n%s\n", property, qUtf8Printable(detail));
    std::abort();
}

// The bytes as UTF-16 code units, unpaired surrogates included; an odd last byte is dropped.
inline QString utf16Text(const uint8_t *data, size_t size)
{
    QString text(static_cast<qsizetype>(size / sizeof(char16_t)), Qt::Uninitialized);
    std::memcpy(text.data(), data, static_cast<size_t>(text.size()) * sizeof(char16_t));
    return text;
}

#endif
