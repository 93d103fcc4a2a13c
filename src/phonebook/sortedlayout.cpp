#include "sortedlayout.h"

namespace {

// " Ã "; every item begins with a space, which makes the sorted layout's
// second space after "Ã".
const QString kTagSeparator = QStringLiteral(" ") + PhonebookLine::kPositionSeparator + QStringLiteral(" ");

}

namespace SortedLayout {

bool holdsEntry(const QString &line, const PhonebookLine::Limits &limits)
{
    return !line.contains(PhonebookLine::emptySlotTail(limits), Qt::CaseInsensitive);
}

QString item(const QString &line, const PhonebookLine::Limits &limits)
{
    const qsizetype a = line.indexOf(PhonebookLine::kPositionSeparator);
    const qsizetype b = line.indexOf(PhonebookLine::kFieldSeparator);
    if (a < 0 || b <= a)
        return line.mid(2 * PhonebookLine::indexWidth(limits.maxNumRub) + 3);
    // From "Ã" up to the space before "³": the separator's space and the
    // name field, with the extra space of the sorted layout if there is one.
    const qsizetype nameStart = a + 1;
    const qsizetype nameLength = b - 1 - nameStart;
    const bool sortedLayout = nameLength == limits.maxCarNom + 2
        && line.at(nameStart + 1) == QLatin1Char(' ');
    return line.mid(sortedLayout ? nameStart + 1 : nameStart);
}

QString numbered(int position, const QString &item, const PhonebookLine::Limits &limits)
{
    return PhonebookLine::positionTag(position, limits.maxNumRub) + kTagSeparator + item;
}

PhonebookRows inPhoneOrder(const PhonebookRows &rows, const PhonebookLine::Limits &limits)
{
    PhonebookRows out;
    for (const PhonebookRow &row : rows) {
        if (holdsEntry(row.line, limits))
            out.append({numbered(int(out.size()) + 1, item(row.line, limits), limits), row.fields});
    }
    return out;
}

}
