// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "phonebookread.h"

#include <QObject>

#include <functional>

// How an operation's progress reaches the session: as signals, queued to
// the session's thread when the operation runs on the phone's.
class SessionProgress : public QObject, public ReadProgress {
    Q_OBJECT
public:
    // keepGoing answers what goOn answers, from any thread.
    explicit SessionProgress(std::function<bool()> goOn, QObject *parent = nullptr);

    void stage(Stage stage) override { emit staged(stage); }
    void setMaximum(double maximum) override { emit maximumSet(maximum); }
    void setValue(double value) override { emit valueSet(value); }
    bool keepGoing() const override { return m_goOn(); }
    void limitsKnown(const FormVariables &vars) override { emit limitsTold(vars); }
    void positionRead(const PhonebookEntry &entry) override { emit entryRead(entry); }

signals:
    void staged(Stage stage);
    void maximumSet(double maximum);
    void valueSet(double value);
    void limitsTold(const FormVariables &vars);
    void entryRead(const PhonebookEntry &entry);

private:
    std::function<bool()> m_goOn;
};
