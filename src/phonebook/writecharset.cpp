#include "writecharset.h"

#include "atcommands.h"
#include "phonelink.h"

namespace WriteCharset {

Write narrowest(const PhonebookEntry &entry, const PhoneLink &link, const PhonebookLine::Limits &limits)
{
    if (const std::optional<PhoneCharset> home = link.homeCharset()) {
        const PhonebookCommands::WriteCommand write = PhonebookCommands::writeCommand(entry, *home, limits);
        if (write.sendable())
            return {write, *home};
    }
    return {PhonebookCommands::writeCommand(entry, link.charset(), limits), link.charset()};
}

AtReply moveTo(PhoneLink &link, const PhoneCharset &charset)
{
    if (link.charset() == charset) {
        AtReply stay;
        stay.final = AtReply::Final::Ok;
        return stay;
    }
    const AtReply reply = link.transact(AtCommands::kCharsetSelect.arg(charset.name()));
    if (reply.isOk())
        link.setCharset(charset);
    return reply;
}

}
