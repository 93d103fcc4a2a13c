// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>

// Every AT command the program sends (the bytes after "AT") and every answer
// text it looks for, so that a phone's habit is met in one place.
namespace AtCommands {

// What every command line opens with.
inline const QByteArray kAttention = QByteArrayLiteral("AT");

// The set-up of the handshake.
inline const QByteArray kReset = QByteArrayLiteral("Z");
inline const QByteArray kEchoOff = QByteArrayLiteral("E0");
inline const QByteArray kResultCodesOn = QByteArrayLiteral("Q0");
inline const QByteArray kVerboseResults = QByteArrayLiteral("V1");
inline const QByteArray kModelQuery = QByteArrayLiteral("+CGMM");

// The character set: the query, the sets offered, and the selection,
// which the set's name follows quoted.
inline const QByteArray kCharsetQuery = QByteArrayLiteral("+CSCS?");
inline const QByteArray kCharsetsOffered = QByteArrayLiteral("+CSCS=?");
inline const QByteArray kCharsetSelect = QByteArrayLiteral("+CSCS=");

// The phonebook's storage, its name following the selection; some phones
// take the name only quoted, some only in the selected character set.
inline const QByteArray kSimStorage = QByteArrayLiteral("SM");
inline const QByteArray kPhoneStorage = QByteArrayLiteral("ME");
inline const QByteArray kSelectStorage = QByteArrayLiteral("+CPBS=");
inline const QByteArray kStorageQuery = QByteArrayLiteral("+CPBS?");

// The entries: the range query, a read ("+CPBR=7", "+CPBR=1,250"), a
// write ("+CPBW=7,...", "+CPBW=7" to clear) and the write's own test form,
// which tells the range and the lengths too.
inline const QByteArray kRangeQuery = QByteArrayLiteral("+CPBR=?");
inline const QByteArray kRead = QByteArrayLiteral("+CPBR=");
inline const QByteArray kWrite = QByteArrayLiteral("+CPBW=");
inline const QByteArray kWriteQuery = QByteArrayLiteral("+CPBW=?");

// What parts the values of a command, and what quotes its strings.
constexpr char kSeparator = ',';
constexpr char kQuote = '"';

inline QByteArray quoted(const QByteArray &text)
{
    return kQuote + text + kQuote;
}

// The information text of the answers.
inline const QByteArray kEntryPrefix = QByteArrayLiteral("+CPBR:");
inline const QByteArray kWritePrefix = QByteArrayLiteral("+CPBW:");
inline const QByteArray kStoragePrefix = QByteArrayLiteral("+CPBS:");
inline const QByteArray kCharsetPrefix = QByteArrayLiteral("+CSCS:");

// The final result codes. The extended error of 27.007 is followed by its
// number or, with +CMEE=2, its text.
inline const QByteArray kOk = QByteArrayLiteral("OK");
inline const QByteArray kError = QByteArrayLiteral("ERROR");
inline const QByteArray kCmeError = QByteArrayLiteral("+CME ERROR:");

// The extended errors the program acts on, by number (+CMEE=1) and by text
// (+CMEE=2).
struct CmeCode {
    int number;
    QByteArray text;
};
// 27.007's "not found": an empty phonebook position, on some phones.
inline const CmeCode kNotFound{22, QByteArrayLiteral("not found")};
// 27.007's "SIM busy", while the SIM starts up; SIMCom, Telit and u-blox
// modules answer their own "please wait" then.
inline const CmeCode kSimBusy{14, QByteArrayLiteral("SIM busy")};
inline const CmeCode kPleaseWait{515, QByteArrayLiteral("please wait, init or command processing in progress")};

} // namespace AtCommands
