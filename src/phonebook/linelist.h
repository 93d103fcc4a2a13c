#pragma once

#include "usimfields.h"

#include <QString>

class QStringListModel;

// A list box's content as the phonebook operations use it: plain text
// lines, counted from 0, in the order they were added.
namespace LineList {

void appendLine(QStringListModel &list, const QString &line);
// Does nothing for an index outside the list.
void replaceLine(QStringListModel &list, int index, const QString &line);
void clearLines(QStringListModel &list);

// The USIM fields of the entry on a line; none on a list that keeps no
// fields, or outside the list.
UsimFields fieldsAt(const QStringListModel &list, int index);
// Does nothing for an index outside the list or on a list that keeps no fields.
void setFields(QStringListModel &list, int index, const UsimFields &fields);

}
