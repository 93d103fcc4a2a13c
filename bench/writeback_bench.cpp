// SPDX-License-Identifier: GPL-3.0-or-later
// Times the write-back of a sorted SIM phonebook through the program's own
// write, check and link at 19200 baud: once with the phone answering the
// range read, once with a phone that refuses it, so that the check asks
// every position on its own, and once on a 300-position SIM whose range
// read takes no upper bound above 255. The very same frames then go bare over the
// same pseudo-terminal to the same phone, which counts every byte both ways
// and so gives what the line allows. A peer that restores a backup by
// writing an entry to every position, and reads nothing back, is timed on
// the same line for comparison.
#include "benchresult.h"
#include "italiannames.h"
#include "rawterminal.h"
#include "noprogress.h"
#include "onworker.h"

#include "phonebookcommands.h"
#include "phonebookline.h"
#include "phonebookread.h"
#include "phonebooksort.h"
#include "phonebookwriteback.h"
#include "phonelink.h"
#include "simphone.h"
#include "startedphone.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QRandomGenerator>

#include <cstdio>
#include <functional>
#include <vector>

namespace {

constexpr int kPositions = 250;
constexpr int kCappedPositions = 300;
constexpr int kRangeReadHighest = 255;
constexpr int kEntries = 60;
constexpr int kLineBaud = 19200;
// A start bit and a stop bit around every byte.
constexpr double kLineBytesPerSecond = kLineBaud / 10.0;
constexpr double kLineLimitTarget = 1.1;
constexpr double kPeerTarget = 1.0;
constexpr int kBareTimeoutMs = 5000;
constexpr quint32 kSeed = 1997;
const QByteArray kReadFrame = QByteArrayLiteral("AT+CPBR=");

// One job through the program: the frames it sent, when each went out, and
// how long it took in all.
struct Run {
    qint64 ns = 0;
    QList<QByteArray> frames;
    std::vector<qint64> sendTimes;
    bool complete = false;
};

// The same frames bare: the bytes of each exchange, frame and answer, and
// when each frame went out.
struct Bare {
    qint64 ns = 0;
    std::vector<qint64> bytes;
    std::vector<qint64> sendTimes;
    bool complete = false;

    qint64 bytesBefore(std::size_t frame) const
    {
        qint64 sum = 0;
        for (std::size_t i = 0; i < frame && i < bytes.size(); ++i)
            sum += bytes[i];
        return sum;
    }
    qint64 total() const { return bytesBefore(bytes.size()); }
};

// Entries scattered over the positions, as years of use leave them.
SimPhonebook scattered(QRandomGenerator &random, int positions)
{
    SimPhonebook book;
    book.last = positions;
    while (book.entries.size() < kEntries) {
        const int position = 1 + int(random.bounded(positions));
        const QString number = ItalianNames::number(random, book.numberLength);
        book.entries.insert(position, SimEntry{number, PhonebookCommands::numberType(number),
                                               ItalianNames::name(random, book.textLength)});
    }
    return book;
}

// One job through the program and its frames bare.
struct Measured {
    Run program;
    Bare bare;
    // The first frame of the check, the frame count when there is none.
    std::size_t checkFrame = 0;

    bool complete() const
    {
        return program.complete && bare.complete && std::size_t(program.frames.size()) == bare.bytes.size();
    }
    // Up to the check's first frame: the writes alone.
    qint64 writesNs() const { return program.sendTimes.at(checkFrame); }
    qint64 writesBytes() const { return bare.bytesBefore(checkFrame); }
    qsizetype checkReads() const { return program.frames.size() - qsizetype(checkFrame); }
};

Bare sendBare(SimPhone &phone, const QList<QByteArray> &frames)
{
    Bare run;
    RawTerminal terminal;
    QString why;
    if (!terminal.open(phone.devicePath(), &why)) {
        std::fprintf(stderr, "bare line: %s\n", qPrintable(why));
        return run;
    }
    QElapsedTimer timer;
    timer.start();
    for (const QByteArray &frame : frames) {
        run.sendTimes.push_back(timer.nsecsElapsed());
        const qint64 answer = terminal.exchange(frame, kBareTimeoutMs);
        if (answer < 0)
            return run;
        run.bytes.push_back(frame.size() + answer);
    }
    run.ns = timer.nsecsElapsed();
    run.complete = true;
    return run;
}

// Runs job on a freshly connected link on the phone's thread, as the window
// has it run, recording every frame it sends, then sends the same frames
// bare; the phone holds before at the start of each.
Measured measure(PhoneWorker &worker, SimPhone &phone, const SimPhonebook &before,
                 const std::function<bool(PhoneLink &)> &job)
{
    Measured measured;
    phone.setPhonebook(SimStorage::Sim, before);
    const QString device = phone.devicePath();
    if (!onWorker<bool>(worker, [device](PhoneLink &link) { return connectPhone(link, device); }))
        return measured;
    Run &run = measured.program;
    QElapsedTimer timer;
    timer.start();
    run.complete = onWorker<bool>(worker, recordingFrames<bool>(job, [&](const QByteArray &frame) {
                                      run.sendTimes.push_back(timer.nsecsElapsed());
                                      run.frames.append(frame);
                                  }));
    run.ns = timer.nsecsElapsed();
    onWorker<bool>(worker, [](PhoneLink &link) {
        link.close();
        return true;
    });

    phone.setPhonebook(SimStorage::Sim, before);
    measured.bare = sendBare(phone, run.frames);
    while (measured.checkFrame < std::size_t(run.frames.size())
           && !run.frames.at(qsizetype(measured.checkFrame)).startsWith(kReadFrame))
        ++measured.checkFrame;
    return measured;
}

// The program's write-back of List2; complete when the check found every
// position as written, the only case in which List1 mirrors List2.
Measured writeBack(PhoneWorker &worker, SimPhone &phone, const SimPhonebook &before, const FormVariables &vars,
                   const PhonebookEntries &List2, int positions = kPositions)
{
    NoProgress progress;
    WriteBack result;
    Measured measured = measure(worker, phone, before, [&](PhoneLink &link) {
        result = writeSortedPhonebook(link, vars, List2, {}, progress);
        return true;
    });
    measured.program.complete = measured.program.complete && result.end == WriteBack::End::Done
        && result.phone->size() == positions && result.phone->mid(0, List2.size()) == List2
        // A write per position, and the moves between sets around them.
        && measured.checkFrame >= std::size_t(positions);
    return measured;
}

// What a peer sends to restore a full backup: an entry to every position.
// The first entries are the sorted list's, the rest more of the kind.
bool restoreCommands(const FormVariables &vars, const PhonebookEntries &List2, const PhoneCharset &charset,
                     QRandomGenerator &random, QByteArrayList *commands)
{
    for (int k = 1; k <= kPositions; ++k) {
        PhonebookEntry entry;
        if (k <= List2.size()) {
            entry = List2.at(k - 1);
            entry.fields = {};
        } else {
            entry.name = ItalianNames::name(random, vars.limits.MAXCARNOM);
            entry.number = ItalianNames::number(random, vars.limits.MAXCARNUM);
        }
        entry.position = k;
        const PhonebookCommands::WriteCommand write =
            PhonebookCommands::writeCommand(entry, charset, vars.limits);
        if (!write.sendable())
            return false;
        commands->append(write.command);
    }
    return true;
}

// The peer sends each command and reads nothing back.
Measured plainRestore(PhoneWorker &worker, SimPhone &phone, const SimPhonebook &before,
                      const QByteArrayList &commands)
{
    Measured measured = measure(worker, phone, before, [&](PhoneLink &link) {
        for (const QByteArray &command : commands) {
            if (!link.IOP(command).isOk())
                return false;
        }
        return true;
    });
    measured.program.complete =
        measured.program.complete && phone.phonebook(SimStorage::Sim).size() == kPositions;
    return measured;
}

double seconds(qint64 ns)
{
    return ns / 1.0e9;
}

double againstLine(qint64 ns, qint64 bytes)
{
    return seconds(ns) / (bytes / kLineBytesPerSecond);
}

QString times(double ratio)
{
    return QStringLiteral("%1 ×").arg(ratio, 0, 'f', 3);
}

// "1.030 × (13,265 B both ways = 6.91 s; bare 1.027 ×)"
QString lineFigures(qint64 programNs, qint64 bareNs, qint64 bytes)
{
    return QStringLiteral("%1 (%L2 B both ways = %3 s; bare %4)")
        .arg(times(againstLine(programNs, bytes)))
        .arg(bytes)
        .arg(bytes / kLineBytesPerSecond, 0, 'f', 2)
        .arg(times(againstLine(bareNs, bytes)));
}

QString secondsText(qint64 ns)
{
    return QStringLiteral("%1 s").arg(seconds(ns), 0, 'f', 2);
}

QString readsText(qsizetype reads)
{
    return reads == 1 ? QStringLiteral("1 read") : QStringLiteral("%1 reads").arg(reads);
}

void printInfo(const QString &name, const QString &measured)
{
    BenchResult::print(name, measured, QStringLiteral("—"), BenchResult::Verdict::Info);
}

void printCapped(const Measured &capped)
{
    BenchResult::print(QStringLiteral("write-back of %1 entries to %2 positions capped at %3, range check (%4)"
                                      ": time against the line's limit")
                           .arg(kEntries)
                           .arg(kCappedPositions)
                           .arg(kRangeReadHighest)
                           .arg(readsText(capped.checkReads())),
                       lineFigures(capped.program.ns, capped.bare.ns, capped.bare.total()),
                       QStringLiteral("≤ %1 ×").arg(kLineLimitTarget, 0, 'f', 2),
                       BenchResult::met(againstLine(capped.program.ns, capped.bare.total()) <= kLineLimitTarget));
}

void printResults(const Measured &ranged, const Measured &single, const Measured &peer)
{
    const QString writeBack = QStringLiteral("write-back of %1 entries to %2 positions at %3 baud")
                                  .arg(kEntries)
                                  .arg(kPositions)
                                  .arg(kLineBaud);
    const QString rangedName = writeBack + QStringLiteral(", range check");
    const QString singleName = writeBack + QStringLiteral(", range read refused");
    const QString againstTheLine = QStringLiteral(": time against the line's limit");

    printInfo(writeBack + QStringLiteral(": writes alone (%1 writes, %2 clears)")
                              .arg(kEntries)
                              .arg(kPositions - kEntries),
              secondsText(ranged.writesNs()) + QStringLiteral(", ")
                  + lineFigures(ranged.writesNs(), ranged.bare.sendTimes.at(ranged.checkFrame),
                                ranged.writesBytes()));
    printInfo(rangedName + QStringLiteral(": total time"),
              QStringLiteral("%1 (check %2, %3)")
                  .arg(secondsText(ranged.program.ns), secondsText(ranged.program.ns - ranged.writesNs()),
                       readsText(ranged.checkReads())));
    const double rangedRatio = againstLine(ranged.program.ns, ranged.bare.total());
    BenchResult::print(rangedName + againstTheLine,
                       lineFigures(ranged.program.ns, ranged.bare.ns, ranged.bare.total()),
                       QStringLiteral("≤ %1 ×").arg(kLineLimitTarget, 0, 'f', 2),
                       BenchResult::met(rangedRatio <= kLineLimitTarget));
    printInfo(singleName + QStringLiteral(": total time"),
              QStringLiteral("%1 (check %2, %3)")
                  .arg(secondsText(single.program.ns), secondsText(single.program.ns - single.writesNs()),
                       readsText(single.checkReads())));
    printInfo(singleName + againstTheLine, lineFigures(single.program.ns, single.bare.ns, single.bare.total()));
    printInfo(QStringLiteral("peer's plain restore, %1 writes at %2 baud, no check").arg(kPositions).arg(kLineBaud),
              secondsText(peer.program.ns) + QStringLiteral(", ")
                  + lineFigures(peer.program.ns, peer.bare.ns, peer.bare.total()));
    printInfo(QStringLiteral("write-back with range check / writes alone"),
              times(seconds(ranged.program.ns) / seconds(ranged.writesNs())));
    printInfo(QStringLiteral("peer's plain restore / our writes alone"),
              times(seconds(peer.program.ns) / seconds(ranged.writesNs())));
    const double againstPeer = seconds(ranged.program.ns) / seconds(peer.program.ns);
    BenchResult::print(QStringLiteral("write-back with range check / peer's plain restore"), times(againstPeer),
                       QStringLiteral("≤ %1 ×").arg(kPeerTarget, 0, 'f', 2),
                       BenchResult::met(againstPeer <= kPeerTarget));
}

}

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    SimPhone phone;
    if (!startPhone(phone))
        return 1;
    PhoneLink link;
    QRandomGenerator random(kSeed);
    const SimPhonebook before = scattered(random, kPositions);
    phone.setPhonebook(SimStorage::Sim, before);

    // The limits and the sorted list as the window has them after a read
    // and the sort; neither is timed, so the line takes no time yet.
    NoProgress progress;
    if (!connectPhone(link, phone.devicePath()))
        return 1;
    const PhonebookRead read = LegRub(kSelectorSim, link, FormVariables(), progress);
    const FormVariables &vars = read.vars;
    // Every connection to this phone ends in the same set.
    const PhoneCharset charset = link.charset();
    link.close();
    const PhonebookEntries List2 = sortedPhonebook(read.entries, vars.limits, progress).value_or(PhonebookEntries());
    QByteArrayList restore;
    if (vars.RUBSEL() != Rubrica::kSim || read.entries.size() != kPositions || List2.size() != kEntries
        || !restoreCommands(vars, List2, charset, random, &restore)) {
        std::fprintf(stderr, "the read before the write-back did not complete\n");
        return 1;
    }

    // The capped SIM's sorted list, made the same way.
    const SimPhonebook cappedBefore = scattered(random, kCappedPositions);
    phone.setPhonebook(SimStorage::Sim, cappedBefore);
    if (!connectPhone(link, phone.devicePath()))
        return 1;
    const PhonebookRead cappedRead = LegRub(kSelectorSim, link, FormVariables(), progress);
    const FormVariables &cappedVars = cappedRead.vars;
    link.close();
    const PhonebookEntries cappedList2 =
        sortedPhonebook(cappedRead.entries, cappedVars.limits, progress).value_or(PhonebookEntries());
    if (cappedVars.RUBSEL() != Rubrica::kSim || cappedList2.size() != kEntries) {
        std::fprintf(stderr, "the read of the capped SIM did not complete\n");
        return 1;
    }

    phone.setLineSpeed(kLineBaud);
    PhoneWorker worker;
    const Measured ranged = writeBack(worker, phone, before, vars, List2);
    SimModem::Options refusing;
    refusing.rangeReadRefused = true;
    phone.setOptions(refusing);
    const Measured single = writeBack(worker, phone, before, vars, List2);
    SimModem::Options capping;
    capping.rangeReadHighest = kRangeReadHighest;
    phone.setOptions(capping);
    const Measured capped = writeBack(worker, phone, cappedBefore, cappedVars, cappedList2, kCappedPositions);
    phone.setOptions({});
    const Measured peer = plainRestore(worker, phone, before, restore);
    if (!ranged.complete() || !single.complete() || !capped.complete() || !peer.complete()) {
        std::fprintf(stderr, "a write did not complete as sent (range check %d, range read refused %d, "
                             "capped %d, plain restore %d)\n",
                     int(ranged.complete()), int(single.complete()), int(capped.complete()),
                     int(peer.complete()));
        return 1;
    }
    printResults(ranged, single, peer);
    printCapped(capped);
    return 0;
}
