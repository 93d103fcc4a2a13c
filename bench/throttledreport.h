#pragma once

#include "operationreport.h"

#include <QCoreApplication>
#include <QElapsedTimer>

// Stands in for the window as the operations meet it: events are dispatched
// at most every few milliseconds however often an operation asks, so a
// benchmark pays for the window's event handling and nothing more.
class ThrottledReport : public OperationReport {
public:
    // The window's own interval (Form1::keepGoing).
    static constexpr qint64 kDispatchIntervalMs = 15;

    ThrottledReport() { m_sinceDispatch.start(); }
    void setMessage(const QString &) override {}
    void setProgressMaximum(double) override {}
    void setProgressValue(double) override {}
    bool keepGoing() override
    {
        if (m_sinceDispatch.elapsed() >= kDispatchIntervalMs) {
            QCoreApplication::processEvents();
            m_sinceDispatch.restart();
        }
        return true;
    }

private:
    QElapsedTimer m_sinceDispatch;
};
