#include "phonebookwriteback.h"

#include "atanswer.h"
#include "linkfailure.h"
#include "phonebookcommands.h"
#include "phonebookline.h"
#include "phonelink.h"
#include "usimanswer.h"
#include "writemessages.h"

#include <QVector>

namespace {
const QString kInvalidList = QStringLiteral("ERRORE: LISTA NON VALIDA");
const QString kWritingSim = QStringLiteral("SCRITTURA RUBRICA SIM IN CORSO");
const QString kWritingPhone = QStringLiteral("SCRITTURA RUBRICA CELLULARE IN CORSO");
const QString kDone = QStringLiteral("SCRITTURA RUBRICA TERMINATA");
const QChar kQuote = QLatin1Char('"');

struct Entry {
    QString name;
    QString number;
    UsimFields fields;
    // The write command, with the texts in the phone's character set.
    QString command;
};

// The entries of the list, or false when one of them could not be written
// as it stands: a line without its separators, a field the phone would cut,
// a text the phone's character set cannot carry, a double quote that would
// end the command's quoted text early, or a control character that would
// end the command itself.
bool takeEntries(const PhonebookRows &rows, const FormVariables &vars, const PhoneCharset &charset,
                 QVector<Entry> &entries)
{
    if (rows.size() > vars.MAXNUMRUB)
        return false;
    for (int i = 0; i < rows.size(); ++i) {
        const UsimFields &fields = rows.at(i).fields;
        const PhonebookLine::Split split = PhonebookLine::split(rows.at(i).line);
        if (!split.valid || split.name.size() > vars.MAXCARNOM
            || split.number.size() > vars.MAXCARNUM || split.number.contains(kQuote)
            || !PhonebookCommands::fitsCommand(split.number))
            return false;
        const std::optional<QString> name = charset.encode(split.name);
        const std::optional<QString> usim = UsimAnswer::writeFields(fields, charset);
        if (!name || name->contains(kQuote) || !usim)
            return false;
        const int position = i + 1;
        entries.append({split.name, split.number, fields,
                        PhonebookCommands::writeCommand(position, split.number, *name, *usim)});
    }
    return true;
}

// Sends one command; false (with the panel told) unless the phone took it.
// LinkCancelled passes through: the program is ending.
bool send(PhoneLink &link, const QString &command, OperationReport &report)
{
    try {
        if (link.IOP(command) == AtAnswer::kOk)
            return true;
    } catch (const LinkFailure &) {
        // The link has closed the port and told the window; for the write it
        // is a command that did not go through.
    }
    report.setMessage(WriteMessage::kWriteFailed);
    return false;
}
}

void writeSortedPhonebook(PhoneLink &link, const FormVariables &vars, PhonebookRowModel &List1,
                          const PhonebookRowModel &List2, OperationReport &report)
{
    // Both taken once: other handlers may run while the phone answers, and
    // List1 must show what was written.
    const FormVariables limits = vars;
    const PhonebookRows rows = List2.rows();

    report.setProgressValue(0.1);
    QString writing;
    if (limits.RUBSEL == Rubrica::kSim)
        writing = kWritingSim;
    else if (limits.RUBSEL == Rubrica::kCellulare)
        writing = kWritingPhone;
    // An empty list would only clear every position: the whole phonebook.
    if (writing.isEmpty() || rows.isEmpty()) {
        report.setMessage(WriteMessage::kError);
        return;
    }
    QVector<Entry> entries;
    if (!takeEntries(rows, limits, link.charset(), entries)) {
        report.setMessage(kInvalidList);
        return;
    }
    report.setMessage(writing);
    report.setProgressMaximum(limits.MAXNUMRUB);

    const int n = entries.size();
    try {
        for (int k = 1; k <= n; ++k) {
            if (!report.keepGoing())
                return;
            report.setProgressValue(k);
            if (!send(link, entries.at(k - 1).command, report))
                return;
        }
        for (int k = n + 1; k <= limits.MAXNUMRUB; ++k) {
            if (!report.keepGoing())
                return;
            report.setProgressValue(k);
            if (!send(link, PhonebookCommands::clearCommand(k), report))
                return;
        }
    } catch (const LinkCancelled &) {
        return;
    }

    const PhonebookLine::Limits lineLimits = limits.lineLimits();
    report.setProgressMaximum(limits.MAXNUMRUB);
    PhonebookRows mirror;
    mirror.reserve(limits.MAXNUMRUB);
    for (int i = 0; i < n; ++i) {
        if (!report.keepGoing())
            return;
        report.setProgressValue(i + 0.1);
        // Made again from the fields sent, so that a list made under other
        // limits still lines up with the phone's positions.
        mirror.append({PhonebookLine::build(i + 1, entries.at(i).name, entries.at(i).number,
                                            PhonebookLine::Layout::Sorted, lineLimits),
                       entries.at(i).fields});
    }
    for (int k = n + 1; k <= limits.MAXNUMRUB; ++k) {
        if (!report.keepGoing())
            return;
        report.setProgressValue(k + 0.1);
        mirror.append({PhonebookLine::emptySlot(k, PhonebookLine::Layout::Sorted, lineLimits), {}});
    }
    List1.setRows(mirror);
    report.setMessage(kDone);
}
