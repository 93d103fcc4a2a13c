// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArrayList>
#include <QString>
#include <QStringList>

#include <optional>

// Ways in which phones differ while still within the standards, and habits
// of particular phones that a program meets in the field. Every switch up
// to the answer to an empty position but that answer (27.007 gives the
// final result code alone) is off on a lenient phone and on on a strict
// one; the habits after it are off on both.
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

    // The read of one position that answers with another's entry.
    struct IndexSwap {
        int asked = 0;
        int answered = 0;
    };

    // +CPBR=? gives its index range bare: "+CPBR: 1-250,40,18".
    bool rangeWithoutParentheses = false;
    // An entry answer has a space after every comma, the USIM fields'
    // included: "+CPBR: 7, \"0612\", 129, \"CASA\"".
    bool spaceAfterComma = false;
    // The first this many phonebook commands after power-on, of any form,
    // are not carried out and answer error 14, "SIM busy".
    int simBusyAnswers = 0;
    // Those answers are error 515, "please wait, init or command processing
    // in progress", as SIMCom, Telit and u-blox modules give, instead.
    bool busyAsPleaseWait = false;
    // "+CPBR=asked" answers with the entry at answered, under its index.
    std::optional<IndexSwap> wrongIndex;
    // In UCS2 a name that +CPBW writes is kept cut to this many characters
    // and the write answers OK, while +CPBR=? declares the usual text
    // length; 0 keeps names whole.
    int nameLimitUcs2 = 0;
    // The first +CPBW that writes an entry to this position answers OK and
    // stores nothing; 0 for none.
    int dropWrite = 0;
    // An entry written to an empty position goes to the lowest empty
    // position instead, as one family of phones has it; one written to a
    // used position replaces it.
    bool firstFree = false;
    // Once a +CPBW has answered OK, +CPBR gets no answer at all, not even
    // its echo: a phone that dies while the program checks its writes.
    bool silentReadsAfterWrite = false;
    // The range read "+CPBR=a,b" answers error 4, "operation not supported".
    bool rangeReadRefused = false;
    // A range read lists at most this many entries before its OK; 0 lists
    // them all.
    int rangeReadCut = 0;
    // A range read whose upper bound lies above this answers error 21,
    // "invalid index", however large the storage; 0 for no such bound.
    int rangeReadHighest = 0;
    // Unsolicited result codes ("^RSSI:14", "+CREG: 1") that the phone puts
    // inside every answer it gives, one an answer and each framed by CR LF,
    // as Huawei sticks send theirs every few seconds whatever is asked. The
    // lines take turns, and once every line has had its turn the place
    // moves on: before the information text, after its first line, after
    // its last line. An answer without information text, as that to a write
    // or to an empty position, is then the code alone (after the echo). A
    // line that ends with CR goes out ended by CR CR LF.
    QByteArrayList unsolicitedLines;
    // The storage names of +CPBS are in the selected character set, as
    // every string parameter is: in UCS2 the SIM is "0053004D", both in the
    // commands it takes and in its answers, and "SM" is refused.
    bool storageNameInCharset = false;
    // The SIM keeps a number as digits and its "+" only as type 145: a
    // number written with any other type loses its "+", one written with
    // 145 has it, however it was sent.
    bool numbersAsDigits = false;
    // In UCS2 the texts of a write are kept as they arrive, the hex digits
    // themselves, the name cut to its field; written in another set they
    // are kept right.
    bool ucs2WriteKeepsHex = false;
    // In UCS2 a write whose name takes more hex digits than its field has
    // characters is refused with error 24, "text string too long", while
    // +CSCS=? still offers UCS2.
    bool ucs2NameInQuarterField = false;
    // A clear of a position, "+CPBW=k" or a write of an empty number and
    // text, answers OK and leaves the entry where it is.
    bool ignoredClears = false;
    // +CPBR=? declares these lengths, shorter than those the storage holds
    // and takes, as phones that report their SIM's lengths while keeping
    // longer entries of their own do; 0 declares the storage's own.
    int declaredNumberLength = 0;
    int declaredTextLength = 0;
    // +CPBR=? answers "ERROR" while +CPBR=n works, as the test commands of
    // current Fibocom and Quectel modules do.
    bool rangeQueryRefused = false;
    // +CPBW=? answers "ERROR" too.
    bool writeQueryRefused = false;
    // +CPBR=? answers error 23, "memory failure", while the selected
    // storage holds no entry, as some Samsung phones do for their empty
    // phone memory.
    bool noRangeWhenEmpty = false;
    // The first read of positions after power-on is answered this many
    // milliseconds late, as by a SIM that reads its phonebook in first.
    int firstReadDelayMs = 0;

    static SimOptions strict();
};
