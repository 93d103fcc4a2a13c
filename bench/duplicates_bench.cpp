// SPDX-License-Identifier: GPL-3.0-or-later
// Times what finding the same person twice adds to the sort of a 5,000-entry
// list: the marks that List2 draws after every sort, and dropping the exact
// copies. One entry in eight is saved again under another form of its
// number, half of those under another name too.
#include "benchresult.h"
#include "italiannames.h"
#include "noprogress.h"

#include "dialnumber.h"
#include "duplicates.h"
#include "phonebooksort.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QRandomGenerator>

#include <algorithm>
#include <cstdio>

namespace {

constexpr int kEntries = 5000;
constexpr int kCopyEvery = 8;
constexpr double kMarkTargetMs = 50;
constexpr int kRounds = 3;
constexpr int kNameWidth = 18;
constexpr int kNumberWidth = 20;
constexpr quint32 kSeed = 3131;

const PhonebookLimits kLimits{kEntries, kNameWidth, kNumberWidth};

// The same number as the one that ended up on the phone after an import.
QString otherForm(const QString &number)
{
    if (number.startsWith(DialNumber::kHomeCountryCode))
        return QStringLiteral("00") + number.mid(1);
    return DialNumber::kHomeCountryCode + QLatin1Char(' ') + number;
}

PhonebookEntries book()
{
    QRandomGenerator random(kSeed);
    PhonebookEntries out;
    while (out.size() < kEntries) {
        PhonebookEntry entry;
        entry.name = ItalianNames::name(random, kNameWidth);
        entry.number = ItalianNames::number(random, kNumberWidth);
        out.append(entry);
        if (out.size() % kCopyEvery == 0 && out.size() < kEntries) {
            PhonebookEntry copy = entry;
            copy.number = otherForm(entry.number);
            if (out.size() % (2 * kCopyEvery) == 0)
                copy.name = ItalianNames::name(random, kNameWidth);
            out.append(copy);
        }
    }
    for (qsizetype i = 0; i < out.size(); ++i)
        out[i].position = int(i + 1);
    return out;
}

// The best of a few rounds, in milliseconds.
template<typename Job>
double bestOf(Job job)
{
    qint64 best = -1;
    for (int round = 0; round < kRounds; ++round) {
        QElapsedTimer timer;
        timer.start();
        job();
        const qint64 ns = timer.nsecsElapsed();
        if (best < 0 || ns < best)
            best = ns;
    }
    return best / 1.0e6;
}

// Every mark names another row whose number dials the same phone.
bool marksHold(const PhonebookEntries &entries, const QList<std::optional<int>> &marks)
{
    for (int row = 0; row < entries.size(); ++row) {
        const std::optional<int> other = marks.at(row);
        if (other && (*other == row || !DialNumber::same(entries.at(row).number, entries.at(*other).number)))
            return false;
    }
    return true;
}

}

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const PhonebookEntries entries = book();

    std::optional<PhonebookEntries> sorted;
    const double sortMs = bestOf([&] {
        NoProgress progress;
        sorted = sortedPhonebook(entries, kLimits, progress);
    });
    if (!sorted || sorted->size() != entries.size()) {
        std::fprintf(stderr, "the sort lost entries\n");
        return 1;
    }
    BenchResult::print(QStringLiteral("sortedPhonebook, %L1 entries").arg(kEntries), BenchResult::milliseconds(sortMs),
                       QStringLiteral("—"), BenchResult::Verdict::Info);

    QList<std::optional<int>> marks;
    const double markMs = bestOf([&] { marks = Duplicates::marks(*sorted); });
    BenchResult::print(QStringLiteral("duplicate marks, %L1 entries").arg(kEntries),
                       BenchResult::milliseconds(markMs),
                       QStringLiteral("< %1").arg(BenchResult::milliseconds(kMarkTargetMs)),
                       BenchResult::met(markMs < kMarkTargetMs));

    Duplicates::Dropped dropped;
    const double dropMs = bestOf([&] { dropped = Duplicates::withoutCopies(*sorted); });
    BenchResult::print(QStringLiteral("TOGLI DOPPIONI, %L1 entries").arg(kEntries),
                       BenchResult::milliseconds(dropMs), QStringLiteral("—"), BenchResult::Verdict::Info);

    const qsizetype copies = entries.size() / (kCopyEvery + 1);
    const qsizetype marked = std::count_if(marks.cbegin(), marks.cend(), [](const auto &m) { return bool(m); });
    if (!marksHold(*sorted, marks) || marked < 2 * copies || dropped.dropped < copies / 2) {
        std::fprintf(stderr, "%lld rows marked, %d dropped, for %lld copies\n", static_cast<long long>(marked),
                     dropped.dropped, static_cast<long long>(copies));
        return 1;
    }
    return 0;
}
