// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <chrono>
#include <optional>

// When a transaction waits on, sends its command again, or gives up. The
// deadline is a span of silence: it runs from the last byte of the answer
// heard, so an answer still arriving is never cut however long it takes
// (500 positions in UCS2 at 19200 baud take some 26 s). Only the answer's
// own bytes count as heard: a phone that keeps sending codes of its own
// while it ignores the command still runs out of time.
// A phone that has said nothing of its answer half the deadline after the
// command is sent it once more (it may have missed it) and is given up on
// when the rest of the deadline has passed in silence after that: about the
// deadline in all. A phone that has begun to answer is never sent the
// command again, since a second answer would run into the first.
// It only keeps time: the caller tells it what it heard and does what it
// says, whether it waits in an event loop or in a blocking read.
class AnswerDeadline {
public:
    using Clock = std::chrono::steady_clock;

    enum class Step { Wait, Resend, GiveUp };
    struct Next {
        Step step = Step::Wait;
        // For Wait: when to ask again, unless bytes arrive before.
        Clock::time_point until;
    };

    AnswerDeadline(std::chrono::milliseconds deadline, Clock::time_point sent);

    // Bytes of the answer arrived at this time.
    void heard(Clock::time_point at);
    // The command went out again at this time.
    void resent(Clock::time_point at);

    Next next(Clock::time_point now) const;

private:
    Clock::duration m_deadline;
    Clock::time_point m_sent;
    std::optional<Clock::time_point> m_resent;
    std::optional<Clock::time_point> m_heard;
};
