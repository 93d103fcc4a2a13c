#include "entryedit.h"

#include "atanswer.h"
#include "phonebookcommands.h"
#include "phonelink.h"
#include "writecharset.h"
#include "writecheck.h"
#include "windowtexts.h"

#include <algorithm>

namespace {

// How many entries the phone holds once the position holds expected, as
// List1 shows the others.
int entriesAfter(const PhonebookListModel &List1, const PhonebookEntry &expected)
{
    const PhonebookEntries &entries = List1.entries();
    return int(std::count_if(entries.cbegin(), entries.cend(), [&expected](const PhonebookEntry &e) {
               return e.position != expected.position && !e.isEmpty();
           }))
        + (expected.isEmpty() ? 0 : 1);
}

// Sends the command and, once the phone took it, reads the position back:
// equal, expected replaces the position's entry in List1; otherwise that
// entry shows what the phone holds. Either only if the list still has it.
Outcome sendAndRewrite(PhoneLink &link, const WriteCharset::Write &write, const PhonebookEntry &expected,
                       PhonebookListModel &List1, OperationReport &report)
{
    report.setMessage(WindowText::kWritingEntry);
    // After a failed port (the link has closed it and told the window) the
    // entry was not written. The read-back, as every read, is in the set
    // the handshake chose.
    const AtReply reply = WriteCharset::send(link, write);
    if (reply.final == AtReply::Final::Cancelled)
        return {};
    if (!reply.isOk())
        return {WindowText::kWriteFailed};
    const WriteCheck::Result check = WriteCheck::checkPosition(link, expected, entriesAfter(List1, expected));
    if (check.cancelled)
        return {};
    // Left alone when the list was emptied since the selection (or while
    // the phone answered): it no longer has the position's entry.
    const int row = expected.position - 1;
    if (!check.equal) {
        List1.replaceEntry(row, check.held.first());
        return {WindowText::kDiffers};
    }
    List1.replaceEntry(row, expected);
    return {WindowText::kEntryWritten, -1, -1, true};
}

// The entry at position, when List1 still has it and the last read knew
// what the phone holds there. After the port was opened again or a list
// file loaded, List1 is empty: the selection then belongs to a phonebook
// that may no longer be the one selected on the phone.
std::optional<PhonebookEntry> editableEntry(int position, const PhonebookListModel &List1)
{
    const std::optional<PhonebookEntry> found = List1.entry(position - 1);
    if (position < 1 || !found || found->unread)
        return std::nullopt;
    return found;
}

}

Outcome saveEntry(PhoneLink &link, const FormVariables &vars, int position, const QString &name,
                  const QString &number, PhonebookListModel &List1, OperationReport &report)
{
    const std::optional<PhonebookEntry> held = editableEntry(position, List1);
    if (!held || number.isEmpty())
        return {WindowText::kError};
    // The entry's other fields go along, so that a new name does not clear
    // its e-mail address.
    PhonebookEntry entry;
    entry.position = position;
    entry.name = AtAnswer::trimSpaces(name);
    entry.number = AtAnswer::trimSpaces(number);
    entry.fields = held->fields;
    const WriteCharset::Write write = WriteCharset::narrowest(entry, link, vars.lineLimits());
    if (!write.command.sendable())
        return {WindowText::kError};
    return sendAndRewrite(link, write, entry, List1, report);
}

Outcome deleteEntry(PhoneLink &link, int position, PhonebookListModel &List1, OperationReport &report)
{
    if (!editableEntry(position, List1))
        return {WindowText::kError};
    PhonebookEntry empty;
    empty.position = position;
    const WriteCharset::Write clear{{PhonebookCommands::clearCommand(position), {}}, link.charset()};
    return sendAndRewrite(link, clear, empty, List1, report);
}

QString counterText(const QString &boxText, int limit)
{
    return QString::number(boxText.size()) + QLatin1Char('/') + QString::number(limit);
}
