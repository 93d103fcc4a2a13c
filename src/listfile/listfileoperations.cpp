// SPDX-License-Identifier: GPL-3.0-or-later
#include "listfileoperations.h"

#include "filenamechooser.h"
#include "listfilecodec.h"
#include "phonebooksort.h"
#include "vcardform.h"
#include "vcardlist.h"

#include <optional>

namespace {

// The list file first, as it always was; a vCard file beside it.
const QString kFilters = ListFileCodec::kFilter + QStringLiteral(";;")
    + QString::fromLatin1(VCardForm::kFilter);

ListLoad ended(ListLoad::End end)
{
    ListLoad load;
    load.end = end;
    return load;
}

// An address book's export, sorted as the sort would sort it from a
// phonebook of these limits.
ListLoad loadVCard(const QString &name, const PhonebookLimits &limits, Progress &progress)
{
    // The names are cut to the phone's field, which only a read tells.
    if (limits.MAXCARNOM <= 0)
        return ended(ListLoad::End::NotLoaded);
    progress.stage(Stage::Loading);
    const std::optional<VCardList::Loaded> loaded = VCardList::load(name, limits);
    if (!loaded)
        return ended(ListLoad::End::Impossible);
    const std::optional<PhonebookEntries> sorted = sortedEntries(loaded->entries, limits, progress);
    if (!sorted)
        return ended(ListLoad::End::Stopped);
    ListLoad load = ended(ListLoad::End::LoadedCards);
    load.list = {*sorted, limits};
    load.skipped = loaded->skipped;
    return load;
}

}

ListSave saveSortedList(FileNameChooser &chooser, const ListFileStore::StoredList &list, Progress &progress)
{
    const QString chosen = chooser.saveFileName(kFilters);
    if (chosen.isEmpty() || list.entries.isEmpty())
        return ListSave::Impossible;

    progress.stage(Stage::Saving);
    for (qsizetype i = 0; i < list.entries.size(); ++i)
        progress.setIndex(i);
    const bool saved = VCardForm::isVCardName(chosen)
        ? VCardList::save(chosen, list.entries)
        : ListFileStore::write(ListFileCodec::saveName(chosen), list);
    return saved ? ListSave::Saved : ListSave::Impossible;
}

ListLoad loadSortedList(FileNameChooser &chooser, const PhonebookLimits &limits, Progress &progress)
{
    const QString chosen = chooser.openFileName(kFilters);
    if (VCardForm::isVCardName(chosen))
        return loadVCard(chosen, limits, progress);
    if (!ListFileCodec::isLoadableName(chosen))
        return ended(ListLoad::End::Impossible);

    progress.stage(Stage::Loading);
    const std::optional<ListFileStore::StoredList> list = ListFileStore::read(chosen);
    if (!list)
        return ended(ListLoad::End::Impossible);
    ListLoad load = ended(ListLoad::End::Loaded);
    load.list = *list;
    return load;
}
