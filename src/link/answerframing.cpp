// SPDX-License-Identifier: GPL-3.0-or-later
#include "answerframing.h"

#include "atanswer.h"
#include "atcommands.h"

namespace {

constexpr char kExtended = '+';
constexpr char kColon = ':';

// Where an extended command's name ends: its set, read or test form.
bool endsName(char c)
{
    return c == '=' || c == '?' || c == ';';
}

bool opensWithValue(const QByteArray &line)
{
    const char first = line.front();
    return (first >= '0' && first <= '9') || first == '(' || first == AtCommands::kQuote;
}

} // namespace

AnswerFraming::AnswerFraming(const QByteArray &command)
{
    if (!command.startsWith(kExtended))
        return;
    qsizetype end = 1;
    while (end < command.size() && !endsName(command.at(end)))
        ++end;
    m_prefix = command.left(end) + kColon;
    // The identification commands of 27.007 answer with their bare text; of
    // them the program sends the model query alone.
    m_text = AtAnswer::sameCaseless(command, AtCommands::kModelQuery) ? Text::Bare : Text::Named;
}

bool AnswerFraming::owns(const QByteArray &line) const
{
    const QByteArray text = line.trimmed();
    if (text.isEmpty() || m_text == Text::None)
        return false;
    if (AtAnswer::startsCaseless(text, m_prefix))
        return true;
    if (m_text == Text::Named)
        return opensWithValue(text);
    return !text.startsWith(kExtended) && !AtAnswer::isUnsolicited(text);
}
