// SPDX-License-Identifier: GPL-3.0-or-later
#include "sortedlayout.h"

namespace SortedLayout {

PhonebookEntries numbered(PhonebookEntries entries)
{
    for (int i = 0; i < entries.size(); ++i)
        entries[i].position = i + 1;
    return entries;
}

PhonebookEntries inPhoneOrder(const PhonebookEntries &entries, const PhonebookLimits &limits)
{
    PhonebookEntries held;
    for (const PhonebookEntry &entry : entries) {
        if (!PhonebookLine::shown(entry, limits).isEmpty())
            held.append(entry);
    }
    return numbered(held);
}

}
