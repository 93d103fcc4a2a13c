// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "atreply.h"
#include "phonebookanswers.h"
#include "phonecharset.h"

#include <QByteArray>

#include <optional>

class PhoneLink;

// What the phone says it holds at one position, from its answer to the
// read of that position: the rule the read and the check of a write share.
namespace PositionAnswer {

enum class Kind {
    Entry,
    // "OK" alone, or "not found".
    Empty,
    // Another error: it may hide an entry the phone failed to report, so
    // only the phone's count of entries can show the position empty.
    Unaccounted,
    // No final result code: the phone is gone, or the port.
    Unanswered,
    // An answer that cannot be used: garbage, or another position's entry.
    Unusable,
};

struct Held {
    Kind kind = Kind::Unanswered;
    PhonebookEntry entry; // for Kind::Entry
};

// "+CPBR=7".
QByteArray readCommand(int position);
// "+CPBR=1,250": every entry from first to last in one answer.
QByteArray rangeCommand(int first, int last);

// The reply to readCommand(position).
Held interpret(const AtReply &reply, int position, const PhoneCharset &charset);

// What the lists show for the position: the entry, an empty position, or
// an empty position marked unread when the phone did not account for it.
PhonebookEntry entryOf(int position, const Held &held);

// Whether the positions the phone answered with an error other than "not
// found" were empty: only when its own count of entries (+CPBS?) is the
// number that it holds without them. Nullopt when the user gave up.
std::optional<bool> errorsWereEmpty(PhoneLink &link, int entriesWithoutThem);

}
