#include "ucs2trial.h"

#include "phonebookcommands.h"
#include "phonelink.h"
#include "windowtexts.h"
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

} // namespace

std::optional<Outcome> run(PhoneLink &link, const PhonebookEntries &entries,
                           const QVector<WriteCharset::Write> &writes, PhonebookListModel &List1,
                           const FormVariables &vars)
{
    const auto needing = std::find_if(writes.cbegin(), writes.cend(), [](const WriteCharset::Write &write) {
        return write.charset.set() == PhoneCharset::Set::Ucs2;
    });
    const PhonebookEntries read = List1.entries();
    const std::optional<int> position = emptyPosition(read, vars.MAXNUMRUB);
    if (needing == writes.cend() || !position)
        return std::nullopt;
    const int row = int(needing - writes.cbegin());
    const int held = int(std::count_if(read.cbegin(), read.cend(), [](const PhonebookEntry &e) { return !e.isEmpty(); }));

    PhonebookEntry tried = entries.at(row);
    tried.position = *position;
    const WriteCharset::Write write{PhonebookCommands::writeCommand(tried, needing->charset, vars.lineLimits()),
                                    needing->charset};
    const Outcome refused{WindowText::kInvalidList, -1, row};
    const AtReply reply = WriteCharset::send(link, write);
    if (reply.final == AtReply::Final::Cancelled)
        return Outcome();
    if (!reply.isAnswered())
        return Outcome{WindowText::kWriteFailed};
    if (!reply.isOk())
        return refused;
    const WriteCheck::Result kept = WriteCheck::checkPosition(link, tried, held + 1);
    if (kept.cancelled)
        return Outcome();

    // Emptied again whatever the phone kept, and read back empty.
    const AtReply clear = link.transact(PhonebookCommands::clearCommand(*position));
    if (clear.final == AtReply::Final::Cancelled)
        return Outcome();
    if (!clear.isAnswered())
        return Outcome{WindowText::kWriteFailed};
    PhonebookEntry empty;
    empty.position = *position;
    const WriteCheck::Result gone = WriteCheck::checkPosition(link, empty, held);
    if (gone.cancelled)
        return Outcome();
    if (!gone.equal) {
        List1.replaceEntry(*position - 1, gone.held.first());
        return Outcome{WindowText::kDiffers, *position - 1};
    }
    if (!kept.equal)
        return refused;
    return std::nullopt;
}

}
