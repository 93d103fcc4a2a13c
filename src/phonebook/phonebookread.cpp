#include "phonebookread.h"

#include "phonebookanswers.h"
#include "phonebookline.h"
#include "positionanswer.h"

#include "atcommands.h"
#include "phonelink.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>

#include <chrono>

namespace {

using namespace std::chrono_literals;

// A SIM just powered on answers "busy" for a few seconds. It is asked again
// after each pause until this long has passed since its first "busy" of the
// read; after that its error stands.
constexpr auto kSimBusyWait = 10s;
constexpr auto kSimBusyPause = 500ms;
// The window handles its events, and may ask the program to end, this often
// during a pause.
constexpr auto kPauseSlice = 50ms;

struct Phonebook {
    QString select;
    QString selectQuoted;
    QString rubsel;
    QString message;
};

// How the read talks to the phone: every command goes through ask().
struct Exchange {
    PhoneLink &link;
    OperationReport &report;
    QString message; // the panel's text once the phonebook is selected
    QElapsedTimer busySince; // runs from the SIM's first "busy"
};

// Waits the pause out while the window handles its events; false when the
// user ends the program meanwhile.
bool pause(OperationReport &report)
{
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < kSimBusyPause.count()) {
        if (!report.keepGoing())
            return false;
        QEventLoop slice;
        QTimer::singleShot(kPauseSlice, &slice, &QEventLoop::quit);
        slice.exec();
    }
    return true;
}

// The reply to the command, asked again while the SIM is busy starting up.
// A user who ends the program during a pause ends it as during a
// transaction.
AtReply ask(Exchange &exchange, const QString &command)
{
    AtReply reply = exchange.link.transact(command);
    bool waited = false;
    while (reply.isSimBusy()) {
        if (!exchange.busySince.isValid())
            exchange.busySince.start();
        if (exchange.busySince.hasExpired(std::chrono::milliseconds(kSimBusyWait).count()))
            break;
        if (!waited) {
            exchange.report.setMessage(ReadMessage::kSimBusy);
            waited = true;
        }
        if (!pause(exchange.report)) {
            AtReply cancelled;
            cancelled.final = AtReply::Final::Cancelled;
            return cancelled;
        }
        reply = exchange.link.transact(command);
    }
    if (waited && !exchange.message.isEmpty())
        exchange.report.setMessage(exchange.message);
    return reply;
}

// Some phones take the storage name only as a quoted string.
AtReply selectPhonebook(Exchange &exchange, const Phonebook &book)
{
    const AtReply plain = ask(exchange, book.select);
    if (plain.isOk() || plain.stops())
        return plain;
    return ask(exchange, book.selectQuoted);
}

// Where a transaction stopped the read: a failed port fails it, a cancel
// ends it without a word.
void stopRead(const AtReply &reply, OperationReport &report)
{
    if (reply.final == AtReply::Final::PortFailed)
        report.setMessage(ReadMessage::kReadFailed);
}

enum class Outcome { Done, Failed, Stopped };

struct Tally {
    int entries = 0;
    QList<int> unaccounted; // the positions answered with an error
};

// Reads positions 1 to MAXNUMRUB into List1. A position left unaccounted
// gets an empty slot line, so that every line stays at its position.
Outcome readPositions(Exchange &exchange, const FormVariables &vars, PhonebookRowModel &List1,
                      Tally &tally)
{
    PhoneLink &link = exchange.link;
    OperationReport &report = exchange.report;
    const PhonebookLine::Limits limits = vars.lineLimits();
    for (int i = 1; i <= vars.MAXNUMRUB; ++i) {
        report.setProgressValue(i);
        if (!report.keepGoing())
            return Outcome::Stopped;
        const AtReply reply = ask(exchange, PositionAnswer::readCommand(i));
        if (reply.stops())
            return reply.final == AtReply::Final::PortFailed ? Outcome::Failed : Outcome::Stopped;
        const PositionAnswer::Held held = PositionAnswer::interpret(reply, i, link.charset());
        switch (held.kind) {
        case PositionAnswer::Kind::Unanswered:
        case PositionAnswer::Kind::Unusable:
            return Outcome::Failed;
        case PositionAnswer::Kind::Unaccounted:
            tally.unaccounted.append(i);
            [[fallthrough]];
        case PositionAnswer::Kind::Empty:
            List1.appendRow({PhonebookLine::emptySlot(i, PhonebookLine::Layout::Read, limits), {}, false});
            continue;
        case PositionAnswer::Kind::Entry:
            break;
        }
        List1.appendRow({PhonebookLine::build(i, held.entry.name, held.entry.number,
                                              PhonebookLine::Layout::Read, limits),
                         held.entry.fields, false});
        ++tally.entries;
    }
    return Outcome::Done;
}

}

void LegRub(int selector, PhoneLink &link, FormVariables &vars, PhonebookRowModel &List1,
            PhonebookRowModel &List2, OperationReport &report,
            const std::function<void()> &limitsChanged)
{
    vars.RUBSEL = Rubrica::kNone;
    List2.clear();
    List1.clear();

    if (!link.isOpen()) {
        report.setMessage(ReadMessage::kPortClosed);
        return;
    }

    Phonebook book;
    if (selector == kSelectorSim)
        book = {AtCommands::kSelectSim, AtCommands::kSelectSimQuoted, Rubrica::kSim,
                ReadMessage::kReadingSim};
    else if (selector == kSelectorPhone)
        book = {AtCommands::kSelectPhone, AtCommands::kSelectPhoneQuoted, Rubrica::kCellulare,
                ReadMessage::kReadingPhone};
    else
        return;

    Exchange exchange{link, report, QString(), QElapsedTimer()};
    const AtReply selection = selectPhonebook(exchange, book);
    if (selection.stops())
        return stopRead(selection, report);
    report.setMessage(book.message);
    exchange.message = book.message;
    if (!selection.isOk()) {
        report.setMessage(ReadMessage::kReadFailed);
        return;
    }

    const AtReply rangeReply = ask(exchange, AtCommands::kRangeQuery);
    if (rangeReply.stops())
        return stopRead(rangeReply, report);
    const auto range = PhonebookAnswers::parseIndexRange(rangeReply.text());
    if (!range) {
        report.setMessage(ReadMessage::kReadFailed);
        return;
    }
    vars.MAXCARNUM = qint16(range->maxCarNum);
    vars.MAXCARNOM = range->maxCarNom;
    vars.MAXNUMRUB = range->maxNumRub;
    if (limitsChanged)
        limitsChanged();

    report.setProgressMaximum(vars.MAXNUMRUB);
    Tally tally;
    Outcome outcome = readPositions(exchange, vars, List1, tally);
    if (outcome == Outcome::Done && !tally.unaccounted.isEmpty()) {
        // The positions the phone refused were empty only when its own count
        // of entries matches those read.
        const AtReply count = ask(exchange, AtCommands::kStorageQuery);
        if (count.stops())
            return stopRead(count, report);
        if (PhonebookAnswers::parseUsedCount(count.text()) != tally.entries) {
            // Their lines stay empty, but nothing may be written there.
            for (const int position : std::as_const(tally.unaccounted))
                List1.replaceRow(position - 1, {List1.row(position - 1)->line, {}, true});
            outcome = Outcome::Failed;
        }
    }
    if (outcome == Outcome::Failed)
        report.setMessage(ReadMessage::kReadFailed);
    if (outcome != Outcome::Done)
        return;

    vars.RUBSEL = book.rubsel;
    report.setMessage(ReadMessage::kReadDone);
}
