#pragma once

#include "phonecharset.h"
#include "simphonebook.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

struct AtParameter;

// The command interpreter of a GSM phone: the V.250 basic commands E, Q, V
// and Z, the error reporting setting +CMEE, the character set command +CSCS
// and the phonebook commands of 27.007 (+CGMM, +CPBS, +CPBR, +CPBW). Texts
// are kept as text and put on the line in the character set selected.
// It takes one command line as received, without its CR, and gives back
// what the phone sends in return, echo included. It does no I/O of its own,
// so the same interpreter serves a pseudo-terminal and a unit test.
class SimModem {
public:
    // The values of +CMEE: phone errors come as "ERROR", as "+CME ERROR: n"
    // or as "+CME ERROR: text".
    enum Cmee { PlainErrors = 0, NumberedErrors = 1, VerboseErrors = 2 };

    // Ways in which phones differ while still within the standards. Every
    // switch but the answer to an empty position (27.007 gives the final
    // result code alone) is off on a lenient phone and on on a strict one.
    struct Options {
        enum class EmptyPosition {
            // The final result code alone.
            Ok,
            // Error 22, "not found": "+CME ERROR: 22" with +CMEE=1,
            // "+CME ERROR: not found" with +CMEE=2, "ERROR" with +CMEE=0.
            NotFound,
        };

        // String parameters ("SM", the number, the text) must be quoted.
        bool quotedStrings = false;
        // +CMEE at power-on. Setting the options powers the phone on; ATZ
        // leaves +CMEE as it is, as phones that keep it among their
        // settings do.
        int cmee = PlainErrors;
        // Answers carry the optional fields after the standard ones.
        bool extraFields = false;
        // A number kept with type 145 is read back without its "+".
        bool internationalWithoutPlus = false;
        // The character sets that +CSCS offers and takes.
        QStringList charsets = {QStringLiteral("IRA"), QStringLiteral("GSM"), QStringLiteral("UCS2"),
                                QStringLiteral("8859-1")};
        // How the read of an empty position answers.
        EmptyPosition emptyPosition = EmptyPosition::Ok;

        static Options strict();
    };

    // What one command line brings back, in the order it is sent. Kept
    // apart so that a phone can slip an unsolicited code between the
    // information text and the final result code.
    struct Reply {
        QByteArray echo;
        QByteArray information;
        QByteArray result;

        QByteArray bytes() const { return echo + information + result; }
    };

    // The character set after power-on and after every reset: "IRA"
    // puts texts on the line as Windows-1252 bytes.
    explicit SimModem(const QString &charset = kDefaultCharset);
    static inline const QString kDefaultCharset = QStringLiteral("IRA");

    void setOptions(const Options &options);
    Options options() const { return m_options; }
    void setModel(const QString &model) { m_model = model; }
    QString charset() const { return m_charset.name(); }
    QString model() const { return m_model; }

    // Replacing the phonebooks keeps the selected storage when it still
    // exists; otherwise the SIM (or the first storage there is) is selected.
    void setPhonebooks(const SimPhonebooks &phonebooks);
    const SimPhonebooks &phonebooks() const { return m_phonebooks; }
    QString selectedStorage() const { return m_selected; }

    // Only a line that starts with "AT" or "at" is a command.
    static bool isCommandLine(const QByteArray &line);

    Reply execute(const QByteArray &line);
    QByteArray respond(const QByteArray &line) { return execute(line).bytes(); }
    // Echoes the line and refuses it with "ERROR" without carrying it out.
    Reply refuse(const QByteArray &line);
    // Notes a line that the phone receives and then ignores.
    void record(const QByteArray &line);

    QStringList commands() const { return m_commands; }
    int commandCount() const { return m_commands.size(); }
    void clearCommands() { m_commands.clear(); }

private:
    struct Status {
        enum Kind { Ok, Error, Cme } kind = Ok;
        int code = 0;
    };
    static Status failed() { return Status{Status::Error, 0}; }
    static Status phoneFailed(int code) { return Status{Status::Cme, code}; }

    Status basic(char command, int value);
    Status extended(const QByteArray &command, QStringList *lines);
    Status charsetCommand(const QByteArray &form, QStringList *lines);
    Status errorReporting(const QByteArray &form, QStringList *lines);
    Status phonebookSelect(const QByteArray &form, QStringList *lines);
    Status phonebookRead(const QByteArray &form, QStringList *lines);
    Status phonebookWrite(const QByteArray &form, QStringList *lines);
    bool takeSoleString(const QByteArray &form, QString *text) const;
    bool takeString(const AtParameter &parameter, QString *text) const;
    bool takeText(const AtParameter &parameter, QString *text) const;
    // A text in the character set selected; a character the set lacks is
    // sent as "?", as phones do.
    QString textOnLine(const QString &text) const;
    QString entryLine(int index, const SimEntry &entry) const;
    QStringList extraFieldsOnLine(const SimEntry &entry) const;
    bool takeEntry(const QList<AtParameter> &parameters, SimEntry *entry) const;
    QByteArray frameInformation(const QStringList &lines) const;
    QByteArray resultCode(const Status &status) const;
    void reset();

    Options m_options;
    QString m_model;
    SimPhonebooks m_phonebooks;
    QString m_selected;
    PhoneCharset m_powerOnCharset;
    PhoneCharset m_charset;
    int m_cmee = PlainErrors;
    bool m_echo = true;
    bool m_quiet = false;
    bool m_verbose = true;
    QStringList m_commands;
};
