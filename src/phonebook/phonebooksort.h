#pragma once

#include "phonebookentry.h"
#include "phonebookline.h"
#include "progress.h"

#include <optional>

// The entries that show anything, as their lines show them, in the order of
// their name field then their number field (entries that compare equal keep
// their order), numbered 1, 2, 3 ...; the progress names each stage and the
// bar follows it. Nullopt when the program is ending.
std::optional<PhonebookEntries> sortedEntries(const PhonebookEntries &source, const PhonebookLine::Limits &limits,
                                              Progress &progress);
