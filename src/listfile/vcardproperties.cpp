// SPDX-License-Identifier: GPL-3.0-or-later
#include "vcardproperties.h"

#include "hexdigit.h"
#include "namedcharset.h"
#include "singlebytecodec.h"

#include <QStringDecoder>

#include <algorithm>
#include <optional>
#include <utility>

namespace VCardProperties {

namespace {

// --- Lines -------------------------------------------------------------

const QByteArray kUtf8Mark = QByteArrayLiteral("\xEF\xBB\xBF");
const QByteArray kBegin = QByteArrayLiteral("BEGIN:VCARD");
const QByteArray kEnd = QByteArrayLiteral("END:VCARD");

// The file as UTF-8 or single bytes, whatever byte-order mark it begins with.
QByteArray withoutByteOrderMark(const QByteArray &bytes)
{
    if (bytes.startsWith(kUtf8Mark))
        return bytes.mid(kUtf8Mark.size());
    for (const auto encoding : {QStringConverter::Utf16LE, QStringConverter::Utf16BE}) {
        const QByteArray mark = encoding == QStringConverter::Utf16LE ? "\xFF\xFE" : "\xFE\xFF";
        if (bytes.startsWith(mark)) {
            QStringDecoder decoder(encoding);
            return QString(decoder(bytes.mid(2))).toUtf8();
        }
    }
    return bytes;
}

bool startsWithNoCase(const QByteArray &line, const QByteArray &start)
{
    return line.size() >= start.size() && line.left(start.size()).toUpper() == start;
}

enum class Boundary { None, Begin, End };

bool isContinuation(const QByteArray &line)
{
    return line.startsWith(' ') || line.startsWith('\t');
}

// Whether the line opens or closes a card, whatever its case and the white
// space after it.
Boundary boundaryOf(const QByteArray &line)
{
    if (isContinuation(line))
        return Boundary::None;
    const QByteArray upper = line.trimmed().toUpper();
    return upper == kBegin ? Boundary::Begin : upper == kEnd ? Boundary::End : Boundary::None;
}

QByteArray withoutMarks(QByteArray line)
{
    while (line.startsWith(kUtf8Mark))
        line.remove(0, kUtf8Mark.size());
    return line;
}

// Appends a line as files joined with cat leave it: a byte-order mark at
// its start, each file's own, is set aside; a card that a file without its
// final line end closes shares its line with the next file's BEGIN, which
// then stands on a line of its own.
void appendPhysicalLine(QList<QByteArray> &out, const QByteArray &line)
{
    const QByteArray text = withoutMarks(line);
    const QByteArray after = startsWithNoCase(text, kEnd) ? withoutMarks(text.mid(kEnd.size())) : QByteArray();
    if (startsWithNoCase(after, kBegin)) {
        out.append(text.left(kEnd.size()));
        out.append(after);
    } else {
        out.append(text);
    }
}

QList<QByteArray> physicalLines(const QByteArray &text)
{
    QList<QByteArray> out;
    qsizetype start = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char c = text.at(i);
        if (c != '\n' && c != '\r')
            continue;
        appendPhysicalLine(out, text.mid(start, i - start));
        if (c == '\r' && i + 1 < text.size() && text.at(i + 1) == '\n')
            ++i;
        start = i + 1;
    }
    if (start < text.size())
        appendPhysicalLine(out, text.mid(start));
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
// dropped), and a quoted-printable value's soft line breaks removed. A card's
// BEGIN or END is never the continuation of a soft line break: the value
// ends before it.
QList<QByteArray> contentLines(const QList<QByteArray> &lines)
{
    QList<QByteArray> out;
    for (const QByteArray &line : lines) {
        const bool softBreak = !out.isEmpty() && out.back().endsWith('=') && isQuotedPrintable(out.back());
        if (softBreak)
            out.back().chop(1);
        if (softBreak && boundaryOf(line) == Boundary::None) {
            out.back() += line;
        } else if (!out.isEmpty() && isContinuation(line)) {
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
        // Through UTF-8 and back: a UTF-16 charset may leave a lone
        // surrogate, which no file this program saves could hold.
        if (const std::optional<QString> text = NamedCharset::decode(bytes, charset))
            return QString::fromUtf8(text->toUtf8());
    }
    // A byte-order mark that opens a value is a character of it, as it is
    // anywhere else, so that a name holding one saves and loads the same.
    QStringDecoder utf8(QStringConverter::Utf8,
                        QStringConverter::Flag::Stateless | QStringConverter::Flag::ConvertInitialBom);
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
    std::optional<Card> open;
    // 2.1's AGENT with an empty value has its card on the lines that follow;
    // agents counts those cards open inside the card.
    bool agentFollows = false;
    int agents = 0;
    for (const QByteArray &line : contentLines(physicalLines(withoutByteOrderMark(bytes)))) {
        const Boundary boundary = boundaryOf(line);
        if (boundary == Boundary::Begin && open && agentFollows) {
            ++agents;
        } else if (boundary == Boundary::Begin) {
            if (open)
                ++*unfinished;
            open = Card();
            agents = 0;
        } else if (boundary == Boundary::End && agents > 0) {
            --agents;
        } else if (boundary == Boundary::End && open) {
            cards.append(std::move(*open));
            open.reset();
        }
        agentFollows = false;
        std::optional<Property> p = boundary == Boundary::None ? propertyOf(line) : std::nullopt;
        if (!p || !open)
            continue;
        agentFollows = p->name == "AGENT" && p->value.trimmed().isEmpty();
        if (agents == 0)
            open->append(std::move(*p));
    }
    if (open)
        ++*unfinished;
    return cards;
}

}
