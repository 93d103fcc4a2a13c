#pragma once

#include <QString>

// What an operation leaves for the window to show once it has ended: the
// message panel's new text (none after a cancel: the program is ending and
// the panel keeps what it had), the rows to select, and whether the
// operation did what it was asked.
struct Outcome {
    QString message;
    int selectList1 = -1;
    int selectList2 = -1;
    bool done = false;
};
