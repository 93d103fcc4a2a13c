// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "phonebooklistmodel.h"
#include "phonebooksession.h"
#include "phoneonport.h"

#include <QStringList>

#include <memory>

// The session without a window, on COM 1 with the simulated phone behind a
// pseudo-terminal and the real serial port in between: each call starts
// one operation, as a click does, and waits for it to end.
class SessionRig : public PhoneOnPort {
public:
    using PhoneOnPort::PhoneOnPort;
    ~SessionRig() override;

    // Starts the phone and the session; false with the reason in why.
    bool start(QString *why);

    // Runs an operation of the session and gives its outcome.
    Outcome run(const std::function<void(PhonebookSession &)> &operation);
    // The operations as the buttons start them, the port being COM 1.
    Outcome openOrClose();
    Outcome read(int selector = kSelectorSim);
    Outcome sort();
    Outcome writeBack();
    // Selects List1's row and saves the entry as the boxes have it.
    Outcome saveEntry(int row, const QString &name, const QString &number);
    Outcome deleteEntry(int row);
    // Saves List2 to the file named, or loads it from there.
    Outcome saveList(const QString &name);
    Outcome loadList(const QString &name);
    // Opens the port and reads the SIM, each checked to have worked, and
    // forgets the commands they sent.
    void connectAndReadSim();

    PhonebookListModel List1;
    PhonebookListModel List2;
    // Every message the panel showed, every connection change.
    QStringList messages;
    QList<bool> connections;
    int finishedCount = 0;
    std::unique_ptr<PhonebookSession> session;
};
