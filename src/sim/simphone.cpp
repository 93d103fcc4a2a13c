// SPDX-License-Identifier: GPL-3.0-or-later
#include "simphone.h"

#include "phonebookstate.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

namespace {

constexpr char kCr = '\r';
constexpr char kLf = '\n';
constexpr char kBackspace = '\b';
constexpr char kNul = '\0';
constexpr int kBitsPerByte = 10; // start bit, eight data bits, stop bit
constexpr int kReadSize = 4096;
const QByteArray kCommandPrefix = QByteArrayLiteral("AT");
constexpr std::chrono::seconds kHangUpGrace{1};
constexpr std::chrono::milliseconds kHangUpRecheck{5};
constexpr std::chrono::milliseconds kHandOver{50};

QString errnoText()
{
    return QString::fromLocal8Bit(std::strerror(errno));
}

} // namespace

SimPhone::SimPhone(const QString &charset)
    : m_modem(charset)
{
    m_modem.setPhonebooks(PhonebookState::demo());
}

SimPhone::~SimPhone()
{
    stop();
}

bool SimPhone::start(QString *why)
{
    stop();
    std::lock_guard<std::mutex> lock(m_mutex);
    if (!m_pty.open(why))
        return false;
    if (::pipe2(m_wake, O_CLOEXEC | O_NONBLOCK) != 0) {
        if (why)
            *why = errnoText();
        m_pty.close();
        return false;
    }
    m_devicePath = m_pty.slavePath();
    m_incoming.clear();
    m_unwritten.clear();
    m_pacer.clear();
    m_hangUpPending = false;
    m_hangUpGiveUp = Clock::time_point();
    m_stopping = false;
    m_thread = std::thread(&SimPhone::serve, this);
    return true;
}

void SimPhone::stop()
{
    if (m_thread.joinable()) {
        m_stopping = true;
        const char wake = 0;
        while (::write(m_wake[1], &wake, 1) < 0 && errno == EINTR) {
        }
        m_thread.join();
    }
    std::lock_guard<std::mutex> lock(m_mutex);
    for (int &fd : m_wake) {
        if (fd >= 0)
            ::close(fd);
        fd = -1;
    }
    m_pty.close();
}

bool SimPhone::isRunning() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_pty.isOpen();
}

QString SimPhone::devicePath() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_devicePath;
}

void SimPhone::serve()
{
    std::unique_lock<std::mutex> lock(m_mutex);
    while (!m_stopping) {
        const Clock::time_point now = Clock::now();
        sendDue(now);
        // A line dropped at once would take the last answer with it: the
        // hang-up waits until the program has read it, or gives up waiting.
        // The kernel hands written bytes to the reader's side a moment
        // later, so an empty queue counts only some time after the write.
        bool awaitingReader = false;
        if (m_hangUpPending && m_pacer.isEmpty() && m_unwritten.isEmpty()) {
            if (m_hangUpGiveUp == Clock::time_point())
                m_hangUpGiveUp = now + kHangUpGrace;
            const bool read = now - m_lastWrite >= kHandOver && m_pty.unreadCount() == 0;
            awaitingReader = !read && now < m_hangUpGiveUp;
            if (!awaitingReader)
                hangUp();
        }

        pollfd fds[2] = {{m_wake[0], POLLIN, 0}, {m_pty.masterFd(), 0, 0}};
        if (m_pty.isOpen())
            fds[1].events = m_unwritten.isEmpty() ? POLLIN : POLLIN | POLLOUT;
        int timeout = awaitingReader ? int(kHangUpRecheck.count()) : -1;
        if (m_unwritten.isEmpty() && m_pty.isOpen()) {
            if (const auto due = m_pacer.nextDue()) {
                const auto wait = std::chrono::ceil<std::chrono::milliseconds>(*due - Clock::now());
                timeout = int(std::max<long long>(0, wait.count()));
            }
        }

        const nfds_t watched = m_pty.isOpen() ? 2 : 1;
        lock.unlock();
        const int ready = ::poll(fds, watched, timeout);
        lock.lock();
        if (ready < 0)
            continue; // interrupted by a signal
        if (fds[0].revents & POLLIN) {
            char drain[16];
            while (::read(m_wake[0], drain, sizeof drain) > 0) {
            }
        }
        if (m_pty.isOpen() && (fds[1].revents & POLLIN))
            receive(Clock::now());
    }
}

void SimPhone::receive(Clock::time_point now)
{
    char buffer[kReadSize];
    for (;;) {
        const ssize_t count = ::read(m_pty.masterFd(), buffer, sizeof buffer);
        if (count <= 0)
            return;
        const Clock::time_point arrival = m_pacer.receive(int(count), now);
        // The command line is edited as V.250 has it: a backspace takes
        // back the character before it, NUL and LF are dropped.
        for (ssize_t i = 0; i < count; ++i) {
            const char c = buffer[i];
            if (c == kLf || c == kNul)
                continue;
            if (c == kBackspace) {
                m_incoming.chop(1);
                continue;
            }
            if (c != kCr) {
                m_incoming.append(c);
                continue;
            }
            const QByteArray line = m_incoming;
            m_incoming.clear();
            if (!m_hangUpPending)
                handleLine(line, arrival);
        }
    }
}

void SimPhone::handleLine(const QByteArray &line, Clock::time_point arrival)
{
    if (!SimModem::isCommandLine(line))
        return;
    const QString command = QString::fromLatin1(line.mid(kCommandPrefix.size()));
    ++m_commandSerial;
    if (m_silence.take(command)) {
        m_modem.record(line);
    } else {
        const SimModem::Reply reply = m_refusal.take(command) ? m_modem.refuse(line) : m_modem.execute(line);
        const bool unsolicited = m_unsolicitedEvery > 0 && m_commandSerial % m_unsolicitedEvery == 0;
        QByteArray answer;
        if (unsolicited && (m_unsolicitedPlacement & BeforeAnswer))
            answer += m_unsolicited;
        answer += reply.information;
        if (unsolicited && (m_unsolicitedPlacement & InsideAnswer) && !reply.information.isEmpty())
            answer += m_unsolicited;
        answer += reply.result;
        m_pacer.enqueue(reply.echo, arrival);
        m_pacer.enqueue(answer, arrival + m_latency + std::chrono::milliseconds(reply.lateMs));
    }
    if (m_hangUpAfter > 0 && ++m_commandsSinceHangUpSet >= m_hangUpAfter)
        m_hangUpPending = true;
    m_commandArrived.notify_all();
}

void SimPhone::sendDue(Clock::time_point now)
{
    if (!m_pty.isOpen())
        return;
    for (;;) {
        if (m_unwritten.isEmpty())
            m_unwritten = m_pacer.takeDue(now);
        if (m_unwritten.isEmpty())
            return;
        const ssize_t written = ::write(m_pty.masterFd(), m_unwritten.constData(), size_t(m_unwritten.size()));
        if (written < 0)
            return; // full: poll waits until the line takes more
        m_unwritten.remove(0, int(written));
        m_lastWrite = now;
    }
}

void SimPhone::hangUp()
{
    m_hangUpPending = false;
    m_hangUpGiveUp = Clock::time_point();
    m_hangUpAfter = 0;
    m_pacer.clear();
    m_incoming.clear();
    m_pty.close();
}

void SimPhone::setOptions(const SimModem::Options &options)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_modem.setOptions(options);
}

SimModem::Options SimPhone::options() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_modem.options();
}

void SimPhone::setModel(const QString &model)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_modem.setModel(model);
}

QMap<int, SimEntry> SimPhone::phonebook(const QString &storage) const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_modem.phonebooks().value(storage).entries;
}

SimPhonebooks SimPhone::phonebooks() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_modem.phonebooks();
}

void SimPhone::setPhonebook(const QString &storage, const SimPhonebook &phonebook)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    SimPhonebooks books = m_modem.phonebooks();
    books.insert(storage, phonebook);
    m_modem.setPhonebooks(books);
}

void SimPhone::setPhonebooks(const SimPhonebooks &phonebooks)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_modem.setPhonebooks(phonebooks);
}

bool SimPhone::loadState(const QString &path, QString *why)
{
    SimPhonebooks books;
    if (!PhonebookState::load(path, &books, why))
        return false;
    setPhonebooks(books);
    return true;
}

bool SimPhone::saveState(const QString &path, QString *why) const
{
    return PhonebookState::save(path, phonebooks(), why);
}

QString SimPhone::selectedStorage() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_modem.selectedStorage();
}

QStringList SimPhone::commands() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_modem.commands();
}

void SimPhone::clearCommands()
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_modem.clearCommands();
}

bool SimPhone::waitForCommandCount(int count, int timeoutMs)
{
    std::unique_lock<std::mutex> lock(m_mutex);
    return m_commandArrived.wait_for(lock, std::chrono::milliseconds(timeoutMs),
                                     [&] { return m_modem.commandCount() >= count; });
}

void SimPhone::setLatency(int ms)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_latency = std::chrono::milliseconds(std::max(0, ms));
}

void SimPhone::setLineSpeed(int baud)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_pacer.setLineSpeed(std::max(0, baud) / kBitsPerByte);
}

void SimPhone::setChunks(int chunkSize, int pauseMs)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_pacer.setChunks(chunkSize, std::chrono::milliseconds(std::max(0, pauseMs)));
}

void SimPhone::setSilence(const QStringList &prefixes, int times)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_silence = CommandRule::prefixes(prefixes, times);
}

void SimPhone::setSilence(CommandPredicate matches, int times)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_silence = CommandRule(std::move(matches), times);
}

void SimPhone::setRefusal(const QStringList &prefixes, int times)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_refusal = CommandRule::prefixes(prefixes, times);
}

void SimPhone::setRefusal(CommandPredicate matches, int times)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_refusal = CommandRule(std::move(matches), times);
}

void SimPhone::setUnsolicited(const QByteArray &text, int everyK, int placement)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_unsolicited = text;
    m_unsolicitedEvery = text.isEmpty() ? 0 : std::max(0, everyK);
    m_unsolicitedPlacement = placement;
    m_commandSerial = 0;
}

void SimPhone::setHangUpAfter(int commands)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_hangUpAfter = std::max(0, commands);
    m_commandsSinceHangUpSet = 0;
}

void SimPhone::clearFaults()
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_latency = std::chrono::milliseconds(0);
    m_pacer.setLineSpeed(0);
    m_pacer.setChunks(0, std::chrono::milliseconds(0));
    m_silence = CommandRule();
    m_refusal = CommandRule();
    m_unsolicited.clear();
    m_unsolicitedEvery = 0;
    m_hangUpAfter = 0;
}
