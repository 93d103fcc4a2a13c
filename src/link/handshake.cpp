#include "handshake.h"

#include "charsetchoice.h"
#include "phonelink.h"

#include <exception>

namespace {

const QString kReset = QStringLiteral("Z");
const QString kEchoOff = QStringLiteral("E0");
const QString kResultCodesOn = QStringLiteral("Q0");
const QString kVerboseResults = QStringLiteral("V1");
const QString kModelQuery = QStringLiteral("+CGMM");
// A phone fresh from a reset echoes the frame; cleaned, the echoed "ATZ"
// and the final "OK" leave exactly this.
const QString kEcho = QStringLiteral("AT");

} // namespace

void ICC(PhoneLink &link)
{
    link.IOP(kReset);
    link.IOP(kEchoOff);
    link.IOP(kResultCodesOn);
    link.IOP(kVerboseResults);
}

void resetPhone(PhoneLink &link)
{
    link.IOP(kReset);
}

HandshakeResult runHandshake(PhoneLink &link, const QString &device,
                             const std::function<void()> &portOpened,
                             const std::function<void()> &echoConfirmed)
{
    HandshakeResult result;
    result.opening = link.open(device);
    if (result.opening != PortOpening::Opened)
        return result;
    try {
        portOpened();
        link.IOP(kReset);
        if (link.IOP(kReset) != kEcho) {
            link.close();
            return result;
        }
        echoConfirmed();
        ICC(link);
        result.model = link.IOP(kModelQuery);
        link.setCharset(chooseCharset(link));
        result.connected = true;
    } catch (const std::exception &) {
        link.close();
        result.model.clear();
    }
    return result;
}
