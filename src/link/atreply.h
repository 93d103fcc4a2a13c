// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QByteArrayList>

#include <optional>

// What one AT transaction came to: the phone's answer, or why there is none.
struct AtReply {
    enum class Final {
        Ok,
        Error,
        // The extended error of 27.007, with its number or its text.
        CmeError,
        // Silent until the deadline, after the resends.
        NoAnswer,
        // The port was closed before or during the call.
        PortClosed,
        // The device failed: the link has closed the port and emitted lost().
        PortFailed,
        // cancel() was called while the transaction waited; the port stays open.
        Cancelled,
    };

    Final final = Final::NoAnswer;
    // The command's own information text line by line, the bytes as they
    // came, as the cleaning leaves it: framing, the lines set aside and the
    // final "OK" taken out. Only an Ok reply has any: information text in
    // front of an error is no answer.
    QByteArrayList lines;
    // The lines of the answer that are not the command's own: the codes the
    // phone slipped in.
    QByteArrayList unsolicited;
    // For CmeError: what follows "+CME ERROR:" as sent, and its number when
    // it is one (+CMEE=1) rather than a text (+CMEE=2).
    QByteArray cmeText;
    std::optional<int> cmeNumber;

    // The phone took the command: a plain OK, without information text.
    bool isOk() const { return final == Final::Ok && lines.isEmpty(); }
    // 27.007's "not found" (error 22), which a phone may answer for an empty
    // phonebook position.
    bool isNotFound() const;
    // 27.007's "SIM busy" (error 14), which a phone answers while its SIM is
    // still starting up, or the "please wait" (error 515) that some modules
    // answer instead.
    bool isSimBusy() const;
    // The phone sent a final result code of its own.
    bool isAnswered() const;
    // The port failed or the user gave up: the operation stops where it is.
    bool stops() const { return final == Final::PortFailed || final == Final::Cancelled; }

    // "OK", "ERROR" (for every final result but Ok) or the information text
    // with its lines joined by CR LF.
    QByteArray text() const;
};
