// SPDX-License-Identifier: GPL-3.0-or-later
#include "linepacer.h"

#include <algorithm>

namespace {

// Without chunks of its own a paced answer still trickles out, in pieces
// short enough that a reader sees it arrive gradually.
constexpr int kPacedPiece = 16;

}

void LinePacer::setChunks(int chunkSize, std::chrono::milliseconds pause)
{
    m_chunkSize = std::max(0, chunkSize);
    m_chunkPause = pause;
}

LinePacer::Clock::duration LinePacer::transmission(int byteCount) const
{
    if (m_bytesPerSecond <= 0)
        return Clock::duration::zero();
    return std::chrono::duration_cast<Clock::duration>(std::chrono::microseconds(
        static_cast<long long>(byteCount) * 1000000 / m_bytesPerSecond));
}

int LinePacer::pieceSize(const Pending &pending) const
{
    const int whole = int(pending.bytes.size());
    if (m_chunkSize > 0)
        return std::min(m_chunkSize, whole);
    return m_bytesPerSecond > 0 ? std::min(kPacedPiece, whole) : whole;
}

LinePacer::Clock::time_point LinePacer::receive(int byteCount, Clock::time_point now)
{
    m_inputFreeAt = std::max(now, m_inputFreeAt) + transmission(byteCount);
    return m_inputFreeAt;
}

void LinePacer::enqueue(const QByteArray &bytes, Clock::time_point notBefore)
{
    if (!bytes.isEmpty())
        m_queue.push_back({bytes, notBefore});
}

void LinePacer::clear()
{
    m_queue.clear();
    m_outputFreeAt = m_inputFreeAt = Clock::time_point();
}

std::optional<LinePacer::Clock::time_point> LinePacer::nextDue() const
{
    if (m_queue.empty())
        return std::nullopt;
    const Pending &front = m_queue.front();
    const int size = pieceSize(front);
    return std::max(front.notBefore, m_outputFreeAt) + transmission(size);
}

QByteArray LinePacer::takeDue(Clock::time_point now)
{
    const std::optional<Clock::time_point> due = nextDue();
    if (!due || *due > now)
        return {};
    Pending &front = m_queue.front();
    const int size = pieceSize(front);
    const QByteArray piece = front.bytes.left(size);
    front.bytes.remove(0, size);
    if (front.bytes.isEmpty())
        m_queue.pop_front();
    m_outputFreeAt = *due + (m_chunkSize > 0 ? m_chunkPause : Clock::duration::zero());
    return piece;
}
