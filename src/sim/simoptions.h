#pragma once

#include <QString>
#include <QStringList>

// Ways in which phones differ while still within the standards. Every
// switch but the answer to an empty position (27.007 gives the final result
// code alone) is off on a lenient phone and on on a strict one.
struct SimOptions {
    // The values of +CMEE: phone errors come as "ERROR", as "+CME ERROR: n"
    // or as "+CME ERROR: text".
    enum Cmee { PlainErrors = 0, NumberedErrors = 1, VerboseErrors = 2 };

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
    // leaves +CMEE as it is, as phones that keep it among their settings do.
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

    static SimOptions strict();
};
