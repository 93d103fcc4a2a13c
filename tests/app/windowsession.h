#pragma once

#include "form1.h"
#include "givennamechooser.h"
#include "phoneworker.h"
#include "portdirectory.h"
#include "simphone.h"

#include <QString>
#include <QStringList>

#include <chrono>
#include <memory>

class QLineEdit;
class QPushButton;

// The real window on COM 1, with the simulated phone behind a
// pseudo-terminal and the real serial port in between, driven as a user
// drives it: by clicks and typing.
class WindowSession {
public:
    // charset is the phone's character set after power-on: by default one
    // of 8 bits, which the program keeps, so that the accented names of the
    // test phonebooks travel as they are.
    explicit WindowSession(std::chrono::milliseconds deadline = std::chrono::milliseconds(3000),
                           const QString &charset = QStringLiteral("8859-1"));
    ~WindowSession();

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
    // The commands that reached the phone since the last call, without "AT".
    QStringList newCommands();

    SimPhone phone;
    GivenNameChooser chooser;
    std::unique_ptr<PhoneWorker> worker;
    std::unique_ptr<PortDirectory> ports;
    std::unique_ptr<Form1> form;
    int finishedCount = 0;

private:
    int m_commandsSeen = 0;
};

// A session on the twelve-position SIM of a phone named model, started;
// null, with the test failed, when it could not start.
std::unique_ptr<WindowSession> startedOnTwelvePositionSim(const QString &model);
