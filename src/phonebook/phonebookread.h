// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "formvariables.h"
#include "phonebookentry.h"
#include "progress.h"

class PhoneLink;

// Selector 1 reads the SIM phonebook, selector 2 the phone's own; any other
// value reads nothing.
inline constexpr int kSelectorSim = 1;
inline constexpr int kSelectorPhone = 2;

// What a read tells while it runs, besides its stage and its bar.
class ReadProgress : public Progress {
public:
    // The limits the lines are drawn with, once they are final: as soon as
    // the phone has told them, or, from a phone that tells its positions
    // alone, once the read has taken the lengths from its entries.
    virtual void limitsKnown(const FormVariables &vars) = 0;
    // One position, in order from 1, as soon as it has been read and the
    // limits are known.
    virtual void positionRead(const PhonebookEntry &entry) = 0;
};

// A phonebook as the read found it.
struct PhonebookRead {
    enum class End {
        Done,
        PortClosed,
        Failed,
        // The user gave up, or there was nothing to read: nothing to say.
        Stopped,
    };
    End end = End::Failed;
    // The limits in force afterwards: the phone's, once it told them,
    // otherwise those of the read before. From a phone that told its
    // positions alone, the lengths are those of the longest name and number
    // read. The phonebook only when every position has been read.
    FormVariables vars;
    // One entry per position read, from 1.
    PhonebookEntries entries;
};

// Reads the selected phonebook, one position at a time from 1 to the
// highest. The phonebook is in the result (and RUBSEL names it) only when
// every position has been read; a read that stops early keeps the entries
// read so far, and RUBSEL says "ERROR", so that they are never written
// back. A position the phone answers with an error other than "not found"
// counts as read only when the phone's count of entries shows it empty. An
// entry answered for another position than the one asked stops the read.
// A SIM that answers "busy" while it starts up is asked again after a
// pause, for a while, with Stage::SimBusy meanwhile. The range and the
// lengths come from the range query, or from the phone's other answers
// where it refuses that query.
PhonebookRead LegRub(int selector, PhoneLink &link, const FormVariables &before, ReadProgress &progress);
