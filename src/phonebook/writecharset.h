// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "atreply.h"
#include "phonebookcommands.h"
#include "phonecharset.h"

#include <QString>

class PhoneLink;

// The set each write travels in. Some phones read UCS2 well and write it
// wrongly or not at all, so an entry goes in the narrowest set that carries
// it: the phone's home set where it does, the link's set only for the names
// that need it. The read-back check proves what the phone kept.
namespace WriteCharset {

struct Write {
    PhonebookCommands::WriteCommand command;
    PhoneCharset charset;
};

// The entry's write in the narrowest set that carries it; refused as in the
// link's set when none does. A write that the link's set puts on the line
// in the very bytes the home set would stays in the link's set: the phone
// reads the same text in both, and two switches of set would gain nothing.
Write narrowest(const PhonebookEntry &entry, const PhoneLink &link, const PhonebookLimits &limits);

// Moves the phone to charset (+CSCS) unless it is there already, and the
// link with it; the reply, OK when nothing had to be sent.
AtReply moveTo(PhoneLink &link, const PhoneCharset &charset);

// Sends the write in its set and moves the phone back to the set it was in,
// where every read is made: the reply to the write, or to a move that
// failed.
AtReply send(PhoneLink &link, const Write &write);

}
