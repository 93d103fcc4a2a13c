// SPDX-License-Identifier: GPL-3.0-or-later
#include "answerdeadline.h"

AnswerDeadline::AnswerDeadline(std::chrono::milliseconds deadline, Clock::time_point sent)
    : m_deadline(deadline), m_sent(sent)
{
}

void AnswerDeadline::heard(Clock::time_point at)
{
    m_heard = at;
}

void AnswerDeadline::resent(Clock::time_point at)
{
    m_resent = at;
}

AnswerDeadline::Next AnswerDeadline::next(Clock::time_point now) const
{
    const Clock::duration firstWait = m_deadline / 2;
    Clock::time_point end;
    Step atEnd = Step::GiveUp;
    if (m_heard) {
        end = *m_heard + m_deadline;
    } else if (m_resent) {
        end = *m_resent + (m_deadline - firstWait);
    } else {
        end = m_sent + firstWait;
        atEnd = Step::Resend;
    }
    if (now >= end)
        return {atEnd, end};
    return {Step::Wait, end};
}
