// SPDX-License-Identifier: GPL-3.0-or-later
#include "entryedit.h"

#include "phonebookcommands.h"
#include "phonebookline.h"
#include "phonelink.h"
#include "writecharset.h"
#include "writecheck.h"

#include <algorithm>

namespace {

// How many entries the phone holds once the position holds expected, as
// List1 shows the others.
int entriesAfter(const PhonebookEntries &List1, const PhonebookEntry &expected)
{
    return int(std::count_if(List1.cbegin(), List1.cend(), [&expected](const PhonebookEntry &e) {
               return e.position != expected.position && !e.isEmpty();
           }))
        + (expected.isEmpty() ? 0 : 1);
}

EntryEdit ended(EntryEdit::End end, std::optional<PhonebookEntry> held = std::nullopt)
{
    return {end, std::move(held)};
}

// Sends the command and, once the phone took it, reads the position back.
EntryEdit sendAndCheck(PhoneLink &link, const WriteCharset::Write &write, const PhonebookEntry &expected,
                       const PhonebookEntries &List1, Progress &progress)
{
    progress.stage(Stage::WritingEntry);
    // After a failed port (the link has closed it and told the window) the
    // entry was not written. The read-back, as every read, is in the set
    // the handshake chose.
    const AtReply reply = WriteCharset::send(link, write);
    if (reply.final == AtReply::Final::Cancelled)
        return ended(EntryEdit::End::Stopped);
    if (!reply.isOk())
        return ended(EntryEdit::End::Failed);
    const WriteCheck::Result check = WriteCheck::checkPosition(link, expected, entriesAfter(List1, expected));
    if (check.cancelled)
        return ended(EntryEdit::End::Stopped);
    if (!check.equal)
        return ended(EntryEdit::End::Differs, check.held.first());
    return ended(EntryEdit::End::Done, expected);
}

// The entry at position, when List1 still has it and the last read knew
// what the phone holds there. After the port was opened again or a list
// file loaded, List1 is empty: the selection then belongs to a phonebook
// that may no longer be the one selected on the phone.
std::optional<PhonebookEntry> editableEntry(int position, const PhonebookEntries &List1)
{
    if (position < 1 || position > List1.size() || List1.at(position - 1).unread)
        return std::nullopt;
    return List1.at(position - 1);
}

}

EntryEdit saveEntry(PhoneLink &link, const FormVariables &vars, const PhonebookEntries &List1, int position,
                    const QString &name, const QString &number, Progress &progress)
{
    const std::optional<PhonebookEntry> held = editableEntry(position, List1);
    if (!held || number.isEmpty())
        return ended(EntryEdit::End::Refused);
    // The entry's other fields go along, so that a new name does not clear
    // its e-mail address.
    PhonebookEntry entry;
    entry.position = position;
    entry.name = name;
    entry.number = number;
    entry.fields = held->fields;
    entry = PhonebookLine::asWritten(entry);
    const WriteCharset::Write write = WriteCharset::narrowest(entry, link, vars.limits);
    if (!write.command.sendable())
        return ended(EntryEdit::End::Refused);
    return sendAndCheck(link, write, entry, List1, progress);
}

EntryEdit deleteEntry(PhoneLink &link, const PhonebookEntries &List1, int position, Progress &progress)
{
    if (!editableEntry(position, List1))
        return ended(EntryEdit::End::Refused);
    PhonebookEntry empty;
    empty.position = position;
    const WriteCharset::Write clear{{PhonebookCommands::clearCommand(position), {}}, link.charset()};
    return sendAndCheck(link, clear, empty, List1, progress);
}
