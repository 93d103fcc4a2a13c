#include "entryedit.h"

#include "atanswer.h"
#include "phonebookcommands.h"
#include "phonebookline.h"
#include "phonelink.h"
#include "sortedlayout.h"
#include "writecheck.h"
#include "writemessages.h"

namespace {
const QString kWriting = QStringLiteral("SCRITTURA IN CORSO");
const QString kDone = QStringLiteral("SCRITTURA COMPLETATA");

// How many entries the phone holds once position holds what is expected,
// as List1 shows the others.
int entriesAfter(const PhonebookRowModel &List1, int position, const WriteCheck::Expected &expected,
                 const FormVariables &vars)
{
    int entries = expected ? 1 : 0;
    for (int i = 0; i < List1.rowCount(); ++i) {
        if (i != position - 1 && SortedLayout::holdsEntry(List1.rows().at(i).line, vars.lineLimits()))
            ++entries;
    }
    return entries;
}

// Sends the command and, once the phone took it, reads the position back:
// equal, row goes to item position - 1 of List1; otherwise that item shows
// what the phone holds. Either only if the list still has that item.
bool sendAndRewrite(PhoneLink &link, const QString &command, int position, const PhonebookRow &row,
                    const WriteCheck::Expected &expected, const FormVariables &vars,
                    PhonebookRowModel &List1, OperationReport &report)
{
    report.setMessage(kWriting);
    // After a failed port (the link has closed it and told the window) the
    // entry was not written.
    const AtReply reply = link.transact(command);
    if (reply.final == AtReply::Final::Cancelled)
        return false;
    if (!reply.isOk()) {
        report.setMessage(WriteMessage::kWriteFailed);
        return false;
    }
    const WriteCheck::Result check = WriteCheck::checkPosition(
        link, position, expected, entriesAfter(List1, position, expected, vars), vars);
    if (check.cancelled)
        return false;
    // Left alone when the list was emptied since the selection (or while
    // the phone answered): it no longer has the position's line.
    if (!check.equal) {
        List1.replaceRow(position - 1, check.held.first());
        report.setMessage(CheckMessage::kDiffers);
        return false;
    }
    List1.replaceRow(position - 1, row);
    report.setMessage(kDone);
    return true;
}

// The position shown, when List1 still has its line and the last read knew
// what the phone holds there; 0 otherwise. After the port was opened again
// or a list file loaded, List1 is empty: the selection then belongs to a
// phonebook that may no longer be the one selected on the phone.
int editablePosition(const FormVariables &vars, const QString &positionDisplay,
                     const PhonebookRowModel &List1, PhonebookRow *row)
{
    if (positionDisplay.isEmpty())
        return 0;
    const int position = PhonebookLine::positionFromTag(positionDisplay, vars.MAXNUMRUB);
    const std::optional<PhonebookRow> found = List1.row(position - 1);
    if (position < 1 || !found || found->unread)
        return 0;
    *row = *found;
    return position;
}

}

bool saveEntry(PhoneLink &link, const FormVariables &vars, const QString &positionDisplay,
               const QString &name, const QString &number, PhonebookRowModel &List1,
               OperationReport &report)
{
    PhonebookRow row;
    const int position = editablePosition(vars, positionDisplay, List1, &row);
    const QString sentName = AtAnswer::trimSpaces(name);
    const QString sentNumber = AtAnswer::trimSpaces(number);
    // The entry's other fields go along, so that a new name does not clear
    // its e-mail address.
    const PhonebookCommands::WriteCommand write = PhonebookCommands::writeCommand(
        position, sentNumber, sentName, row.fields, link.charset(), vars.lineLimits());
    if (position == 0 || number.isEmpty() || !write.sendable()) {
        report.setMessage(WriteMessage::kError);
        return false;
    }
    return sendAndRewrite(link, write.command, position,
                          {PhonebookLine::build(position, sentName, sentNumber,
                                                PhonebookLine::Layout::Read, vars.lineLimits()),
                           row.fields, false},
                          WriteCheck::Entry{sentName, sentNumber, row.fields}, vars, List1, report);
}

bool deleteEntry(PhoneLink &link, const FormVariables &vars, const QString &positionDisplay,
                 PhonebookRowModel &List1, OperationReport &report)
{
    PhonebookRow row;
    const int position = editablePosition(vars, positionDisplay, List1, &row);
    if (position == 0) {
        report.setMessage(WriteMessage::kError);
        return false;
    }
    return sendAndRewrite(link, PhonebookCommands::clearCommand(position), position,
                          {PhonebookLine::emptySlot(position, PhonebookLine::Layout::Read,
                                                    vars.lineLimits()),
                           {}, false},
                          std::nullopt, vars, List1, report);
}

QString counterText(const QString &boxText, int limit)
{
    return QString::number(boxText.size()) + QLatin1Char('/') + QString::number(limit);
}
