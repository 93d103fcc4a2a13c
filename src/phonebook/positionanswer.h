#pragma once

#include "phonebookanswers.h"
#include "phonecharset.h"

#include <QString>

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
    // No final result code: the phone is gone.
    Unanswered,
    // An answer that cannot be used: garbage, or another position's entry.
    Unusable,
};

struct Held {
    Kind kind = Kind::Unanswered;
    PhonebookEntry entry; // for Kind::Entry
};

// "+CPBR=7".
QString readCommand(int position);
// "+CPBR=1,250": every entry from first to last in one answer.
QString rangeCommand(int first, int last);

// The answer IOP gave to readCommand(position), and the final result code
// that ended it.
Held interpret(const QString &answer, const QString &finalResultCode, int position,
               const PhoneCharset &charset);

// What the lists show for the position: the entry, an empty position, or
// an empty position marked unread when the phone did not account for it.
PhonebookEntry entryOf(int position, const Held &held);

// Whether the positions the phone answered with an error other than "not
// found" were empty: only when its own count of entries (+CPBS?) is the
// number that it holds without them.
bool errorsWereEmpty(PhoneLink &link, int entriesWithoutThem);

}
