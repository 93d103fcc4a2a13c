#pragma once

#include "scriptedphone.h"

#include <QByteArray>
#include <QHash>
#include <QMap>
#include <QSet>
#include <QStringList>

// A phone that answers the phonebook read commands from a table, without
// echo, with the faults a test asks for.
class ScriptedPhonebook {
public:
    struct Entry {
        QByteArray number;
        int type = 129;
        QByteArray name;
    };

    ScriptedPhonebook();

    bool start() { return m_phone.start(); }
    QString device() const { return m_phone.device(); }

    // The commands received so far, without "AT" and CR.
    QStringList commands();

    // The answer to "+CPBR=?" without its framing.
    QByteArray rangeAnswer = "+CPBR: (1-9),20,14";
    int highest = 9;
    QMap<int, Entry> entries;
    // Takes the storage name only in quotes.
    bool wantsQuotes = false;
    // Commands answered with these raw bytes instead.
    QHash<QByteArray, QByteArray> answers;
    // Commands the phone never answers.
    QSet<QByteArray> silentOn;
    // Lines put in front of every answer to a position read, each with
    // its CR LF CR LF.
    QByteArray unsolicited;
    // The line drops when this command arrives; empty: never.
    QByteArray hangUpOn;
    // The first this many commands get "SIM busy", as from a SIM still
    // starting up.
    int simBusyAnswers = 0;

private:
    void respond(const QByteArray &frame);
    QByteArray answerTo(const QByteArray &command) const;

    ScriptedPhone m_phone;
};
