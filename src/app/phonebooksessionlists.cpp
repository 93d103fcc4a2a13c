// SPDX-License-Identifier: GPL-3.0-or-later
#include "phonebooksession.h"

#include "duplicates.h"
#include "listfileoperations.h"
#include "phonebooklistmodel.h"
#include "phonebooksort.h"
#include "sortedlistedit.h"
#include "windowtexts.h"

// The operations on the sorted list that need no phone: they run at once,
// on the window's thread.

namespace {

// What the panel says when a load brought no list; nullopt when it did.
std::optional<Outcome> withoutList(ListLoad::End end)
{
    switch (end) {
    case ListLoad::End::Loaded:
    case ListLoad::End::LoadedCards:
        return std::nullopt;
    case ListLoad::End::Impossible:
        return Outcome{WindowText::kLoadImpossible};
    case ListLoad::End::NotLoaded:
        return Outcome{WindowText::kNotLoaded};
    case ListLoad::End::Stopped:
        break;
    }
    return Outcome{};
}

}

void PhonebookSession::sort()
{
    begin();
    const PhonebookLimits limits = m_vars.limits;
    m_list2.setEntries({}, PhonebookLine::Layout::Sorted, limits);
    if (m_list1.entries().isEmpty()) {
        end({WindowText::kNotLoaded});
        return;
    }
    const std::optional<PhonebookEntries> sorted = sortedPhonebook(m_list1.entries(), limits, m_progress);
    if (!sorted) {
        end({});
        return;
    }
    m_list2.setEntries(*sorted, PhonebookLine::Layout::Sorted, limits);
    end({WindowText::kSortDone, std::nullopt, std::nullopt, true});
}

void PhonebookSession::loadList()
{
    begin();
    const ListLoad load = loadSortedList(m_chooser, m_vars.limits, m_progress);
    if (const std::optional<Outcome> refused = withoutList(load.end)) {
        end(*refused);
        return;
    }
    m_list2.setEntries(load.list.entries, PhonebookLine::Layout::Sorted, load.list.limits);
    m_list1.clear();
    end({load.end == ListLoad::End::Loaded ? WindowText::kLoaded
                                           : WindowText::loadedCards(int(load.list.entries.size()), load.skipped),
         std::nullopt, std::nullopt, true});
}

void PhonebookSession::saveList()
{
    begin();
    const ListSave saved = saveSortedList(m_chooser, {m_list2.entries(), m_list2.limits()}, m_progress);
    if (saved == ListSave::Saved)
        end({WindowText::kSaved, std::nullopt, std::nullopt, true});
    else
        end({WindowText::kSaveImpossible});
}

void PhonebookSession::dropDuplicates()
{
    begin();
    const Duplicates::Dropped left = Duplicates::withoutCopies(m_list2.entries());
    m_list2.setEntries(left.entries, PhonebookLine::Layout::Sorted, m_list2.limits());
    end({WindowText::duplicatesDropped(left.dropped), std::nullopt, std::nullopt, true});
}

void PhonebookSession::removeFromList(const QList<int> &rows)
{
    begin();
    const PhonebookEntries left = SortedListEdit::withoutRows(m_list2.entries(), rows);
    const int removed = int(m_list2.entries().size() - left.size());
    m_list2.setEntries(left, PhonebookLine::Layout::Sorted, m_list2.limits());
    end({WindowText::linesRemoved(removed), std::nullopt, std::nullopt, true});
}

void PhonebookSession::addList()
{
    begin();
    const PhonebookLimits limits = m_vars.limits;
    // The file's entries are cut to this phonebook's fields, as the load of
    // an address book cuts them, so only a read tells what they take; a
    // list file made for another phonebook has lines under other limits.
    const ListLoad load = loadSortedList(m_chooser, limits, m_progress);
    const std::optional<Outcome> refused =
        limits.MAXCARNOM <= 0 ? Outcome{WindowText::kNotLoaded} : withoutList(load.end);
    if (refused) {
        end(*refused);
        return;
    }
    const SortedListEdit::Fitted fitted = SortedListEdit::fitted(load.list.entries, limits);
    const std::optional<PhonebookEntries> added = sortedEntries(fitted.entries, limits, m_progress);
    if (!added) {
        end({});
        return;
    }
    m_list2.setEntries(SortedListEdit::mergedIn(m_list2.entries(), *added, limits), PhonebookLine::Layout::Sorted,
                       limits);
    end({WindowText::loadedCards(int(added->size()), load.skipped + fitted.skipped), std::nullopt, std::nullopt,
         true});
}
