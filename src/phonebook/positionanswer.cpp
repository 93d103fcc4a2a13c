#include "positionanswer.h"

#include "atanswer.h"
#include "phonelink.h"

namespace PositionAnswer {

namespace {
const QString kRead = QStringLiteral("+CPBR=");
const QString kQueryStorage = QStringLiteral("+CPBS?");
}

QString readCommand(int position)
{
    return kRead + QString::number(position);
}

QString rangeCommand(int first, int last)
{
    return readCommand(first) + QLatin1Char(',') + QString::number(last);
}

Held interpret(const QString &answer, const QString &finalResultCode, int position,
               const PhoneCharset &charset)
{
    if (answer == AtAnswer::kOk)
        return {Kind::Empty, {}};
    if (answer == AtAnswer::kError) {
        // Without a final result code asking on would cost the deadline once
        // per position.
        if (finalResultCode.isEmpty())
            return {Kind::Unanswered, {}};
        return {AtAnswer::isNotFound(finalResultCode) ? Kind::Empty : Kind::Unaccounted, {}};
    }
    // Garbage is no empty position: taken for one, a write-back would clear
    // an entry the phone failed to report. Nor is another position's entry
    // this one's: this one's would never be seen.
    const auto entry = PhonebookAnswers::parseEntry(answer, charset);
    if (!entry || entry->position != position)
        return {Kind::Unusable, {}};
    return {Kind::Entry, *entry};
}

PhonebookEntry entryOf(int position, const Held &held)
{
    if (held.kind == Kind::Entry)
        return held.entry;
    PhonebookEntry empty;
    empty.position = position;
    empty.unread = held.kind != Kind::Empty;
    return empty;
}

bool errorsWereEmpty(PhoneLink &link, int entriesWithoutThem)
{
    return PhonebookAnswers::parseUsedCount(link.IOP(kQueryStorage)) == entriesWithoutThem;
}

}
