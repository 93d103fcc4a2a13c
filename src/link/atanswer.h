#pragma once

#include <QString>

#include <optional>

// The phone's answer as text: where it ends and what it says. No I/O here,
// so the transaction's framing rules can be checked without a port.
namespace AtAnswer {

inline const QString kOk = QStringLiteral("OK");
inline const QString kError = QStringLiteral("ERROR");
// The extended error result code of 27.007, followed by its number or,
// with +CMEE=2, its text.
inline const QString kCmeError = QStringLiteral("+CME ERROR:");

enum class FinalResult { None, Ok, Error };

// The final result code found so far in a growing answer buffer.
FinalResult finalResult(const QString &buffer);

// The final result code that ends a complete answer: "OK", "ERROR" (in
// whatever case the phone used) or the extended error line as sent
// ("+CME ERROR: 22"). Empty while the answer is incomplete.
QString finalResultCode(const QString &buffer);

// Whether a final result code is 27.007's "not found" (error 22), which a
// phone may answer for an empty phonebook position.
bool isNotFound(const QString &finalResultCode);

// Whether a final result code is 27.007's "SIM busy" (error 14), which a
// phone answers while its SIM is still starting up.
bool isSimBusy(const QString &finalResultCode);

// Whether a whole line is an unsolicited result code (a ring, a new
// message, a network registration ...) that the phone may slip between or
// into answers. The information text of a command the program sends
// ("+CPBR:", "+CPBS:", "+CSCS:") is never one.
bool isUnsolicited(const QString &line);

// The buffer without the unsolicited lines that the phone may slip between
// or into answers.
QString withoutUnsolicited(const QString &buffer);

// The complete answer with its framing and final "OK" removed: "OK",
// "ERROR" or the information text.
QString clean(const QString &buffer);

// The text without leading and trailing spaces; CR, LF and tabs stay.
QString trimSpaces(const QString &text);

// The first position at or after from that holds no space; the text's
// size when only spaces follow.
qsizetype pastSpaces(const QString &text, qsizetype from);

// The text after prefix on the first line of the answer that starts with it
// (in any case), without the blanks and the CR around it; nullopt when no
// line does.
std::optional<QString> lineWithPrefix(const QString &answer, const QString &prefix);

} // namespace AtAnswer
