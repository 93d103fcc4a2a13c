// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>

// How a command ends: well, with "ERROR", with a phone error of 27.007
// that +CMEE reports as "ERROR", by number or by text, or with nothing at
// all, its echo included, as a phone that has died; and how late.
struct AtStatus {
    enum Kind { Ok, Error, Cme, Silent };

    // The error numbers of 27.007 that the phone gives.
    static constexpr int kNotAllowed = 3;
    static constexpr int kNotSupported = 4;
    static constexpr int kSimBusy = 14;
    static constexpr int kInvalidIndex = 21;
    static constexpr int kNotFound = 22;
    static constexpr int kMemoryFailure = 23;
    static constexpr int kTextTooLong = 24;
    static constexpr int kDialStringTooLong = 26;
    // Not of 27.007: the "please wait" of SIMCom, Telit and u-blox modules.
    static constexpr int kPleaseWait = 515;

    static AtStatus failed() { return AtStatus{Error, 0}; }
    static AtStatus phoneFailed(int code) { return AtStatus{Cme, code}; }
    static AtStatus silent() { return AtStatus{Silent, 0}; }
    // The text of 27.007 for code, as +CMEE=2 reports it.
    static QByteArray errorText(int code);

    Kind kind = Ok;
    int code = 0;
    // How much later than the phone's usual time the answer comes; its echo
    // comes at once.
    int lateMs = 0;
};
