// SPDX-License-Identifier: GPL-3.0-or-later
#include "atreply.h"

#include "atcommands.h"

namespace {

const QByteArray kLineBreak = QByteArrayLiteral("\r\n");

bool isCmeError(const AtReply &reply, const AtCommands::CmeCode &code)
{
    if (reply.final != AtReply::Final::CmeError)
        return false;
    return reply.cmeText == QByteArray::number(code.number)
        || reply.cmeText.compare(code.text, Qt::CaseInsensitive) == 0;
}

} // namespace

bool AtReply::isNotFound() const
{
    return isCmeError(*this, AtCommands::kNotFound);
}

bool AtReply::isSimBusy() const
{
    return isCmeError(*this, AtCommands::kSimBusy) || isCmeError(*this, AtCommands::kPleaseWait);
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
