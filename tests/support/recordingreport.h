#pragma once

#include "operationreport.h"

#include <QCoreApplication>
#include <QList>
#include <QStringList>

#include <functional>

// Stands in for the window: keeps every progress text and step, lets
// the event loop run (a phone may answer from it), and can play a user who
// ends the program after a given number of steps. onStep runs at every
// keepGoing() with the number of steps so far, standing for a handler that
// runs meanwhile.
class RecordingReport : public OperationReport {
public:
    void setMessage(const QString &text) override { messages.append(text); }
    void setProgressMaximum(double maximum) override { maximums.append(maximum); }
    void setProgressValue(double value) override { values.append(value); }

    bool keepGoing() override
    {
        QCoreApplication::processEvents();
        ++steps;
        if (onStep)
            onStep(steps);
        return stopAfterSteps < 0 || steps <= stopAfterSteps;
    }

    QStringList messages;
    QList<double> maximums;
    QList<double> values;
    int steps = 0;
    // keepGoing() answers false from step stopAfterSteps + 1 on; -1: never.
    int stopAfterSteps = -1;
    std::function<void(int)> onStep;
};
