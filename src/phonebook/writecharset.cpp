// SPDX-License-Identifier: GPL-3.0-or-later
#include "writecharset.h"

#include "atcommands.h"
#include "phonelink.h"

namespace WriteCharset {

Write narrowest(const PhonebookEntry &entry, const PhoneLink &link, const PhonebookLimits &limits)
{
    const PhonebookCommands::WriteCommand own = PhonebookCommands::writeCommand(entry, link.charset(), limits);
    if (const std::optional<PhoneCharset> home = link.homeCharset()) {
        const PhonebookCommands::WriteCommand write = PhonebookCommands::writeCommand(entry, *home, limits);
        const bool alike = own.sendable() && own.command == write.command;
        if (write.sendable() && !alike)
            return {write, *home};
    }
    return {own, link.charset()};
}

AtReply moveTo(PhoneLink &link, const PhoneCharset &charset)
{
    if (link.charset() == charset) {
        AtReply stay;
        stay.final = AtReply::Final::Ok;
        return stay;
    }
    const AtReply reply = link.IOP(AtCommands::kCharsetSelect + AtCommands::quoted(charset.name()));
    if (reply.isOk())
        link.setCharset(charset);
    return reply;
}

AtReply send(PhoneLink &link, const Write &write)
{
    const PhoneCharset charset = link.charset();
    AtReply reply = moveTo(link, write.charset);
    if (reply.isOk())
        reply = link.IOP(write.command.command);
    const AtReply back = moveTo(link, charset);
    if (!back.isOk() && reply.isOk())
        return back;
    return reply;
}

}
