// SPDX-License-Identifier: GPL-3.0-or-later
#include "ucs2trial.h"

#include "phonebookcommands.h"
#include "phonelink.h"
#include "writecheck.h"

#include <algorithm>

namespace Ucs2Trial {

namespace {

// The lowest position that List1 shows empty, as read: the read could tell
// it holds nothing.
std::optional<int> emptyPosition(const PhonebookEntries &read, int maxNumRub)
{
    for (int row = 0; row < read.size() && row < maxNumRub; ++row) {
        const PhonebookEntry &entry = read.at(row);
        if (entry.position == row + 1 && entry.isEmpty() && !entry.unread)
            return entry.position;
    }
    return std::nullopt;
}

WriteBack ended(WriteBack::End end)
{
    WriteBack result;
    result.end = end;
    return result;
}

} // namespace

std::optional<WriteBack> run(PhoneLink &link, const PhonebookEntries &entries,
                             const QVector<WriteCharset::Write> &writes, const PhonebookEntries &List1,
                             const FormVariables &vars)
{
    const auto needing = std::find_if(writes.cbegin(), writes.cend(), [](const WriteCharset::Write &write) {
        return write.charset.set() == PhoneCharset::Set::Ucs2;
    });
    const std::optional<int> position = emptyPosition(List1, vars.limits.MAXNUMRUB);
    if (needing == writes.cend() || !position)
        return std::nullopt;
    const int row = int(needing - writes.cbegin());
    const int held = int(std::count_if(List1.cbegin(), List1.cend(), [](const PhonebookEntry &e) { return !e.isEmpty(); }));

    PhonebookEntry tried = entries.at(row);
    tried.position = *position;
    const WriteCharset::Write write{PhonebookCommands::writeCommand(tried, needing->charset, vars.limits),
                                    needing->charset};
    WriteBack refused = ended(WriteBack::End::InvalidList);
    refused.listRow = row;
    const AtReply reply = WriteCharset::send(link, write);
    if (reply.final == AtReply::Final::Cancelled)
        return ended(WriteBack::End::Stopped);
    if (!reply.isAnswered())
        return ended(WriteBack::End::Failed);
    if (!reply.isOk())
        return refused;
    const WriteCheck::Result kept = WriteCheck::checkPosition(link, tried, held + 1);
    if (kept.cancelled)
        return ended(WriteBack::End::Stopped);

    // Emptied again whatever the phone kept, and read back empty.
    const AtReply clear = link.IOP(PhonebookCommands::clearCommand(*position));
    if (clear.final == AtReply::Final::Cancelled)
        return ended(WriteBack::End::Stopped);
    if (!clear.isAnswered())
        return ended(WriteBack::End::Failed);
    PhonebookEntry empty;
    empty.position = *position;
    const WriteCheck::Result gone = WriteCheck::checkPosition(link, empty, held);
    if (gone.cancelled)
        return ended(WriteBack::End::Stopped);
    if (!gone.equal) {
        WriteBack differs = ended(WriteBack::End::Differs);
        differs.phone = List1;
        (*differs.phone)[*position - 1] = gone.held.first();
        differs.phoneRow = *position - 1;
        return differs;
    }
    if (!kept.equal)
        return refused;
    return std::nullopt;
}

}
