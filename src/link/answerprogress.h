// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "answerframing.h"

#include <QByteArray>

// How much of the command's own answer has arrived, measured as the buffer
// grows: the characters of its own lines, the one still arriving included
// once its opening shows it the command's. The echo, the framing, the
// final result code and the lines set aside count nothing, so that only
// the answer keeps a wait alive. Whole lines are measured once, so a long
// answer costs no more than its length.
class AnswerProgress {
public:
    explicit AnswerProgress(const AnswerFraming &framing) : m_framing(framing) {}

    // The buffer so far, which only grows, from the start of one attempt.
    qsizetype measure(const QByteArray &buffer);

private:
    qsizetype owned(const QByteArray &line) const;

    AnswerFraming m_framing;
    // Where the first line not yet measured whole begins; before the first
    // CR LF, which ends the echo, there is none.
    qsizetype m_next = -1;
    qsizetype m_wholeLines = 0;
};
