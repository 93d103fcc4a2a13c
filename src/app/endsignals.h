// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>

class QSocketNotifier;
class QWidget;

// Ends the program on SIGTERM, SIGHUP and SIGINT (a kill, the end of the
// user's session, Ctrl+C in its terminal) the way the window's close button
// does: an operation in progress is asked to end first, nothing is sent to
// the phone, and the port and its lock file go as the program returns.
// Without this the signals end the process on the spot and leave the lock
// file behind. One at a time; the signals' own action again once it goes.
class EndSignals : public QObject {
    Q_OBJECT
public:
    explicit EndSignals(QWidget &window);
    ~EndSignals() override;

private:
    void onSignal();

    QWidget &m_window;
    QSocketNotifier *m_notifier = nullptr;
};
