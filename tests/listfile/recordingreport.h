#pragma once

#include "operationreport.h"

#include <QList>
#include <QStringList>

#include <functional>

// Records what an operation reports. onStep runs at every keepGoing() with
// the number of steps so far, standing for a handler that runs meanwhile;
// stopAtStep makes the user end the program at that step.
class RecordingReport : public OperationReport {
public:
    void setMessage(const QString &text) override { messages.append(text); }
    void setProgressMaximum(double maximum) override { maxima.append(maximum); }
    void setProgressValue(double value) override { values.append(value); }
    bool keepGoing() override
    {
        ++steps;
        if (onStep)
            onStep(steps);
        return steps != stopAtStep;
    }

    QStringList messages;
    QList<double> maxima;
    QList<double> values;
    int steps = 0;
    int stopAtStep = -1;
    std::function<void(int)> onStep;
};
