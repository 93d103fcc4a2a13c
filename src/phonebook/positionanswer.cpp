// SPDX-License-Identifier: GPL-3.0-or-later
#include "positionanswer.h"

#include "atcommands.h"
#include "phonelink.h"

namespace PositionAnswer {

QByteArray readCommand(int position)
{
    return AtCommands::kRead + QByteArray::number(position);
}

QByteArray rangeCommand(int first, int last)
{
    return readCommand(first) + AtCommands::kSeparator + QByteArray::number(last);
}

Held interpret(const AtReply &reply, int position, const PhoneCharset &charset)
{
    // Without a final result code asking on would cost the deadline once per
    // position.
    if (!reply.isAnswered())
        return {Kind::Unanswered, {}};
    if (reply.final != AtReply::Final::Ok)
        return {reply.isNotFound() ? Kind::Empty : Kind::Unaccounted, {}};
    if (reply.isOk())
        return {Kind::Empty, {}};
    // Garbage is no empty position: taken for one, a write-back would clear
    // an entry the phone failed to report. Nor is another position's entry
    // this one's: this one's would never be seen.
    const auto entry = PhonebookAnswers::parseEntry(reply.text(), charset);
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

std::optional<bool> errorsWereEmpty(PhoneLink &link, int entriesWithoutThem)
{
    const AtReply count = link.IOP(AtCommands::kStorageQuery);
    if (count.final == AtReply::Final::Cancelled)
        return std::nullopt;
    return count.isAnswered() && PhonebookAnswers::parseUsedCount(count.text()) == entriesWithoutThem;
}

}
