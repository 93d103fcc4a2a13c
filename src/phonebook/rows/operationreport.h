#pragma once

#include <QString>

// What a long operation needs of the window: the message panel, the
// progress bar, and a moment for the window to handle its events.
class OperationReport {
public:
    virtual ~OperationReport() = default;

    // Replaces the text of the message panel while the operation runs; its
    // last word comes back in its Outcome.
    virtual void setMessage(const QString &text) = 0;
    virtual void setProgressMaximum(double maximum) = 0;
    virtual void setProgressValue(double value) = 0;
    // The bar's minimum is above 0, so a step counted from 0 is shown as
    // its index plus a tenth.
    void setProgressIndex(qsizetype index) { setProgressValue(double(index) + 0.1); }

    // Called once per step: lets the window handle pending events (as often
    // as it sees fit) and answers false when the user asked the program to
    // end, so that the operation stops where it is.
    virtual bool keepGoing() = 0;
};
