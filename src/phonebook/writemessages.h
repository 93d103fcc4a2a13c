#pragma once

#include <QString>

// Messages shared by the write-back of the sorted list and the save and
// delete of one entry.
namespace WriteMessage {
inline const QString kError = QStringLiteral("ERRORE");
inline const QString kWriteFailed = QStringLiteral("ERRORE GRAVE IN SCRITTURA");
}
