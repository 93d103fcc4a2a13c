// SPDX-License-Identifier: GPL-3.0-or-later
#include "phonebookwriteback.h"

#include "phonebookcommands.h"
#include "phonelink.h"
#include "ucs2trial.h"
#include "writecharset.h"
#include "writecheck.h"

#include <QVector>

#include <optional>

namespace {

// The list's entries at positions 1, 2, 3 ... and their write commands,
// or the row of the first one that cannot be written as it stands.
struct Writes {
    PhonebookEntries entries;
    QVector<WriteCharset::Write> writes;
    std::optional<int> refusedRow;
};

Writes writesFor(const PhonebookEntries &list, const FormVariables &vars, const PhoneLink &link)
{
    Writes writes;
    for (int i = 0; i < list.size(); ++i) {
        PhonebookEntry entry = PhonebookLine::asWritten(list.at(i));
        entry.position = i + 1;
        entry.loadedLine.reset();
        const WriteCharset::Write write = WriteCharset::narrowest(entry, link, vars.limits);
        if (entry.unread || !write.command.sendable()) {
            writes.refusedRow = i;
            return writes;
        }
        writes.entries.append(entry);
        writes.writes.append(write);
    }
    return writes;
}

WriteBack ended(WriteBack::End end, std::optional<int> listRow = std::nullopt)
{
    WriteBack result;
    result.end = end;
    result.listRow = listRow;
    return result;
}

// Writes the entries, each in its set, then clears the positions after
// them up to last. Nothing when all went; otherwise how the write ended: at
// the row whose write the phone refused (the positions before it hold their
// entries), on a failed port (the link has closed it and told the window),
// or when the user gave up.
std::optional<WriteBack> writeAll(PhoneLink &link, const Writes &writes, int last, Progress &progress)
{
    for (int k = 1; k <= last; ++k) {
        if (!progress.keepGoing())
            return ended(WriteBack::End::Stopped);
        progress.setValue(k);
        const bool clear = k > writes.writes.size();
        AtReply reply = clear ? AtReply() : WriteCharset::moveTo(link, writes.writes.at(k - 1).charset);
        if (clear || reply.isOk())
            reply = link.IOP(clear ? PhonebookCommands::clearCommand(k) : writes.writes.at(k - 1).command.command);
        if (reply.isOk())
            continue;
        if (reply.final == AtReply::Final::Cancelled)
            return ended(WriteBack::End::Stopped);
        if (!reply.isAnswered() || clear)
            return ended(WriteBack::End::Failed);
        return ended(WriteBack::End::Refused, k - 1);
    }
    return std::nullopt;
}

}

WriteBack writeSortedPhonebook(PhoneLink &link, const FormVariables &vars, const PhonebookEntries &list,
                               const PhonebookEntries &List1, Progress &progress)
{
    progress.setIndex(0);
    // An empty list would only clear every position: the whole phonebook.
    if (!vars.phonebook || list.isEmpty())
        return ended(WriteBack::End::NoPhonebook);
    const Writes writes = writesFor(list, vars, link);
    if (writes.refusedRow)
        return ended(WriteBack::End::InvalidList, writes.refusedRow);
    progress.stage(vars.phonebook->writing);
    progress.setMaximum(vars.limits.MAXNUMRUB);
    if (const std::optional<WriteBack> tried = Ucs2Trial::run(link, writes.entries, writes.writes, List1, vars))
        return *tried;

    // What every position must hold afterwards: the entries, then empty.
    PhonebookEntries expected = writes.entries;
    for (int k = int(expected.size()) + 1; k <= vars.limits.MAXNUMRUB; ++k) {
        PhonebookEntry empty;
        empty.position = k;
        expected.append(empty);
    }
    const PhoneCharset charset = link.charset();
    const std::optional<WriteBack> stopped = writeAll(link, writes, vars.limits.MAXNUMRUB, progress);
    // The check, and every read after it, is in the set the handshake chose.
    const bool back = WriteCharset::moveTo(link, charset).isOk();
    if (stopped)
        return *stopped;
    if (!back)
        return ended(WriteBack::End::Failed);
    const WriteCheck::Result check = WriteCheck::checkPhonebook(link, expected, progress);
    if (check.cancelled)
        return ended(WriteBack::End::Stopped);
    WriteBack result;
    if (!check.equal) {
        result.end = WriteBack::End::Differs;
        result.phone = check.held;
        result.phoneRow = check.firstDifferent - 1;
        return result;
    }

    // The bar goes over the positions once more, as List1 is made again
    // from what was sent, so that a list made under other limits still
    // lines up with the phone's positions.
    progress.setMaximum(vars.limits.MAXNUMRUB);
    for (int k = 1; k <= vars.limits.MAXNUMRUB; ++k) {
        if (!progress.keepGoing())
            return ended(WriteBack::End::Stopped);
        progress.setIndex(k <= writes.entries.size() ? k - 1 : k);
    }
    result.end = WriteBack::End::Done;
    result.phone = expected;
    return result;
}
