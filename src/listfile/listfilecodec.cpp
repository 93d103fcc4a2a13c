// SPDX-License-Identifier: GPL-3.0-or-later
#include "listfilecodec.h"

#include "singlebytecodec.h"

#include <QStringDecoder>

#include <algorithm>

namespace {

constexpr char kCarriageReturn = '\r';
constexpr char kLineFeed = '\n';
constexpr char kLineEnd[] = "\r\n";
const QByteArray kByteOrderMark = QByteArrayLiteral("\xEF\xBB\xBF");

bool holdsExtension(const QString &name)
{
    return name.toUpper().contains(ListFileCodec::kExtension);
}

enum class Encoding { Windows1252, Utf8 };

// Windows-1252 when every line fits in it, otherwise UTF-8.
Encoding encodingFor(const QStringList &lines)
{
    const bool fits = std::all_of(lines.cbegin(), lines.cend(), SingleByteCodec::canEncode);
    return fits ? Encoding::Windows1252 : Encoding::Utf8;
}

// What the file begins with: nothing, or UTF-8's byte-order mark.
QByteArray header(Encoding encoding)
{
    return encoding == Encoding::Utf8 ? kByteOrderMark : QByteArray();
}

// Appends one line and its CR LF to out.
void appendLine(QByteArray &out, const QString &line, Encoding encoding)
{
    out += encoding == Encoding::Utf8 ? line.toUtf8() : SingleByteCodec::encode(line);
    out += kLineEnd;
}

}

namespace ListFileCodec {

QByteArray encode(const QStringList &lines)
{
    const Encoding encoding = encodingFor(lines);
    QByteArray out = header(encoding);
    qsizetype size = out.size();
    for (const QString &line : lines)
        size += line.size() + 2;
    out.reserve(size);
    for (const QString &line : lines)
        appendLine(out, line, encoding);
    return out;
}

std::optional<QStringList> decode(const QByteArray &bytes)
{
    if (bytes.contains('\0'))
        return std::nullopt;
    const bool utf8 = bytes.startsWith(kByteOrderMark);
    // The file's own mark is skipped below; one at the start of a line is text.
    QStringDecoder fromUtf8(QStringDecoder::Utf8,
                            QStringDecoder::Flag::Stateless | QStringDecoder::Flag::ConvertInitialBom);
    const auto text = [&](qsizetype from, qsizetype length) {
        const QByteArray line = bytes.mid(from, length);
        return utf8 ? QString(fromUtf8(line)) : SingleByteCodec::decode(line);
    };

    QStringList lines;
    qsizetype start = utf8 ? kByteOrderMark.size() : 0;
    while (start < bytes.size()) {
        const qsizetype lf = bytes.indexOf(kLineFeed, start);
        if (lf < 0) {
            lines.append(text(start, bytes.size() - start));
            break;
        }
        qsizetype end = lf;
        if (end > start && bytes.at(end - 1) == kCarriageReturn)
            --end;
        lines.append(text(start, end - start));
        start = lf + 1;
    }
    if (fromUtf8.hasError())
        return std::nullopt;
    return lines;
}

QString saveName(const QString &chosen)
{
    return holdsExtension(chosen) ? chosen : chosen + ListFileCodec::kExtension.toLower();
}

bool isLoadableName(const QString &name)
{
    return !name.isEmpty() && holdsExtension(name);
}

}
