// SPDX-License-Identifier: GPL-3.0-or-later
#include "vcardreader.h"

#include "dialnumber.h"
#include "vcardform.h"
#include "vcardproperties.h"

#include <algorithm>
#include <optional>

namespace {

using VCardProperties::Card;
using VCardProperties::Property;

// --- Values --------------------------------------------------------------

// The pieces of an escaped value split where separator stands unescaped
// (none: the value is one piece), each unescaped, control characters made
// spaces.
QStringList pieces(const QString &value, std::optional<QChar> separator)
{
    const bool plain = std::none_of(value.cbegin(), value.cend(), [&](QChar c) {
        return c == u'\\' || c == separator || c.unicode() < 0x20 || c.unicode() == 0x7F;
    });
    if (plain)
        return {value};
    QStringList out(1);
    for (qsizetype i = 0; i < value.size(); ++i) {
        QChar c = value.at(i);
        if (c == separator) {
            out.append(QString());
            continue;
        }
        if (c == u'\\' && i + 1 < value.size()) {
            c = value.at(++i);
            if (c == u'n' || c == u'N')
                c = u'\n';
        }
        out.back() += (c.unicode() < 0x20 || c.unicode() == 0x7F) ? QChar(u' ') : c;
    }
    return out;
}

QString text(const QString &value)
{
    return pieces(value, std::nullopt).constFirst();
}

QString joined(const QStringList &parts)
{
    QStringList present;
    for (const QString &part : parts) {
        if (!part.isEmpty())
            present.append(part);
    }
    return present.join(u' ');
}

QString nameOf(const Card &card)
{
    const auto first = [&](const char *name) {
        for (const Property &p : card) {
            if (p.name == name)
                return p.value;
        }
        return QString();
    };
    const QString fn = text(first("FN"));
    if (!fn.isEmpty())
        return fn;
    // family; given; additional; prefixes; suffixes
    QStringList n = pieces(first("N"), u';');
    n.resize(5);
    const QString put = joined({n.at(3), n.at(1), n.at(2), n.at(0), n.at(4)});
    return put.isEmpty() ? pieces(first("ORG"), u';').constFirst() : put;
}

bool isDialled(QChar c)
{
    return (c >= u'0' && c <= u'9') || c == u'+' || c == u'*' || c == u'#' || c == u'p' || c == u'w'
        || c == u'P' || c == u'W';
}

// What a phone dials from a TEL value, without the spaces, dashes (any
// Unicode dash), dots and parentheses that only make it readable: empty for
// none, nullopt when it holds a character no phone dials. A tel: URI's
// parameters are passed over but its extension, which the phone dials after
// a pause.
std::optional<QString> dialled(const QString &value)
{
    QString number = text(value);
    if (number.startsWith(VCardForm::kTelScheme, Qt::CaseInsensitive)) {
        QStringList parts = number.mid(VCardForm::kTelScheme.size()).split(u';');
        number = parts.takeFirst();
        for (const QString &part : parts) {
            if (part.startsWith(QLatin1String("ext="), Qt::CaseInsensitive))
                number += u'p' + part.mid(4);
        }
        number = QString::fromUtf8(QByteArray::fromPercentEncoding(number.toUtf8()));
    }
    QString out;
    for (const QChar c : number) {
        if (isDialled(c))
            out += c;
        else if (!DialNumber::isSeparator(c))
            return std::nullopt;
    }
    return out;
}

// The phone's type a TEL carries, else the one its number implies.
int typeOf(const Property &tel, const QString &number)
{
    bool ok = false;
    const int type = tel.parameter(VCardForm::kTypeParameter.data()).toInt(&ok);
    return ok && VCardForm::isKeptType(type) ? type : PhonebookCommands::numberType(number);
}

char suffixOf(const Property &tel)
{
    for (const VCardForm::Suffix &suffix : VCardForm::kSuffixes) {
        for (const QLatin1String type : suffix.read) {
            if (!type.isEmpty() && tel.hasType(type))
                return suffix.letter;
        }
    }
    return VCardForm::kSuffixes.back().letter;
}

QByteArray fieldMark(const Property &tel)
{
    return tel.parameter(VCardForm::kFieldParameter.data()).toUpper();
}

// --- Entries -------------------------------------------------------------

void setOnce(QString &field, const QString &value)
{
    if (field.isEmpty())
        field = value;
}

// Gives a property that is not a number to dial to its entry.
void addField(PhonebookEntry &entry, const Property &p, int *skipped)
{
    UsimFields &f = entry.fields;
    const QByteArray mark = p.name == "TEL" ? fieldMark(p) : QByteArray();
    if (mark == VCardForm::kSecondNumber.data() && f.adNumber.isEmpty()) {
        const std::optional<QString> number = dialled(p.value);
        if (!number) {
            ++*skipped;
        } else if (!number->isEmpty()) {
            const int type = typeOf(p, *number);
            f.adNumber = VCardForm::withPlus(*number, type);
            f.adType = QString::number(type);
        }
    } else if (mark == VCardForm::kTelUri.data()) {
        setOnce(f.telUri, text(p.value));
    } else if (p.name == "EMAIL") {
        setOnce(f.email, text(p.value));
    } else if (p.name == "CATEGORIES") {
        for (const QString &category : pieces(p.value, u',')) {
            if (category != QLatin1String("myContacts"))
                setOnce(f.group, category);
        }
    } else if (p.name == "NICKNAME") {
        setOnce(f.secondText, pieces(p.value, u',').constFirst());
    } else if (p.name == "IMPP") {
        const QString uri = text(p.value);
        if (uri.startsWith(VCardForm::kSipScheme, Qt::CaseInsensitive))
            setOnce(f.sipUri, uri);
    } else if (p.name == VCardForm::kHiddenProperty.data()) {
        setOnce(f.hidden, text(p.value));
    } else if (p.name == VCardForm::kUnknownFieldsProperty.data()) {
        setOnce(f.unknownForm, text(p.value));
    }
}

void addCard(const Card &card, VCardReader::Result &out)
{
    PhonebookEntries entries;
    QList<QByteArray> groups; // each entry's TEL's group
    QList<char> suffixes;
    bool anyNumber = false;
    for (const Property &p : card) {
        if (p.name != "TEL" || !fieldMark(p).isEmpty())
            continue;
        const std::optional<QString> number = dialled(p.value);
        anyNumber = anyNumber || !number || !number->isEmpty();
        if (!number) {
            ++out.skipped;
            continue;
        }
        if (number->isEmpty())
            continue;
        PhonebookEntry entry;
        entry.type = typeOf(p, *number);
        entry.number = VCardForm::withPlus(*number, entry.type);
        entries.append(entry);
        groups.append(p.group);
        suffixes.append(suffixOf(p));
    }
    if (!anyNumber)
        ++out.skipped;
    if (entries.isEmpty())
        return;

    const QString name = nameOf(card);
    for (qsizetype i = 0; i < entries.size(); ++i) {
        entries[i].name = entries.size() > 1 ? name + VCardForm::kSuffixMark + QLatin1Char(suffixes.at(i)) : name;
    }
    for (const Property &p : card) {
        if (p.name == "TEL" && fieldMark(p).isEmpty())
            continue;
        const qsizetype owner = p.group.isEmpty() ? -1 : groups.indexOf(p.group);
        addField(entries[std::max<qsizetype>(owner, 0)], p, &out.skipped);
    }
    for (PhonebookEntry &entry : entries) {
        entry.position = int(out.entries.size()) + 1;
        out.entries.append(entry);
    }
}

}

namespace VCardReader {

Result read(const QByteArray &bytes)
{
    Result out;
    const QList<Card> cards = VCardProperties::cardsOf(bytes, &out.skipped);
    out.entries.reserve(cards.size());
    for (const Card &card : cards)
        addCard(card, out);
    return out;
}

}
