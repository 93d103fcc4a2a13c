// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "portopening.h"
#include "progress.h"

#include <QString>

// Every text the window shows: its captions, and the messages of the
// operations in the message panel.
namespace WindowText {

inline const QString kCaption = QStringLiteral("VELDRANO v 1.5 - by TEVRAN52");
inline const QString kWebAddress = QStringLiteral("https://veldrano.example.org");
inline const QString kVisitDesign = QStringLiteral("Visita : ") + kWebAddress;
inline const QString kVisit = QStringLiteral("Visita: ") + kWebAddress;

inline const QString kDisconnected = QStringLiteral("DISCONNESSO");
inline const QString kConnected = QStringLiteral("CONNESSO");
inline const QString kConnectedTo = QStringLiteral("CONNESSO A ");
inline const QString kConnectionError = QStringLiteral("ERRORE DI CONNESSIONE..");
inline const QString kPortBusy = kConnectionError + QStringLiteral(" PORTA OCCUPATA");
inline const QString kPortForbidden = kConnectionError + QStringLiteral(" ACCESSO NEGATO");
inline const QString kPortAbsent = kConnectionError + QStringLiteral(" PORTA ASSENTE");
inline const QString kExit = QStringLiteral("ESCI");

inline const QString kOpenClose = QStringLiteral("APRI / CHIUDI PORTA");
inline const QString kReadSim = QStringLiteral("LEGGI RUBRICA SIM");
inline const QString kWriteSorted = QStringLiteral("SCRIVI RUBRICA ORDINATA");
inline const QString kLoadList = QStringLiteral("LOAD LISTA ORDINATA");
inline const QString kSaveList = QStringLiteral("SALVA LISTA ORDINATA");
inline const QString kSort = QStringLiteral("VELDRANO");
inline const QString kSaveEntry = QStringLiteral("SALVA MODIFICHE");
inline const QString kDeleteEntry = QStringLiteral("CANCELLA DA RUB.");
inline const QString kReadPhone = QStringLiteral("LEGGI RUBRICA CELLULARE");

inline const QString kPositionDesign = QStringLiteral(" XXX");
inline const QString kPosition = QStringLiteral("POSIZIONE:");
inline const QString kText = QStringLiteral("TESTO:");
inline const QString kNumber = QStringLiteral("NUMERO:");
inline const QString kNameCount = QStringLiteral("CAR:");
inline const QString kNumberCount = QStringLiteral("NUM:");
inline const QString kCounterDesign = QStringLiteral("0/0");

inline QString portLabel(int number) { return QStringLiteral("COM %1:").arg(number); }

// "11/14": the characters the box holds, spaces included, over the limit.
inline QString counterText(const QString &boxText, int limit)
{
    return QString::number(boxText.size()) + QLatin1Char('/') + QString::number(limit);
}

// The failed connection's text, with the reason where the user can act on it.
inline QString connectionError(PortOpening opening)
{
    switch (opening) {
    case PortOpening::Busy:
        return kPortBusy;
    case PortOpening::Forbidden:
        return kPortForbidden;
    case PortOpening::Absent:
        return kPortAbsent;
    case PortOpening::Opened:
    case PortOpening::Failed:
        break;
    }
    return kConnectionError;
}

// The read.
inline const QString kPortClosed = QStringLiteral("ERRORE: PORTA NON APERTA");
inline const QString kReadingSim = QStringLiteral("LETTURA RUBRICA SIM");
inline const QString kReadingPhone = QStringLiteral("LETTURE RUBRICA CELLULARE");
inline const QString kReadFailed = QStringLiteral("ERRORE: LETTURA RUBRICA");
inline const QString kReadDone = QStringLiteral("LETTURA TERMINATA");
inline const QString kSimBusy = QStringLiteral("SIM OCCUPATA: ATTESA IN CORSO");
inline const QString kBackupFailed = QStringLiteral("ERRORE: BACKUP NON RIUSCITO");

// The sort.
inline const QString kNotLoaded = QStringLiteral("ERRORE: RUBRICA NON CARICATA");
inline const QString kCopying = QStringLiteral("COPIA DATI IN CORSO");
inline const QString kSorting = QStringLiteral("ORDINAMENTO RUBRICA IN CORSO");
inline const QString kNumbering = QStringLiteral("SCRITTURA INDICI IN CORSO");
inline const QString kSortDone = QStringLiteral("ORDINAMENTO TERMINATO");

// The write-back, the edit, and the check of what they wrote.
inline const QString kError = QStringLiteral("ERRORE");
inline const QString kWriteFailed = QStringLiteral("ERRORE GRAVE IN SCRITTURA");
// The phone refused the write of this line of the sorted list.
inline QString writeRefused(const QString &line) { return kWriteFailed + QStringLiteral(": ") + line; }
inline const QString kInvalidList = QStringLiteral("ERRORE: LISTA NON VALIDA");
inline const QString kWritingSim = QStringLiteral("SCRITTURA RUBRICA SIM IN CORSO");
inline const QString kWritingPhone = QStringLiteral("SCRITTURA RUBRICA CELLULARE IN CORSO");
inline const QString kWriteBackDone = QStringLiteral("SCRITTURA RUBRICA TERMINATA");
inline const QString kWritingEntry = QStringLiteral("SCRITTURA IN CORSO");
inline const QString kEntryWritten = QStringLiteral("SCRITTURA COMPLETATA");
inline const QString kChecking = QStringLiteral("VERIFICA SCRITTURA IN CORSO");
inline const QString kDiffers = QStringLiteral("ERRORE: VERIFICA SCRITTURA");

// The sorted list's own edits.
inline const QString kDropDuplicates = QStringLiteral("TOGLI DOPPIONI");
inline const QString kRemoveFromList = QStringLiteral("TOGLI DALLA LISTA");
inline const QString kAddList = QStringLiteral("AGGIUNGI LISTA...");
inline QString duplicatesDropped(int count) { return QStringLiteral("TOLTI %1 DOPPIONI").arg(count); }
inline QString linesRemoved(int count) { return QStringLiteral("TOLTE %1 VOCI DALLA LISTA").arg(count); }
// The tooltip of a line whose number another line has: that line's tag and name.
inline QString sameNumberAs(const QString &tag, const QString &name)
{
    return QStringLiteral("STESSO NUMERO DI %1 %2").arg(tag, name);
}

// The list file.
inline const QString kSaveImpossible = QStringLiteral("IMPOSSIBILE SALVARE");
inline const QString kSaving = QStringLiteral("SALVATAGGIO IN CORSO");
inline const QString kSaved = QStringLiteral("SALVATAGGIO ULTIMATO");
inline const QString kLoadImpossible = QStringLiteral("IMPOSSIBILE CARICARE");
inline const QString kLoading = QStringLiteral("CARICAMENTO IN CORSO");
inline const QString kLoaded = QStringLiteral("CARICAMENTO ULTIMATO");
// An address book's export: the entries that came in, and the numbers and
// cards left out.
inline QString loadedCards(int entries, int skipped)
{
    return QStringLiteral("CARICATE %1 VOCI, %2 SCARTATE").arg(entries).arg(skipped);
}

// What the panel says while an operation is at each stage.
inline QString stageText(Stage stage)
{
    switch (stage) {
    case Stage::ReadingSim:
        return kReadingSim;
    case Stage::ReadingPhone:
        return kReadingPhone;
    case Stage::SimBusy:
        return kSimBusy;
    case Stage::Copying:
        return kCopying;
    case Stage::Sorting:
        return kSorting;
    case Stage::Numbering:
        return kNumbering;
    case Stage::WritingSim:
        return kWritingSim;
    case Stage::WritingPhone:
        return kWritingPhone;
    case Stage::Checking:
        return kChecking;
    case Stage::WritingEntry:
        return kWritingEntry;
    case Stage::Saving:
        return kSaving;
    case Stage::Loading:
        return kLoading;
    }
    return {};
}

}
