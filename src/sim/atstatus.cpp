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
    case kTextTooLong:
        return QByteArrayLiteral("text string too long");
    case kDialStringTooLong:
        return QByteArrayLiteral("dial string too long");
    default:
        return QByteArrayLiteral("unknown");
    }
}
