#pragma once

#include "formvariables.h"
#include "operationoutcome.h"
#include "phonebooklistmodel.h"
#include "phonelink.h"
#include "recordingreport.h"
#include "scriptedphonebook.h"

#include <QList>
#include <QMap>
#include <QStringList>

#include <chrono>
#include <memory>

// Long enough that an answer never races the deadline on a busy machine.
inline constexpr std::chrono::milliseconds kAnsweredDeadline{3000};

// A read of the phonebook as the window runs it, on a ScriptedPhonebook:
// the lists and form variables an earlier read left, a report that records,
// and each change of the limits the window is told of.
struct PhonebookReadRun {
    PhonebookReadRun();

    // Opens the link; false with the reason in *why.
    bool openLink(std::chrono::milliseconds deadline, QString *why);
    void read(int selector);

    ScriptedPhonebook phone;
    std::unique_ptr<PhoneLink> link;
    RecordingReport report;
    // What the last read() came to.
    Outcome outcome;
    PhonebookListModel list1;
    PhonebookListModel list2;
    FormVariables vars;
    QList<FormVariables> limitsSeen;
};

// Limits and selection left by an earlier read, to see what a read changes.
FormVariables earlierRead();

// A phonebook of nine positions with entries at 2, 3, 5, 7 and 9.
QMap<int, ScriptedPhonebook::Entry> someEntries();

// The lines a correct read of someEntries() gives, positions 1 to highest.
QStringList expectedLines(int highest, const PhonebookLine::Limits &limits, bool withEntries);

// "+CPBR=from" ... "+CPBR=to".
QStringList positionReads(int from, int to);
