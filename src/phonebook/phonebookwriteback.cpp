#include "phonebookwriteback.h"

#include "phonebookcommands.h"
#include "phonelink.h"
#include "ucs2trial.h"
#include "writecharset.h"
#include "writecheck.h"
#include "windowtexts.h"

#include <QVector>

#include <optional>

namespace {

// The list's entries at positions 1, 2, 3 ... and their write commands,
// or the row of the first one that cannot be written as it stands.
struct Writes {
    PhonebookEntries entries;
    QVector<WriteCharset::Write> writes;
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
        writes.writes.append(write);
    }
    return writes;
}

// The line of the sorted list by its tag and name, as the user finds it.
QString lineOf(const PhonebookEntry &entry, const PhonebookLine::Limits &limits)
{
    return PhonebookLine::positionTag(entry.position, limits.maxNumRub) + QLatin1Char(' ')
        + PhonebookLine::asWritten(entry).name;
}

// Writes the entries of list, each in its set, then clears the positions
// after them up to last. Nothing when all went; otherwise how the write
// ended: at the row whose write the phone refused (the positions before it
// hold their entries), on a failed port (the link has closed it and told
// the window), or without a word when the user gave up.
std::optional<Outcome> writeAll(PhoneLink &link, const Writes &writes, int last, const PhonebookEntries &list,
                                const PhonebookLine::Limits &listLimits, OperationReport &report)
{
    for (int k = 1; k <= last; ++k) {
        if (!report.keepGoing())
            return Outcome();
        report.setProgressValue(k);
        const bool clear = k > writes.writes.size();
        AtReply reply = clear ? AtReply() : WriteCharset::moveTo(link, writes.writes.at(k - 1).charset);
        if (clear || reply.isOk())
            reply = link.transact(clear ? PhonebookCommands::clearCommand(k) : writes.writes.at(k - 1).command.command);
        if (reply.isOk())
            continue;
        if (reply.final == AtReply::Final::Cancelled)
            return Outcome();
        if (!reply.isAnswered() || clear)
            return Outcome{WindowText::kWriteFailed};
        return Outcome{WindowText::writeRefused(lineOf(list.at(k - 1), listLimits)), -1, k - 1};
    }
    return std::nullopt;
}

}

Outcome writeSortedPhonebook(PhoneLink &link, const FormVariables &vars, PhonebookListModel &List1,
                             const PhonebookListModel &List2, OperationReport &report)
{
    // Both taken once: other handlers may run while the phone answers, and
    // List1 must show what was written.
    const FormVariables limits = vars;
    const PhonebookEntries list = List2.entries();
    const PhonebookLine::Limits listLimits = List2.limits();

    report.setProgressIndex(0);
    // An empty list would only clear every position: the whole phonebook.
    if (!limits.phonebook || list.isEmpty())
        return {WindowText::kError};
    const Writes writes = writesFor(list, limits, link);
    if (writes.refusedRow >= 0)
        return {WindowText::kInvalidList, -1, writes.refusedRow};
    report.setMessage(limits.phonebook->writing);
    report.setProgressMaximum(limits.MAXNUMRUB);
    if (const std::optional<Outcome> tried = Ucs2Trial::run(link, writes.entries, writes.writes, List1, limits))
        return *tried;

    // What every position must hold afterwards: the entries, then empty.
    PhonebookEntries expected = writes.entries;
    for (int k = int(expected.size()) + 1; k <= limits.MAXNUMRUB; ++k) {
        PhonebookEntry empty;
        empty.position = k;
        expected.append(empty);
    }
    const PhoneCharset charset = link.charset();
    const std::optional<Outcome> stopped = writeAll(link, writes, limits.MAXNUMRUB, list, listLimits, report);
    // The check, and every read after it, is in the set the handshake chose.
    const bool back = WriteCharset::moveTo(link, charset).isOk();
    if (stopped)
        return *stopped;
    if (!back)
        return {WindowText::kWriteFailed};
    const WriteCheck::Result check = WriteCheck::checkPhonebook(link, expected, report);
    if (check.cancelled)
        return {};
    // List1 shows what the phone holds, and List2 stays for a save or
    // another write.
    if (!check.equal) {
        List1.setEntries(check.held, PhonebookLine::Layout::Read, limits.lineLimits());
        return {WindowText::kDiffers, check.firstDifferent - 1};
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
    return {WindowText::kWriteBackDone, -1, -1, true};
}
