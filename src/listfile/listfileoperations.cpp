#include "listfileoperations.h"

#include "filenamechooser.h"
#include "listfilecodec.h"
#include "listfilestore.h"
#include "operationreport.h"
#include "phonebooklistmodel.h"

#include <optional>

namespace {

const QString kSaveImpossible = QStringLiteral("IMPOSSIBILE SALVARE");
const QString kSaving = QStringLiteral("SALVATAGGIO IN CORSO");
const QString kSaved = QStringLiteral("SALVATAGGIO ULTIMATO");
const QString kLoadImpossible = QStringLiteral("IMPOSSIBILE CARICARE");
const QString kLoading = QStringLiteral("CARICAMENTO IN CORSO");
const QString kLoaded = QStringLiteral("CARICAMENTO ULTIMATO");

const QString kFilter = QString::fromLatin1(ListFileCodec::kFilter);

}

void saveSortedList(FileNameChooser &chooser, const PhonebookListModel &List2, OperationReport &report)
{
    const QString chosen = chooser.saveFileName(kFilter);
    // Handlers that run while this one yields may empty or refill List2; the
    // save goes on with the list it found when it started.
    const ListFileStore::StoredList list{List2.entries(), List2.limits()};
    if (chosen.isEmpty() || list.entries.isEmpty()) {
        report.setMessage(kSaveImpossible);
        return;
    }

    report.setMessage(kSaving);
    for (qsizetype i = 0; i < list.entries.size(); ++i) {
        if (!report.keepGoing())
            return;
        report.setProgressIndex(i);
    }
    report.setMessage(ListFileStore::write(ListFileCodec::saveName(chosen), list) ? kSaved : kSaveImpossible);
}

void loadSortedList(FileNameChooser &chooser, PhonebookListModel &List1, PhonebookListModel &List2,
                    OperationReport &report)
{
    const QString chosen = chooser.openFileName(kFilter);
    if (!ListFileCodec::isLoadableName(chosen)) {
        report.setMessage(kLoadImpossible);
        return;
    }

    report.setMessage(kLoading);
    const std::optional<ListFileStore::StoredList> list = ListFileStore::read(chosen);
    if (!list) {
        report.setMessage(kLoadImpossible);
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
    report.setMessage(kLoaded);
}
