// SPDX-License-Identifier: GPL-3.0-or-later
// One position's answer to "+CPBR=i": whatever it holds, the entry that comes
// out must be one the list and the write-back can carry.
#include "fuzzcheck.h"
#include "phonebookanswers.h"
#include "phonebookcommands.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <climits>


namespace {

const int kInternational = PhonebookCommands::kInternationalType;

void checkEntry(const std::optional<PhonebookEntry> &entry)
{
    if (!entry)
        return;
    Fuzz::check(!entry->name.contains(QLatin1Char('"')), "the name ends at its first quote");
    Fuzz::check(entry->type >= 0, "the type is never negative");
    if (entry->type == kInternational && !entry->number.isEmpty())
        Fuzz::check(entry->number.startsWith(QLatin1Char('+')), "an international number keeps its plus");
}

QByteArray fieldFrom(FuzzedDataProvider &provider, size_t most)
{
    return QByteArray::fromStdString(provider.ConsumeRandomLengthString(most));
}

// A well-formed answer built from the fuzzer's fields gives them back, alone
// and with an unsolicited code on either side.
void checkWellFormed(FuzzedDataProvider &provider)
{
    const int position = provider.ConsumeIntegralInRange<int>(0, INT_MAX);
    const int type = provider.ConsumeBool() ? kInternational : provider.ConsumeIntegralInRange<int>(0, INT_MAX);
    const QByteArray number = fieldFrom(provider, 40);
    const QByteArray name = fieldFrom(provider, 80);
    // Text the answer's own syntax cannot hold: a quote may end the number
    // before the comma that follows it, spaces between.
    if (number.contains('"') || name.contains('"'))
        return;
    for (const char end : {'\r', '\n'}) {
        if (number.contains(end) || name.contains(end))
            return;
    }

    const QByteArray line = "+CPBR: " + QByteArray::number(position) + ",\"" + number + "\","
        + QByteArray::number(type) + ",\"" + name + '"';
    // The number as it stands, the name in the default set.
    QString expectedNumber = SingleByteCodec::decode(number);
    if (type == kInternational && !number.isEmpty() && !number.startsWith('+'))
        expectedNumber.prepend(QLatin1Char('+'));

    const QByteArray answers[] = {
        line,
        "RING\r\n\r\n" + line,
        line + "\r\n\r\n+CMTI: \"SM\",3",
    };
    for (const QByteArray &answer : answers) {
        const std::optional<PhonebookEntry> entry = PhonebookAnswers::parseEntry(answer);
        Fuzz::check(entry.has_value(), "a well-formed answer is taken");
        Fuzz::check(entry->position == position, "the position comes back");
        Fuzz::check(entry->number == expectedNumber, "the number comes back");
        Fuzz::check(entry->type == type, "the type comes back");
        Fuzz::check(entry->name == SingleByteCodec::decode(name), "the name comes back");
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray text = Fuzz::bytesFrom(data, size);
    checkEntry(PhonebookAnswers::parseEntry(text));
    // The phone's other sets turn the same name into text or refuse it;
    // only a hex set can carry a quote inside a name.
    for (const auto set : {PhoneCharset::Set::Gsm, PhoneCharset::Set::Utf8, PhoneCharset::Set::Ucs2,
                           PhoneCharset::Set::Hex}) {
        const std::optional<PhonebookEntry> entry = PhonebookAnswers::parseEntry(text, PhoneCharset(set));
        if (!PhoneCharset(set).isHex())
            checkEntry(entry);
    }

    FuzzedDataProvider provider(data, size);
    checkWellFormed(provider);
    return 0;
}
