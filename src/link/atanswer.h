// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "answerframing.h"
#include "atreply.h"

#include <QByteArray>

// The phone's answer as the bytes received: where it ends and what it says.
// No I/O here, so the transaction's framing rules can be checked without a
// port.
namespace AtAnswer {

// Whether the text is what, or opens with prefix, in any case: phones send
// their codes and names in the case they like.
bool sameCaseless(QByteArrayView text, QByteArrayView what);
bool startsCaseless(QByteArrayView text, QByteArrayView prefix);

enum class FinalResult { None, Ok, Error };

// The final result code found so far in a growing answer buffer.
FinalResult finalResult(const QByteArray &buffer);

// The reply a complete answer to the command framed makes: its final
// result code ("OK", "ERROR" in whatever case the phone used, or the
// extended error), its information lines as clean() leaves them, without
// blank ones, and the whole lines set aside. NoAnswer while the answer is
// incomplete.
AtReply reply(const QByteArray &buffer, const AnswerFraming &framing);

// Whether a line is a final result code: "OK", "ERROR" or the extended
// error, in any case.
bool isFinalResultLine(const QByteArray &line);

// Whether a whole line is an unsolicited result code (a ring, a new
// message, a network registration, a vendor's "^" code ...) that the phone
// may slip between or into answers. The information text of a command the
// program sends ("+CPBR:", "+CPBS:", "+CSCS:") is never one.
bool isUnsolicited(const QByteArray &line);

// The buffer without the whole lines that are not the command's own: only
// its echo, its own lines, the blank lines of the framing and the final
// result code stay.
QByteArray framed(const QByteArray &buffer, const AnswerFraming &framing);

// The complete answer framed, with its framing and final "OK" removed:
// "OK", "ERROR" or the information text.
QByteArray clean(const QByteArray &buffer, const AnswerFraming &framing);

// The text between the CR LF, as many pieces as there are CR LF and one.
QByteArrayList splitAtCrLf(const QByteArray &text);

} // namespace AtAnswer
