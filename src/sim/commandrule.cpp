// SPDX-License-Identifier: GPL-3.0-or-later
#include "commandrule.h"

CommandRule::CommandRule(Predicate matches, int times)
    : m_matches(std::move(matches))
    , m_remaining(times)
{
}

CommandRule CommandRule::prefixes(const QStringList &prefixes, int times)
{
    return CommandRule(
        [prefixes](const QString &command) {
            for (const QString &prefix : prefixes) {
                if (command.startsWith(prefix))
                    return true;
            }
            return false;
        },
        times);
}

bool CommandRule::take(const QString &command)
{
    if (!m_matches || m_remaining == 0 || !m_matches(command))
        return false;
    if (m_remaining > 0)
        --m_remaining;
    return true;
}
