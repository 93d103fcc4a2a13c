#pragma once

#include "usimfields.h"

#include <QList>
#include <QString>
#include <QStringList>

// One item of a list box: the text line the window shows, the sort
// compares and the list file stores, and the USIM fields of its entry,
// which the line does not show. They are made, moved and replaced together,
// so that no operation can give a line another entry's fields.
struct PhonebookRow {
    QString line;
    UsimFields fields;
    // The read could not tell what the phone holds at this position (it
    // answered an error, and its count of entries did not show the position
    // empty): the line shows it empty, but nothing may be written there.
    bool unread = false;

    bool operator==(const PhonebookRow &other) const
    {
        return line == other.line && fields == other.fields && unread == other.unread;
    }
    bool operator!=(const PhonebookRow &other) const { return !(*this == other); }
};

using PhonebookRows = QList<PhonebookRow>;

// Rows for lines that come without fields (a list file).
inline PhonebookRows rowsWithoutFields(const QStringList &lines)
{
    PhonebookRows rows;
    rows.reserve(lines.size());
    for (const QString &line : lines)
        rows.append({line, {}, false});
    return rows;
}

// The lines alone, in order.
inline QStringList linesOf(const PhonebookRows &rows)
{
    QStringList lines;
    lines.reserve(rows.size());
    for (const PhonebookRow &row : rows)
        lines.append(row.line);
    return lines;
}
