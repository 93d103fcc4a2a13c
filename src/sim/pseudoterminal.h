// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include <memory>

class QTemporaryDir;

// A pseudo-terminal pair in raw mode. The master side is the phone's end;
// the slave is what a serial port program opens, under a path of this pair
// alone (see slavePath). The pair keeps a slave descriptor of its own, so
// the master does not see a hang-up each time the program closes and
// reopens the port.
class PseudoTerminal {
public:
    PseudoTerminal();
    ~PseudoTerminal();
    PseudoTerminal(const PseudoTerminal &) = delete;
    PseudoTerminal &operator=(const PseudoTerminal &) = delete;

    bool open(QString *why = nullptr);
    // Closes both ends: the program's port sees the line drop, and the
    // slave's path leads nowhere.
    void close();

    bool isOpen() const { return m_master >= 0; }
    int masterFd() const { return m_master; }
    // A link to the slave in a folder made for this pair, which a program
    // opens in place of /dev/pts/N. The kernel gives a number out again as
    // soon as the last descriptor of its pair is closed, and a serial port
    // library names its lock file after the path it opens: a program that
    // closes its port after its phone has gone still holds the lock of
    // /dev/pts/N for a moment, long enough for another program's new pair
    // to get N and find its port locked. Under a path of its own no two
    // pairs share a lock, and a stale path leads nowhere instead of to
    // another program's phone.
    QString slavePath() const { return m_slavePath; }
    // Bytes sent by the master that the program has not read yet.
    int unreadCount() const;

private:
    int m_master = -1;
    int m_slave = -1;
    std::unique_ptr<QTemporaryDir> m_folder;
    QString m_slavePath;
};
