#include "phonebookread.h"

#include "phonebookanswers.h"
#include "phonebookline.h"
#include "positionanswer.h"
#include "windowtexts.h"

#include "atcommands.h"
#include "phonelink.h"

#include <QElapsedTimer>
#include <QStringList>
#include <QEventLoop>
#include <QTimer>

#include <algorithm>
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
    QString storage;
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
            exchange.report.setMessage(WindowText::kSimBusy);
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

// Some phones take the storage name only as a quoted string; some read it,
// as every string parameter, in the selected set, which in a hex set is the
// name's hex digits ("0053004D").
AtReply selectPhonebook(Exchange &exchange, const Phonebook &book)
{
    QStringList names = {book.storage, AtCommands::kQuoted.arg(book.storage)};
    const PhoneCharset charset = exchange.link.charset();
    if (charset.isHex())
        names.append(AtCommands::kQuoted.arg(charset.onLine(book.storage).value_or(QString())));
    AtReply reply;
    for (const QString &name : names) {
        reply = ask(exchange, AtCommands::kSelectStorage.arg(name));
        if (reply.isOk() || reply.stops())
            break;
    }
    return reply;
}

// Where a transaction stopped the read: a failed port fails it, a cancel
// ends it without a word.
void stopRead(const AtReply &reply, OperationReport &report)
{
    if (reply.final == AtReply::Final::PortFailed)
        report.setMessage(WindowText::kReadFailed);
}

enum class Outcome { Done, Failed, Stopped };

// Reads positions 1 to MAXNUMRUB into List1, one entry per position; a
// position the phone did not account for shows empty, marked unread.
Outcome readPositions(Exchange &exchange, const FormVariables &vars, PhonebookListModel &List1)
{
    PhoneLink &link = exchange.link;
    OperationReport &report = exchange.report;
    for (int i = 1; i <= vars.MAXNUMRUB; ++i) {
        report.setProgressValue(i);
        if (!report.keepGoing())
            return Outcome::Stopped;
        const AtReply reply = ask(exchange, PositionAnswer::readCommand(i));
        if (reply.stops())
            return reply.final == AtReply::Final::PortFailed ? Outcome::Failed : Outcome::Stopped;
        const PositionAnswer::Held held = PositionAnswer::interpret(reply, i, link.charset());
        if (held.kind == PositionAnswer::Kind::Unanswered || held.kind == PositionAnswer::Kind::Unusable)
            return Outcome::Failed;
        List1.appendEntry(PositionAnswer::entryOf(i, held));
    }
    return Outcome::Done;
}

// The unread positions were empty when the phone's own count of entries
// matches those read: then they are read. Stopped when the user gave up.
Outcome settleUnread(PhoneLink &link, PhonebookListModel &List1)
{
    const PhonebookEntries &entries = List1.entries();
    if (std::none_of(entries.cbegin(), entries.cend(), [](const PhonebookEntry &e) { return e.unread; }))
        return Outcome::Done;
    const auto held = std::count_if(entries.cbegin(), entries.cend(),
                                    [](const PhonebookEntry &e) { return !e.isEmpty(); });
    const std::optional<bool> wereEmpty = PositionAnswer::errorsWereEmpty(link, int(held));
    if (!wereEmpty)
        return Outcome::Stopped;
    if (!*wereEmpty)
        return Outcome::Failed;
    for (int row = 0; row < List1.rowCount(); ++row) {
        PhonebookEntry entry = *List1.entry(row);
        if (entry.unread) {
            entry.unread = false;
            List1.replaceEntry(row, entry);
        }
    }
    return Outcome::Done;
}

}

void LegRub(int selector, PhoneLink &link, FormVariables &vars, PhonebookListModel &List1,
            PhonebookListModel &List2, OperationReport &report,
            const std::function<void()> &limitsChanged)
{
    vars.RUBSEL = Rubrica::kNone;
    List2.clear();
    List1.setEntries({}, PhonebookLine::Layout::Read, vars.lineLimits());

    if (!link.isOpen()) {
        report.setMessage(WindowText::kPortClosed);
        return;
    }

    Phonebook book;
    if (selector == kSelectorSim)
        book = {AtCommands::kSimStorage, Rubrica::kSim, WindowText::kReadingSim};
    else if (selector == kSelectorPhone)
        book = {AtCommands::kPhoneStorage, Rubrica::kCellulare, WindowText::kReadingPhone};
    else
        return;

    Exchange exchange{link, report, QString(), QElapsedTimer()};
    const AtReply selection = selectPhonebook(exchange, book);
    if (selection.stops())
        return stopRead(selection, report);
    report.setMessage(book.message);
    exchange.message = book.message;
    if (!selection.isOk()) {
        report.setMessage(WindowText::kReadFailed);
        return;
    }

    const AtReply rangeReply = ask(exchange, AtCommands::kRangeQuery);
    if (rangeReply.stops())
        return stopRead(rangeReply, report);
    const auto range = PhonebookAnswers::parseIndexRange(
        rangeReply.answerTo(AtCommands::kEntryPrefix).text());
    if (!range) {
        report.setMessage(WindowText::kReadFailed);
        return;
    }
    vars.MAXCARNUM = qint16(range->maxCarNum);
    vars.MAXCARNOM = range->maxCarNom;
    vars.MAXNUMRUB = range->maxNumRub;
    if (limitsChanged)
        limitsChanged();

    report.setProgressMaximum(vars.MAXNUMRUB);
    List1.setEntries({}, PhonebookLine::Layout::Read, vars.lineLimits());
    Outcome outcome = readPositions(exchange, vars, List1);
    if (outcome == Outcome::Done)
        outcome = settleUnread(link, List1);
    if (outcome == Outcome::Failed)
        report.setMessage(WindowText::kReadFailed);
    if (outcome != Outcome::Done)
        return;

    vars.RUBSEL = book.rubsel;
    report.setMessage(WindowText::kReadDone);
}
