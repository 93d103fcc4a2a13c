#include "listfilecodec.h"

#include "singlebytecodec.h"

namespace {

constexpr char kCarriageReturn = '\r';
constexpr char kLineFeed = '\n';
constexpr char kLineEnd[] = "\r\n";

// The extension looked for in a name turned to upper case, and the one
// appended when it is missing.
const QString kExtensionUpper = QStringLiteral(".RDS");
const QString kExtensionAppended = QStringLiteral(".rds");

bool holdsExtension(const QString &name)
{
    return name.toUpper().contains(kExtensionUpper);
}

}

namespace ListFileCodec {

void appendLine(QByteArray &out, const QString &line)
{
    out += SingleByteCodec::encode(line);
    out += kLineEnd;
}

QByteArray encode(const QStringList &lines)
{
    QByteArray out;
    qsizetype size = 0;
    for (const QString &line : lines)
        size += line.size() + 2;
    out.reserve(size);
    for (const QString &line : lines)
        appendLine(out, line);
    return out;
}

std::optional<QStringList> decode(const QByteArray &bytes)
{
    if (bytes.contains('\0'))
        return std::nullopt;

    QStringList lines;
    qsizetype start = 0;
    while (start < bytes.size()) {
        const qsizetype lf = bytes.indexOf(kLineFeed, start);
        if (lf < 0) {
            lines.append(SingleByteCodec::decode(bytes.mid(start)));
            break;
        }
        qsizetype end = lf;
        if (end > start && bytes.at(end - 1) == kCarriageReturn)
            --end;
        lines.append(SingleByteCodec::decode(bytes.mid(start, end - start)));
        start = lf + 1;
    }
    return lines;
}

QString saveName(const QString &chosen)
{
    return holdsExtension(chosen) ? chosen : chosen + kExtensionAppended;
}

bool isLoadableName(const QString &name)
{
    return !name.isEmpty() && holdsExtension(name);
}

}
