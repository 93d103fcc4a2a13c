#include "phonebookwriteback.h"

#include "phonebookcommands.h"
#include "phonelink.h"
#include "writecheck.h"
#include "windowtexts.h"

#include <QStringList>

namespace {

// The list's entries at positions 1, 2, 3 ... and their write commands,
// or the row of the first one that cannot be written as it stands.
struct Writes {
    PhonebookEntries entries;
    QStringList commands;
    int refusedRow = -1;
};

Writes writesFor(const PhonebookEntries &list, const FormVariables &vars, const PhoneCharset &charset)
{
    Writes writes;
    for (int i = 0; i < list.size(); ++i) {
        PhonebookEntry entry = PhonebookLine::asWritten(list.at(i));
        entry.position = i + 1;
        entry.loadedLine.reset();
        const PhonebookCommands::WriteCommand write =
            PhonebookCommands::writeCommand(entry, charset, vars.lineLimits());
        if (entry.unread || !write.sendable()) {
            writes.refusedRow = i;
            return writes;
        }
        writes.entries.append(entry);
        writes.commands.append(write.command);
    }
    return writes;
}

// Sends one command; false unless the phone took it. The panel is told,
// except after a cancel: the program is ending. A failed port (the link has
// closed it and told the window) is a command that did not go through.
bool send(PhoneLink &link, const QString &command, OperationReport &report)
{
    const AtReply reply = link.transact(command);
    if (reply.isOk())
        return true;
    if (reply.final != AtReply::Final::Cancelled)
        report.setMessage(WindowText::kWriteFailed);
    return false;
}
}

WriteBackResult writeSortedPhonebook(PhoneLink &link, const FormVariables &vars,
                                     PhonebookListModel &List1, const PhonebookListModel &List2,
                                     OperationReport &report)
{
    // Both taken once: other handlers may run while the phone answers, and
    // List1 must show what was written.
    const FormVariables limits = vars;
    const PhonebookEntries list = List2.entries();

    report.setProgressIndex(0);
    QString writing;
    if (limits.RUBSEL == Rubrica::kSim)
        writing = WindowText::kWritingSim;
    else if (limits.RUBSEL == Rubrica::kCellulare)
        writing = WindowText::kWritingPhone;
    // An empty list would only clear every position: the whole phonebook.
    if (writing.isEmpty() || list.isEmpty()) {
        report.setMessage(WindowText::kError);
        return {};
    }
    const Writes writes = writesFor(list, limits, link.charset());
    if (writes.refusedRow >= 0) {
        report.setMessage(WindowText::kInvalidList);
        return {writes.refusedRow, -1};
    }
    report.setMessage(writing);
    report.setProgressMaximum(limits.MAXNUMRUB);

    // What every position must hold afterwards: the entries, then empty.
    PhonebookEntries expected = writes.entries;
    for (int k = int(expected.size()) + 1; k <= limits.MAXNUMRUB; ++k) {
        PhonebookEntry empty;
        empty.position = k;
        expected.append(empty);
    }
    for (int k = 1; k <= limits.MAXNUMRUB; ++k) {
        if (!report.keepGoing())
            return {};
        report.setProgressValue(k);
        const bool clear = k > writes.commands.size();
        if (!send(link, clear ? PhonebookCommands::clearCommand(k) : writes.commands.at(k - 1), report))
            return {};
    }
    const WriteCheck::Result check = WriteCheck::checkPhonebook(link, expected, report);
    if (check.cancelled)
        return {};
    // List1 shows what the phone holds, and List2 stays for a save or
    // another write.
    if (!check.equal) {
        List1.setEntries(check.held, PhonebookLine::Layout::Read, limits.lineLimits());
        report.setMessage(WindowText::kDiffers);
        return {-1, check.firstDifferent - 1};
    }

    // The bar goes over the positions once more, as List1 is made again
    // from what was sent, so that a list made under other limits still
    // lines up with the phone's positions.
    report.setProgressMaximum(limits.MAXNUMRUB);
    for (int k = 1; k <= limits.MAXNUMRUB; ++k) {
        if (!report.keepGoing())
            return {};
        report.setProgressIndex(k <= writes.entries.size() ? k - 1 : k);
    }
    List1.setEntries(expected, PhonebookLine::Layout::Sorted, limits.lineLimits());
    report.setMessage(WindowText::kWriteBackDone);
    return {};
}
