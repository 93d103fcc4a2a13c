// SPDX-License-Identifier: GPL-3.0-or-later
#include "dialnumber.h"

namespace DialNumber {

namespace {
const QString kInternationalPrefix = QStringLiteral("00");
const QChar kPlus = QLatin1Char('+');
}

bool isSeparator(QChar c)
{
    return c.isSpace() || c.category() == QChar::Punctuation_Dash || c == u'.' || c == u'(' || c == u')';
}

std::optional<QString> key(const QString &number, const QString &homeCode)
{
    QString dialled;
    dialled.reserve(number.size());
    for (const QChar c : number) {
        if (!isSeparator(c))
            dialled += c.toLower();
    }
    if (dialled.isEmpty())
        return std::nullopt;
    if (dialled.startsWith(kInternationalPrefix))
        dialled.replace(0, kInternationalPrefix.size(), kPlus);
    // Italy keeps its trunk zero ("+39 02 ..." is "02 ..." at home), so the
    // code alone comes off.
    if (dialled.size() > homeCode.size() && dialled.startsWith(homeCode))
        dialled.remove(0, homeCode.size());
    return dialled;
}

bool same(const QString &a, const QString &b, const QString &homeCode)
{
    const std::optional<QString> keyA = key(a, homeCode);
    return keyA && keyA == key(b, homeCode);
}

}
