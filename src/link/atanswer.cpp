// SPDX-License-Identifier: GPL-3.0-or-later
#include "atanswer.h"

#include "atcommands.h"
#include "textrules.h"

#include <QByteArrayList>

#include <algorithm>
#include <array>

namespace AtAnswer {

using AtCommands::kCmeError;
using AtCommands::kError;
using AtCommands::kOk;

namespace {

const QByteArray kCrLf = QByteArrayLiteral("\r\n");
const QByteArray kOkLine = kCrLf + kOk + kCrLf;
const QByteArray kErrorLine = kCrLf + kError + kCrLf;
const QByteArray kExtendedError = kCrLf + kCmeError;
// What information text ends with: the blank line and the "OK" before the
// final CR LF that the cleaning has already taken.
constexpr int kOkTrailerLength = 6;

const QByteArray kRing = QByteArrayLiteral("RING");
// Vendors' own codes: Huawei's "^RSSI:", "^BOOT:", "^MODE:" ...
constexpr char kVendorCode = '^';
// Named one by one: a rule such as "any line with a + in front" would take
// the information text of the phonebook commands for one.
const std::array<QByteArray, 12> kUnsolicitedPrefixes = {
    QByteArrayLiteral("+CMTI:"),  QByteArrayLiteral("+CLIP:"),  QByteArrayLiteral("+CRING:"),
    QByteArrayLiteral("+CREG:"),  QByteArrayLiteral("+CGREG:"), QByteArrayLiteral("+CEREG:"),
    QByteArrayLiteral("+CMT:"),   QByteArrayLiteral("+CDSI:"),  QByteArrayLiteral("+CBM:"),
    QByteArrayLiteral("+CUSD:"),  QByteArrayLiteral("+CIEV:"),  QByteArrayLiteral("+CCWA:"),
};

qsizetype indexCaseless(const QByteArray &text, QByteArrayView what)
{
    for (qsizetype at = 0; at + what.size() <= text.size(); ++at) {
        if (sameCaseless(QByteArrayView(text).sliced(at, what.size()), what))
            return at;
    }
    return -1;
}

bool containsCaseless(const QByteArray &text, QByteArrayView what)
{
    return indexCaseless(text, what) >= 0;
}

// The extended error result line, empty when there is none. It must stand
// on a finished line of its own; a half-received one could still be part of
// information text.
QByteArray extendedErrorLine(const QByteArray &buffer)
{
    const qsizetype start = indexCaseless(buffer, kExtendedError);
    if (start < 0)
        return {};
    const qsizetype end = buffer.indexOf(kCrLf, start + kExtendedError.size());
    if (end < 0)
        return {};
    return buffer.mid(start + kCrLf.size(), end - start - kCrLf.size());
}

// The final result code that ends a complete answer: "OK", "ERROR" or the
// extended error line as sent ("+CME ERROR: 22"); empty while the answer is
// incomplete.
QByteArray finalResultCode(const QByteArray &buffer)
{
    switch (finalResult(buffer)) {
    case FinalResult::None:
        return {};
    case FinalResult::Ok:
        return kOk;
    case FinalResult::Error:
        break;
    }
    // Should a phone send both, the plain one wins: it tells nothing, so it
    // can never pass a failure off as "not found".
    if (containsCaseless(buffer, kErrorLine))
        return kError;
    return extendedErrorLine(buffer);
}

// Whether a whole line of the answer is set aside: it is neither blank (the
// framing), nor the final result code, nor the command's own.
bool setAside(const QByteArray &line, const AnswerFraming &framing)
{
    return !line.trimmed().isEmpty() && !isFinalResultLine(line) && !framing.owns(line);
}

// The whole lines of the buffer that are set aside.
QByteArrayList linesSetAside(const QByteArray &buffer, const AnswerFraming &framing)
{
    const QByteArrayList lines = splitAtCrLf(buffer);
    QByteArrayList aside;
    for (int i = 1; i + 1 < lines.size(); ++i) {
        if (setAside(lines.at(i), framing))
            aside.append(lines.at(i));
    }
    return aside;
}

} // namespace

QByteArrayList splitAtCrLf(const QByteArray &text)
{
    QByteArrayList pieces;
    qsizetype from = 0;
    for (qsizetype end = text.indexOf(kCrLf); end >= 0; end = text.indexOf(kCrLf, from)) {
        pieces.append(text.mid(from, end - from));
        from = end + kCrLf.size();
    }
    pieces.append(text.mid(from));
    return pieces;
}

bool sameCaseless(QByteArrayView text, QByteArrayView what)
{
    return text.size() == what.size() && text.compare(what, Qt::CaseInsensitive) == 0;
}

bool startsCaseless(QByteArrayView text, QByteArrayView prefix)
{
    return text.size() >= prefix.size() && sameCaseless(text.first(prefix.size()), prefix);
}

bool isFinalResultLine(const QByteArray &line)
{
    return sameCaseless(line, kOk) || sameCaseless(line, kError) || startsCaseless(line, kCmeError);
}

bool isUnsolicited(const QByteArray &line)
{
    if (line == kRing || line.startsWith(kVendorCode))
        return true;
    return std::any_of(kUnsolicitedPrefixes.cbegin(), kUnsolicitedPrefixes.cend(),
                       [&line](const QByteArray &prefix) { return line.startsWith(prefix); });
}

FinalResult finalResult(const QByteArray &buffer)
{
    // An error beside an "OK" in one buffer wins: a failure must never
    // pass for success.
    if (containsCaseless(buffer, kErrorLine) || !extendedErrorLine(buffer).isEmpty())
        return FinalResult::Error;
    if (containsCaseless(buffer, kOkLine))
        return FinalResult::Ok;
    return FinalResult::None;
}

QByteArray framed(const QByteArray &buffer, const AnswerFraming &framing)
{
    // The text before the first CR LF (an echo) and after the last one (a
    // line still arriving) is not a whole line and is never taken out.
    QByteArrayList lines = splitAtCrLf(buffer);
    for (int i = 1; i + 1 < lines.size();) {
        if (!setAside(lines.at(i), framing)) {
            ++i;
            continue;
        }
        // The phone frames the code with a CR LF on each side. Where a
        // neighbour is the blank half of such a frame, both CR LF go with
        // it; between two text lines one CR LF must stay to keep them apart.
        if (lines.at(i - 1).isEmpty() || lines.at(i + 1).isEmpty()) {
            const bool nextMovesUp = lines.at(i - 1).isEmpty() && !lines.at(i + 1).isEmpty();
            lines[i - 1] += lines.at(i + 1);
            lines.remove(i, 2);
            // A code sent right behind this one, without a CR LF of its
            // own in front, has just moved up past the point the loop has
            // examined; it goes with its CR LF, as every one after it.
            while (nextMovesUp && i < lines.size() && setAside(lines.at(i - 1), framing))
                lines.remove(i - 1);
        } else {
            lines.remove(i);
        }
    }
    return lines.join(kCrLf);
}

AtReply reply(const QByteArray &buffer, const AnswerFraming &framing)
{
    AtReply reply;
    reply.unsolicited = linesSetAside(buffer, framing);
    const QByteArray code = finalResultCode(buffer);
    if (code == kOk) {
        reply.final = AtReply::Final::Ok;
        const QByteArray cleaned = clean(buffer, framing);
        if (cleaned != kOk) {
            // A blank line is framing: one a phone doubled, or the blank
            // half of a code's frame that ended CR CR LF.
            for (const QByteArray &line : splitAtCrLf(cleaned)) {
                if (!line.trimmed().isEmpty())
                    reply.lines.append(line);
            }
        }
    } else if (code == kError) {
        reply.final = AtReply::Final::Error;
    } else if (!code.isEmpty()) {
        reply.final = AtReply::Final::CmeError;
        reply.cmeText = code.mid(kCmeError.size()).trimmed();
        bool numeric = false;
        const int number = reply.cmeText.toInt(&numeric);
        if (numeric && TextRules::isDecimal(reply.cmeText))
            reply.cmeNumber = number;
    }
    return reply;
}

QByteArray clean(const QByteArray &buffer, const AnswerFraming &framing)
{
    QByteArray text = framed(buffer, framing);
    // Information text in front of an error is no answer: cut by the rule
    // for "OK" it would leave a fragment that looks like data.
    if (finalResult(text) == FinalResult::Error)
        return kError;
    text = TextRules::trimSpaces(text);
    if (text.startsWith(kCrLf))
        text.remove(0, kCrLf.size());
    if (text.endsWith(kCrLf))
        text.chop(kCrLf.size());
    if (sameCaseless(text, kOk))
        return kOk;
    if (sameCaseless(text, kError))
        return kError;
    if (text.size() < kOkTrailerLength)
        return QByteArray();
    text.chop(kOkTrailerLength);
    return text;
}

} // namespace AtAnswer
