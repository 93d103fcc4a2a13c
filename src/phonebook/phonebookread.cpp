#include "phonebookread.h"

#include "linelist.h"
#include "phonebookanswers.h"
#include "phonebookline.h"

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

// Reads positions 1 to MAXNUMRUB into List1.
Outcome readPositions(PhoneLink &link, const FormVariables &vars, QStringListModel &List1,
                      OperationReport &report)
{
    const PhonebookLine::Limits limits = vars.lineLimits();
    for (int i = 1; i <= vars.MAXNUMRUB; ++i) {
        report.setProgressValue(i);
        if (!report.keepGoing())
            return Outcome::Stopped;
        const QString answer = link.IOP(kReadPosition + QString::number(i));
        if (answer == kOk) {
            LineList::appendLine(List1, PhonebookLine::emptySlot(i, PhonebookLine::Layout::Read, limits));
            continue;
        }
        // "ERROR" here is no empty position: taken for one, the write-back
        // would clear an entry the phone failed to report.
        const auto entry = PhonebookAnswers::parseEntry(answer, link.charset());
        if (!entry)
            return Outcome::Failed;
        LineList::appendLine(List1, PhonebookLine::build(i, entry->name, entry->number,
                                                         PhonebookLine::Layout::Read, limits));
    }
    return Outcome::Done;
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
        const Outcome outcome = readPositions(link, vars, List1, report);
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
