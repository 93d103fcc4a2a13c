// SPDX-License-Identifier: GPL-3.0-or-later
#include "handshake.h"

#include "atcommands.h"
#include "charsetchoice.h"
#include "phonelink.h"
#include "singlebytecodec.h"

#include <array>

namespace {

// A phone fresh from a reset echoes the frame; cleaned, the echoed "ATZ"
// and the final "OK" leave exactly the command line's opening "AT".
const QByteArray &kEcho = AtCommands::kAttention;

} // namespace

bool ICC(PhoneLink &link)
{
    const std::array<QByteArray, 4> setUp = {AtCommands::kReset, AtCommands::kEchoOff,
                                          AtCommands::kResultCodesOn, AtCommands::kVerboseResults};
    for (const QByteArray &command : setUp) {
        if (link.IOP(command).stops())
            return false;
    }
    return true;
}

void resetPhone(PhoneLink &link)
{
    link.IOP(AtCommands::kReset);
}

HandshakeResult runHandshake(PhoneLink &link, const QString &device,
                             const std::function<void()> &portOpened,
                             const std::function<void()> &echoConfirmed)
{
    HandshakeResult result;
    result.opening = link.open(device);
    if (result.opening != PortOpening::Opened)
        return result;
    portOpened();
    const AtReply first = link.IOP(AtCommands::kReset);
    const AtReply echo = first.stops() ? first : link.IOP(AtCommands::kReset);
    if (echo.stops() || echo.text() != kEcho) {
        link.close();
        return result;
    }
    echoConfirmed();
    if (!ICC(link)) {
        link.close();
        return result;
    }
    const AtReply model = link.IOP(AtCommands::kModelQuery);
    const std::optional<PhoneCharset> charset = model.stops() ? std::nullopt : chooseCharset(link);
    if (!charset) {
        link.close();
        return result;
    }
    // Asked before any set is chosen, the model comes in the phone's own
    // single bytes.
    result.model = SingleByteCodec::decode(model.text());
    link.setCharset(*charset);
    result.connected = true;
    return result;
}
