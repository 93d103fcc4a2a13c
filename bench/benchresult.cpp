// SPDX-License-Identifier: GPL-3.0-or-later
#include "benchresult.h"

#include <cstdio>

namespace {
const char *const kVerdictWords[] = {"pass", "FAIL", "info"};

// A tab or a line break inside a field would break the script's columns.
QString field(const QString &text)
{
    QString clean = text;
    clean.replace(QLatin1Char('\t'), QLatin1Char(' ')).replace(QLatin1Char('\n'), QLatin1Char(' '));
    return clean;
}
}

void BenchResult::print(const QString &name, const QString &measured, const QString &target,
                        Verdict verdict)
{
    std::printf("RESULT\t%s\t%s\t%s\t%s\n", qUtf8Printable(field(name)), qUtf8Printable(field(measured)),
                qUtf8Printable(field(target)), kVerdictWords[static_cast<int>(verdict)]);
    std::fflush(stdout);
}

QString BenchResult::milliseconds(double ms)
{
    const int decimals = ms < 10 ? 3 : ms < 100 ? 1 : 0;
    return QString::number(ms, 'f', decimals) + QStringLiteral(" ms");
}
