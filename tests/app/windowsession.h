// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "form1.h"
#include "phoneonport.h"

#include <QString>

#include <memory>

class QLineEdit;
class QPushButton;

// The real window on COM 1, with the simulated phone behind a
// pseudo-terminal and the real serial port in between, driven as a user
// drives it: by clicks and typing.
class WindowSession : public PhoneOnPort {
public:
    using PhoneOnPort::PhoneOnPort;
    ~WindowSession() override;

    // Starts the phone and opens the window; false with the reason in why.
    bool start(QString *why);

    // Clicks the button and waits until the operation it started has ended.
    void click(QPushButton *button);
    // Clicks it and goes on at once, while the operation runs.
    void clickAndGoOn(QPushButton *button);
    // Clicks the exit panel and goes on at once.
    void clickExitPanel();
    // Waits until no operation runs.
    void waitUntilIdle();
    // Selects row of List1 with a click, as the user does.
    void selectLine(int row);
    // Replaces a box's text by typing.
    void type(QLineEdit *box, const QString &text);

    // Opens the port and reads the SIM with the buttons, each checked to
    // have worked, and forgets the commands they sent.
    void connectPhone();
    void readSim();

    QString message() const;
    QString connection() const;

    std::unique_ptr<Form1> form;
    int finishedCount = 0;
};

// A session on the twelve-position SIM of a phone named model, started;
// null, with the test failed, when it could not start.
std::unique_ptr<WindowSession> startedOnTwelvePositionSim(const QString &model);
