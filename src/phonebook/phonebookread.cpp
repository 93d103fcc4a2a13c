// SPDX-License-Identifier: GPL-3.0-or-later
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

// A SIM just powered on answers "busy", or "please wait", for a few
// seconds. It is asked again
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
    AtReply reply = exchange.link.IOP(command);
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
        reply = exchange.link.IOP(command);
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

// What the phone tells of the phonebook before its positions are read.
struct Extent {
    // Set when the read ends here: the user gave up, the port failed, or
    // the phone told nothing that could be used.
    std::optional<End> end;
    PhonebookLimits limits;
    // False when the phone told its positions alone: the lengths are then
    // those of the longest name and number the read finds.
    bool lengthsTold = true;
};

// The range and the lengths by the range query; from a phone that refuses
// it (current Fibocom and Quectel modules, and some Samsung phones while
// their phone memory is empty), by the test form of the write command; and
// from one that refuses that too, the positions alone by the storage's
// count. Each is asked only once the one before has been answered without
// them: a phone that did not answer would cost the deadline again.
Extent askExtent(Exchange &exchange)
{
    const AtReply range = ask(exchange, AtCommands::kRangeQuery);
    if (range.stops())
        return {stopped(range), {}, false};
    if (const std::optional<PhonebookLimits> limits = PhonebookAnswers::parseIndexRange(range.text()))
        return {std::nullopt, *limits, true};
    if (!range.isAnswered())
        return {End::Failed, {}, false};

    const AtReply write = ask(exchange, AtCommands::kWriteQuery);
    if (write.stops())
        return {stopped(write), {}, false};
    if (const std::optional<PhonebookLimits> limits = PhonebookAnswers::parseWriteRange(write.text()))
        return {std::nullopt, *limits, true};
    if (!write.isAnswered())
        return {End::Failed, {}, false};

    const AtReply storage = ask(exchange, AtCommands::kStorageQuery);
    if (storage.stops())
        return {stopped(storage), {}, false};
    const std::optional<int> positions = PhonebookAnswers::parseStorageSize(storage.text());
    if (!positions)
        return {End::Failed, {}, false};
    PhonebookLimits limits;
    limits.MAXNUMRUB = *positions;
    return {std::nullopt, limits, false};
}

// The positions, and lengths that fit every name and number read, so that
// no line cuts one and nothing longer is written back.
PhonebookLimits fitting(int positions, const PhonebookEntries &entries)
{
    PhonebookLimits limits;
    limits.MAXNUMRUB = positions;
    for (const PhonebookEntry &entry : entries) {
        limits.MAXCARNOM = std::max(limits.MAXCARNOM, int(entry.name.size()));
        limits.MAXCARNUM = std::max(limits.MAXCARNUM, int(entry.number.size()));
    }
    return limits;
}

// Reads positions 1 to last, one entry per position; a position the phone
// did not account for is empty, marked unread. Each is told as soon as it
// is read when tellEach, as the lines it is drawn in are known then.
End readPositions(Exchange &exchange, int last, bool tellEach, PhonebookEntries &entries)
{
    PhoneLink &link = exchange.link;
    ReadProgress &progress = exchange.progress;
    for (int i = 1; i <= last; ++i) {
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
        if (tellEach)
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

    const Extent extent = askExtent(exchange);
    if (extent.end) {
        read.end = *extent.end;
        return read;
    }
    read.vars.limits = extent.limits;
    if (extent.lengthsTold)
        progress.limitsKnown(read.vars);

    progress.setMaximum(read.vars.limits.MAXNUMRUB);
    read.end = readPositions(exchange, read.vars.limits.MAXNUMRUB, extent.lengthsTold, read.entries);
    if (read.end == End::Done)
        read.end = settleUnread(link, read.entries);
    if (!extent.lengthsTold) {
        // The lengths are final only now; the lines come with them.
        read.vars.limits = fitting(read.vars.limits.MAXNUMRUB, read.entries);
        progress.limitsKnown(read.vars);
        for (const PhonebookEntry &entry : read.entries)
            progress.positionRead(entry);
    }
    if (read.end == End::Done)
        read.vars.phonebook = book;
    return read;
}
