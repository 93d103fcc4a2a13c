#include "vcardreader.h"

#include "singlebytecodec.h"
#include "vcardform.h"

#include <QStringDecoder>

#include <algorithm>
#include <optional>

namespace {

using Parameter = std::pair<QByteArray, QByteArray>; // name in upper case, value

struct Property {
    QByteArray group;
    QByteArray name; // upper case
    QList<Parameter> parameters;
    QString value;   // decoded, still escaped

    QByteArray parameter(QByteArrayView wanted) const
    {
        for (const Parameter &p : parameters) {
            if (p.first == wanted)
                return p.second;
        }
        return QByteArray();
    }
    bool hasType(QLatin1String type) const
    {
        return std::any_of(parameters.cbegin(), parameters.cend(), [&](const Parameter &p) {
            return p.first == "TYPE" && QLatin1String(p.second).compare(type, Qt::CaseInsensitive) == 0;
        });
    }
};

using Card = QList<Property>;

// --- Lines -------------------------------------------------------------

// The file as UTF-8 or single bytes, whatever byte-order mark it begins with.
QByteArray withoutByteOrderMark(const QByteArray &bytes)
{
    if (bytes.startsWith("\xEF\xBB\xBF"))
        return bytes.mid(3);
    for (const auto encoding : {QStringConverter::Utf16LE, QStringConverter::Utf16BE}) {
        const QByteArray mark = encoding == QStringConverter::Utf16LE ? "\xFF\xFE" : "\xFE\xFF";
        if (bytes.startsWith(mark)) {
            QStringDecoder decoder(encoding);
            return QString(decoder(bytes.mid(2))).toUtf8();
        }
    }
    return bytes;
}

QList<QByteArray> physicalLines(const QByteArray &text)
{
    QList<QByteArray> out;
    qsizetype start = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char c = text.at(i);
        if (c != '\n' && c != '\r')
            continue;
        out.append(text.mid(start, i - start));
        if (c == '\r' && i + 1 < text.size() && text.at(i + 1) == '\n')
            ++i;
        start = i + 1;
    }
    if (start < text.size())
        out.append(text.mid(start));
    return out;
}

// Where the value begins: past the first colon outside a quoted parameter.
qsizetype valueColon(const QByteArray &line)
{
    bool quoted = false;
    for (qsizetype i = 0; i < line.size(); ++i) {
        if (line.at(i) == '"')
            quoted = !quoted;
        else if (line.at(i) == ':' && !quoted)
            return i;
    }
    return -1;
}

bool isQuotedPrintable(const QByteArray &line)
{
    const qsizetype colon = valueColon(line);
    return colon > 0 && line.left(colon).toUpper().contains("QUOTED-PRINTABLE");
}

// Content lines: folded lines joined (the continuation's first space or tab
// dropped), and a quoted-printable value's soft line breaks removed.
QList<QByteArray> contentLines(const QList<QByteArray> &lines)
{
    QList<QByteArray> out;
    for (const QByteArray &line : lines) {
        if (!out.isEmpty() && out.back().endsWith('=') && isQuotedPrintable(out.back())) {
            out.back().chop(1);
            out.back() += line;
        } else if (!out.isEmpty() && (line.startsWith(' ') || line.startsWith('\t'))) {
            out.back() += line.mid(1);
        } else if (!line.isEmpty()) {
            out.append(line);
        }
    }
    return out;
}

// --- Properties ----------------------------------------------------------

int hexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

QByteArray fromQuotedPrintable(const QByteArray &value)
{
    QByteArray out;
    out.reserve(value.size());
    for (qsizetype i = 0; i < value.size(); ++i) {
        const int high = i + 2 < value.size() ? hexValue(value.at(i + 1)) : -1;
        const int low = high < 0 ? -1 : hexValue(value.at(i + 2));
        if (value.at(i) == '=' && low >= 0) {
            out += char(high * 16 + low);
            i += 2;
        } else {
            out += value.at(i);
        }
    }
    return out;
}

bool isAscii(const QByteArray &bytes)
{
    return std::all_of(bytes.cbegin(), bytes.cend(), [](char c) { return uchar(c) < 0x80; });
}

QString textOf(const QByteArray &bytes, const QByteArray &charset)
{
    if (isAscii(bytes))
        return QString::fromLatin1(bytes);
    if (!charset.isEmpty()) {
        QStringDecoder decoder(charset.constData(), QStringConverter::Flag::Stateless);
        // Through UTF-8 and back: a UTF-16 charset may leave a lone
        // surrogate, which no file this program saves could hold.
        if (decoder.isValid())
            return QString::fromUtf8(QString(decoder(bytes)).toUtf8());
    }
    QStringDecoder utf8(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
    const QString text = utf8(bytes);
    return utf8.hasError() ? SingleByteCodec::decode(bytes) : text;
}

QByteArray unquoted(const QByteArray &value)
{
    if (value.size() >= 2 && value.startsWith('"') && value.endsWith('"'))
        return value.mid(1, value.size() - 2);
    return value;
}

// Parameters as NAME=VALUE, each of a comma list apart; 2.1's bare values
// (TEL;CELL, N;QUOTED-PRINTABLE) are types or encodings.
void addParameter(QList<Parameter> &out, const QByteArray &text)
{
    const qsizetype equals = text.indexOf('=');
    QByteArray name = equals < 0 ? QByteArray() : text.left(equals).trimmed().toUpper();
    const QByteArray value = unquoted(text.mid(equals + 1).trimmed());
    if (name.isEmpty()) {
        const QByteArray upper = value.toUpper();
        const bool encoding = upper == "QUOTED-PRINTABLE" || upper == "BASE64" || upper == "8BIT" || upper == "7BIT";
        name = encoding ? "ENCODING" : "TYPE";
    }
    if (name != "TYPE") {
        out.append({name, value});
        return;
    }
    for (const QByteArray &type : value.split(','))
        out.append({name, unquoted(type.trimmed())});
}

std::optional<Property> propertyOf(const QByteArray &line)
{
    const qsizetype colon = valueColon(line);
    if (colon < 0)
        return std::nullopt;
    Property p;
    QList<QByteArray> head;
    qsizetype start = 0;
    bool quoted = false;
    for (qsizetype i = 0; i <= colon; ++i) {
        if (i < colon && line.at(i) == '"')
            quoted = !quoted;
        if (i == colon || (line.at(i) == ';' && !quoted)) {
            head.append(line.mid(start, i - start));
            start = i + 1;
        }
    }
    const QByteArray name = head.takeFirst().trimmed();
    const qsizetype dot = name.lastIndexOf('.');
    p.group = dot < 0 ? QByteArray() : name.left(dot).toUpper();
    p.name = name.mid(dot + 1).toUpper();
    for (const QByteArray &parameter : head)
        addParameter(p.parameters, parameter);

    QByteArray value = line.mid(colon + 1);
    const QByteArray encoding = p.parameter("ENCODING").toUpper();
    if (encoding == "QUOTED-PRINTABLE")
        value = fromQuotedPrintable(value);
    else if (encoding == "B" || encoding == "BASE64")
        value = QByteArray::fromBase64(value);
    p.value = textOf(value, p.parameter("CHARSET"));
    return p;
}

// The cards of the file, each its properties; cards inside a card (2.1's
// AGENT) are passed over. A card the file ends in is counted, not read.
QList<Card> cardsOf(const QByteArray &bytes, int *unfinished)
{
    QList<Card> cards;
    int depth = 0;
    for (const QByteArray &line : contentLines(physicalLines(withoutByteOrderMark(bytes)))) {
        const std::optional<Property> p = propertyOf(line);
        if (!p)
            continue;
        const bool card = (p->name == "BEGIN" || p->name == "END")
            && p->value.trimmed().compare(QLatin1String("VCARD"), Qt::CaseInsensitive) == 0;
        if (p->name == "BEGIN" && card) {
            if (++depth == 1)
                cards.append(Card());
        } else if (p->name == "END" && card && depth > 0) {
            --depth;
        } else if (depth == 1) {
            cards.back().append(*p);
        }
    }
    if (depth > 0) {
        cards.removeLast();
        ++*unfinished;
    }
    return cards;
}

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

// What a phone dials from a TEL value: empty for none, nullopt when it holds
// a character no phone dials. A tel: URI's parameters are passed over but
// its extension, which the phone dials after a pause.
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
        else if (!(c.isSpace() || c == u'-' || c == u'.' || c == u'(' || c == u')'))
            return std::nullopt;
    }
    return out;
}

// The phone's type a TEL carries, else the one its number implies.
int typeOf(const Property &tel, const QString &number)
{
    bool ok = false;
    const int type = tel.parameter(VCardForm::kTypeParameter.data()).toInt(&ok);
    return ok && VCardForm::isKeptType(type) ? type : VCardForm::impliedType(number);
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
    for (const Card &card : cardsOf(bytes, &out.skipped))
        addCard(card, out);
    return out;
}

}
