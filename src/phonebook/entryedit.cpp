#include "entryedit.h"

#include "atanswer.h"
#include "linkfailure.h"
#include "phonebookcommands.h"
#include "phonebookline.h"
#include "phonelink.h"
#include "usimanswer.h"
#include "writemessages.h"

namespace {
const QString kWriting = QStringLiteral("SCRITTURA IN CORSO");
const QString kDone = QStringLiteral("SCRITTURA COMPLETATA");

// Sends the command and, once the phone took it, puts row at item
// position - 1 of List1 if the list still has that item.
bool sendAndRewrite(PhoneLink &link, const QString &command, int position, const PhonebookRow &row,
                    PhonebookRowModel &List1, OperationReport &report)
{
    report.setMessage(kWriting);
    bool taken = false;
    try {
        taken = link.IOP(command) == AtAnswer::kOk;
    } catch (const LinkFailure &) {
        // The link has closed the port and told the window; the entry was
        // not written.
    } catch (const LinkCancelled &) {
        return false;
    }
    if (!taken) {
        report.setMessage(WriteMessage::kWriteFailed);
        return false;
    }
    // Left alone when the list was emptied since the selection (or while
    // the phone answered): it no longer has the position's line.
    List1.replaceRow(position - 1, row);
    report.setMessage(kDone);
    return true;
}

}

bool saveEntry(PhoneLink &link, const FormVariables &vars, const QString &positionDisplay,
               const QString &name, const QString &number, PhonebookRowModel &List1,
               OperationReport &report)
{
    const int position = PhonebookLine::positionFromTag(positionDisplay, vars.MAXNUMRUB);
    const QString sentName = AtAnswer::trimSpaces(name);
    const QString sentNumber = AtAnswer::trimSpaces(number);
    // The entry's other fields go along, so that a new name does not clear
    // its e-mail address.
    const UsimFields fields = List1.row(position - 1).value_or(PhonebookRow()).fields;
    // A text the phone's character set cannot carry is not sent at all: the
    // phone would store something else.
    const std::optional<QString> nameOnLine = link.charset().encode(sentName);
    const std::optional<QString> fieldsOnLine = UsimAnswer::writeFields(fields, link.charset());
    if (positionDisplay.isEmpty() || number.isEmpty() || position < 1 || !nameOnLine
        || !fieldsOnLine || !PhonebookCommands::fitsCommand(number)) {
        report.setMessage(WriteMessage::kError);
        return false;
    }
    return sendAndRewrite(link,
                          PhonebookCommands::writeCommand(position, sentNumber, *nameOnLine, *fieldsOnLine),
                          position,
                          {PhonebookLine::build(position, sentName, sentNumber,
                                                PhonebookLine::Layout::Read, vars.lineLimits()),
                           fields},
                          List1, report);
}

bool deleteEntry(PhoneLink &link, const FormVariables &vars, const QString &positionDisplay,
                 PhonebookRowModel &List1, OperationReport &report)
{
    const int position = PhonebookLine::positionFromTag(positionDisplay, vars.MAXNUMRUB);
    if (positionDisplay.isEmpty() || position < 1) {
        report.setMessage(WriteMessage::kError);
        return false;
    }
    return sendAndRewrite(link, PhonebookCommands::clearCommand(position), position,
                          {PhonebookLine::emptySlot(position, PhonebookLine::Layout::Read,
                                                    vars.lineLimits()),
                           {}},
                          List1, report);
}

QString counterText(const QString &boxText, int limit)
{
    return QString::number(boxText.size()) + QLatin1Char('/') + QString::number(limit);
}
