#include "phonebookread.h"

#include "phonebookanswers.h"
#include "phonebookline.h"
#include "positionanswer.h"

#include "atcommands.h"
#include "phonelink.h"

#include <QElapsedTimer>
#include <QByteArrayList>
#include <QThread>

#include <algorithm>
#include <chrono>

namespace {

using namespace std::chrono_literals;

// A SIM just powered on answers "busy" for a few seconds. It is asked again
// after each pause until this long has passed since its first "busy" of the
// read; after that its error stands.
constexpr auto kSimBusyWait = 10s;
constexpr auto kSimBusyPause = 500ms;
// The user may end the program this often during a pause.
constexpr auto kPauseSlice = 50ms;

// How the read talks to the phone: every command goes through ask().
struct Exchange {
    PhoneLink &link;
    ReadProgress &progress;
    std::optional<Stage> stage; // once the phonebook is selected
    QElapsedTimer busySince; // runs from the SIM's first "busy"
};

// Waits the pause out; false when the user ends the program meanwhile.
bool pause(const Progress &progress)
{
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < std::chrono::milliseconds(kSimBusyPause).count()) {
        if (!progress.keepGoing())
            return false;
        QThread::msleep(kPauseSlice.count());
    }
    return true;
}

// The reply to the command, asked again while the SIM is busy starting up.
// A user who ends the program during a pause ends it as during a
// transaction.
AtReply ask(Exchange &exchange, const QByteArray &command)
{
    AtReply reply = exchange.link.transact(command);
    bool waited = false;
    while (reply.isSimBusy()) {
        if (!exchange.busySince.isValid())
            exchange.busySince.start();
        if (exchange.busySince.hasExpired(std::chrono::milliseconds(kSimBusyWait).count()))
            break;
        if (!waited) {
            exchange.progress.stage(Stage::SimBusy);
            waited = true;
        }
        if (!pause(exchange.progress)) {
            AtReply cancelled;
            cancelled.final = AtReply::Final::Cancelled;
            return cancelled;
        }
        reply = exchange.link.transact(command);
    }
    if (waited && exchange.stage)
        exchange.progress.stage(*exchange.stage);
    return reply;
}

// Some phones take the storage name only as a quoted string; some read it,
// as every string parameter, in the selected set, which in a hex set is the
// name's hex digits ("0053004D").
AtReply selectPhonebook(Exchange &exchange, const Phonebook &book)
{
    QByteArrayList names = {book.storage, AtCommands::quoted(book.storage)};
    const PhoneCharset charset = exchange.link.charset();
    if (charset.isHex())
        names.append(AtCommands::quoted(charset.onLine(QString::fromLatin1(book.storage)).value_or(QByteArray())));
    AtReply reply;
    for (const QByteArray &name : names) {
        reply = ask(exchange, AtCommands::kSelectStorage + name);
        if (reply.isOk() || reply.stops())
            break;
    }
    return reply;
}

using End = PhonebookRead::End;

// Where a transaction stopped the read: a failed port fails it, a cancel
// ends it without a word.
End stopped(const AtReply &reply)
{
    return reply.final == AtReply::Final::PortFailed ? End::Failed : End::Stopped;
}

// Reads positions 1 to MAXNUMRUB, one entry per position; a position the
// phone did not account for is empty, marked unread.
End readPositions(Exchange &exchange, const FormVariables &vars, PhonebookEntries &entries)
{
    PhoneLink &link = exchange.link;
    ReadProgress &progress = exchange.progress;
    for (int i = 1; i <= vars.limits.MAXNUMRUB; ++i) {
        progress.setValue(i);
        if (!progress.keepGoing())
            return End::Stopped;
        const AtReply reply = ask(exchange, PositionAnswer::readCommand(i));
        if (reply.stops())
            return stopped(reply);
        const PositionAnswer::Held held = PositionAnswer::interpret(reply, i, link.charset());
        if (held.kind == PositionAnswer::Kind::Unanswered || held.kind == PositionAnswer::Kind::Unusable)
            return End::Failed;
        entries.append(PositionAnswer::entryOf(i, held));
        progress.positionRead(entries.constLast());
    }
    return End::Done;
}

// The unread positions were empty when the phone's own count of entries
// matches those read: then they are read. Stopped when the user gave up.
End settleUnread(PhoneLink &link, PhonebookEntries &entries)
{
    if (std::none_of(entries.cbegin(), entries.cend(), [](const PhonebookEntry &e) { return e.unread; }))
        return End::Done;
    const auto held = std::count_if(entries.cbegin(), entries.cend(),
                                    [](const PhonebookEntry &e) { return !e.isEmpty(); });
    const std::optional<bool> wereEmpty = PositionAnswer::errorsWereEmpty(link, int(held));
    if (!wereEmpty)
        return End::Stopped;
    if (!*wereEmpty)
        return End::Failed;
    for (PhonebookEntry &entry : entries)
        entry.unread = false;
    return End::Done;
}

}

PhonebookRead LegRub(int selector, PhoneLink &link, const FormVariables &before, ReadProgress &progress)
{
    PhonebookRead read;
    read.vars = before;
    read.vars.phonebook.reset();
    if (!link.isOpen()) {
        read.end = End::PortClosed;
        return read;
    }
    if (selector != kSelectorSim && selector != kSelectorPhone) {
        read.end = End::Stopped;
        return read;
    }
    const Phonebook &book = selector == kSelectorSim ? Phonebooks::kSim : Phonebooks::kPhone;

    Exchange exchange{link, progress, std::nullopt, QElapsedTimer()};
    const AtReply selection = selectPhonebook(exchange, book);
    if (selection.stops()) {
        read.end = stopped(selection);
        return read;
    }
    progress.stage(book.reading);
    exchange.stage = book.reading;
    if (!selection.isOk())
        return read;

    const AtReply rangeReply = ask(exchange, AtCommands::kRangeQuery);
    if (rangeReply.stops()) {
        read.end = stopped(rangeReply);
        return read;
    }
    const std::optional<PhonebookLimits> limits = PhonebookAnswers::parseIndexRange(rangeReply.text());
    if (!limits)
        return read;
    read.vars.limits = *limits;
    progress.limitsKnown(read.vars);

    progress.setMaximum(read.vars.limits.MAXNUMRUB);
    read.end = readPositions(exchange, read.vars, read.entries);
    if (read.end == End::Done)
        read.end = settleUnread(link, read.entries);
    if (read.end == End::Done)
        read.vars.phonebook = book;
    return read;
}
