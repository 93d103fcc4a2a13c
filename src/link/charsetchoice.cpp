// SPDX-License-Identifier: GPL-3.0-or-later
#include "charsetchoice.h"

#include "atanswer.h"
#include "atcommands.h"
#include "phonelink.h"

#include <algorithm>
#include <array>

namespace {

using AtCommands::kCharsetPrefix;

// What the phone is moved to from a set whose texts cannot travel, in
// order of preference: UCS2 carries every name.
constexpr std::array<PhoneCharset::Set, 2> kTargets = {PhoneCharset::Set::Ucs2,
                                                       PhoneCharset::Set::Latin1};

using AtCommands::kQuote;

QByteArray unquoted(QByteArray text)
{
    text = text.trimmed();
    if (text.size() >= 2 && text.startsWith(kQuote) && text.endsWith(kQuote))
        text = text.mid(1, text.size() - 2);
    return text;
}

// The text after the prefix on the first line of the answer that opens
// with it (in any case), without the blanks and the CR around it.
std::optional<QByteArray> lineWithPrefix(const QByteArray &answer, const QByteArray &prefix)
{
    for (const QByteArray &raw : answer.split('\n')) {
        const QByteArray line = raw.trimmed();
        if (AtAnswer::startsCaseless(line, prefix))
            return line.mid(prefix.size()).trimmed();
    }
    return std::nullopt;
}

bool isOffered(const QByteArrayList &offered, const QByteArray &name)
{
    return std::any_of(offered.cbegin(), offered.cend(),
                       [&name](const QByteArray &o) { return AtAnswer::sameCaseless(o, name); });
}

// Sets in which every text travels as it is, so the phone is left alone:
// some phones take UCS2 well in their answers but not in +CPBW, so a set
// that works is never traded for another. IRA is 7-bit: it cannot carry an
// accented name.
bool keptAsItIs(PhoneCharset::Set set)
{
    return set != PhoneCharset::Set::Gsm && set != PhoneCharset::Set::Hex
        && set != PhoneCharset::Set::Ira;
}

// The reply; nullopt when the link failed or the user gave up.
std::optional<AtReply> ask(PhoneLink &link, const QByteArray &command)
{
    AtReply reply = link.IOP(command);
    if (reply.stops())
        return std::nullopt;
    return reply;
}

} // namespace

namespace CharsetAnswers {

std::optional<QByteArray> parseCurrent(const QByteArray &answer)
{
    const std::optional<QByteArray> value = lineWithPrefix(answer, kCharsetPrefix);
    if (!value)
        return std::nullopt;
    const QByteArray name = unquoted(*value);
    if (name.isEmpty() || name.contains(AtCommands::kSeparator) || name.contains(kQuote))
        return std::nullopt;
    return name;
}

QByteArrayList parseOffered(const QByteArray &answer)
{
    const std::optional<QByteArray> value = lineWithPrefix(answer, kCharsetPrefix);
    if (!value)
        return {};
    QByteArray list = *value;
    list.replace('(', QByteArray()).replace(')', QByteArray());
    QByteArrayList names;
    for (const QByteArray &item : list.split(AtCommands::kSeparator)) {
        const QByteArray name = unquoted(item);
        if (!name.isEmpty())
            names.append(name);
    }
    return names;
}

}

std::optional<PhoneCharset> chooseCharset(PhoneLink &link)
{
    const std::optional<AtReply> asked = ask(link, AtCommands::kCharsetQuery);
    if (!asked)
        return std::nullopt;
    const std::optional<QByteArray> current = CharsetAnswers::parseCurrent(asked->text());
    if (!current)
        return PhoneCharset();
    const std::optional<PhoneCharset> known = PhoneCharset::named(*current);
    if (known && keptAsItIs(known->set()))
        return *known;

    // Where the phone's own set is not understood, what it stays in is
    // read as the program's single bytes.
    PhoneCharset stay = known.value_or(PhoneCharset());
    const std::optional<AtReply> offerReply = ask(link, AtCommands::kCharsetsOffered);
    if (!offerReply)
        return std::nullopt;
    const QByteArrayList offered = CharsetAnswers::parseOffered(offerReply->text());
    for (const PhoneCharset::Set set : kTargets) {
        const QByteArray target = PhoneCharset(set).name();
        if (!isOffered(offered, target))
            continue;
        const std::optional<AtReply> taken = ask(link, AtCommands::kCharsetSelect + AtCommands::quoted(target));
        if (!taken)
            return std::nullopt;
        if (!taken->isOk())
            return stay;
        const std::optional<AtReply> after = ask(link, AtCommands::kCharsetQuery);
        if (!after)
            return std::nullopt;
        const std::optional<QByteArray> now = CharsetAnswers::parseCurrent(after->text());
        if (now && AtAnswer::sameCaseless(*now, target)) {
            if (known && isOffered(offered, known->name()))
                link.setHomeCharset(*known);
            return PhoneCharset(set);
        }
        // Taken but not read back: the set the phone says it has, if any.
        if (now && PhoneCharset::named(*now))
            stay = *PhoneCharset::named(*now);
        return stay;
    }
    return stay;
}
