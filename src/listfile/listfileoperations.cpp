#include "listfileoperations.h"

#include "filenamechooser.h"
#include "listfilecodec.h"
#include "operationreport.h"
#include "phonebookrowmodel.h"

#include <QFile>
#include <QSaveFile>

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

// The whole file, or nothing when it cannot be opened or read to its end
// (missing, a folder, unreadable).
std::optional<QByteArray> readWhole(const QString &name)
{
    QFile file(name);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return std::nullopt;
    return bytes;
}

}

void saveSortedList(FileNameChooser &chooser, const PhonebookRowModel &List2, OperationReport &report)
{
    const QString chosen = chooser.saveFileName(kFilter);
    // Handlers that run while this one yields may empty or refill List2; the
    // save goes on with the items it found when it started.
    const QStringList items = List2.lines();
    if (chosen.isEmpty() || items.isEmpty()) {
        report.setMessage(kSaveImpossible);
        return;
    }

    report.setMessage(kSaving);
    // The lines go to a side file that replaces the chosen one only once
    // all of them are written, so a failed save leaves no half list behind.
    QSaveFile file(ListFileCodec::saveName(chosen));
    if (!file.open(QIODevice::WriteOnly)) {
        report.setMessage(kSaveImpossible);
        return;
    }

    const ListFileCodec::Encoding encoding = ListFileCodec::encodingFor(items);
    QByteArray bytes = ListFileCodec::header(encoding);
    bytes.reserve(items.size() * (items.first().size() + 2));
    for (qsizetype i = 0; i < items.size(); ++i) {
        if (!report.keepGoing()) {
            file.cancelWriting();
            return;
        }
        report.setProgressValue(progressFor(i));
        ListFileCodec::appendLine(bytes, items.at(i), encoding);
    }

    if (file.write(bytes) != bytes.size() || !file.commit()) {
        report.setMessage(kSaveImpossible);
        return;
    }
    report.setMessage(kSaved);
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
    const std::optional<QByteArray> bytes = readWhole(chosen);
    const std::optional<QStringList> lines =
        bytes ? ListFileCodec::decode(*bytes) : std::optional<QStringList>();
    if (!lines) {
        report.setMessage(kLoadImpossible);
        return;
    }

    // The window gets its turn once per line, as in every long operation;
    // a user ending the program meanwhile finds the lists untouched.
    for (qsizetype i = 0; i < lines->size(); ++i) {
        if (!report.keepGoing())
            return;
    }

    List2.setRows(rowsWithoutFields(*lines));
    List1.clear();
    report.setMessage(kLoaded);
}
