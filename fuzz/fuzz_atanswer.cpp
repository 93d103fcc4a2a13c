// The phone's answer as the transaction sees it: any bytes the serial line
// may bring, through the final-result test, the removal of unsolicited codes
// and the cleaning that IOP hands on.
#include "atanswer.h"
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
        Fuzz::check(cleaned == AtAnswer::kError, "an error answer cleans to ERROR");
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
    checkTrimSpaces(buffer);
    return 0;
}
