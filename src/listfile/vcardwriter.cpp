// SPDX-License-Identifier: GPL-3.0-or-later
#include "vcardwriter.h"

#include "vcardform.h"

#include <QHash>

#include <algorithm>

namespace {

constexpr qsizetype kLineOctets = 75;
const QByteArray kLineEnd = QByteArrayLiteral("\r\n");

bool isUtf8Continuation(char byte)
{
    return (uchar(byte) & 0xC0) == 0x80;
}

// Folds the content line at 75 octets, never inside a character's UTF-8
// sequence; a continuation line begins with one space, which counts.
void appendLine(QByteArray &out, const QByteArray &line)
{
    if (line.size() <= kLineOctets) {
        out += line;
        out += kLineEnd;
        return;
    }
    qsizetype at = 0;
    qsizetype room = kLineOctets;
    while (line.size() - at > room) {
        qsizetype cut = at + room;
        while (cut > at + 1 && isUtf8Continuation(line.at(cut)))
            --cut;
        out += line.mid(at, cut - at);
        out += kLineEnd;
        out += ' ';
        at = cut;
        room = kLineOctets - 1;
    }
    out += line.mid(at);
    out += kLineEnd;
}

// Text as RFC 2426 escapes it. A line break becomes "\n"; the other control
// characters have no place in a content line and are left out (the phone
// shows none of them either). TAB is white space a line may hold.
QString escaped(const QString &text)
{
    const bool plain = std::none_of(text.cbegin(), text.cend(), [](QChar c) {
        return c == u'\\' || c == u',' || c == u';' || c.unicode() < 0x20 || c.unicode() == 0x7F;
    });
    if (plain)
        return text;
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c == u'\\' || c == u',' || c == u';') {
            out += u'\\';
            out += c;
        } else if (c == u'\n' || (c == u'\r' && (i + 1 == text.size() || text.at(i + 1) != u'\n'))) {
            out += QLatin1String("\\n");
        } else if (c == u'\t' || (c.unicode() >= 0x20 && c.unicode() != 0x7F)) {
            out += c;
        }
    }
    return out;
}

struct Property {
    QString group;
    QString name;
    QString parameters; // each with its leading ';'
    QString value;      // already escaped
};

void append(QByteArray &out, const Property &p)
{
    QString line;
    if (!p.group.isEmpty())
        line += p.group + u'.';
    line += p.name + p.parameters + u':' + p.value;
    appendLine(out, line.toUtf8());
}

QString parameter(QLatin1String name, const QString &value)
{
    return u';' + name + u'=' + value;
}

// The type parameter where the number does not imply the type.
QString typeParameter(const QString &number, int type)
{
    if (!VCardForm::isKeptType(type) || type == PhonebookCommands::numberType(number))
        return QString();
    return parameter(VCardForm::kTypeParameter, QString::number(type));
}

int adTypeOf(const UsimFields &fields)
{
    bool ok = false;
    const int type = fields.adType.toInt(&ok);
    return ok ? type : 0;
}

QLatin1String writtenType(char suffix)
{
    for (const VCardForm::Suffix &s : VCardForm::kSuffixes) {
        if (s.letter == suffix)
            return s.written;
    }
    return QLatin1String();
}

// The properties of one entry, all in group (empty for none).
void appendEntry(QByteArray &out, const PhonebookEntry &entry, const QString &group)
{
    const auto add = [&](const QString &name, const QString &parameters, const QString &value) {
        if (!value.isEmpty())
            append(out, {group, name, parameters, escaped(value)});
    };
    const UsimFields &f = entry.fields;

    const QString number = VCardForm::withPlus(entry.number, entry.type);
    QString telParameters;
    if (const char suffix = VCardForm::suffixOf(entry.name))
        telParameters = parameter(QLatin1String("TYPE"), writtenType(suffix));
    add(QStringLiteral("TEL"), telParameters + typeParameter(number, entry.type), number);

    const int adType = adTypeOf(f);
    const QString adNumber = VCardForm::withPlus(f.adNumber, adType);
    add(QStringLiteral("TEL"),
        parameter(VCardForm::kFieldParameter, VCardForm::kSecondNumber) + typeParameter(adNumber, adType),
        adNumber);
    add(QStringLiteral("EMAIL"), QString(), f.email);
    add(QStringLiteral("CATEGORIES"), QString(), f.group);
    add(QStringLiteral("NICKNAME"), QString(), f.secondText);
    if (!f.sipUri.isEmpty()) {
        const bool schemed = f.sipUri.startsWith(VCardForm::kSipScheme, Qt::CaseInsensitive);
        add(QStringLiteral("IMPP"), QString(), schemed ? f.sipUri : VCardForm::kSipScheme + f.sipUri);
    }
    add(QStringLiteral("TEL"),
        parameter(QLatin1String("VALUE"), QStringLiteral("uri"))
            + parameter(VCardForm::kFieldParameter, VCardForm::kTelUri),
        f.telUri);
    add(VCardForm::kHiddenProperty, QString(), f.hidden);
    add(VCardForm::kUnknownFieldsProperty, QString(), f.unknownForm);
}

// One card: entries holds one entry, or the suffixed entries of one name.
void appendCard(QByteArray &out, const PhonebookEntries &entries, const QString &name)
{
    out += "BEGIN:VCARD\r\nVERSION:3.0\r\n";
    append(out, {QString(), QStringLiteral("FN"), QString(), escaped(name)});
    append(out, {QString(), QStringLiteral("N"), QString(), escaped(name) + QLatin1String(";;;;")});
    for (qsizetype i = 0; i < entries.size(); ++i) {
        // Properties without a group belong to the card's first number; a
        // later entry's fields need a group to find theirs. Address books
        // that ignore groups (abook) pass a grouped TEL over, so no TEL is
        // grouped without need.
        const bool grouped = i > 0 && !entries.at(i).fields.isEmpty();
        appendEntry(out, entries.at(i), grouped ? QStringLiteral("entry%1").arg(i + 1) : QString());
    }
    out += "END:VCARD\r\n";
}

QString baseName(const QString &name)
{
    return VCardForm::suffixOf(name) ? name.chopped(2) : QString();
}

}

namespace VCardWriter {

QByteArray write(const PhonebookEntries &entries)
{
    // How many entries carry a suffix after each name, to know which of them
    // share a card.
    QHash<QString, int> suffixed;
    for (const PhonebookEntry &entry : entries) {
        if (!entry.isEmpty() && VCardForm::suffixOf(entry.name))
            ++suffixed[baseName(entry.name)];
    }

    struct Card {
        QString name;
        PhonebookEntries entries;
    };
    QList<Card> cards;
    QHash<QString, qsizetype> sharedCards; // by the name they share
    for (const PhonebookEntry &entry : entries) {
        if (entry.isEmpty())
            continue;
        const QString base = baseName(entry.name);
        if (!VCardForm::suffixOf(entry.name) || suffixed.value(base) < 2) {
            cards.append({entry.name, {entry}});
            continue;
        }
        const auto found = sharedCards.constFind(base);
        if (found != sharedCards.cend()) {
            cards[*found].entries.append(entry);
            continue;
        }
        sharedCards.insert(base, cards.size());
        cards.append({base, {entry}});
    }

    QByteArray out;
    out.reserve(entries.size() * 96);
    for (const Card &card : cards)
        appendCard(out, card.entries, card.name);
    return out;
}

}
