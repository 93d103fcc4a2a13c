// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "atstatus.h"
#include "simphonebook.h"

#include <QByteArray>
#include <QList>
#include <QString>

class SimCharset;
struct SimOptions;

// The phonebook commands of 27.007: +CPBS selects a storage, +CPBR reads
// it and +CPBW writes it. Holds the storages and which one is selected.
class SimPhonebookCommands {
public:
    // The SIM and the phone memory, both empty, and the SIM selected.
    SimPhonebookCommands();

    // Starts the counts and the states of the habits that options sets
    // over, as a phone just switched on.
    void powerOn(const SimOptions &options);

    // Whether a command of this name is one of these.
    static bool handles(const QByteArray &name);

    // Carries out the command name (upper case) with what follows its name;
    // texts travel in the character set given.
    AtStatus execute(const QByteArray &name, const QByteArray &form, const SimOptions &options,
                     const SimCharset &charset, QList<QByteArray> *lines);

    // Replacing the phonebooks keeps the selected storage when it still
    // exists; otherwise the SIM (or the first storage there is) is selected.
    void setPhonebooks(const SimPhonebooks &phonebooks);
    const SimPhonebooks &phonebooks() const { return m_phonebooks; }
    QString selectedStorage() const { return m_selected; }

private:
    AtStatus select(const QByteArray &form, const SimOptions &options, const SimCharset &charset,
                    QList<QByteArray> *lines);
    AtStatus read(const QByteArray &form, const SimOptions &options, const SimCharset &charset,
                  QList<QByteArray> *lines);
    AtStatus write(const QByteArray &form, const SimOptions &options, const SimCharset &charset,
                   QList<QByteArray> *lines);

    SimPhonebooks m_phonebooks;
    QString m_selected;
    int m_busyLeft = 0;
    bool m_positionsRead = false;
    bool m_writeDropped = false;
    bool m_written = false;
};
