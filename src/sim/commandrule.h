// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

#include <functional>

// Which commands a fault applies to, and how many more times. A command is
// the text after "AT", as "+CPBW=5,\"0612\",129,\"CASA\"".
class CommandRule {
public:
    using Predicate = std::function<bool(const QString &command)>;

    // A rule that matches nothing.
    CommandRule() = default;
    // times < 0: every time.
    CommandRule(Predicate matches, int times);
    static CommandRule prefixes(const QStringList &prefixes, int times);

    // True when the command falls under the rule; uses up one of its times.
    bool take(const QString &command);

private:
    Predicate m_matches;
    int m_remaining = 0;
};
