// SPDX-License-Identifier: GPL-3.0-or-later
#include "writecheck.h"

#include "phonebookanswers.h"
#include "phonebookcommands.h"
#include "phonelink.h"
#include "positionanswer.h"

#include <algorithm>

namespace WriteCheck {

namespace {

using PositionAnswer::Held;
using PositionAnswer::Kind;

using AtReplyFinal = AtReply::Final;

bool holds(const Held &held, const PhonebookEntry &expected)
{
    if (expected.isEmpty())
        return held.kind == Kind::Empty;
    return held.kind == Kind::Entry && held.entry.name == expected.name
        && held.entry.number == expected.number
        && held.entry.fields == PhonebookCommands::asSent(expected.fields);
}

Result cancelled()
{
    Result result;
    result.cancelled = true;
    return result;
}

// A phone that refuses ranges of this many positions is asked one position
// at a time; a range read that small would save little.
constexpr int kSmallestPiece = 32;

// The entries of the answer to the range first ... end, by position from
// first; nullopt when the phone refused it or a line of it cannot be used.
std::optional<QVector<Held>> rangeAnswer(const AtReply &reply, int first, int end,
                                         const PhoneCharset &charset)
{
    QVector<Held> held(end - first + 1, Held{Kind::Empty, {}});
    if (reply.isOk() || reply.isNotFound())
        return held;
    if (reply.final != AtReplyFinal::Ok)
        return std::nullopt;
    for (const QByteArray &line : reply.lines) {
        const auto entry = PhonebookAnswers::parseEntry(line, charset);
        if (!entry || entry->position < first || entry->position > end
            || held.at(entry->position - first).kind == Kind::Entry)
            return std::nullopt;
        held[entry->position - first] = {Kind::Entry, *entry};
    }
    return held;
}

// The highest position the answer lists, or first - 1.
int lastListed(const QVector<Held> &held, int first)
{
    for (int i = int(held.size()) - 1; i >= 0; --i) {
        if (held.at(i).kind == Kind::Entry)
            return first + i;
    }
    return first - 1;
}

int entriesListed(const QVector<Held> &held)
{
    return int(std::count_if(held.cbegin(), held.cend(), [](const Held &h) { return h.kind == Kind::Entry; }));
}

enum class RangeEnd { Read, Cancelled, Unanswered };

// Reads positions 1 ... last as ranges into held, where the phone takes
// them: the whole at once first, as most phones take it; a range refused is
// halved until one is taken (some phones cap the upper bound), and that size
// goes on. An answer that stops before the end of its range may have been
// cut short (some phones list a few entries at most), so the rest is read on
// from past its last entry until an answer lists none: stale entries after
// the cut must not pass for cleared ones. A phone that answers a range
// holding nothing with an error ("not found" without +CMEE) refuses that
// read on; its count of entries then tells whether any is left. Positions no
// range accounted for stay Unusable, to be asked on their own: those above a
// cap on the upper bound can be read no other way.
RangeEnd readRanges(PhoneLink &link, int last, QVector<Held> &held)
{
    held.fill(Held{Kind::Unusable, {}}, last);
    int piece = last;
    bool taken = false;
    bool readingOn = false;
    for (int first = 1; first <= last;) {
        const int end = std::min(last, first + piece - 1);
        const AtReply reply = link.IOP(PositionAnswer::rangeCommand(first, end));
        if (reply.final == AtReplyFinal::Cancelled)
            return RangeEnd::Cancelled;
        // A phone silent now would cost the deadline once per position.
        if (!reply.isAnswered())
            return RangeEnd::Unanswered;
        const std::optional<QVector<Held>> answer = rangeAnswer(reply, first, end, link.charset());
        // Garbage, or a refusal even of the smallest piece, leaves the rest
        // to be asked position by position. A phone that took a range
        // refuses another for its bounds: halving finds those it takes.
        if (!answer && readingOn) {
            readingOn = false;
            const std::optional<bool> noneLeft = PositionAnswer::errorsWereEmpty(link, entriesListed(held));
            if (!noneLeft)
                return RangeEnd::Cancelled;
            if (*noneLeft) {
                std::fill(held.begin() + (first - 1), held.end(), Held{Kind::Empty, {}});
                return RangeEnd::Read;
            }
        }
        if (!answer) {
            const int smallest = taken ? 1 : kSmallestPiece;
            if (reply.final == AtReplyFinal::Ok || piece / 2 < smallest)
                return RangeEnd::Read;
            piece = (piece + 1) / 2;
            continue;
        }
        taken = true;
        std::copy(answer->cbegin(), answer->cend(), held.begin() + (first - 1));
        const int listed = lastListed(*answer, first);
        readingOn = listed >= first && listed < end;
        first = readingOn ? listed + 1 : end + 1;
    }
    return RangeEnd::Read;
}

// What the position holds; nullopt when the user gave up. A failed port
// leaves it unanswered.
std::optional<Held> readBack(PhoneLink &link, int position)
{
    const AtReply reply = link.IOP(PositionAnswer::readCommand(position));
    if (reply.final == AtReplyFinal::Cancelled)
        return std::nullopt;
    return PositionAnswer::interpret(reply, position, link.charset());
}

// Positions answered with an error were empty when the phone's count of
// entries is what it would be then. False when the user gave up.
bool settleUnaccounted(PhoneLink &link, QVector<Held> &held, int entriesOnPhone)
{
    if (std::none_of(held.cbegin(), held.cend(), [](const Held &h) { return h.kind == Kind::Unaccounted; }))
        return true;
    const std::optional<bool> wereEmpty = PositionAnswer::errorsWereEmpty(link, entriesOnPhone);
    if (!wereEmpty)
        return false;
    if (!*wereEmpty)
        return true;
    for (Held &h : held) {
        if (h.kind == Kind::Unaccounted)
            h.kind = Kind::Empty;
    }
    return true;
}

// The result for positions first, first + 1 ... held for the expected.
Result compare(const QVector<Held> &held, const PhonebookEntries &expected, int first)
{
    Result result;
    for (int i = 0; i < held.size(); ++i) {
        if (result.firstDifferent == 0 && !holds(held.at(i), expected.at(i)))
            result.firstDifferent = first + i;
    }
    result.equal = result.firstDifferent == 0;
    if (!result.equal) {
        for (int i = 0; i < held.size(); ++i)
            result.held.append(PositionAnswer::entryOf(first + i, held.at(i)));
    }
    return result;
}

int entriesIn(const PhonebookEntries &expected)
{
    return int(std::count_if(expected.cbegin(), expected.cend(),
                             [](const PhonebookEntry &e) { return !e.isEmpty(); }));
}

} // namespace

Result checkPhonebook(PhoneLink &link, const PhonebookEntries &expected, Progress &progress)
{
    const int last = int(expected.size());
    progress.stage(Stage::Checking);
    progress.setMaximum(last);
    progress.setIndex(0);

    QVector<Held> held;
    const RangeEnd ranges = readRanges(link, last, held);
    if (ranges == RangeEnd::Cancelled)
        return cancelled();
    // A failed port leaves what was not read back unknown.
    if (ranges == RangeEnd::Unanswered) {
        held.fill(Held{}, last);
        return compare(held, expected, 1);
    }
    for (int p = 1; p <= last; ++p) {
        if (!progress.keepGoing())
            return cancelled();
        progress.setValue(p);
        if (holds(held.at(p - 1), expected.at(p - 1)))
            continue;
        const std::optional<Held> back = readBack(link, p);
        if (!back)
            return cancelled();
        held[p - 1] = *back;
        if (held.at(p - 1).kind == Kind::Unanswered)
            return compare(held, expected, 1);
    }
    if (!settleUnaccounted(link, held, entriesIn(expected)))
        return cancelled();
    return compare(held, expected, 1);
}

Result checkPosition(PhoneLink &link, const PhonebookEntry &expected, int entriesOnPhone)
{
    const int position = expected.position;
    const std::optional<Held> back = readBack(link, position);
    if (!back)
        return cancelled();
    QVector<Held> held{*back};
    if (!settleUnaccounted(link, held, entriesOnPhone))
        return cancelled();
    return compare(held, {expected}, position);
}

}
