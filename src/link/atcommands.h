#pragma once

#include <QString>

// Every AT command the program sends (the text after "AT") and every answer
// text it looks for, so that a phone's habit is met in one place.
namespace AtCommands {

// What every command line opens with.
inline const QString kAttention = QStringLiteral("AT");

// The set-up of the handshake.
inline const QString kReset = QStringLiteral("Z");
inline const QString kEchoOff = QStringLiteral("E0");
inline const QString kResultCodesOn = QStringLiteral("Q0");
inline const QString kVerboseResults = QStringLiteral("V1");
inline const QString kModelQuery = QStringLiteral("+CGMM");

// The character set.
inline const QString kCharsetQuery = QStringLiteral("+CSCS?");
inline const QString kCharsetsOffered = QStringLiteral("+CSCS=?");
// The set's name goes in as %1.
inline const QString kCharsetSelect = QStringLiteral("+CSCS=\"%1\"");

// The phonebook's storage, its name as %1; some phones take the name only
// quoted, some only in the selected character set.
inline const QString kSimStorage = QStringLiteral("SM");
inline const QString kPhoneStorage = QStringLiteral("ME");
inline const QString kSelectStorage = QStringLiteral("+CPBS=%1");
inline const QString kQuoted = QStringLiteral("\"%1\"");
inline const QString kStorageQuery = QStringLiteral("+CPBS?");

// The entries: the range query, a read ("+CPBR=7", "+CPBR=1,250") and a
// write ("+CPBW=7,...", "+CPBW=7" to clear).
inline const QString kRangeQuery = QStringLiteral("+CPBR=?");
inline const QString kRead = QStringLiteral("+CPBR=");
inline const QString kWrite = QStringLiteral("+CPBW=");

// The information text of the answers.
inline const QString kEntryPrefix = QStringLiteral("+CPBR:");
inline const QString kStoragePrefix = QStringLiteral("+CPBS:");
inline const QString kCharsetPrefix = QStringLiteral("+CSCS:");

// The final result codes. The extended error of 27.007 is followed by its
// number or, with +CMEE=2, its text.
inline const QString kOk = QStringLiteral("OK");
inline const QString kError = QStringLiteral("ERROR");
inline const QString kCmeError = QStringLiteral("+CME ERROR:");

} // namespace AtCommands
