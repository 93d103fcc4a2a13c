// SPDX-License-Identifier: GPL-3.0-or-later
#include "endsignals.h"

#include <QApplication>
#include <QSocketNotifier>
#include <QWidget>

#include <array>
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <unistd.h>

namespace {

constexpr std::array<int, 3> kEndSignals = {SIGTERM, SIGHUP, SIGINT};

// A handler may do next to nothing safely, so it only writes a byte into a
// pipe that the event loop watches; any thread may take the signal.
int g_pipe[2] = {-1, -1};

void onEndSignal(int)
{
    const int saved = errno;
    const char byte = 1;
    // A full pipe already holds a wake-up.
    [[maybe_unused]] const ssize_t written = ::write(g_pipe[1], &byte, 1);
    errno = saved;
}

void handleEndSignals(void (*handler)(int))
{
    struct sigaction action = {};
    action.sa_handler = handler;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (const int signal : kEndSignals)
        ::sigaction(signal, &action, nullptr);
}

}

EndSignals::EndSignals(QWidget &window) : m_window(window)
{
    // Without the pipe the signals keep their own action.
    if (::pipe2(g_pipe, O_CLOEXEC | O_NONBLOCK) != 0)
        return;
    m_notifier = new QSocketNotifier(g_pipe[0], QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &EndSignals::onSignal);
    handleEndSignals(onEndSignal);
}

EndSignals::~EndSignals()
{
    if (!m_notifier)
        return;
    handleEndSignals(SIG_DFL);
    delete m_notifier;
    ::close(g_pipe[0]);
    ::close(g_pipe[1]);
    g_pipe[0] = g_pipe[1] = -1;
}

void EndSignals::onSignal()
{
    char bytes[16];
    while (::read(g_pipe[0], bytes, sizeof bytes) > 0) {
    }
    // A file dialog waiting for the user would keep the operation that
    // opened it, and with it the window, from ending.
    if (QWidget *dialog = QApplication::activeModalWidget())
        dialog->close();
    m_window.close();
}
