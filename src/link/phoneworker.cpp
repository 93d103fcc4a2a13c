// SPDX-License-Identifier: GPL-3.0-or-later
#include "phoneworker.h"

PhoneWorker::PhoneWorker(std::chrono::milliseconds deadline, QObject *parent)
    : QObject(parent), m_link(new PhoneLink(deadline))
{
    m_link->moveToThread(&m_thread);
    // The port's notifiers belong to the phone's thread, so the link goes
    // there too, as that thread's last act.
    connect(&m_thread, &QThread::finished, this, [link = m_link] { delete link; }, Qt::DirectConnection);
    connect(m_link, &PhoneLink::lost, this, &PhoneWorker::lost);
    connect(m_link, &PhoneLink::frameSent, this, &PhoneWorker::frameSent);
    m_thread.setObjectName(QStringLiteral("phone"));
    m_thread.start();
}

PhoneWorker::~PhoneWorker()
{
    m_link->cancel();
    m_thread.quit();
    m_thread.wait();
}
