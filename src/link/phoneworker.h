// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "phonelink.h"

#include <QObject>
#include <QPointer>
#include <QThread>

#include <chrono>
#include <functional>

// The phone's own thread: it owns the link, opens the port there and runs
// the operations that talk to the phone on it, one at a time, each with
// blocking waits. The window's thread stays free to draw and to take the
// user's clicks; the results come back to it through its event loop.
class PhoneWorker : public QObject {
    Q_OBJECT
public:
    explicit PhoneWorker(std::chrono::milliseconds deadline = PhoneLink::kDefaultDeadline,
                         QObject *parent = nullptr);
    // Cancels what runs and waits for the thread to end.
    ~PhoneWorker() override;

    // Runs job on the phone's thread, after the jobs before it, and then
    // done with its result on context's thread; done is dropped when
    // context is gone by then. Each job starts uncancelled.
    template <typename Result>
    void run(QObject *context, std::function<Result(PhoneLink &)> job, std::function<void(const Result &)> done)
    {
        QPointer<QObject> guard(context);
        QMetaObject::invokeMethod(
            m_link,
            [this, guard, job = std::move(job), done = std::move(done)] {
                m_link->resume();
                const Result result = job(*m_link);
                if (guard)
                    QMetaObject::invokeMethod(guard, [done, result] { done(result); }, Qt::QueuedConnection);
            },
            Qt::QueuedConnection);
    }

    // From the window's thread: the job that runs stops at its next step
    // or wait, and the jobs queued behind it find every transaction
    // cancelled, until the next job starts.
    void cancel() { m_link->cancel(); }
    bool isCancelled() const { return m_link->isCancelled(); }

signals:
    // The port failed and has been closed.
    void lost(const QString &why);
    // One frame written to the port.
    void frameSent(const QByteArray &frame);

private:
    QThread m_thread;
    PhoneLink *m_link;
};
