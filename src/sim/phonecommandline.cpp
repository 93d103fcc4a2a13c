// SPDX-License-Identifier: GPL-3.0-or-later
#include "phonecommandline.h"

#include <QCommandLineParser>
#include <QCoreApplication>

namespace {

const QString kEmptyOk = QStringLiteral("ok");
const QString kEmptyNotFound = QStringLiteral("not-found");
const QStringList kCharsets = {QStringLiteral("GSM"), QStringLiteral("UCS2"), QStringLiteral("IRA"),
                               QStringLiteral("8859-1")};
// Written at the end of an unsolicited line, which then ends CR CR LF.
const QString kCrAtEnd = QStringLiteral("\\r");

QByteArray unsolicitedLine(const QString &value)
{
    if (!value.endsWith(kCrAtEnd))
        return value.toLatin1();
    return value.chopped(kCrAtEnd.size()).toLatin1() + '\r';
}

// A whole number of at least lowest, or nullopt.
std::optional<int> numberAtLeast(const QString &text, int lowest)
{
    bool ok = false;
    const int value = text.toInt(&ok);
    if (!ok || value < lowest)
        return std::nullopt;
    return value;
}

// An option that takes a count or a position: left out, *value stays.
bool takeNumber(const QCommandLineParser &parser, const QCommandLineOption &option, int lowest, int *value,
                QString *why)
{
    if (!parser.isSet(option))
        return true;
    const std::optional<int> number = numberAtLeast(parser.value(option), lowest);
    if (!number) {
        *why = QStringLiteral("--%1 wants a whole number from %2").arg(option.names().first()).arg(lowest);
        return false;
    }
    *value = *number;
    return true;
}

// "P=Q": positions from 1.
std::optional<SimModem::Options::IndexSwap> indexSwap(const QString &text)
{
    const QStringList sides = text.split(QLatin1Char('='));
    if (sides.size() != 2)
        return std::nullopt;
    const std::optional<int> asked = numberAtLeast(sides.at(0), 1);
    const std::optional<int> answered = numberAtLeast(sides.at(1), 1);
    if (!asked || !answered)
        return std::nullopt;
    return SimModem::Options::IndexSwap{*asked, *answered};
}

} // namespace

bool PhoneCommandLine::parse(const QCoreApplication &app, Settings *settings, QString *why)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("A GSM phone simulated behind a pseudo-terminal."));
    parser.addHelpOption();
    const QCommandLineOption state(QStringLiteral("state"),
                                   QStringLiteral("Phonebooks to load, and to write back on exit."),
                                   QStringLiteral("FILE"));
    const QCommandLineOption strict(QStringLiteral("strict"), QStringLiteral("Follow 27.007 to the letter."));
    const QCommandLineOption latency(QStringLiteral("latency"), QStringLiteral("Milliseconds before each answer."),
                                     QStringLiteral("MS"), QStringLiteral("0"));
    const QCommandLineOption charset(QStringLiteral("charset"),
                                     QStringLiteral("Character set after power-on: GSM, UCS2, IRA or 8859-1."),
                                     QStringLiteral("SET"), QStringLiteral("GSM"));
    const QCommandLineOption cmee(QStringLiteral("cmee"),
                                  QStringLiteral("+CMEE at power-on: 0 plain ERROR, 1 error numbers, "
                                  "2 error texts (default 0, 1 with --strict)."),
                                  QStringLiteral("N"));
    const QCommandLineOption empty(QStringLiteral("empty-position"),
                                   QStringLiteral("How reading an empty position answers: ok, or "
                                   "not-found (error 22) (default ok)."),
                                   QStringLiteral("ANSWER"), kEmptyOk);
    const QCommandLineOption rangeBare(QStringLiteral("range-bare"),
                                       QStringLiteral("Answer +CPBR=? with the index range without parentheses: "
                                       "+CPBR: 1-250,40,18."));
    const QCommandLineOption spaced(QStringLiteral("spaced"),
                                    QStringLiteral("Put a space after every comma of an entry answer: "
                                    "+CPBR: 7, \"0612\", 129, \"CASA\"."));
    const QCommandLineOption simBusy(QStringLiteral("sim-busy"),
                                     QStringLiteral("Answer the first N phonebook commands after power-on "
                                     "with error 14, SIM busy, without carrying them out."),
                                     QStringLiteral("N"));
    const QCommandLineOption pleaseWait(QStringLiteral("busy-please-wait"),
                                        QStringLiteral("Give those answers as error 515, please wait, "
                                        "instead of 14."));
    const QCommandLineOption wrongIndex(QStringLiteral("wrong-index"),
                                        QStringLiteral("Answer the read of position P (+CPBR=P) with the "
                                        "entry of position Q, under Q's index."),
                                        QStringLiteral("P=Q"));
    const QCommandLineOption nameCut(QStringLiteral("name-cut"),
                                     QStringLiteral("In UCS2, keep a name written cut to its first N "
                                     "characters and answer OK; +CPBR=? still declares the "
                                     "usual text length."),
                                     QStringLiteral("N"));
    const QCommandLineOption dropWrite(QStringLiteral("drop-write"),
                                       QStringLiteral("Answer the first write of an entry to position P "
                                       "with OK and store nothing."),
                                       QStringLiteral("P"));
    const QCommandLineOption firstFree(QStringLiteral("first-free"),
                                       QStringLiteral("Store an entry written to an empty position at the lowest "
                                       "empty position instead."));
    const QCommandLineOption silentAfterWrite(QStringLiteral("silent-after-write"),
                                              QStringLiteral("Once a write has been answered OK, answer no "
                                              "+CPBR at all, not even with its echo."));
    const QCommandLineOption noRangeRead(QStringLiteral("no-range-read"),
                                         QStringLiteral("Refuse the range read +CPBR=a,b with error 4, operation "
                                         "not supported."));
    const QCommandLineOption rangeCut(QStringLiteral("range-cut"),
                                      QStringLiteral("List at most N entries in the answer to a range "
                                      "read +CPBR=a,b."),
                                      QStringLiteral("N"));
    const QCommandLineOption rangeHighest(QStringLiteral("range-highest"),
                                          QStringLiteral("Refuse a range read +CPBR=a,b with b above N with "
                                          "error 21, invalid index."),
                                          QStringLiteral("N"));
    const QCommandLineOption simSize(QStringLiteral("sim-size"),
                                     QStringLiteral("Give the SIM N positions."), QStringLiteral("N"));
    const QCommandLineOption unsolicited(QStringLiteral("unsolicited"),
                                         QStringLiteral("Put LINE inside every answer; given again, the "
                                         "lines take turns. A LINE ending in \\r is ended CR CR LF."),
                                         QStringLiteral("LINE"));
    const QCommandLineOption storageInCharset(QStringLiteral("storage-in-charset"),
                                              QStringLiteral("Read and answer the storage names of +CPBS in the "
                                              "selected character set: \"0053004D\" in UCS2."));
    const QCommandLineOption numbersAsDigits(QStringLiteral("numbers-as-digits"),
                                             QStringLiteral("Keep the \"+\" of a number only as type 145: "
                                             "written with another type, it is dropped."));
    const QCommandLineOption ucs2KeepsHex(QStringLiteral("ucs2-keeps-hex"),
                                          QStringLiteral("In UCS2, keep the hex digits of a written name as "
                                          "its text, cut to the field."));
    const QCommandLineOption ucs2QuarterField(QStringLiteral("ucs2-quarter-field"),
                                              QStringLiteral("In UCS2, refuse a written name with more hex "
                                              "digits than its field has characters (error 24)."));
    const QCommandLineOption ignoredClears(QStringLiteral("ignored-clears"),
                                           QStringLiteral("Answer the clear of a position with OK and keep "
                                           "its entry."));
    const QCommandLineOption declared(QStringLiteral("declared-lengths"),
                                      QStringLiteral("Declare these number and text lengths in +CPBR=?, shorter "
                                      "than those the phonebook holds and takes."),
                                      QStringLiteral("NUMBER,TEXT"));
    const QCommandLineOption noRangeQuery(QStringLiteral("no-range-query"),
                                          QStringLiteral("Answer +CPBR=? with ERROR, while +CPBR=n works."));
    const QCommandLineOption noWriteQuery(QStringLiteral("no-write-query"),
                                          QStringLiteral("Answer +CPBW=? with ERROR."));
    const QCommandLineOption noRangeWhenEmpty(QStringLiteral("no-range-when-empty"),
                                              QStringLiteral("Answer +CPBR=? with error 23, memory failure, while "
                                              "the selected phonebook holds no entry."));
    const QCommandLineOption firstReadDelay(QStringLiteral("first-read-delay"),
                                            QStringLiteral("Answer the first read of positions after power-on "
                                            "MS milliseconds late."),
                                            QStringLiteral("MS"));
    parser.addOptions({state, charset, strict, latency, cmee, empty, rangeBare, spaced, simBusy, pleaseWait, wrongIndex,
                       nameCut, dropWrite, firstFree, silentAfterWrite, noRangeRead, rangeCut, rangeHighest, simSize,
                       unsolicited, storageInCharset, numbersAsDigits, ucs2KeepsHex, ucs2QuarterField, ignoredClears,
                       declared, noRangeQuery, noWriteQuery, noRangeWhenEmpty, firstReadDelay});
    parser.process(app);

    SimModem::Options &options = settings->options;
    options = parser.isSet(strict) ? SimModem::Options::strict() : SimModem::Options();
    settings->statePath = parser.value(state);
    settings->charset = parser.value(charset).toUpper();
    if (!kCharsets.contains(settings->charset)) {
        *why = QStringLiteral("--charset wants %1").arg(kCharsets.join(QStringLiteral(", ")));
        return false;
    }
    settings->latencyMs = 0;
    if (!takeNumber(parser, latency, 0, &settings->latencyMs, why))
        return false;
    if (parser.isSet(cmee)) {
        const std::optional<int> value = numberAtLeast(parser.value(cmee), SimModem::PlainErrors);
        if (!value || *value > SimModem::VerboseErrors) {
            *why = QStringLiteral("--cmee wants 0, 1 or 2");
            return false;
        }
        options.cmee = *value;
    }
    const QString emptyAnswer = parser.value(empty);
    if (emptyAnswer == kEmptyNotFound) {
        options.emptyPosition = SimModem::Options::EmptyPosition::NotFound;
    } else if (emptyAnswer != kEmptyOk) {
        *why = QStringLiteral("--empty-position wants %1 or %2").arg(kEmptyOk, kEmptyNotFound);
        return false;
    }

    options.rangeWithoutParentheses = parser.isSet(rangeBare);
    options.spaceAfterComma = parser.isSet(spaced);
    options.firstFree = parser.isSet(firstFree);
    options.silentReadsAfterWrite = parser.isSet(silentAfterWrite);
    options.rangeReadRefused = parser.isSet(noRangeRead);
    options.storageNameInCharset = parser.isSet(storageInCharset);
    options.numbersAsDigits = parser.isSet(numbersAsDigits);
    options.ucs2WriteKeepsHex = parser.isSet(ucs2KeepsHex);
    options.ucs2NameInQuarterField = parser.isSet(ucs2QuarterField);
    options.ignoredClears = parser.isSet(ignoredClears);
    options.busyAsPleaseWait = parser.isSet(pleaseWait);
    options.rangeQueryRefused = parser.isSet(noRangeQuery);
    options.writeQueryRefused = parser.isSet(noWriteQuery);
    options.noRangeWhenEmpty = parser.isSet(noRangeWhenEmpty);
    for (const QString &line : parser.values(unsolicited))
        options.unsolicitedLines.append(unsolicitedLine(line));
    settings->simPositions = 0;
    if (!takeNumber(parser, simBusy, 1, &options.simBusyAnswers, why)
        || !takeNumber(parser, nameCut, 1, &options.nameLimitUcs2, why)
        || !takeNumber(parser, dropWrite, 1, &options.dropWrite, why)
        || !takeNumber(parser, rangeCut, 1, &options.rangeReadCut, why)
        || !takeNumber(parser, rangeHighest, 1, &options.rangeReadHighest, why)
        || !takeNumber(parser, simSize, 1, &settings->simPositions, why)
        || !takeNumber(parser, firstReadDelay, 0, &options.firstReadDelayMs, why))
        return false;
    if (parser.isSet(declared)) {
        const QStringList lengths = parser.value(declared).split(QLatin1Char(','));
        const std::optional<int> number = numberAtLeast(lengths.value(0), 1);
        const std::optional<int> text = numberAtLeast(lengths.value(1), 1);
        if (lengths.size() != 2 || !number || !text) {
            *why = QStringLiteral("--declared-lengths wants two lengths, NUMBER,TEXT");
            return false;
        }
        options.declaredNumberLength = *number;
        options.declaredTextLength = *text;
    }
    if (parser.isSet(wrongIndex)) {
        options.wrongIndex = indexSwap(parser.value(wrongIndex));
        if (!options.wrongIndex) {
            *why = QStringLiteral("--wrong-index wants two positions, P=Q");
            return false;
        }
    }
    return true;
}
