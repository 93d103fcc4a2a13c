#include "answerframing.h"

#include "atanswer.h"
#include "atcommands.h"

namespace {

constexpr QChar kExtended(u'+');
constexpr QChar kColon(u':');

// Where an extended command's name ends: its set, read or test form.
bool endsName(QChar c)
{
    return c == u'=' || c == u'?' || c == u';';
}

bool opensWithValue(const QString &line)
{
    const QChar first = line.front();
    return (first >= u'0' && first <= u'9') || first == u'(' || first == u'"';
}

} // namespace

AnswerFraming::AnswerFraming(const QString &command)
{
    if (!command.startsWith(kExtended))
        return;
    qsizetype end = 1;
    while (end < command.size() && !endsName(command.at(end)))
        ++end;
    m_prefix = command.left(end) + kColon;
    // The identification commands of 27.007 answer with their bare text; of
    // them the program sends the model query alone.
    m_text = command.compare(AtCommands::kModelQuery, Qt::CaseInsensitive) == 0 ? Text::Bare : Text::Named;
}

bool AnswerFraming::owns(const QString &line) const
{
    const QString text = line.trimmed();
    if (text.isEmpty() || m_text == Text::None)
        return false;
    if (text.startsWith(m_prefix, Qt::CaseInsensitive))
        return true;
    if (m_text == Text::Named)
        return opensWithValue(text);
    return !text.startsWith(kExtended) && !AtAnswer::isUnsolicited(text);
}
