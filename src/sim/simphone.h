// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "commandrule.h"
#include "linepacer.h"
#include "pseudoterminal.h"
#include "simmodem.h"

#include <QByteArray>
#include <QMap>
#include <QString>
#include <QStringList>

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <thread>

// A GSM phone behind a pseudo-terminal: a program opens devicePath() as its
// serial port and talks to a SimModem. The phone serves the line on a thread
// of its own, so it answers while the program's thread waits; every member
// may be called from any thread. The fault switches make it behave like the
// slow, chatty or unreliable phones a program meets in the field; they act
// on the commands received after they are set.
class SimPhone {
public:
    using CommandPredicate = CommandRule::Predicate;

    // Where an unsolicited result code goes into an answer.
    enum Placement {
        BeforeAnswer = 0x1,
        // Between the information text and the final result code; only
        // answers that carry information text get it.
        InsideAnswer = 0x2,
    };

    // Holds the demo phonebooks until others are set; charset is the
    // character set after power-on and after every reset.
    explicit SimPhone(const QString &charset = SimModem::kDefaultCharset);
    ~SimPhone();
    SimPhone(const SimPhone &) = delete;
    SimPhone &operator=(const SimPhone &) = delete;

    bool start(QString *why = nullptr);
    void stop();
    bool isRunning() const;
    QString devicePath() const;

    void setOptions(const SimModem::Options &options);
    SimModem::Options options() const;
    void setModel(const QString &model);

    QMap<int, SimEntry> phonebook(const QString &storage) const;
    SimPhonebooks phonebooks() const;
    void setPhonebook(const QString &storage, const SimPhonebook &phonebook);
    void setPhonebooks(const SimPhonebooks &phonebooks);
    bool loadState(const QString &path, QString *why = nullptr);
    bool saveState(const QString &path, QString *why = nullptr) const;
    QString selectedStorage() const;

    // Every command line received, without its CR.
    QStringList commands() const;
    void clearCommands();
    bool waitForCommandCount(int count, int timeoutMs);

    // Time between a command's arrival and its answer (the echo is not held).
    void setLatency(int ms);
    // Bits per second of the emulated line, 10 bits a byte; 0 for none.
    void setLineSpeed(int baud);
    // Sends answers in pieces of chunkSize bytes; 0 sends them whole.
    void setChunks(int chunkSize, int pauseMs = 2);
    // Chosen commands get no answer at all; times < 0: every time.
    void setSilence(const QStringList &prefixes, int times = -1);
    void setSilence(CommandPredicate matches, int times = -1);
    // Chosen commands are refused with "ERROR" and not carried out.
    void setRefusal(const QStringList &prefixes, int times = -1);
    void setRefusal(CommandPredicate matches, int times = -1);
    // Sends text (framing included, as "\r\nRING\r\n") with every k-th command.
    void setUnsolicited(const QByteArray &text, int everyK, int placement = BeforeAnswer);
    // Drops the line once the answer to the n-th command from now is out;
    // 0 never.
    void setHangUpAfter(int commands);
    void clearFaults();

private:
    using Clock = LinePacer::Clock;

    void serve();
    void receive(Clock::time_point now);
    void handleLine(const QByteArray &line, Clock::time_point arrival);
    void sendDue(Clock::time_point now);
    void hangUp();

    mutable std::mutex m_mutex;
    std::condition_variable m_commandArrived;
    std::thread m_thread;
    std::atomic<bool> m_stopping{false};
    int m_wake[2] = {-1, -1};

    PseudoTerminal m_pty;
    QString m_devicePath;
    SimModem m_modem;
    LinePacer m_pacer;
    QByteArray m_incoming;
    QByteArray m_unwritten;

    std::chrono::milliseconds m_latency{0};
    CommandRule m_silence;
    CommandRule m_refusal;
    QByteArray m_unsolicited;
    int m_unsolicitedEvery = 0;
    int m_unsolicitedPlacement = BeforeAnswer;
    int m_hangUpAfter = 0;
    int m_commandsSinceHangUpSet = 0;
    bool m_hangUpPending = false;
    Clock::time_point m_hangUpGiveUp;
    Clock::time_point m_lastWrite;
    int m_commandSerial = 0;
};
