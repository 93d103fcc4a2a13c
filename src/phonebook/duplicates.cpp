// SPDX-License-Identifier: GPL-3.0-or-later
#include "duplicates.h"

#include "sortedlayout.h"

#include <QHash>

#include <array>
#include <utility>

namespace Duplicates {

namespace {

const QChar kSpace = QLatin1Char(' ');

// The fields that stand alone; the second number and its type go as a pair.
const std::array<QString UsimFields::*, 7> kSingleFields = {
    &UsimFields::hidden, &UsimFields::group,  &UsimFields::secondText, &UsimFields::email,
    &UsimFields::sipUri, &UsimFields::telUri, &UsimFields::unknownForm,
};

// A name as the eye reads it: the spaces between words counted once, none
// at the ends, letter case ignored.
QString nameKey(const QString &name)
{
    QString out;
    out.reserve(name.size());
    for (const QChar c : name) {
        if (c != kSpace || (!out.isEmpty() && !out.endsWith(kSpace)))
            out += c;
    }
    if (out.endsWith(kSpace))
        out.chop(1);
    return out.toCaseFolded();
}

bool hasSecondNumber(const UsimFields &f)
{
    return !f.adNumber.isEmpty() || !f.adType.isEmpty();
}

// The fields of kept with those only other has; nullopt when a field holds
// one thing in each.
std::optional<UsimFields> joined(UsimFields kept, const UsimFields &other, const QString &homeCode)
{
    for (QString UsimFields::*field : kSingleFields) {
        QString &mine = kept.*field;
        const QString &theirs = other.*field;
        if (mine.isEmpty())
            mine = theirs;
        else if (!theirs.isEmpty() && theirs != mine)
            return std::nullopt;
    }
    if (!hasSecondNumber(kept)) {
        kept.adNumber = other.adNumber;
        kept.adType = other.adType;
    } else if (hasSecondNumber(other) && !DialNumber::same(kept.adNumber, other.adNumber, homeCode)
               && (kept.adNumber != other.adNumber || kept.adType != other.adType)) {
        return std::nullopt;
    }
    // A form the program could not read stands for all of an entry's
    // fields: it cannot be put beside fields read from another entry.
    UsimFields unknownOnly;
    unknownOnly.unknownForm = kept.unknownForm;
    if (!kept.unknownForm.isEmpty() && kept != unknownOnly)
        return std::nullopt;
    return kept;
}

}

QList<std::optional<int>> marks(const PhonebookEntries &entries, const QString &homeCode)
{
    // The first two rows of every number: the first names the second, the
    // others name the first.
    QHash<QString, std::pair<int, std::optional<int>>> firstTwo;
    firstTwo.reserve(entries.size());
    QList<std::optional<QString>> keys;
    keys.reserve(entries.size());
    for (int row = 0; row < entries.size(); ++row) {
        keys.append(DialNumber::key(entries.at(row).number, homeCode));
        if (!keys.back())
            continue;
        const auto found = firstTwo.find(*keys.back());
        if (found == firstTwo.end())
            firstTwo.insert(*keys.back(), {row, std::nullopt});
        else if (!found->second)
            found->second = row;
    }
    QList<std::optional<int>> out;
    out.reserve(entries.size());
    for (int row = 0; row < entries.size(); ++row) {
        if (!keys.at(row)) {
            out.append(std::nullopt);
            continue;
        }
        const auto &[first, second] = firstTwo.value(*keys.at(row));
        out.append(row == first ? second : std::optional<int>(first));
    }
    return out;
}

Dropped withoutCopies(const PhonebookEntries &entries, const QString &homeCode)
{
    Dropped out;
    // The rows kept so far under each name and number.
    QHash<std::pair<QString, QString>, QList<int>> kept;
    for (const PhonebookEntry &entry : entries) {
        const std::optional<QString> number = DialNumber::key(entry.number, homeCode);
        if (number) {
            QList<int> &same = kept[{nameKey(entry.name), *number}];
            bool taken = false;
            for (int row : std::as_const(same)) {
                const std::optional<UsimFields> fields = joined(out.entries.at(row).fields, entry.fields, homeCode);
                if (fields) {
                    out.entries[row].fields = *fields;
                    taken = true;
                    break;
                }
            }
            if (taken) {
                ++out.dropped;
                continue;
            }
            same.append(int(out.entries.size()));
        }
        out.entries.append(entry);
    }
    out.entries = SortedLayout::numbered(out.entries);
    return out;
}

}
