// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>

#include <chrono>
#include <deque>
#include <optional>

// When the phone's bytes go out on the line: after the delay each answer is
// given, at the line's speed, and in pieces of a chosen size with a pause
// between them. It only keeps time; the caller writes what falls due.
class LinePacer {
public:
    using Clock = std::chrono::steady_clock;

    // bytesPerSecond 0: the line takes no time. chunkSize 0: an answer goes
    // out whole (at the line's speed, in short pieces).
    void setLineSpeed(int bytesPerSecond) { m_bytesPerSecond = bytesPerSecond; }
    void setChunks(int chunkSize, std::chrono::milliseconds pause);

    // Bytes coming in occupy the line too: returns when the last of
    // byteCount bytes, noticed at now, has fully arrived.
    Clock::time_point receive(int byteCount, Clock::time_point now);

    void enqueue(const QByteArray &bytes, Clock::time_point notBefore);
    bool isEmpty() const { return m_queue.empty(); }
    void clear();

    // When the next piece is due; nothing when the queue is empty.
    std::optional<Clock::time_point> nextDue() const;
    // The next piece if it is due at now, else nothing.
    QByteArray takeDue(Clock::time_point now);

private:
    struct Pending {
        QByteArray bytes;
        Clock::time_point notBefore;
    };

    Clock::duration transmission(int byteCount) const;
    int pieceSize(const Pending &pending) const;

    int m_bytesPerSecond = 0;
    int m_chunkSize = 0;
    std::chrono::milliseconds m_chunkPause{0};
    std::deque<Pending> m_queue;
    Clock::time_point m_outputFreeAt;
    Clock::time_point m_inputFreeAt;
};
