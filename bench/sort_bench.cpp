// SPDX-License-Identifier: GPL-3.0-or-later
// Times the sort as the window runs it, on phonebooks far larger than any
// SIM, and the plain bubble sort it replaced on the size where that one
// still finishes in reasonable time. The two must agree line for line.
#include "benchresult.h"
#include "bubblesortreference.h"
#include "italiannames.h"
#include "noprogress.h"

#include "phonebookline.h"
#include "phonebooksort.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QRandomGenerator>

#include <cstdio>

namespace {

constexpr int kSmallBook = 1000;
constexpr int kLargeBook = 10000;
constexpr double kLargeTargetMs = 500;
constexpr int kRounds = 3;
// A SIM's limits.
constexpr int kNameWidth = 18;
constexpr int kNumberWidth = 40;
constexpr quint32 kSeed = 2004;

FormVariables limitsFor(int entries)
{
    FormVariables vars;
    vars.limits.MAXNUMRUB = entries;
    vars.limits.MAXCARNOM = kNameWidth;
    vars.limits.MAXCARNUM = kNumberWidth;
    return vars;
}

PhonebookEntries readEntries(const FormVariables &vars, QRandomGenerator &random)
{
    PhonebookEntries entries;
    entries.reserve(vars.limits.MAXNUMRUB);
    for (int i = 1; i <= vars.limits.MAXNUMRUB; ++i) {
        PhonebookEntry entry;
        entry.position = i;
        entry.name = ItalianNames::name(random, kNameWidth);
        entry.number = ItalianNames::number(random, kNumberWidth);
        entries.append(entry);
    }
    return entries;
}

// The best of a few rounds; sorted receives what the sort left in List2.
qint64 timeSort(const FormVariables &vars, const PhonebookEntries &entries, QStringList *sorted)
{
    qint64 best = -1;
    for (int round = 0; round < kRounds; ++round) {
        NoProgress progress;
        QElapsedTimer timer;
        timer.start();
        const PhonebookEntries result = *sortedPhonebook(entries, vars.limits, progress);
        const qint64 ns = timer.nsecsElapsed();
        if (best < 0 || ns < best)
            best = ns;
        sorted->clear();
        for (const PhonebookEntry &entry : result)
            sorted->append(PhonebookLine::draw(entry, PhonebookLine::Layout::Sorted, vars.limits));
    }
    return best;
}

QString entriesName(int entries)
{
    return QStringLiteral("sortedPhonebook, %L1 entries").arg(entries);
}

}

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QRandomGenerator random(kSeed);

    const FormVariables small = limitsFor(kSmallBook);
    const PhonebookEntries smallEntries = readEntries(small, random);
    QStringList smallSorted;
    const double smallMs = timeSort(small, smallEntries, &smallSorted) / 1.0e6;
    BenchResult::print(entriesName(kSmallBook), BenchResult::milliseconds(smallMs), QStringLiteral("—"),
                       BenchResult::Verdict::Info);

    const FormVariables large = limitsFor(kLargeBook);
    QStringList largeSorted;
    const double largeMs = timeSort(large, readEntries(large, random), &largeSorted) / 1.0e6;
    BenchResult::print(entriesName(kLargeBook), BenchResult::milliseconds(largeMs),
                       QStringLiteral("< %1").arg(BenchResult::milliseconds(kLargeTargetMs)),
                       BenchResult::met(largeMs < kLargeTargetMs));

    QElapsedTimer timer;
    timer.start();
    const QStringList reference = bubbleSortReference(smallEntries, small.limits);
    const double bubbleMs = timer.nsecsElapsed() / 1.0e6;
    BenchResult::print(QStringLiteral("bubble sort, %L1 entries").arg(kSmallBook),
                       BenchResult::milliseconds(bubbleMs), QStringLiteral("—"), BenchResult::Verdict::Info);
    BenchResult::print(QStringLiteral("bubble sort / sortedPhonebook, %L1 entries").arg(kSmallBook),
                       QStringLiteral("%1 ×").arg(bubbleMs / smallMs, 0, 'f', 1), QStringLiteral("—"),
                       BenchResult::Verdict::Info);

    if (reference != smallSorted) {
        std::fprintf(stderr, "the sort's result differs from the bubble sort's\n");
        return 1;
    }
    if (largeSorted.size() != kLargeBook) {
        std::fprintf(stderr, "the sort kept %lld of %d entries\n", static_cast<long long>(largeSorted.size()),
                     kLargeBook);
        return 1;
    }
    return 0;
}
