// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>

// Which lines of an answer belong to the command that was sent. Any phone
// may slip a code of its own ("^RSSI:14", "RING", "+CREG: 1") into any
// answer, so every answer is framed the one way: the command's own lines,
// its final result code, and every other line set aside.
// - A basic command ("Z", "E0") has no information text: it owns no line.
// - An extended command owns the lines that open with its name and a colon
//   ("+CPBR=1,250" those opening "+CPBR:"), and those that open with a value
//   (a digit, "(" or a quote), which some phones send without the name and
//   no unsolicited code opens with.
// - The model query's text comes without a name: it owns every line that
//   is not recognisably another's (one opening with "+" or "^", or RING).
class AnswerFraming {
public:
    // command: the text sent after "AT".
    explicit AnswerFraming(const QByteArray &command);

    // Whether a line of the answer is the command's own; a line still
    // arriving is the command's as soon as its opening shows it. The echo,
    // the blank lines of the framing and the final result code are not
    // asked about.
    bool owns(const QByteArray &line) const;

private:
    enum class Text { None, Named, Bare };

    Text m_text = Text::None;
    // "+CPBR:"; empty for a basic command.
    QByteArray m_prefix;
};
