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
Outcome stopped(const AtReply &reply)
{
    return {reply.final == AtReply::Final::PortFailed ? WindowText::kReadFailed : QString()};
}

enum class Progress { Done, Failed, Stopped };

// Reads positions 1 to MAXNUMRUB into List1, one entry per position; a
// position the phone did not account for shows empty, marked unread.
Progress readPositions(Exchange &exchange, const FormVariables &vars, PhonebookListModel &List1)
{
    PhoneLink &link = exchange.link;
    OperationReport &report = exchange.report;
    for (int i = 1; i <= vars.MAXNUMRUB; ++i) {
        report.setProgressValue(i);
        if (!report.keepGoing())
            return Progress::Stopped;
        const AtReply reply = ask(exchange, PositionAnswer::readCommand(i));
        if (reply.stops())
            return reply.final == AtReply::Final::PortFailed ? Progress::Failed : Progress::Stopped;
        const PositionAnswer::Held held = PositionAnswer::interpret(reply, i, link.charset());
        if (held.kind == PositionAnswer::Kind::Unanswered || held.kind == PositionAnswer::Kind::Unusable)
            return Progress::Failed;
        List1.appendEntry(PositionAnswer::entryOf(i, held));
    }
    return Progress::Done;
}

// The unread positions were empty when the phone's own count of entries
// matches those read: then they are read. Stopped when the user gave up.
Progress settleUnread(PhoneLink &link, PhonebookListModel &List1)
{
    const PhonebookEntries &entries = List1.entries();
    if (std::none_of(entries.cbegin(), entries.cend(), [](const PhonebookEntry &e) { return e.unread; }))
        return Progress::Done;
    const auto held = std::count_if(entries.cbegin(), entries.cend(),
                                    [](const PhonebookEntry &e) { return !e.isEmpty(); });
    const std::optional<bool> wereEmpty = PositionAnswer::errorsWereEmpty(link, int(held));
    if (!wereEmpty)
        return Progress::Stopped;
    if (!*wereEmpty)
        return Progress::Failed;
    for (int row = 0; row < List1.rowCount(); ++row) {
        PhonebookEntry entry = *List1.entry(row);
        if (entry.unread) {
            entry.unread = false;
            List1.replaceEntry(row, entry);
        }
    }
    return Progress::Done;
}

}

Outcome LegRub(int selector, PhoneLink &link, FormVariables &vars, PhonebookListModel &List1,
               PhonebookListModel &List2, OperationReport &report,
               const std::function<void()> &limitsChanged)
{
    vars.phonebook.reset();
    List2.clear();
    List1.setEntries({}, PhonebookLine::Layout::Read, vars.lineLimits());

    if (!link.isOpen())
        return {WindowText::kPortClosed};
    if (selector != kSelectorSim && selector != kSelectorPhone)
        return {};
    const Phonebook &book = selector == kSelectorSim ? Phonebooks::kSim : Phonebooks::kPhone;

    Exchange exchange{link, report, QString(), QElapsedTimer()};
    const AtReply selection = selectPhonebook(exchange, book);
    if (selection.stops())
        return stopped(selection);
    report.setMessage(book.reading);
    exchange.message = book.reading;
    if (!selection.isOk())
        return {WindowText::kReadFailed};

    const AtReply rangeReply = ask(exchange, AtCommands::kRangeQuery);
    if (rangeReply.stops())
        return stopped(rangeReply);
    const auto range = PhonebookAnswers::parseIndexRange(rangeReply.text());
    if (!range)
        return {WindowText::kReadFailed};
    vars.MAXCARNUM = qint16(range->maxCarNum);
    vars.MAXCARNOM = range->maxCarNom;
    vars.MAXNUMRUB = range->maxNumRub;
    if (limitsChanged)
        limitsChanged();

    report.setProgressMaximum(vars.MAXNUMRUB);
    List1.setEntries({}, PhonebookLine::Layout::Read, vars.lineLimits());
    Progress progress = readPositions(exchange, vars, List1);
    if (progress == Progress::Done)
        progress = settleUnread(link, List1);
    if (progress == Progress::Failed)
        return {WindowText::kReadFailed};
    if (progress == Progress::Stopped)
        return {};

    vars.phonebook = book;
    return {WindowText::kReadDone, -1, -1, true};
}
