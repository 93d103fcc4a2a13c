// SPDX-License-Identifier: GPL-3.0-or-later
// The phone's answer as the transaction sees it: any bytes the serial line
// may bring, framed for one of the kinds of command the program sends,
// through the final-result test, the lines set aside, the cleaning, the
// measure of the answer heard and the reply the transaction hands on.
#include "answerframing.h"
#include "answerprogress.h"
#include "atanswer.h"
#include "atcommands.h"
#include "textrules.h"
#include "fuzzcheck.h"

#include <QByteArrayList>

#include <array>

using AtAnswer::FinalResult;

namespace {

const QByteArray kCrLf = QByteArrayLiteral("\r\n");

// A basic command, the model query, a read and a write.
const std::array<QByteArray, 4> kCommands = {QByteArrayLiteral("Z"), QByteArrayLiteral("+CGMM"),
                                             QByteArrayLiteral("+CPBR=1,250"),
                                             QByteArrayLiteral("+CPBW=3,\"0612\",129,\"CARLA\"")};

void checkFramed(const QByteArray &buffer, const AnswerFraming &framing)
{
    const QByteArray kept = AtAnswer::framed(buffer, framing);
    Fuzz::check(kept.size() <= buffer.size(), "framed only takes text out");
    if (!buffer.contains(kCrLf))
        Fuzz::check(kept == buffer, "a buffer without a whole line is left alone");
    // The piece after the last CR LF is not a whole line and may still be a
    // code; so may the one before the first, unless the buffer starts with a
    // CR LF (no echo in front) and whole lines only moved up into it.
    const QByteArrayList lines = AtAnswer::splitAtCrLf(kept);
    for (qsizetype i = buffer.startsWith(kCrLf) ? 0 : 1; i + 1 < lines.size(); ++i)
        Fuzz::check(!AtAnswer::isUnsolicited(lines.at(i)), "no whole unsolicited line is left");
}

void checkFinalResult(const QByteArray &buffer, qsizetype cut)
{
    // The transaction stops at the first final result in a growing buffer,
    // so more text may never take one back.
    if (AtAnswer::finalResult(buffer.left(cut)) != FinalResult::None)
        Fuzz::check(AtAnswer::finalResult(buffer) != FinalResult::None,
                    "a final result stays when more text arrives");
}

void checkClean(const QByteArray &buffer, const AnswerFraming &framing)
{
    const QByteArray cleaned = AtAnswer::clean(buffer, framing);
    Fuzz::check(cleaned.size() <= buffer.size(), "clean only takes text out");
    if (AtAnswer::finalResult(AtAnswer::framed(buffer, framing)) == FinalResult::Error)
        Fuzz::check(cleaned == AtCommands::kError, "an error answer cleans to ERROR");
}

void checkProgress(const QByteArray &buffer, qsizetype cut, const AnswerFraming &framing)
{
    AnswerProgress whole(framing);
    const qsizetype measured = whole.measure(buffer);
    Fuzz::check(measured <= buffer.size(), "the answer heard is part of the buffer");
    AnswerProgress growing(framing);
    growing.measure(buffer.left(cut));
    Fuzz::check(growing.measure(buffer) == measured, "an answer measured as it grows measures as a whole");
}

void checkReply(const QByteArray &buffer, const AnswerFraming &framing)
{
    const AtReply reply = AtAnswer::reply(buffer, framing);
    Fuzz::check(reply.isAnswered() == (AtAnswer::finalResult(buffer) != FinalResult::None),
                "a reply is answered exactly when the answer is complete");
    if (reply.final == AtReply::Final::Ok) {
        const QByteArrayList cleaned = AtAnswer::splitAtCrLf(AtAnswer::clean(buffer, framing));
        for (const QByteArray &line : reply.lines)
            Fuzz::check(!line.trimmed().isEmpty() && cleaned.contains(line),
                        "an OK reply's lines are the cleaned answer's, without blank ones");
    } else
        Fuzz::check(reply.lines.isEmpty() && reply.text() == AtCommands::kError,
                    "a reply other than OK has no lines and reads ERROR");
    Fuzz::check(!(reply.isNotFound() && reply.isSimBusy()),
                "an error is not both not found and SIM busy");
}

void checkTrimSpaces(const QByteArray &text)
{
    const QByteArray trimmed = TextRules::trimSpaces(text);
    Fuzz::check(!trimmed.startsWith(' ') && !trimmed.endsWith(' '),
                "trimSpaces leaves no space at either end");
    Fuzz::check(text.contains(trimmed), "trimSpaces keeps the inner text whole");
    Fuzz::check(TextRules::trimSpaces(trimmed) == trimmed, "trimSpaces twice changes nothing");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray buffer = Fuzz::bytesFrom(data, size);

    const qsizetype cut = size == 0 ? 0 : qsizetype(data[0]) * buffer.size() / 256;
    const AnswerFraming framing(kCommands.at(size == 0 ? 0 : data[size - 1] % kCommands.size()));
    checkFramed(buffer, framing);
    checkFinalResult(buffer, cut);
    checkClean(buffer, framing);
    checkReply(buffer, framing);
    checkProgress(buffer, cut, framing);
    checkTrimSpaces(buffer);
    return 0;
}
