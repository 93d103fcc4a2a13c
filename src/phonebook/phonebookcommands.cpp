#include "phonebookcommands.h"

#include <algorithm>

namespace PhonebookCommands {

namespace {
const QString kWrite = QStringLiteral("+CPBW=");
const QString kItalianPrefix = QStringLiteral("+39");
const QChar kQuote = QLatin1Char('"');
const QChar kComma = QLatin1Char(',');
}

int numberType(const QString &number)
{
    return number.contains(kItalianPrefix, Qt::CaseInsensitive) ? kInternationalType : kNationalType;
}

QString writeCommand(int position, const QString &number, const QString &name, const QString &fields)
{
    return clearCommand(position) + kComma + kQuote + number + kQuote + kComma
        + QString::number(numberType(number)) + kComma + kQuote + name + kQuote + fields;
}

QString clearCommand(int position)
{
    return kWrite + QString::number(position);
}

bool fitsCommand(const QString &text)
{
    return std::none_of(text.cbegin(), text.cend(),
                        [](QChar c) { return c.unicode() < 0x20 || c.unicode() == 0x7f; });
}

}
