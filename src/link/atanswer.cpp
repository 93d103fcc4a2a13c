#include "atanswer.h"

#include "atcommands.h"

#include <QStringList>

#include <algorithm>
#include <array>

namespace AtAnswer {

using AtCommands::kCmeError;
using AtCommands::kError;
using AtCommands::kOk;

namespace {

const QString kCrLf = QStringLiteral("\r\n");
const QString kOkLine = kCrLf + kOk + kCrLf;
const QString kErrorLine = kCrLf + kError + kCrLf;
const QString kExtendedError = kCrLf + kCmeError;
// What information text ends with: the blank line and the "OK" before the
// final CR LF that the cleaning has already taken.
constexpr int kOkTrailerLength = 6;

const QString kRing = QStringLiteral("RING");
// Vendors' own codes: Huawei's "^RSSI:", "^BOOT:", "^MODE:" ...
constexpr QChar kVendorCode(u'^');
// Named one by one: a rule such as "any line with a + in front" would take
// the information text of the phonebook commands for one.
const std::array<QString, 12> kUnsolicitedPrefixes = {
    QStringLiteral("+CMTI:"),  QStringLiteral("+CLIP:"),  QStringLiteral("+CRING:"),
    QStringLiteral("+CREG:"),  QStringLiteral("+CGREG:"), QStringLiteral("+CEREG:"),
    QStringLiteral("+CMT:"),   QStringLiteral("+CDSI:"),  QStringLiteral("+CBM:"),
    QStringLiteral("+CUSD:"),  QStringLiteral("+CIEV:"),  QStringLiteral("+CCWA:"),
};

// The extended error result line, empty when there is none. It must stand
// on a finished line of its own; a half-received one could still be part of
// information text.
QString extendedErrorLine(const QString &buffer)
{
    const qsizetype start = buffer.indexOf(kExtendedError, 0, Qt::CaseInsensitive);
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
QString finalResultCode(const QString &buffer)
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
    if (buffer.contains(kErrorLine, Qt::CaseInsensitive))
        return kError;
    return extendedErrorLine(buffer);
}

// Whether a whole line of the answer is set aside: it is neither blank (the
// framing), nor the final result code, nor the command's own.
bool setAside(const QString &line, const AnswerFraming &framing)
{
    return !line.trimmed().isEmpty() && !isFinalResultLine(line) && !framing.owns(line);
}

// The whole lines of the buffer that are set aside.
QStringList linesSetAside(const QString &buffer, const AnswerFraming &framing)
{
    const QStringList lines = buffer.split(kCrLf);
    QStringList aside;
    for (int i = 1; i + 1 < lines.size(); ++i) {
        if (setAside(lines.at(i), framing))
            aside.append(lines.at(i));
    }
    return aside;
}

} // namespace

bool isFinalResultLine(const QString &line)
{
    return line.compare(kOk, Qt::CaseInsensitive) == 0 || line.compare(kError, Qt::CaseInsensitive) == 0
        || line.startsWith(kCmeError, Qt::CaseInsensitive);
}

bool isUnsolicited(const QString &line)
{
    if (line == kRing || line.startsWith(kVendorCode))
        return true;
    for (const QString &prefix : kUnsolicitedPrefixes) {
        if (line.startsWith(prefix))
            return true;
    }
    return false;
}

FinalResult finalResult(const QString &buffer)
{
    // An error beside an "OK" in one buffer wins: a failure must never
    // pass for success.
    if (buffer.contains(kErrorLine, Qt::CaseInsensitive) || !extendedErrorLine(buffer).isEmpty())
        return FinalResult::Error;
    if (buffer.contains(kOkLine, Qt::CaseInsensitive))
        return FinalResult::Ok;
    return FinalResult::None;
}

QString framed(const QString &buffer, const AnswerFraming &framing)
{
    // The text before the first CR LF (an echo) and after the last one (a
    // line still arriving) is not a whole line and is never taken out.
    QStringList lines = buffer.split(kCrLf);
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

AtReply reply(const QString &buffer, const AnswerFraming &framing)
{
    AtReply reply;
    reply.unsolicited = linesSetAside(buffer, framing);
    const QString code = finalResultCode(buffer);
    if (code == kOk) {
        reply.final = AtReply::Final::Ok;
        const QString cleaned = clean(buffer, framing);
        if (cleaned != kOk) {
            // A blank line is framing: one a phone doubled, or the blank
            // half of a code's frame that ended CR CR LF.
            for (const QString &line : cleaned.split(kCrLf)) {
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
        if (numeric && isDecimal(reply.cmeText))
            reply.cmeNumber = number;
    }
    return reply;
}

bool isDecimal(const QString &text)
{
    return std::all_of(text.cbegin(), text.cend(), [](QChar c) { return c >= u'0' && c <= u'9'; });
}

QString trimSpaces(const QString &text)
{
    const qsizetype first = pastSpaces(text, 0);
    qsizetype end = text.size();
    while (end > first && text.at(end - 1) == QLatin1Char(' '))
        --end;
    return text.mid(first, end - first);
}

qsizetype pastSpaces(const QString &text, qsizetype from)
{
    while (from < text.size() && text.at(from) == QLatin1Char(' '))
        ++from;
    return from;
}

std::optional<QString> lineWithPrefix(const QString &answer, const QString &prefix)
{
    for (const QString &raw : answer.split(QLatin1Char('\n'))) {
        const QString line = raw.trimmed();
        if (line.startsWith(prefix, Qt::CaseInsensitive))
            return line.mid(prefix.size()).trimmed();
    }
    return std::nullopt;
}

QString clean(const QString &buffer, const AnswerFraming &framing)
{
    QString text = framed(buffer, framing);
    // Information text in front of an error is no answer: cut by the rule
    // for "OK" it would leave a fragment that looks like data.
    if (finalResult(text) == FinalResult::Error)
        return kError;
    text = trimSpaces(text);
    if (text.startsWith(kCrLf))
        text.remove(0, kCrLf.size());
    if (text.endsWith(kCrLf))
        text.chop(kCrLf.size());
    if (text.compare(kOk, Qt::CaseInsensitive) == 0)
        return kOk;
    if (text.compare(kError, Qt::CaseInsensitive) == 0)
        return kError;
    if (text.size() < kOkTrailerLength)
        return QString();
    text.chop(kOkTrailerLength);
    return text;
}

} // namespace AtAnswer
