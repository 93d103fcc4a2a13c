// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "atstatus.h"
#include "simcharset.h"
#include "simoptions.h"
#include "simphonebook.h"
#include "simphonebookcommands.h"
#include "simunsolicited.h"

#include <optional>

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

// The command interpreter of a GSM phone: the V.250 basic commands E, Q, V
// and Z, the error reporting setting +CMEE, the character set command +CSCS
// and the model query +CGMM; the phonebook commands of 27.007 (+CPBS,
// +CPBR, +CPBW) it hands to SimPhonebookCommands. Texts are kept as text
// and put on the line in the character set selected.
// It takes one command line as received, without its CR, and gives back
// what the phone sends in return, echo included. It does no I/O of its own,
// so the same interpreter serves a pseudo-terminal and a unit test.
class SimModem {
public:
    using Options = SimOptions;
    using Cmee = SimOptions::Cmee;
    static constexpr Cmee PlainErrors = SimOptions::PlainErrors;
    static constexpr Cmee NumberedErrors = SimOptions::NumberedErrors;
    static constexpr Cmee VerboseErrors = SimOptions::VerboseErrors;

    // What one command line brings back, in the order it is sent. Kept
    // apart so that a phone can slip an unsolicited code between the
    // information text and the final result code.
    struct Reply {
        QByteArray echo;
        QByteArray information;
        QByteArray result;
        // How much later than the phone's usual time the information and
        // the result come.
        int lateMs = 0;

        QByteArray bytes() const { return echo + information + result; }
    };

    // The character set after power-on and after every reset. Setting the
    // options powers the phone on again.
    explicit SimModem(const QString &charset = kDefaultCharset);
    static inline const QString kDefaultCharset = QStringLiteral("IRA");

    void setOptions(const Options &options);
    Options options() const { return m_options; }
    void setModel(const QString &model) { m_model = model; }
    QString charset() const { return m_charset.name(); }
    QString model() const { return m_model; }

    void setPhonebooks(const SimPhonebooks &phonebooks) { m_phonebook.setPhonebooks(phonebooks); }
    const SimPhonebooks &phonebooks() const { return m_phonebook.phonebooks(); }
    QString selectedStorage() const { return m_phonebook.selectedStorage(); }

    // Only a line that starts with "AT" or "at" is a command.
    static bool isCommandLine(const QByteArray &line);

    Reply execute(const QByteArray &line);
    QByteArray respond(const QByteArray &line) { return execute(line).bytes(); }
    // Echoes the line and refuses it with "ERROR" without carrying it out.
    Reply refuse(const QByteArray &line);
    // Notes a line that the phone receives and then ignores.
    void record(const QByteArray &line);

    // The command lines as received, a character for each byte.
    QStringList commands() const { return m_commands; }
    int commandCount() const { return m_commands.size(); }
    void clearCommands() { m_commands.clear(); }

private:
    AtStatus basic(char command, int value);
    AtStatus extended(const QByteArray &name, const QByteArray &form, QList<QByteArray> *lines);
    AtStatus charsetCommand(const QByteArray &form, QList<QByteArray> *lines);
    AtStatus errorReporting(const QByteArray &form, QList<QByteArray> *lines);
    QByteArray frameInformation(const QList<QByteArray> &lines,
                                const std::optional<SimUnsolicited::Slot> &unsolicited) const;
    QByteArray resultCode(const AtStatus &status) const;
    void reset();

    Options m_options;
    QString m_model;
    SimPhonebookCommands m_phonebook;
    SimUnsolicited m_unsolicited;
    SimCharset m_powerOnCharset;
    SimCharset m_charset;
    int m_cmee = PlainErrors;
    bool m_echo = true;
    bool m_quiet = false;
    bool m_verbose = true;
    QStringList m_commands;
};
