#include "listfileoperations.h"

#include "filenamechooser.h"
#include "listfilecodec.h"
#include "listfilestore.h"
#include "operationreport.h"
#include "phonebooklistmodel.h"
#include "phonebooksort.h"
#include "vcardform.h"
#include "vcardlist.h"
#include "windowtexts.h"

#include <optional>

namespace {

// The list file first, as it always was; a vCard file beside it.
const QString kFilters = QString::fromLatin1(ListFileCodec::kFilter) + QStringLiteral(";;")
    + QString::fromLatin1(VCardForm::kFilter);

// An address book's export, sorted into List2 as the sort would sort it
// from a phonebook of these limits.
Outcome loadVCard(const QString &name, const PhonebookLine::Limits &limits, PhonebookListModel &List1,
                  PhonebookListModel &List2, OperationReport &report)
{
    // The names are cut to the phone's field, which only a read tells.
    if (limits.maxCarNom <= 0)
        return {WindowText::kNotLoaded};
    report.setMessage(WindowText::kLoading);
    const std::optional<VCardList::Loaded> loaded = VCardList::load(name, limits);
    if (!loaded)
        return {WindowText::kLoadImpossible};
    const std::optional<PhonebookEntries> sorted = sortedEntries(loaded->entries, limits, report);
    if (!sorted)
        return {};
    List2.setEntries(*sorted, PhonebookLine::Layout::Sorted, limits);
    List1.clear();
    return {WindowText::loadedCards(int(sorted->size()), loaded->skipped), -1, -1, true};
}

}

Outcome saveSortedList(FileNameChooser &chooser, const PhonebookListModel &List2, OperationReport &report)
{
    const QString chosen = chooser.saveFileName(kFilters);
    // Handlers that run while this one yields may empty or refill List2; the
    // save goes on with the list it found when it started.
    const ListFileStore::StoredList list{List2.entries(), List2.limits()};
    if (chosen.isEmpty() || list.entries.isEmpty())
        return {WindowText::kSaveImpossible};

    report.setMessage(WindowText::kSaving);
    for (qsizetype i = 0; i < list.entries.size(); ++i) {
        if (!report.keepGoing())
            return {};
        report.setProgressIndex(i);
    }
    const bool saved = VCardForm::isVCardName(chosen)
        ? VCardList::save(chosen, list.entries)
        : ListFileStore::write(ListFileCodec::saveName(chosen), list);
    if (!saved)
        return {WindowText::kSaveImpossible};
    return {WindowText::kSaved, -1, -1, true};
}

Outcome loadSortedList(FileNameChooser &chooser, const PhonebookLine::Limits &limits, PhonebookListModel &List1,
                       PhonebookListModel &List2, OperationReport &report)
{
    const QString chosen = chooser.openFileName(kFilters);
    if (VCardForm::isVCardName(chosen))
        return loadVCard(chosen, limits, List1, List2, report);
    if (!ListFileCodec::isLoadableName(chosen))
        return {WindowText::kLoadImpossible};

    report.setMessage(WindowText::kLoading);
    const std::optional<ListFileStore::StoredList> list = ListFileStore::read(chosen);
    if (!list)
        return {WindowText::kLoadImpossible};

    // The window gets its turn once per line, as in every long operation;
    // a user ending the program meanwhile finds the lists untouched.
    for (qsizetype i = 0; i < list->entries.size(); ++i) {
        if (!report.keepGoing())
            return {};
    }

    List2.setEntries(list->entries, PhonebookLine::Layout::Sorted, list->limits);
    List1.clear();
    return {WindowText::kLoaded, -1, -1, true};
}
