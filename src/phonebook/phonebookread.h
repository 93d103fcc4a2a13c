#pragma once

#include "formvariables.h"
#include "operationoutcome.h"
#include "operationreport.h"
#include "phonebooklistmodel.h"

#include <QString>

#include <functional>

class PhoneLink;

// Selector 1 reads the SIM phonebook, selector 2 the phone's own; any other
// value only clears the lists.
inline constexpr int kSelectorSim = 1;
inline constexpr int kSelectorPhone = 2;

// Reads the selected phonebook into List1, one read-layout line per position
// from 1 to the highest, after emptying List2 and List1. limitsChanged runs
// as soon as the phone's limits are in vars. The phonebook is in vars (and
// RUBSEL names it) only when every position has been read, the outcome
// done; a read that stops early leaves RUBSEL "ERROR", so that a partial
// List1 is never written back, and keeps the lines read so far. A position
// the phone answers with an error other than "not found" counts as read
// only when the phone's count of entries shows it empty. An entry answered
// for another position than the one asked stops the read. A SIM that
// answers "busy" while it starts up is asked again after a pause, for a
// while, with kSimBusy on the panel meanwhile.
Outcome LegRub(int selector, PhoneLink &link, FormVariables &vars, PhonebookListModel &List1,
               PhonebookListModel &List2, OperationReport &report,
               const std::function<void()> &limitsChanged);
