#include "writecheck.h"

#include "atanswer.h"
#include "atcommands.h"
#include "phonebookanswers.h"
#include "phonebookcommands.h"
#include "phonelink.h"
#include "positionanswer.h"
#include "windowtexts.h"

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

// The entries of a range answer by position; nullopt when a line of it
// cannot be used (then every position is asked on its own).
std::optional<QVector<Held>> rangeAnswer(const AtReply &received, int last, const PhoneCharset &charset)
{
    const AtReply reply = received.answerTo(AtCommands::kEntryPrefix);
    QVector<Held> held(last, Held{Kind::Empty, {}});
    if (reply.isOk() || reply.isNotFound())
        return held;
    if (reply.final != AtReplyFinal::Ok)
        return std::nullopt;
    for (const QString &line : reply.lines) {
        const QString text = AtAnswer::trimSpaces(QString(line).remove(QLatin1Char('\r')));
        const auto entry = PhonebookAnswers::parseEntry(text, charset);
        if (!entry || entry->position < 1 || entry->position > last
            || held.at(entry->position - 1).kind == Kind::Entry)
            return std::nullopt;
        held[entry->position - 1] = {Kind::Entry, *entry};
    }
    return held;
}

// What the position holds; nullopt when the user gave up. A failed port
// leaves it unanswered.
std::optional<Held> readBack(PhoneLink &link, int position)
{
    const AtReply reply = link.transact(PositionAnswer::readCommand(position));
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

Result checkPhonebook(PhoneLink &link, const PhonebookEntries &expected, OperationReport &report)
{
    const int last = int(expected.size());
    report.setMessage(WindowText::kChecking);
    report.setProgressMaximum(last);
    report.setProgressIndex(0);

    QVector<Held> held(last);
    const AtReply rangeReply = link.transact(PositionAnswer::rangeCommand(1, last));
    if (rangeReply.final == AtReplyFinal::Cancelled)
        return cancelled();
    // A phone silent now would cost the deadline once per position; a failed
    // port leaves what was not read back unknown.
    if (!rangeReply.isAnswered())
        return compare(held, expected, 1);
    const std::optional<QVector<Held>> range = rangeAnswer(rangeReply, last, link.charset());
    for (int p = 1; p <= last; ++p) {
        if (!report.keepGoing())
            return cancelled();
        report.setProgressValue(p);
        if (range && holds(range->at(p - 1), expected.at(p - 1))) {
            held[p - 1] = range->at(p - 1);
            continue;
        }
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
