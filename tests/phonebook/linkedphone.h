#pragma once

#include "scriptedphone.h"
#include "phonelink.h"

#include <QMap>
#include <QString>
#include <QStringList>

#include <chrono>

// A phone that knows just what the writes need: "+CPBW" to store and erase
// within the SIM's limits, "+CPBR" of one position or a range to read them
// back, and "OK" to anything else. A real link is open
// on it over a pseudo-terminal, as the window leaves it after opening the
// port.
class LinkedPhone {
public:
    LinkedPhone(int positions, int textLength, int numberLength);

    // Opens the link; false with the reason in *why.
    bool start(QString *why);

    // The phonebook: position -> "name|number|type".
    QMap<int, QString> entries() const { return m_entries; }
    void store(int position, const QString &name, const QString &number);

    // The commands that reached the phone, without "AT" and CR.
    QStringList commands() const { return m_commands; }

    // Answers "ERROR" to every command that begins with prefix.
    void refuse(const QString &prefix) { m_refused = prefix; }
    // Drops the line when the next command arrives after this many.
    void hangUpAfter(int answered) { m_hangUpAfter = answered; }

    // Leaves the command with this prefix unanswered and has the user end
    // the program while the link waits for it.
    void cancelOn(const QString &prefix) { m_cancelledOn = prefix; }

    PhoneLink link{std::chrono::milliseconds(3000)};

private:
    void respond(const QByteArray &frame);
    QByteArray answerTo(const QString &command);

    const int m_positions;
    const int m_textLength;
    const int m_numberLength;
    ScriptedPhone m_phone;
    QMap<int, QString> m_entries;
    QMap<int, QString> m_fields; // as +CPBR gives them after the name
    QStringList m_commands;
    QString m_refused;
    QString m_cancelledOn;
    int m_hangUpAfter = -1;
};
