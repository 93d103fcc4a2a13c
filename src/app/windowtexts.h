#pragma once

#include "portopening.h"

#include <QString>

// The window's own texts. The operations' messages stand with the
// operations that show them.
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

}
