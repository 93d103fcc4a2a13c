// SPDX-License-Identifier: GPL-3.0-or-later
#include "atstatus.h"

QByteArray AtStatus::errorText(int code)
{
    switch (code) {
    case kNotAllowed:
        return QByteArrayLiteral("operation not allowed");
    case kNotSupported:
        return QByteArrayLiteral("operation not supported");
    case kSimBusy:
        return QByteArrayLiteral("SIM busy");
    case kInvalidIndex:
        return QByteArrayLiteral("invalid index");
    case kNotFound:
        return QByteArrayLiteral("not found");
    case kMemoryFailure:
        return QByteArrayLiteral("memory failure");
    case kTextTooLong:
        return QByteArrayLiteral("text string too long");
    case kDialStringTooLong:
        return QByteArrayLiteral("dial string too long");
    case kPleaseWait:
        return QByteArrayLiteral("please wait, init or command processing in progress");
    default:
        return QByteArrayLiteral("unknown");
    }
}
