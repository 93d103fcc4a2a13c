#include "phonebookwriteback.h"

#include "atanswer.h"
#include "linkfailure.h"
#include "phonebookcommands.h"
#include "phonebookline.h"
#include "phonelink.h"
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
    // The name as it goes on the line, in the phone's character set.
    QString sentName;
};

// The entries of the list, or false when one of them could not be written
// as it stands: a line without its separators, a field the phone would cut,
// a name the phone's character set cannot carry, a double quote that would
// end the command's quoted text early, or a control character that would
// end the command itself.
bool takeEntries(const QStringList &lines, const FormVariables &vars, const PhoneCharset &charset,
                 QVector<Entry> &entries)
{
    if (lines.size() > vars.MAXNUMRUB)
        return false;
    for (const QString &line : lines) {
        const PhonebookLine::Split fields = PhonebookLine::split(line);
        if (!fields.valid || fields.name.size() > vars.MAXCARNOM
            || fields.number.size() > vars.MAXCARNUM || fields.number.contains(kQuote)
            || !PhonebookCommands::fitsCommand(fields.number))
            return false;
        const std::optional<QString> sentName = charset.encode(fields.name);
        if (!sentName || sentName->contains(kQuote))
            return false;
        entries.append({fields.name, fields.number, *sentName});
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

void writeSortedPhonebook(PhoneLink &link, const FormVariables &vars, QStringListModel &List1,
                          const QStringListModel &List2, OperationReport &report)
{
    // Both taken once: other handlers may run while the phone answers, and
    // List1 must show what was written.
    const FormVariables limits = vars;
    const QStringList lines = List2.stringList();

    report.setProgressValue(0.1);
    QString writing;
    if (limits.RUBSEL == Rubrica::kSim)
        writing = kWritingSim;
    else if (limits.RUBSEL == Rubrica::kCellulare)
        writing = kWritingPhone;
    // An empty list would only clear every position: the whole phonebook.
    if (writing.isEmpty() || lines.isEmpty()) {
        report.setMessage(WriteMessage::kError);
        return;
    }
    QVector<Entry> entries;
    if (!takeEntries(lines, limits, link.charset(), entries)) {
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
            const Entry &entry = entries.at(k - 1);
            if (!send(link, PhonebookCommands::writeCommand(k, entry.number, entry.sentName), report))
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
    QStringList mirror;
    mirror.reserve(limits.MAXNUMRUB);
    for (int i = 0; i < n; ++i) {
        if (!report.keepGoing())
            return;
        report.setProgressValue(i + 0.1);
        // Made again from the fields sent, so that a list made under other
        // limits still lines up with the phone's positions.
        mirror.append(PhonebookLine::build(i + 1, entries.at(i).name, entries.at(i).number,
                                           PhonebookLine::Layout::Sorted, lineLimits));
    }
    for (int k = n + 1; k <= limits.MAXNUMRUB; ++k) {
        if (!report.keepGoing())
            return;
        report.setProgressValue(k + 0.1);
        mirror.append(PhonebookLine::emptySlot(k, PhonebookLine::Layout::Sorted, lineLimits));
    }
    List1.setStringList(mirror);
    report.setMessage(kDone);
}
