// SPDX-License-Identifier: GPL-3.0-or-later
// The answer to "+CPBR=?", or, from a phone that refuses it, to "+CPBW=?"
// or "+CPBS?": the read sizes the whole phonebook and both list columns
// from it, so nothing outside the promised bounds may get through.
#include "fuzzcheck.h"
#include "phonebookanswers.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <climits>

using PhonebookAnswers::kMaxFieldLength;
using PhonebookAnswers::kMaxPositions;

namespace {

bool inBounds(int value, int most)
{
    return value >= 1 && value <= most;
}

void checkBounds(const std::optional<PhonebookLimits> &range)
{
    if (!range)
        return;
    Fuzz::check(inBounds(range->MAXNUMRUB, kMaxPositions), "positions within 1..kMaxPositions");
    Fuzz::check(inBounds(range->MAXCARNUM, kMaxFieldLength), "number length within 1..kMaxFieldLength");
    Fuzz::check(inBounds(range->MAXCARNOM, kMaxFieldLength), "text length within 1..kMaxFieldLength");
}

// A well-formed answer with the fuzzer's values and trailing fields must
// give back exactly those values, or be refused when one is out of bounds.
void checkWellFormed(FuzzedDataProvider &provider, const QByteArray &trailing)
{
    const int lower = provider.ConsumeIntegralInRange<int>(0, INT_MAX);
    const int upper = provider.ConsumeIntegral<int>();
    const int numberLength = provider.ConsumeIntegral<int>();
    const int textLength = provider.ConsumeIntegral<int>();
    const QByteArray answer = "+CPBR: (" + QByteArray::number(lower) + '-' + QByteArray::number(upper) + ')'
        + ',' + QByteArray::number(numberLength) + ',' + QByteArray::number(textLength) + ',' + trailing;

    const std::optional<PhonebookLimits> range = PhonebookAnswers::parseIndexRange(answer);
    const bool valid = inBounds(upper, kMaxPositions) && inBounds(numberLength, kMaxFieldLength)
        && inBounds(textLength, kMaxFieldLength);
    Fuzz::check(range.has_value() == valid, "a well-formed answer is taken exactly when in bounds");
    if (range) {
        Fuzz::check(range->MAXNUMRUB == upper, "the upper bound comes back");
        Fuzz::check(range->MAXCARNUM == numberLength, "the number length comes back");
        Fuzz::check(range->MAXCARNOM == textLength, "the text length comes back");
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray answer = Fuzz::bytesFrom(data, size);
    checkBounds(PhonebookAnswers::parseIndexRange(answer));
    checkBounds(PhonebookAnswers::parseWriteRange(answer));
    const std::optional<int> positions = PhonebookAnswers::parseStorageSize(answer);
    Fuzz::check(!positions || inBounds(*positions, kMaxPositions), "storage size within 1..kMaxPositions");

    FuzzedDataProvider provider(data, size);
    checkWellFormed(provider, answer);
    return 0;
}
