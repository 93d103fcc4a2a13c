#pragma once

#include "answerframing.h"
#include "atreply.h"

#include <QString>

#include <optional>

// The phone's answer as text: where it ends and what it says. No I/O here,
// so the transaction's framing rules can be checked without a port.
namespace AtAnswer {

enum class FinalResult { None, Ok, Error };

// The final result code found so far in a growing answer buffer.
FinalResult finalResult(const QString &buffer);

// The reply a complete answer to the command framed makes: its final
// result code ("OK", "ERROR" in whatever case the phone used, or the
// extended error), its information lines as clean() leaves them, without
// blank ones, and the whole lines set aside. NoAnswer while the answer is
// incomplete.
AtReply reply(const QString &buffer, const AnswerFraming &framing);

// Whether a line is a final result code: "OK", "ERROR" or the extended
// error, in any case.
bool isFinalResultLine(const QString &line);

// Whether a whole line is an unsolicited result code (a ring, a new
// message, a network registration, a vendor's "^" code ...) that the phone
// may slip between or into answers. The information text of a command the
// program sends ("+CPBR:", "+CPBS:", "+CSCS:") is never one.
bool isUnsolicited(const QString &line);

// The buffer without the whole lines that are not the command's own: only
// its echo, its own lines, the blank lines of the framing and the final
// result code stay.
QString framed(const QString &buffer, const AnswerFraming &framing);

// The complete answer framed, with its framing and final "OK" removed:
// "OK", "ERROR" or the information text.
QString clean(const QString &buffer, const AnswerFraming &framing);

// The text without leading and trailing spaces; CR, LF and tabs stay.
QString trimSpaces(const QString &text);

// Whether every character is a decimal digit. True for empty text: a field
// that may be left out is decimal when empty, and a caller that needs a
// number asks for a non-empty text as well.
bool isDecimal(const QString &text);

// The first position at or after from that holds no space; the text's
// size when only spaces follow.
qsizetype pastSpaces(const QString &text, qsizetype from);

// The text after prefix on the first line of the answer that starts with it
// (in any case), without the blanks and the CR around it; nullopt when no
// line does.
std::optional<QString> lineWithPrefix(const QString &answer, const QString &prefix);

} // namespace AtAnswer
