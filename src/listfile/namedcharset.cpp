// SPDX-License-Identifier: GPL-3.0-or-later
#include "namedcharset.h"

#include <QStringDecoder>

#ifdef Q_OS_WIN
#include <windows.h>

#include <limits>
#include <utility>

namespace {

// The code pages by the names Microsoft gives them ("Code Page
// Identifiers"), and by the other names vCard writers use for the same sets.
// EUC-KR goes to 949, which holds every EUC-KR double byte unchanged: Wine
// has no code page 51949.
constexpr std::pair<const char *, UINT> kCodePages[] = {
    {"WINDOWS-874", 874},
    {"SHIFT_JIS", 932}, {"SJIS", 932}, {"X-SJIS", 932}, {"MS_KANJI", 932}, {"CP932", 932}, {"WINDOWS-31J", 932},
    {"GB2312", 936}, {"GBK", 936}, {"CP936", 936},
    {"KS_C_5601-1987", 949}, {"EUC-KR", 949},
    {"BIG5", 950},
    {"WINDOWS-1250", 1250}, {"CP1250", 1250},
    {"WINDOWS-1251", 1251}, {"CP1251", 1251},
    {"WINDOWS-1252", 1252}, {"CP1252", 1252},
    {"WINDOWS-1253", 1253}, {"CP1253", 1253},
    {"WINDOWS-1254", 1254}, {"CP1254", 1254},
    {"WINDOWS-1255", 1255}, {"CP1255", 1255},
    {"WINDOWS-1256", 1256}, {"CP1256", 1256},
    {"WINDOWS-1257", 1257}, {"CP1257", 1257},
    {"WINDOWS-1258", 1258}, {"CP1258", 1258},
    {"KOI8-R", 20866},
    {"KOI8-U", 21866},
    {"ISO-8859-2", 28592},
    {"ISO-8859-3", 28593},
    {"ISO-8859-4", 28594},
    {"ISO-8859-5", 28595},
    {"ISO-8859-6", 28596},
    {"ISO-8859-7", 28597},
    {"ISO-8859-8", 28598},
    {"ISO-8859-9", 28599},
    {"ISO-8859-13", 28603},
    {"ISO-8859-15", 28605},
};

// A name by its letters and digits alone, whatever their case, as ICU
// compares names: "Shift-JIS", "shift_jis" and "SHIFTJIS" are one set.
QByteArray comparable(const QByteArray &name)
{
    QByteArray out;
    for (const char c : name.toUpper()) {
        if ((c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9'))
            out += c;
    }
    return out;
}

std::optional<UINT> codePageNamed(const QByteArray &name)
{
    const QByteArray wanted = comparable(name);
    for (const auto &[known, codePage] : kCodePages) {
        if (comparable(known) == wanted)
            return codePage;
    }
    return std::nullopt;
}

std::optional<QString> decodedByCodePage(const QByteArray &bytes, const QByteArray &name)
{
    const std::optional<UINT> codePage = codePageNamed(name);
    if (!codePage || bytes.size() > std::numeric_limits<int>::max())
        return std::nullopt;
    if (bytes.isEmpty())
        return QString();
    const int size = MultiByteToWideChar(*codePage, 0, bytes.constData(), int(bytes.size()), nullptr, 0);
    // None when this Windows lacks the code page.
    if (size <= 0)
        return std::nullopt;
    QString text(size, Qt::Uninitialized);
    MultiByteToWideChar(*codePage, 0, bytes.constData(), int(bytes.size()),
                        reinterpret_cast<wchar_t *>(text.data()), size);
    return text;
}

} // namespace
#endif

namespace NamedCharset {

std::optional<QString> decode(const QByteArray &bytes, const QByteArray &name)
{
    QStringDecoder decoder(name.constData(), QStringConverter::Flag::Stateless);
    if (decoder.isValid())
        return QString(decoder(bytes));
#ifdef Q_OS_WIN
    return decodedByCodePage(bytes, name);
#else
    return std::nullopt;
#endif
}

}
