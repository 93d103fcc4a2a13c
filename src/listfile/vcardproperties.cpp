#include "vcardproperties.h"

#include "hexdigit.h"
#include "singlebytecodec.h"

#include <QStringDecoder>

#include <algorithm>
#include <optional>
#include <utility>

namespace VCardProperties {

namespace {

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

QByteArray fromQuotedPrintable(const QByteArray &value)
{
    QByteArray out;
    out.reserve(value.size());
    for (qsizetype i = 0; i < value.size(); ++i) {
        const int high = i + 2 < value.size() ? hexDigitValue(uchar(value.at(i + 1))) : -1;
        const int low = high < 0 ? -1 : hexDigitValue(uchar(value.at(i + 2)));
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

} // namespace

QList<Card> cardsOf(const QByteArray &bytes, int *unfinished)
{
    QList<Card> cards;
    int depth = 0;
    for (const QByteArray &line : contentLines(physicalLines(withoutByteOrderMark(bytes)))) {
        std::optional<Property> p = propertyOf(line);
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
            cards.back().append(std::move(*p));
        }
    }
    if (depth > 0) {
        cards.removeLast();
        ++*unfinished;
    }
    return cards;
}

}
