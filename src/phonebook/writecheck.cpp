#include "writecheck.h"

#include "atanswer.h"
#include "linkfailure.h"
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

const QString kEntryPrefix = QStringLiteral("+CPBR:");

bool holds(const Held &held, const PhonebookEntry &expected)
{
    if (expected.isEmpty())
        return held.kind == Kind::Empty;
    return held.kind == Kind::Entry && held.entry.name == expected.name
        && held.entry.number == expected.number
        && held.entry.fields == PhonebookCommands::asSent(expected.fields);
}

// The entries of a range answer by position; nullopt when a line of it
// cannot be used (then every position is asked on its own).
std::optional<QVector<Held>> rangeAnswer(const QString &answer, const QString &code, int last,
                                         const PhoneCharset &charset)
{
    QVector<Held> held(last, Held{Kind::Empty, {}});
    if (answer == AtAnswer::kOk || AtAnswer::isNotFound(code))
        return held;
    if (answer == AtAnswer::kError)
        return std::nullopt;
    for (const QString &line : answer.split(QLatin1Char('\n'))) {
        const QString text = AtAnswer::trimSpaces(QString(line).remove(QLatin1Char('\r')));
        if (text.isEmpty() || AtAnswer::isUnsolicited(text))
            continue;
        if (!text.startsWith(kEntryPrefix))
            return std::nullopt;
        const auto entry = PhonebookAnswers::parseEntry(text, charset);
        if (!entry || entry->position < 1 || entry->position > last
            || held.at(entry->position - 1).kind == Kind::Entry)
            return std::nullopt;
        held[entry->position - 1] = {Kind::Entry, *entry};
    }
    return held;
}

Held readBack(PhoneLink &link, int position)
{
    const QString answer = link.IOP(PositionAnswer::readCommand(position));
    return PositionAnswer::interpret(answer, link.lastFinalResultCode(), position, link.charset());
}

// Positions answered with an error were empty when the phone's count of
// entries is what it would be then.
void settleUnaccounted(PhoneLink &link, QVector<Held> &held, int entriesOnPhone)
{
    if (std::none_of(held.cbegin(), held.cend(), [](const Held &h) { return h.kind == Kind::Unaccounted; }))
        return;
    if (!PositionAnswer::errorsWereEmpty(link, entriesOnPhone))
        return;
    for (Held &h : held) {
        if (h.kind == Kind::Unaccounted)
            h.kind = Kind::Empty;
    }
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
    report.setProgressValue(0.1);

    QVector<Held> held(last);
    try {
        const QString answer = link.IOP(PositionAnswer::rangeCommand(1, last));
        const QString code = link.lastFinalResultCode();
        // A phone silent now would cost the deadline once per position.
        if (code.isEmpty())
            return compare(held, expected, 1);
        const std::optional<QVector<Held>> range = rangeAnswer(answer, code, last, link.charset());
        for (int p = 1; p <= last; ++p) {
            if (!report.keepGoing())
                throw LinkCancelled();
            report.setProgressValue(p);
            if (range && holds(range->at(p - 1), expected.at(p - 1))) {
                held[p - 1] = range->at(p - 1);
                continue;
            }
            held[p - 1] = readBack(link, p);
            if (held.at(p - 1).kind == Kind::Unanswered)
                return compare(held, expected, 1);
        }
        settleUnaccounted(link, held, entriesIn(expected));
    } catch (const LinkFailure &) {
        // The port is gone: what was not read back is not known.
    }
    return compare(held, expected, 1);
}

Result checkPosition(PhoneLink &link, const PhonebookEntry &expected, int entriesOnPhone)
{
    const int position = expected.position;
    QVector<Held> held(1);
    try {
        held[0] = readBack(link, position);
        settleUnaccounted(link, held, entriesOnPhone);
    } catch (const LinkFailure &) {
        // Not read back: not known.
    }
    return compare(held, {expected}, position);
}

}
