// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "phonebookread.h"

#include <QList>

#include <functional>

// Stands in for the session: keeps every stage, bar step, limit and
// position an operation tells, and can play a user who ends the program
// after a given number of steps. onStep runs at every keepGoing() with the
// number of steps so far, standing for what the user does meanwhile.
class RecordingReport : public ReadProgress {
public:
    void stage(Stage stage) override { stages.append(stage); }
    void setMaximum(double maximum) override { maximums.append(maximum); }
    void setValue(double value) override { values.append(value); }
    void limitsKnown(const FormVariables &vars) override { limits.append(vars); }
    void positionRead(const PhonebookEntry &entry) override { positions.append(entry); }

    bool keepGoing() const override
    {
        ++steps;
        if (onStep)
            onStep(steps);
        return stopAfterSteps < 0 || steps <= stopAfterSteps;
    }

    QList<Stage> stages;
    QList<double> maximums;
    QList<double> values;
    QList<FormVariables> limits;
    PhonebookEntries positions;
    mutable int steps = 0;
    // keepGoing() answers false from step stopAfterSteps + 1 on; -1: never.
    int stopAfterSteps = -1;
    std::function<void(int)> onStep;
};
