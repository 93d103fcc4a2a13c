#include "phonebookwriteback.h"

#include "phonebookcommands.h"
#include "writecharset.h"
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
    QVector<PhoneCharset> charsets; // the set each command travels in
    int refusedRow = -1;
};

Writes writesFor(const PhonebookEntries &list, const FormVariables &vars, const PhoneLink &link)
{
    Writes writes;
    for (int i = 0; i < list.size(); ++i) {
        PhonebookEntry entry = PhonebookLine::asWritten(list.at(i));
        entry.position = i + 1;
        entry.loadedLine.reset();
        const WriteCharset::Write write = WriteCharset::narrowest(entry, link, vars.lineLimits());
        if (entry.unread || !write.command.sendable()) {
            writes.refusedRow = i;
            return writes;
        }
        writes.entries.append(entry);
        writes.commands.append(write.command.command);
        writes.charsets.append(write.charset);
    }
    return writes;
}

// False unless the phone took the command. The panel is told,
// except after a cancel: the program is ending. A failed port (the link has
// closed it and told the window) is a command that did not go through.
bool took(const AtReply &reply, OperationReport &report)
{
    if (reply.isOk())
        return true;
    if (reply.final != AtReply::Final::Cancelled)
        report.setMessage(WindowText::kWriteFailed);
    return false;
}

// Writes the entries, each in its set, then clears the positions after
// them up to last. 0 when all went; the position whose write the phone
// refused; -1 when the user gave up or the port failed.
int writeAll(PhoneLink &link, const Writes &writes, int last, OperationReport &report)
{
    for (int k = 1; k <= last; ++k) {
        if (!report.keepGoing())
            return -1;
        report.setProgressValue(k);
        const bool clear = k > writes.commands.size();
        AtReply reply = clear ? AtReply() : WriteCharset::moveTo(link, writes.charsets.at(k - 1));
        if (clear || reply.isOk())
            reply = link.transact(clear ? PhonebookCommands::clearCommand(k) : writes.commands.at(k - 1));
        if (!took(reply, report))
            return reply.isAnswered() ? k : -1;
    }
    return 0;
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
    const Writes writes = writesFor(list, limits, link);
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
    const PhoneCharset charset = link.charset();
    const int stoppedAt = writeAll(link, writes, limits.MAXNUMRUB, report);
    // The check, and every read after it, is in the set the handshake chose.
    const bool back = WriteCharset::moveTo(link, charset).isOk();
    if (stoppedAt > 0)
        return {stoppedAt <= writes.entries.size() ? stoppedAt - 1 : -1, -1};
    if (stoppedAt < 0)
        return {};
    if (!back) {
        report.setMessage(WindowText::kWriteFailed);
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
