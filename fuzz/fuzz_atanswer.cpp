// The phone's answer as the transaction sees it: any bytes the serial line
// may bring, through the final-result test, the removal of unsolicited codes
// the cleaning, and the reply the transaction hands on.
#include "atanswer.h"
#include "atcommands.h"
#include "fuzzcheck.h"

#include <QStringList>

using AtAnswer::FinalResult;

namespace {

const QString kCrLf = QStringLiteral("\r\n");

void checkWithoutUnsolicited(const QString &buffer)
{
    const QString kept = AtAnswer::withoutUnsolicited(buffer);
    Fuzz::check(kept.size() <= buffer.size(), "withoutUnsolicited only takes text out");
    if (!buffer.contains(kCrLf))
        Fuzz::check(kept == buffer, "a buffer without a whole line is left alone");
    // The piece after the last CR LF is not a whole line and may still be a
    // code; so may the one before the first, unless the buffer starts with a
    // CR LF (no echo in front) and whole lines only moved up into it.
    const QStringList lines = kept.split(kCrLf);
    for (qsizetype i = buffer.startsWith(kCrLf) ? 0 : 1; i + 1 < lines.size(); ++i)
        Fuzz::check(!AtAnswer::isUnsolicited(lines.at(i)), "no whole unsolicited line is left");
}

void checkFinalResult(const QString &buffer, qsizetype cut)
{
    // The transaction stops at the first final result in a growing buffer,
    // so more text may never take one back.
    if (AtAnswer::finalResult(buffer.left(cut)) != FinalResult::None)
        Fuzz::check(AtAnswer::finalResult(buffer) != FinalResult::None,
                    "a final result stays when more text arrives");
}

void checkClean(const QString &buffer)
{
    const QString cleaned = AtAnswer::clean(buffer);
    Fuzz::check(cleaned.size() <= buffer.size(), "clean only takes text out");
    if (AtAnswer::finalResult(AtAnswer::withoutUnsolicited(buffer)) == FinalResult::Error)
        Fuzz::check(cleaned == AtCommands::kError, "an error answer cleans to ERROR");
}

void checkReply(const QString &buffer)
{
    const AtReply reply = AtAnswer::reply(buffer);
    Fuzz::check(reply.isAnswered() == (AtAnswer::finalResult(buffer) != FinalResult::None),
                "a reply is answered exactly when the answer is complete");
    if (reply.final == AtReply::Final::Ok)
        Fuzz::check(reply.text() == AtAnswer::clean(buffer), "an OK reply's text is the cleaned answer");
    else
        Fuzz::check(reply.lines.isEmpty() && reply.text() == AtCommands::kError,
                    "a reply other than OK has no lines and reads ERROR");
    Fuzz::check(!(reply.isNotFound() && reply.isSimBusy()),
                "an error is not both not found and SIM busy");
}

void checkTrimSpaces(const QString &text)
{
    const QString trimmed = AtAnswer::trimSpaces(text);
    Fuzz::check(!trimmed.startsWith(QLatin1Char(' ')) && !trimmed.endsWith(QLatin1Char(' ')),
                "trimSpaces leaves no space at either end");
    Fuzz::check(text.contains(trimmed), "trimSpaces keeps the inner text whole");
    Fuzz::check(AtAnswer::trimSpaces(trimmed) == trimmed, "trimSpaces twice changes nothing");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes = Fuzz::bytesFrom(data, size);
    const QString buffer = SingleByteCodec::decode(bytes);
    Fuzz::check(SingleByteCodec::encode(buffer) == bytes, "every byte of the line survives decoding");

    const qsizetype cut = size == 0 ? 0 : qsizetype(data[0]) * buffer.size() / 256;
    checkWithoutUnsolicited(buffer);
    checkFinalResult(buffer, cut);
    checkClean(buffer);
    checkReply(buffer);
    checkTrimSpaces(buffer);
    return 0;
}
