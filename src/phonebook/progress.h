// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QtGlobal>

// The stages a long operation goes through, each shown to the user in
// the message panel as it begins.
enum class Stage {
    ReadingSim,
    ReadingPhone,
    SimBusy,
    Copying,
    Sorting,
    Numbering,
    WritingSim,
    WritingPhone,
    Checking,
    WritingEntry,
    Saving,
    Loading,
};

// What a long operation tells while it runs: its stage and its progress,
// on a bar whose minimum is above 0. It may run on the phone's thread; the
// window learns of it later, through its own event loop.
class Progress {
public:
    virtual ~Progress() = default;

    virtual void stage(Stage stage) = 0;
    virtual void setMaximum(double maximum) = 0;
    virtual void setValue(double value) = 0;
    // A step counted from 0 is shown as its index plus a tenth.
    void setIndex(qsizetype index) { setValue(double(index) + 0.1); }

    // False once the user has asked the program to end: the operation
    // stops where it is, between two steps.
    virtual bool keepGoing() const = 0;
};
