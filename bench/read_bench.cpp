// SPDX-License-Identifier: GPL-3.0-or-later
// Times reading a whole phonebook from the simulated phone through the
// program's own read and link, on the phone's thread as the window has it
// run, the hop there and back included, then sends the very same command bytes bare
// (write, poll, read) over the same pseudo-terminal to the same phone. The
// difference, transaction by transaction, is what the program adds; its
// median shrugs off the moments when other work on the machine gets in the
// way. On a paced line the read is also set against what the line allows.
#include "benchresult.h"
#include "italiannames.h"
#include "rawterminal.h"
#include "noprogress.h"
#include "onworker.h"

#include "atcommands.h"
#include "phonebookcommands.h"
#include "phonebookread.h"
#include "phonelink.h"
#include "simphone.h"
#include "startedphone.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QRandomGenerator>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

const int kPhonebookSizes[] = {250, 1000};
constexpr int kFilledPercent = 50;
constexpr int kLineBaud = 19200;
// A start bit and a stop bit around every byte.
constexpr double kLineBytesPerSecond = kLineBaud / 10.0;
constexpr double kOverheadTargetMs = 0.2;
constexpr double kLineLimitTarget = 1.05;
// The unpaced reads are short: each transaction counts with its best of a
// few rounds. The paced ones take seconds and run once.
constexpr int kUnpacedRounds = 5;
constexpr int kModelTransactions = 200;
constexpr int kBareTimeoutMs = 5000;
constexpr quint32 kSeed = 1994;

// How long each transaction took, in the order sent: from its frame going
// out to the next frame going out (to the end of the read for the last), so
// that the work between two transactions counts too.
using Durations = std::vector<qint64>;

struct Read {
    qint64 ns = 0;
    Durations transactions;
    qint64 bytes = 0; // both ways; counted on the bare line
    bool complete = false;
};

SimPhonebook halfFilled(int positions, QRandomGenerator &random)
{
    SimPhonebook book;
    book.last = positions;
    for (int i = 1; i <= positions; ++i) {
        if (int(random.bounded(100)) >= kFilledPercent)
            continue;
        const QString number = ItalianNames::number(random, book.numberLength);
        book.entries.insert(i, SimEntry{number, PhonebookCommands::numberType(number),
                                        ItalianNames::name(random, book.textLength)});
    }
    return book;
}

Durations durations(const std::vector<qint64> &sendTimes, qint64 end)
{
    Durations result;
    for (std::size_t i = 0; i < sendTimes.size(); ++i)
        result.push_back((i + 1 < sendTimes.size() ? sendTimes[i + 1] : end) - sendTimes[i]);
    return result;
}

// frames, when given, receives every frame the read sends.
Read readWithProgram(SimPhone &phone, PhoneWorker &worker, int positions, QList<QByteArray> *frames)
{
    Read run;
    const QString device = phone.devicePath();
    if (!onWorker<bool>(worker, [device](PhoneLink &link) { return connectPhone(link, device); }))
        return run;
    NoProgress progress;
    QElapsedTimer timer;
    std::vector<qint64> sendTimes;
    timer.start();
    const PhonebookRead read = onWorker<PhonebookRead>(
        worker, recordingFrames<PhonebookRead>(
                    [&progress](PhoneLink &link) { return LegRub(kSelectorSim, link, FormVariables(), progress); },
                    [&](const QByteArray &frame) {
                        sendTimes.push_back(timer.nsecsElapsed());
                        if (frames)
                            frames->append(frame);
                    }));
    run.ns = timer.nsecsElapsed();
    onWorker<bool>(worker, [](PhoneLink &link) {
        link.close();
        return true;
    });
    run.transactions = durations(sendTimes, run.ns);
    run.complete = read.vars.RUBSEL() == Rubrica::kSim && read.entries.size() == positions;
    return run;
}

Read readBare(SimPhone &phone, const QList<QByteArray> &frames)
{
    Read run;
    RawTerminal terminal;
    QString why;
    if (!terminal.open(phone.devicePath(), &why)) {
        std::fprintf(stderr, "bare line: %s\n", qPrintable(why));
        return run;
    }
    std::vector<qint64> sendTimes;
    QElapsedTimer timer;
    timer.start();
    for (const QByteArray &frame : frames) {
        sendTimes.push_back(timer.nsecsElapsed());
        const qint64 answer = terminal.exchange(frame, kBareTimeoutMs);
        if (answer < 0)
            return run;
        run.bytes += frame.size() + answer;
    }
    run.ns = timer.nsecsElapsed();
    run.transactions = durations(sendTimes, run.ns);
    run.complete = true;
    return run;
}

// Each transaction at its best so far.
void keepBest(Read &best, const Read &round)
{
    if (best.transactions.empty()) {
        best = round;
        return;
    }
    best.ns = std::min(best.ns, round.ns);
    for (std::size_t i = 0; i < best.transactions.size(); ++i)
        best.transactions[i] = std::min(best.transactions[i], round.transactions[i]);
}

double median(std::vector<double> values)
{
    std::nth_element(values.begin(), values.begin() + values.size() / 2, values.end());
    return values[values.size() / 2];
}

double meanMs(const Read &read)
{
    return read.ns / 1.0e6 / double(read.transactions.size());
}

void printOverhead(const QString &name, const Read &program, const Read &bare)
{
    std::vector<double> added;
    for (std::size_t i = 0; i < program.transactions.size(); ++i)
        added.push_back((program.transactions[i] - bare.transactions[i]) / 1.0e6);
    const double overhead = median(added);
    BenchResult::print(name + QStringLiteral(": overhead per transaction"),
                       QStringLiteral("%1 median, %2 mean (program %3, bare %4)")
                           .arg(BenchResult::milliseconds(overhead),
                                BenchResult::milliseconds(meanMs(program) - meanMs(bare)),
                                BenchResult::milliseconds(meanMs(program)),
                                BenchResult::milliseconds(meanMs(bare))),
                       QStringLiteral("< %1").arg(BenchResult::milliseconds(kOverheadTargetMs)),
                       BenchResult::met(overhead < kOverheadTargetMs));
}

void printPerPosition(const QString &name, const Read &program, int positions)
{
    BenchResult::print(name + QStringLiteral(": time per position"),
                       BenchResult::milliseconds(program.ns / 1.0e6 / positions), QStringLiteral("—"),
                       BenchResult::Verdict::Info);
}

void printLineLimit(const QString &name, const Read &program, const Read &bare)
{
    const double limitSeconds = bare.bytes / kLineBytesPerSecond;
    const double ratio = program.ns / 1.0e9 / limitSeconds;
    BenchResult::print(name + QStringLiteral(": time against the line's limit"),
                       QStringLiteral("%1 × (%L2 B both ways = %3 s; bare %4 ×)")
                           .arg(ratio, 0, 'f', 3)
                           .arg(bare.bytes)
                           .arg(limitSeconds, 0, 'f', 2)
                           .arg(bare.ns / 1.0e9 / limitSeconds, 0, 'f', 3),
                       QStringLiteral("≤ %1 ×").arg(kLineLimitTarget, 0, 'f', 2),
                       BenchResult::met(ratio <= kLineLimitTarget));
}

bool benchPhonebook(SimPhone &phone, PhoneWorker &worker, int positions, QRandomGenerator &random)
{
    phone.clearFaults();
    phone.setPhonebook(SimStorage::Sim, halfFilled(positions, random));
    QList<QByteArray> frames;
    Read program;
    Read bare;
    for (int round = 0; round < kUnpacedRounds; ++round) {
        const Read programRound = readWithProgram(phone, worker, positions, round == 0 ? &frames : nullptr);
        const Read bareRound = readBare(phone, frames);
        if (!programRound.complete || !bareRound.complete
            || programRound.transactions.size() != bareRound.transactions.size())
            return false;
        keepBest(program, programRound);
        keepBest(bare, bareRound);
    }
    const QString unpaced = QStringLiteral("read %L1 positions, phone at once").arg(positions);
    printPerPosition(unpaced, program, positions);
    printOverhead(unpaced, program, bare);

    phone.setLineSpeed(kLineBaud);
    const Read pacedProgram = readWithProgram(phone, worker, positions, nullptr);
    const Read pacedBare = readBare(phone, frames);
    if (!pacedProgram.complete || !pacedBare.complete
        || pacedProgram.transactions.size() != pacedBare.transactions.size())
        return false;
    const QString paced = QStringLiteral("read %L1 positions at %2 baud").arg(positions).arg(kLineBaud);
    printPerPosition(paced, pacedProgram, positions);
    printOverhead(paced, pacedProgram, pacedBare);
    printLineLimit(paced, pacedProgram, pacedBare);
    return true;
}

// One short question at a time, as the window asks for the model: many of
// them, through the link and then bare.
bool benchModelQuestion(SimPhone &phone, PhoneLink &link)
{
    phone.clearFaults();
    if (!connectPhone(link, phone.devicePath()))
        return false;
    QByteArray frame;
    const auto recording =
        QObject::connect(&link, &PhoneLink::frameSent, [&frame](const QByteArray &sent) { frame = sent; });
    Read program;
    QElapsedTimer timer;
    for (int i = 0; i < kModelTransactions; ++i) {
        timer.start();
        const AtReply answer = link.IOP(AtCommands::kModelQuery);
        program.transactions.push_back(timer.nsecsElapsed());
        program.ns += program.transactions.back();
        if (answer.final != AtReply::Final::Ok || answer.text().isEmpty())
            return false;
    }
    QObject::disconnect(recording);
    link.close();

    const Read bare = readBare(phone, QList<QByteArray>(kModelTransactions, frame));
    if (!bare.complete)
        return false;
    printOverhead(QStringLiteral("single transaction \"%1\", %2 times")
                      .arg(QLatin1String(AtCommands::kModelQuery))
                      .arg(kModelTransactions),
                  program, bare);
    return true;
}

}

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    SimPhone phone;
    if (!startPhone(phone))
        return 1;
    PhoneWorker worker;
    QRandomGenerator random(kSeed);
    for (const int positions : kPhonebookSizes) {
        if (!benchPhonebook(phone, worker, positions, random)) {
            std::fprintf(stderr, "the read of %d positions did not complete\n", positions);
            return 1;
        }
    }
    PhoneLink link;
    if (!benchModelQuestion(phone, link)) {
        std::fprintf(stderr, "the model question did not get its answer\n");
        return 1;
    }
    return 0;
}
