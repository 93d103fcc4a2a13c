#include "atreply.h"

#include "atcommands.h"

namespace {

const QString kLineBreak = QStringLiteral("\r\n");

bool isCmeError(const AtReply &reply, int number, const QString &text)
{
    if (reply.final != AtReply::Final::CmeError)
        return false;
    return reply.cmeText == QString::number(number)
        || reply.cmeText.compare(text, Qt::CaseInsensitive) == 0;
}

} // namespace

bool AtReply::isNotFound() const
{
    return isCmeError(*this, 22, QStringLiteral("not found"));
}

bool AtReply::isSimBusy() const
{
    return isCmeError(*this, 14, QStringLiteral("SIM busy"));
}

bool AtReply::isAnswered() const
{
    return final == Final::Ok || final == Final::Error || final == Final::CmeError;
}

QString AtReply::text() const
{
    if (final != Final::Ok)
        return AtCommands::kError;
    return lines.isEmpty() ? AtCommands::kOk : lines.join(kLineBreak);
}
