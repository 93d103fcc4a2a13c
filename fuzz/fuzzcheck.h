// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "singlebytecodec.h"

#include <QByteArray>
#include <QString>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

// What every fuzz target shares: the fuzzer's bytes as the serial line
// brings them, or read as the program reads the list file, and a broken
// promise turned into a crash that libFuzzer keeps as an input.
namespace Fuzz {

inline QByteArray bytesFrom(const uint8_t *data, size_t size)
{
    return QByteArray(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
}

inline QString textFrom(const uint8_t *data, size_t size)
{
    return SingleByteCodec::decode(bytesFrom(data, size));
}

// abort() rather than __builtin_trap(): the message says which promise broke.
inline void check(bool holds, const char *promise)
{
    if (holds)
        return;
    std::fprintf(stderr, "broken: %s\n", promise);
    std::abort();
}

} // namespace Fuzz
