// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The phone's three limits, as its answer to the range query tells them,
// and the widths every line of a list is drawn with under them.
struct PhonebookLimits {
    // The highest position; its digit count is the index width. 0 until a
    // phonebook has been read.
    int MAXNUMRUB = 0;
    // The name's length: the name field's width.
    int MAXCARNOM = 0;
    // The number's length: the number field's width.
    int MAXCARNUM = 0;

    bool operator==(const PhonebookLimits &other) const
    {
        return MAXNUMRUB == other.MAXNUMRUB && MAXCARNOM == other.MAXCARNOM && MAXCARNUM == other.MAXCARNUM;
    }
    bool operator!=(const PhonebookLimits &other) const { return !(*this == other); }
};
