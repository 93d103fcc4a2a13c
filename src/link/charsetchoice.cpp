#include "charsetchoice.h"

#include "atanswer.h"
#include "atcommands.h"
#include "phonelink.h"

#include <array>

namespace {

using AtCommands::kCharsetPrefix;

// What the phone is moved to from a set whose texts cannot travel, in
// order of preference: UCS2 carries every name.
constexpr std::array<PhoneCharset::Set, 2> kTargets = {PhoneCharset::Set::Ucs2,
                                                       PhoneCharset::Set::Latin1};

QString unquoted(QString text)
{
    text = text.trimmed();
    if (text.size() >= 2 && text.startsWith(QLatin1Char('"')) && text.endsWith(QLatin1Char('"')))
        text = text.mid(1, text.size() - 2);
    return text;
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
std::optional<AtReply> ask(PhoneLink &link, const QString &command)
{
    AtReply reply = link.transact(command);
    if (reply.stops())
        return std::nullopt;
    return reply;
}

} // namespace

namespace CharsetAnswers {

std::optional<QString> parseCurrent(const QString &answer)
{
    const std::optional<QString> value = AtAnswer::lineWithPrefix(answer, kCharsetPrefix);
    if (!value)
        return std::nullopt;
    const QString name = unquoted(*value);
    if (name.isEmpty() || name.contains(QLatin1Char(',')) || name.contains(QLatin1Char('"')))
        return std::nullopt;
    return name;
}

QStringList parseOffered(const QString &answer)
{
    const std::optional<QString> value = AtAnswer::lineWithPrefix(answer, kCharsetPrefix);
    if (!value)
        return {};
    QString list = *value;
    list.remove(QLatin1Char('(')).remove(QLatin1Char(')'));
    QStringList names;
    for (const QString &item : list.split(QLatin1Char(','))) {
        const QString name = unquoted(item);
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
    const std::optional<QString> current = CharsetAnswers::parseCurrent(asked->text());
    if (!current)
        return PhoneCharset();
    const std::optional<PhoneCharset> known = PhoneCharset::named(*current);
    if (known && keptAsItIs(known->set()))
        return *known;

    // Where the phone's own set is not understood, what it stays in is
    // read as the program's single bytes.
    PhoneCharset stay = known.value_or(PhoneCharset());
    const std::optional<AtReply> offers = ask(link, AtCommands::kCharsetsOffered);
    if (!offers)
        return std::nullopt;
    const QStringList offered = CharsetAnswers::parseOffered(offers->text());
    for (const PhoneCharset::Set set : kTargets) {
        const QString target = PhoneCharset(set).name();
        if (!offered.contains(target, Qt::CaseInsensitive))
            continue;
        const std::optional<AtReply> taken = ask(link, AtCommands::kCharsetSelect.arg(target));
        if (!taken)
            return std::nullopt;
        if (!taken->isOk())
            return stay;
        const std::optional<AtReply> after = ask(link, AtCommands::kCharsetQuery);
        if (!after)
            return std::nullopt;
        const std::optional<QString> now = CharsetAnswers::parseCurrent(after->text());
        if (now && now->compare(target, Qt::CaseInsensitive) == 0) {
            if (known && offered.contains(known->name(), Qt::CaseInsensitive))
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
