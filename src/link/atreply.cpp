#include "atreply.h"

#include "atcommands.h"

namespace {

const QByteArray kLineBreak = QByteArrayLiteral("\r\n");

bool isCmeError(const AtReply &reply, int number, const QByteArray &text)
{
    if (reply.final != AtReply::Final::CmeError)
        return false;
    return reply.cmeText == QByteArray::number(number)
        || reply.cmeText.compare(text, Qt::CaseInsensitive) == 0;
}

} // namespace

bool AtReply::isNotFound() const
{
    return isCmeError(*this, 22, QByteArrayLiteral("not found"));
}

bool AtReply::isSimBusy() const
{
    return isCmeError(*this, 14, QByteArrayLiteral("SIM busy"));
}

bool AtReply::isAnswered() const
{
    return final == Final::Ok || final == Final::Error || final == Final::CmeError;
}

QByteArray AtReply::text() const
{
    if (final != Final::Ok)
        return AtCommands::kError;
    return lines.isEmpty() ? AtCommands::kOk : lines.join(kLineBreak);
}
