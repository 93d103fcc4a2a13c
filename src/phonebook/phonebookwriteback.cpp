#include "phonebookwriteback.h"

#include "phonebookcommands.h"
#include "phonebookline.h"
#include "phonelink.h"
#include "writecheck.h"
#include "writemessages.h"

#include <QVector>

namespace {
const QString kInvalidList = QStringLiteral("ERRORE: LISTA NON VALIDA");
const QString kWritingSim = QStringLiteral("SCRITTURA RUBRICA SIM IN CORSO");
const QString kWritingPhone = QStringLiteral("SCRITTURA RUBRICA CELLULARE IN CORSO");
const QString kDone = QStringLiteral("SCRITTURA RUBRICA TERMINATA");

struct Entry {
    QString name;
    QString number;
    UsimFields fields;
    // The write command, with the texts in the phone's character set.
    QString command;
};

// The entries of the list, each with its write command; the row of the
// first one that cannot be written as it stands (a line without its
// separators, or a command the builder refuses), or -1.
int takeEntries(const PhonebookRows &rows, const FormVariables &vars, const PhoneCharset &charset,
                QVector<Entry> &entries)
{
    for (int i = 0; i < rows.size(); ++i) {
        const UsimFields &fields = rows.at(i).fields;
        const PhonebookLine::Split split = PhonebookLine::split(rows.at(i).line);
        if (!split.valid)
            return i;
        const PhonebookCommands::WriteCommand write = PhonebookCommands::writeCommand(
            i + 1, split.number, split.name, fields, charset, vars.lineLimits());
        if (!write.sendable())
            return i;
        entries.append({split.name, split.number, fields, write.command});
    }
    return -1;
}

// Sends one command; false unless the phone took it. The panel is told,
// except after a cancel: the program is ending. A failed port (the link has
// closed it and told the window) is a command that did not go through.
bool send(PhoneLink &link, const QString &command, OperationReport &report)
{
    const AtReply reply = link.transact(command);
    if (reply.isOk())
        return true;
    if (reply.final != AtReply::Final::Cancelled)
        report.setMessage(WriteMessage::kWriteFailed);
    return false;
}
}

WriteBackResult writeSortedPhonebook(PhoneLink &link, const FormVariables &vars,
                                     PhonebookRowModel &List1, const PhonebookRowModel &List2,
                                     OperationReport &report)
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
        return {};
    }
    QVector<Entry> entries;
    if (const int refused = takeEntries(rows, limits, link.charset(), entries); refused >= 0) {
        report.setMessage(kInvalidList);
        return {refused, -1};
    }
    report.setMessage(writing);
    report.setProgressMaximum(limits.MAXNUMRUB);

    const int n = entries.size();
    QVector<WriteCheck::Expected> expected(limits.MAXNUMRUB);
    for (int k = 1; k <= n; ++k) {
        if (!report.keepGoing())
            return {};
        report.setProgressValue(k);
        if (!send(link, entries.at(k - 1).command, report))
            return {};
        const Entry &e = entries.at(k - 1);
        expected[k - 1] = WriteCheck::Entry{e.name, e.number, e.fields};
    }
    for (int k = n + 1; k <= limits.MAXNUMRUB; ++k) {
        if (!report.keepGoing())
            return {};
        report.setProgressValue(k);
        if (!send(link, PhonebookCommands::clearCommand(k), report))
            return {};
    }
    const WriteCheck::Result check = WriteCheck::checkPhonebook(link, expected, limits, report);
    if (check.cancelled)
        return {};
    // List1 shows what the phone holds, and List2 stays for a save or
    // another write.
    if (!check.equal) {
        List1.setRows(check.held);
        report.setMessage(CheckMessage::kDiffers);
        return {-1, check.firstDifferent - 1};
    }

    const PhonebookLine::Limits lineLimits = limits.lineLimits();
    report.setProgressMaximum(limits.MAXNUMRUB);
    PhonebookRows mirror;
    mirror.reserve(limits.MAXNUMRUB);
    for (int i = 0; i < n; ++i) {
        if (!report.keepGoing())
            return {};
        report.setProgressValue(i + 0.1);
        // Made again from the fields sent, so that a list made under other
        // limits still lines up with the phone's positions.
        mirror.append({PhonebookLine::build(i + 1, entries.at(i).name, entries.at(i).number,
                                            PhonebookLine::Layout::Sorted, lineLimits),
                       entries.at(i).fields, false});
    }
    for (int k = n + 1; k <= limits.MAXNUMRUB; ++k) {
        if (!report.keepGoing())
            return {};
        report.setProgressValue(k + 0.1);
        mirror.append({PhonebookLine::emptySlot(k, PhonebookLine::Layout::Sorted, lineLimits), {}, false});
    }
    List1.setRows(mirror);
    report.setMessage(kDone);
    return {};
}
