#include "phonebookread.h"

#include "linelist.h"
#include "phonebookanswers.h"
#include "phonebookline.h"

#include "atanswer.h"
#include "linkfailure.h"
#include "phonelink.h"

namespace {

const QString kOk = QStringLiteral("OK");
const QString kSelectSim = QStringLiteral("+CPBS=SM");
const QString kSelectSimQuoted = QStringLiteral("+CPBS=\"SM\"");
const QString kSelectPhone = QStringLiteral("+CPBS=ME");
const QString kSelectPhoneQuoted = QStringLiteral("+CPBS=\"ME\"");
const QString kQueryRange = QStringLiteral("+CPBR=?");
const QString kReadPosition = QStringLiteral("+CPBR=");
const QString kQueryStorage = QStringLiteral("+CPBS?");

struct Phonebook {
    QString select;
    QString selectQuoted;
    QString rubsel;
    QString message;
};

// Some phones take the storage name only as a quoted string.
bool selectPhonebook(PhoneLink &link, const Phonebook &book)
{
    return link.IOP(book.select) == kOk || link.IOP(book.selectQuoted) == kOk;
}

enum class Outcome { Done, Failed, Stopped };

enum class Position { Entry, Empty, Unaccounted, Unanswered };

// What a position's answer says. "OK" alone and "not found" mean an empty
// position. Any other error may hide an entry the phone failed to report:
// taken for an empty position, the write-back would clear it. Without a
// final result code the phone is gone, and asking on would cost the
// deadline once per position.
Position positionKind(const QString &answer, const QString &finalResultCode)
{
    if (answer == kOk)
        return Position::Empty;
    if (answer != AtAnswer::kError)
        return Position::Entry;
    if (finalResultCode.isEmpty())
        return Position::Unanswered;
    return AtAnswer::isNotFound(finalResultCode) ? Position::Empty : Position::Unaccounted;
}

struct Tally {
    int entries = 0;
    int unaccounted = 0;
};

// Reads positions 1 to MAXNUMRUB into List1. A position left unaccounted
// gets an empty slot line, so that every line stays at its position.
Outcome readPositions(PhoneLink &link, const FormVariables &vars, QStringListModel &List1,
                      OperationReport &report, Tally &tally)
{
    const PhonebookLine::Limits limits = vars.lineLimits();
    for (int i = 1; i <= vars.MAXNUMRUB; ++i) {
        report.setProgressValue(i);
        if (!report.keepGoing())
            return Outcome::Stopped;
        const QString answer = link.IOP(kReadPosition + QString::number(i));
        const Position kind = positionKind(answer, link.lastFinalResultCode());
        if (kind == Position::Unanswered)
            return Outcome::Failed;
        if (kind != Position::Entry) {
            if (kind == Position::Unaccounted)
                ++tally.unaccounted;
            LineList::appendLine(List1, PhonebookLine::emptySlot(i, PhonebookLine::Layout::Read, limits));
            continue;
        }
        // Garbage is no empty position either: taken for one, the write-back
        // would clear an entry the phone failed to report. Nor is another
        // position's entry this one's: this one's would never be seen, and
        // the write-back would overwrite it.
        const auto entry = PhonebookAnswers::parseEntry(answer, link.charset());
        if (!entry || entry->index != i)
            return Outcome::Failed;
        LineList::appendLine(List1, PhonebookLine::build(i, entry->name, entry->number,
                                                         PhonebookLine::Layout::Read, limits));
        LineList::setFields(List1, List1.rowCount() - 1, entry->fields);
        ++tally.entries;
    }
    return Outcome::Done;
}

// The positions the phone refused were empty only when its own count of
// entries matches those read.
bool refusalsWereEmpty(PhoneLink &link, const Tally &tally)
{
    return PhonebookAnswers::parseUsedCount(link.IOP(kQueryStorage)) == tally.entries;
}

}

void LegRub(int selector, PhoneLink &link, FormVariables &vars, QStringListModel &List1,
            QStringListModel &List2, OperationReport &report,
            const std::function<void()> &limitsChanged)
{
    vars.RUBSEL = Rubrica::kNone;
    LineList::clearLines(List2);
    LineList::clearLines(List1);

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

    try {
        const bool selected = selectPhonebook(link, book);
        report.setMessage(book.message);
        if (!selected) {
            report.setMessage(ReadMessage::kReadFailed);
            return;
        }

        const auto range = PhonebookAnswers::parseIndexRange(link.IOP(kQueryRange));
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
        Outcome outcome = readPositions(link, vars, List1, report, tally);
        if (outcome == Outcome::Done && tally.unaccounted > 0 && !refusalsWereEmpty(link, tally))
            outcome = Outcome::Failed;
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
