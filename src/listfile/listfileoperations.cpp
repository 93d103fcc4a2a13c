#include "listfileoperations.h"

#include "filenamechooser.h"
#include "listfilecodec.h"
#include "listfilestore.h"
#include "operationreport.h"
#include "phonebooklistmodel.h"
#include "windowtexts.h"

#include <optional>

namespace {


const QString kFilter = QString::fromLatin1(ListFileCodec::kFilter);

}

void saveSortedList(FileNameChooser &chooser, const PhonebookListModel &List2, OperationReport &report)
{
    const QString chosen = chooser.saveFileName(kFilter);
    // Handlers that run while this one yields may empty or refill List2; the
    // save goes on with the list it found when it started.
    const ListFileStore::StoredList list{List2.entries(), List2.limits()};
    if (chosen.isEmpty() || list.entries.isEmpty()) {
        report.setMessage(WindowText::kSaveImpossible);
        return;
    }

    report.setMessage(WindowText::kSaving);
    for (qsizetype i = 0; i < list.entries.size(); ++i) {
        if (!report.keepGoing())
            return;
        report.setProgressIndex(i);
    }
    report.setMessage(ListFileStore::write(ListFileCodec::saveName(chosen), list) ? WindowText::kSaved : WindowText::kSaveImpossible);
}

void loadSortedList(FileNameChooser &chooser, PhonebookListModel &List1, PhonebookListModel &List2,
                    OperationReport &report)
{
    const QString chosen = chooser.openFileName(kFilter);
    if (!ListFileCodec::isLoadableName(chosen)) {
        report.setMessage(WindowText::kLoadImpossible);
        return;
    }

    report.setMessage(WindowText::kLoading);
    const std::optional<ListFileStore::StoredList> list = ListFileStore::read(chosen);
    if (!list) {
        report.setMessage(WindowText::kLoadImpossible);
        return;
    }

    // The window gets its turn once per line, as in every long operation;
    // a user ending the program meanwhile finds the lists untouched.
    for (qsizetype i = 0; i < list->entries.size(); ++i) {
        if (!report.keepGoing())
            return;
    }

    List2.setEntries(list->entries, PhonebookLine::Layout::Sorted, list->limits);
    List1.clear();
    report.setMessage(WindowText::kLoaded);
}
