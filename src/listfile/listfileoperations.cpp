#include "listfileoperations.h"

#include "filenamechooser.h"
#include "listfilecodec.h"
#include "listfilestore.h"
#include "operationreport.h"
#include "phonebookrowmodel.h"

#include <optional>

namespace {

const QString kSaveImpossible = QStringLiteral("IMPOSSIBILE SALVARE");
const QString kSaving = QStringLiteral("SALVATAGGIO IN CORSO");
const QString kSaved = QStringLiteral("SALVATAGGIO ULTIMATO");
const QString kLoadImpossible = QStringLiteral("IMPOSSIBILE CARICARE");
const QString kLoading = QStringLiteral("CARICAMENTO IN CORSO");
const QString kLoaded = QStringLiteral("CARICAMENTO ULTIMATO");

const QString kFilter = QString::fromLatin1(ListFileCodec::kFilter);

// The bar's minimum is above 0, so a step index is shown plus a tenth, in
// single precision as the bar takes it.
double progressFor(qsizetype index)
{
    return static_cast<double>(static_cast<float>(index) + 0.1f);
}

}

void saveSortedList(FileNameChooser &chooser, const PhonebookRowModel &List2, OperationReport &report)
{
    const QString chosen = chooser.saveFileName(kFilter);
    // Handlers that run while this one yields may empty or refill List2; the
    // save goes on with the rows it found when it started.
    const PhonebookRows rows = List2.rows();
    if (chosen.isEmpty() || rows.isEmpty()) {
        report.setMessage(kSaveImpossible);
        return;
    }

    report.setMessage(kSaving);
    for (qsizetype i = 0; i < rows.size(); ++i) {
        if (!report.keepGoing())
            return;
        report.setProgressValue(progressFor(i));
    }
    report.setMessage(ListFileStore::write(ListFileCodec::saveName(chosen), rows) ? kSaved : kSaveImpossible);
}

void loadSortedList(FileNameChooser &chooser, PhonebookRowModel &List1, PhonebookRowModel &List2,
                    OperationReport &report)
{
    const QString chosen = chooser.openFileName(kFilter);
    if (!ListFileCodec::isLoadableName(chosen)) {
        report.setMessage(kLoadImpossible);
        return;
    }

    report.setMessage(kLoading);
    const std::optional<PhonebookRows> rows = ListFileStore::read(chosen);
    if (!rows) {
        report.setMessage(kLoadImpossible);
        return;
    }

    // The window gets its turn once per line, as in every long operation;
    // a user ending the program meanwhile finds the lists untouched.
    for (qsizetype i = 0; i < rows->size(); ++i) {
        if (!report.keepGoing())
            return;
    }

    List2.setRows(*rows);
    List1.clear();
    report.setMessage(kLoaded);
}
