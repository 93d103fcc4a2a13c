#include "phonebookread.h"

#include "phonebookanswers.h"
#include "phonebookline.h"
#include "positionanswer.h"

#include "atanswer.h"
#include "linkfailure.h"
#include "phonelink.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>

#include <chrono>

namespace {

using namespace std::chrono_literals;

const QString kOk = QStringLiteral("OK");
const QString kSelectSim = QStringLiteral("+CPBS=SM");
const QString kSelectSimQuoted = QStringLiteral("+CPBS=\"SM\"");
const QString kSelectPhone = QStringLiteral("+CPBS=ME");
const QString kSelectPhoneQuoted = QStringLiteral("+CPBS=\"ME\"");
const QString kQueryRange = QStringLiteral("+CPBR=?");
const QString kQueryStorage = QStringLiteral("+CPBS?");

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

// Waits the pause out while the window handles its events. The user who
// ends the program meanwhile ends it as during a transaction.
void pause(OperationReport &report)
{
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < kSimBusyPause.count()) {
        if (!report.keepGoing())
            throw LinkCancelled();
        QEventLoop slice;
        QTimer::singleShot(kPauseSlice, &slice, &QEventLoop::quit);
        slice.exec();
    }
}

// The answer to the command, asked again while the SIM is busy starting up.
QString ask(Exchange &exchange, const QString &command)
{
    QString answer = exchange.link.IOP(command);
    bool waited = false;
    while (AtAnswer::isSimBusy(exchange.link.lastFinalResultCode())) {
        if (!exchange.busySince.isValid())
            exchange.busySince.start();
        if (exchange.busySince.hasExpired(std::chrono::milliseconds(kSimBusyWait).count()))
            break;
        if (!waited) {
            exchange.report.setMessage(ReadMessage::kSimBusy);
            waited = true;
        }
        pause(exchange.report);
        answer = exchange.link.IOP(command);
    }
    if (waited && !exchange.message.isEmpty())
        exchange.report.setMessage(exchange.message);
    return answer;
}

// Some phones take the storage name only as a quoted string.
bool selectPhonebook(Exchange &exchange, const Phonebook &book)
{
    return ask(exchange, book.select) == kOk || ask(exchange, book.selectQuoted) == kOk;
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
        const QString answer = ask(exchange, PositionAnswer::readCommand(i));
        const PositionAnswer::Held held =
            PositionAnswer::interpret(answer, link.lastFinalResultCode(), i, link.charset());
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

// The positions the phone refused were empty only when its own count of
// entries matches those read.
bool refusalsWereEmpty(Exchange &exchange, const Tally &tally)
{
    return PhonebookAnswers::parseUsedCount(ask(exchange, kQueryStorage)) == tally.entries;
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
        book = {kSelectSim, kSelectSimQuoted, Rubrica::kSim, ReadMessage::kReadingSim};
    else if (selector == kSelectorPhone)
        book = {kSelectPhone, kSelectPhoneQuoted, Rubrica::kCellulare, ReadMessage::kReadingPhone};
    else
        return;

    Exchange exchange{link, report, QString(), QElapsedTimer()};
    try {
        const bool selected = selectPhonebook(exchange, book);
        report.setMessage(book.message);
        exchange.message = book.message;
        if (!selected) {
            report.setMessage(ReadMessage::kReadFailed);
            return;
        }

        const auto range = PhonebookAnswers::parseIndexRange(ask(exchange, kQueryRange));
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
        if (outcome == Outcome::Done && !tally.unaccounted.isEmpty() && !refusalsWereEmpty(exchange, tally)) {
            // Their lines stay empty, but nothing may be written there.
            for (const int position : std::as_const(tally.unaccounted))
                List1.replaceRow(position - 1, {List1.row(position - 1)->line, {}, true});
            outcome = Outcome::Failed;
        }
        if (outcome == Outcome::Failed)
            report.setMessage(ReadMessage::kReadFailed);
        if (outcome != Outcome::Done)
            return;
    } catch (const LinkCancelled &) {
        return;
    } catch (const LinkFailure &) {
        report.setMessage(ReadMessage::kReadFailed);
        return;
    }

    vars.RUBSEL = book.rubsel;
    report.setMessage(ReadMessage::kReadDone);
}
