// SPDX-License-Identifier: GPL-3.0-or-later
#include "listfilelayout.h"

#include <algorithm>
#include <map>
#include <optional>

namespace {

using ListFileLayout::StoredList;
using PhonebookLine::Layout;
using PhonebookLine::Parsed;

// The list's limits with each field as wide as the longest value it holds.
PhonebookLimits widened(const StoredList &list)
{
    PhonebookLimits limits = list.limits;
    for (const PhonebookEntry &entry : list.entries) {
        // A line loaded as it stood is saved as it stood, whatever it holds.
        if (entry.loadedLine)
            continue;
        limits.MAXCARNOM = std::max(limits.MAXCARNOM, int(entry.name.size()));
        limits.MAXCARNUM = std::max(limits.MAXCARNUM, int(entry.number.size()));
    }
    return limits;
}

// Where the file's lines hold the field separator, counted from their
// position separator: where the most of them do, the farthest of those that
// tie. Nullopt when no line holds both.
std::optional<qsizetype> separatorOffset(const QStringList &lines)
{
    std::map<qsizetype, qsizetype> lineCounts;
    for (const QString &line : lines) {
        const qsizetype a = line.indexOf(PhonebookLine::kPositionSeparator);
        if (a < 0)
            continue;
        for (qsizetype b = line.indexOf(PhonebookLine::kFieldSeparator, a); b >= 0;
             b = line.indexOf(PhonebookLine::kFieldSeparator, b + 1))
            ++lineCounts[b - a];
    }
    std::optional<qsizetype> offset;
    qsizetype most = 0;
    for (const auto &[at, count] : lineCounts) {
        if (count >= most) {
            offset = at;
            most = count;
        }
    }
    return offset;
}

// The line split at the field separator that stands offset past its
// position separator.
std::optional<Parsed> splitAt(const QString &line, qsizetype offset)
{
    const qsizetype a = line.indexOf(PhonebookLine::kPositionSeparator);
    return a < 0 ? std::nullopt : PhonebookLine::parseAt(line, a + offset);
}

bool drawsBack(const PhonebookEntry &entry, const PhonebookLimits &limits, const QString &line)
{
    return PhonebookLine::draw(entry, Layout::Sorted, limits) == line;
}

// Where the file's field separator stands and the limits its lines were
// drawn under.
struct FileLayout {
    qsizetype offset = 0;
    PhonebookLimits limits;
};

std::optional<FileLayout> layoutOf(const QStringList &lines)
{
    if (const std::optional<qsizetype> offset = separatorOffset(lines)) {
        for (const QString &line : lines) {
            const std::optional<Parsed> parsed = splitAt(line, *offset);
            if (parsed && drawsBack(parsed->entry, parsed->limits, line))
                return FileLayout{*offset, parsed->limits};
        }
    }
    // No line of the program's: the limits of the first line, split at its
    // first separators.
    for (const QString &line : lines) {
        if (const std::optional<Parsed> parsed = PhonebookLine::parse(line)) {
            const qsizetype a = line.indexOf(PhonebookLine::kPositionSeparator);
            return FileLayout{line.indexOf(PhonebookLine::kFieldSeparator) - a, parsed->limits};
        }
    }
    return std::nullopt;
}

}

namespace ListFileLayout {

QStringList draw(const StoredList &list)
{
    const PhonebookLimits limits = widened(list);
    QStringList lines;
    lines.reserve(list.entries.size());
    for (const PhonebookEntry &entry : list.entries)
        lines.append(PhonebookLine::draw(entry, Layout::Sorted, limits));
    return lines;
}

StoredList read(const QStringList &lines)
{
    const std::optional<FileLayout> layout = layoutOf(lines);
    StoredList list;
    if (layout)
        list.limits = layout->limits;
    list.entries.reserve(lines.size());
    for (const QString &line : lines) {
        const std::optional<Parsed> parsed = layout ? splitAt(line, layout->offset) : std::nullopt;
        if (parsed && drawsBack(parsed->entry, list.limits, line)) {
            list.entries.append(parsed->entry);
            continue;
        }
        // Edited by hand: read at its first separators, as such lines always
        // were, and kept as it stands.
        const std::optional<Parsed> byHand = PhonebookLine::parse(line);
        PhonebookEntry entry = byHand ? byHand->entry : PhonebookEntry();
        entry.unread = !byHand;
        entry.loadedLine = line;
        list.entries.append(entry);
    }
    return list;
}

}
