// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// The line every benchmark prints for each figure, tab-separated, which
// scripts/bench gathers into one table:
//   RESULT <name> <measured> <target> <pass|FAIL|info>
namespace BenchResult {

enum class Verdict { Pass, Fail, Info };

inline Verdict met(bool reached)
{
    return reached ? Verdict::Pass : Verdict::Fail;
}

void print(const QString &name, const QString &measured, const QString &target, Verdict verdict);

// "0.042 ms", "12.5 ms", "834 ms": enough digits to compare, no more.
QString milliseconds(double ms);

}
