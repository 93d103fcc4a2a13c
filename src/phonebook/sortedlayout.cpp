#include "sortedlayout.h"

namespace SortedLayout {

PhonebookEntries numbered(PhonebookEntries entries)
{
    for (int i = 0; i < entries.size(); ++i)
        entries[i].position = i + 1;
    return entries;
}

PhonebookEntries inPhoneOrder(const PhonebookEntries &entries, const PhonebookLine::Limits &limits)
{
    PhonebookEntries held;
    for (const PhonebookEntry &entry : entries) {
        const PhonebookEntry shown = PhonebookLine::shown(entry, limits);
        if (!shown.isEmpty())
            held.append(shown);
    }
    return numbered(held);
}

}
