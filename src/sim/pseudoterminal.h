#pragma once

#include <QString>

// A pseudo-terminal pair in raw mode. The master side is the phone's end;
// the slave's path is what a serial port program opens. The pair keeps a
// slave descriptor of its own, so the master does not see a hang-up each
// time the program closes and reopens the port.
class PseudoTerminal {
public:
    PseudoTerminal() = default;
    ~PseudoTerminal();
    PseudoTerminal(const PseudoTerminal &) = delete;
    PseudoTerminal &operator=(const PseudoTerminal &) = delete;

    bool open(QString *why = nullptr);
    // Closes both ends: the program's port sees the line drop.
    void close();

    bool isOpen() const { return m_master >= 0; }
    int masterFd() const { return m_master; }
    QString slavePath() const { return m_slavePath; }
    // Bytes sent by the master that the program has not read yet.
    int unreadCount() const;

private:
    int m_master = -1;
    int m_slave = -1;
    QString m_slavePath;
};
