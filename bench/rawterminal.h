// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>

// The program's end of the line with nothing but open(), write(), poll()
// and read(): the bare round trip against which the program's own
// transactions are set.
class RawTerminal {
public:
    RawTerminal() = default;
    ~RawTerminal();
    RawTerminal(const RawTerminal &) = delete;
    RawTerminal &operator=(const RawTerminal &) = delete;

    bool open(const QString &device, QString *why);
    void close();

    // Writes frame and reads until the answer ends with a final result
    // code. Returns the bytes read, echo included; -1 when the device fails
    // or stays silent for timeoutMs.
    qint64 exchange(const QByteArray &frame, int timeoutMs);

private:
    int m_fd = -1;
    QByteArray m_answer;
};
