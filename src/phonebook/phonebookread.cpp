#include "phonebookread.h"

#include "phonebookanswers.h"
#include "windowtexts.h"
#include "phonebookline.h"
#include "positionanswer.h"

#include "atanswer.h"
#include "linkfailure.h"
#include "phonelink.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>

#include <algorithm>
#include <chrono>

namespace {

using namespace std::chrono_literals;

const QString kOk = QStringLiteral("OK");
const QString kSelectSim = QStringLiteral("+CPBS=SM");
const QString kSelectSimQuoted = QStringLiteral("+CPBS=\"SM\"");
const QString kSelectPhone = QStringLiteral("+CPBS=ME");
const QString kSelectPhoneQuoted = QStringLiteral("+CPBS=\"ME\"");
const QString kQueryRange = QStringLiteral("+CPBR=?");

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
            exchange.report.setMessage(WindowText::kSimBusy);
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
        const QString answer = ask(exchange, PositionAnswer::readCommand(i));
        const PositionAnswer::Held held =
            PositionAnswer::interpret(answer, link.lastFinalResultCode(), i, link.charset());
        if (held.kind == PositionAnswer::Kind::Unanswered || held.kind == PositionAnswer::Kind::Unusable)
            return Outcome::Failed;
        List1.appendEntry(PositionAnswer::entryOf(i, held));
    }
    return Outcome::Done;
}

// The unread positions were empty when the phone's own count of entries
// matches those read: then they are read.
bool settleUnread(PhoneLink &link, PhonebookListModel &List1)
{
    const PhonebookEntries &entries = List1.entries();
    if (std::none_of(entries.cbegin(), entries.cend(), [](const PhonebookEntry &e) { return e.unread; }))
        return true;
    const auto held = std::count_if(entries.cbegin(), entries.cend(),
                                     [](const PhonebookEntry &e) { return !e.isEmpty(); });
    if (!PositionAnswer::errorsWereEmpty(link, int(held)))
        return false;
    for (int row = 0; row < List1.rowCount(); ++row) {
        PhonebookEntry entry = *List1.entry(row);
        if (entry.unread) {
            entry.unread = false;
            List1.replaceEntry(row, entry);
        }
    }
    return true;
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
        book = {kSelectSim, kSelectSimQuoted, Rubrica::kSim, WindowText::kReadingSim};
    else if (selector == kSelectorPhone)
        book = {kSelectPhone, kSelectPhoneQuoted, Rubrica::kCellulare, WindowText::kReadingPhone};
    else
        return;

    Exchange exchange{link, report, QString(), QElapsedTimer()};
    try {
        const bool selected = selectPhonebook(exchange, book);
        report.setMessage(book.message);
        exchange.message = book.message;
        if (!selected) {
            report.setMessage(WindowText::kReadFailed);
            return;
        }

        const auto range = PhonebookAnswers::parseIndexRange(ask(exchange, kQueryRange));
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
        if (outcome == Outcome::Done && !settleUnread(link, List1))
            outcome = Outcome::Failed;
        if (outcome == Outcome::Failed)
            report.setMessage(WindowText::kReadFailed);
        if (outcome != Outcome::Done)
            return;
    } catch (const LinkCancelled &) {
        return;
    } catch (const LinkFailure &) {
        report.setMessage(WindowText::kReadFailed);
        return;
    }

    vars.RUBSEL = book.rubsel;
    report.setMessage(WindowText::kReadDone);
}
