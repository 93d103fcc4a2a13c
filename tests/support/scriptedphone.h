// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "pseudoterminal.h"

#include <QByteArray>
#include <QList>

#include <chrono>
#include <functional>
#include <map>
#include <mutex>
#include <thread>

// The phone's end of a pseudo-terminal, answering each frame it receives
// (the bytes up to a CR) as its responder says. It serves the line on a
// thread of its own, so it answers while the link waits on the test's
// thread; every member may be called from either thread, the responder
// runs on the phone's.
class ScriptedPhone {
public:
    using Responder = std::function<void(const QByteArray &frame)>;

    ScriptedPhone() = default;
    ~ScriptedPhone();
    ScriptedPhone(const ScriptedPhone &) = delete;
    ScriptedPhone &operator=(const ScriptedPhone &) = delete;

    bool start();
    QString device() const { return m_pty.slavePath(); }

    // Without a responder the phone stays silent.
    void setResponder(Responder responder);
    void answerEachWith(const QByteArray &answer);

    void send(const QByteArray &bytes);
    void sendLater(int ms, const QByteArray &bytes);
    // Drops the line, as when the cable is pulled.
    void hangUp();

    // Everything received so far, and the same cut into frames, CR kept.
    QByteArray received();
    QList<QByteArray> frames();

private:
    using Clock = std::chrono::steady_clock;

    void serve();
    // The frames completed by what arrived; called with the lock held.
    QList<QByteArray> readFrames();
    void wake();

    PseudoTerminal m_pty;
    std::thread m_thread;
    std::mutex m_mutex;
    bool m_stopping = false;
    int m_wake[2] = {-1, -1};
    Responder m_responder;
    std::multimap<Clock::time_point, QByteArray> m_later;
    QByteArray m_received;
    QByteArray m_partial;
    QList<QByteArray> m_frames;
};
