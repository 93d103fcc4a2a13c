#pragma once

#include <QString>

class QStringListModel;

// A list box's content as the phonebook operations use it: plain text
// lines, counted from 0, in the order they were added.
namespace LineList {

void appendLine(QStringListModel &list, const QString &line);
// Does nothing for an index outside the list.
void replaceLine(QStringListModel &list, int index, const QString &line);
void clearLines(QStringListModel &list);

}
