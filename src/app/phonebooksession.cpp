#include "phonebooksession.h"

#include "entryedit.h"
#include "handshake.h"
#include "listfileoperations.h"
#include "phonebookbackup.h"
#include "phonebooklistmodel.h"
#include "phonebookread.h"
#include "phonebooksort.h"
#include "phonebookwriteback.h"
#include "phonelink.h"
#include "portdirectory.h"
#include "windowtexts.h"

#include <QDateTime>

PhonebookSession::PhonebookSession(PhoneLink &link, const PortDirectory &ports, FileNameChooser &chooser,
                                   OperationReport &report, PhonebookListModel &List1,
                                   PhonebookListModel &List2)
    : m_link(link)
    , m_ports(ports)
    , m_chooser(chooser)
    , m_report(report)
    , m_list1(List1)
    , m_list2(List2)
{
}

Outcome PhonebookSession::openOrClose(int comNumber, const std::function<void()> &echoConfirmed)
{
    if (m_link.isOpen()) {
        m_link.close();
        return {WindowText::kVisit};
    }
    const HandshakeResult result = runHandshake(
        m_link, m_ports.deviceFor(comNumber),
        [this] {
            m_list1.clear();
            m_list2.clear();
            // The phone now on the port may be another one, never read nor
            // backed up: no write-back before it has been read.
            m_vars.phonebook.reset();
        },
        echoConfirmed);
    m_model = result.model;
    if (!result.connected)
        return {WindowText::connectionError(result.opening)};
    return {WindowText::kConnectedTo + result.model, -1, -1, true};
}

Outcome PhonebookSession::read(int selector, const std::function<void()> &limitsChanged)
{
    m_selectedPosition = 0;
    const Outcome outcome = LegRub(selector, m_link, m_vars, m_list1, m_list2, m_report, limitsChanged);
    m_readBackedUp = backUpRead(backupFolder(), m_vars, m_list1.entries(), m_model, QDateTime::currentDateTime());
    if (!m_readBackedUp)
        return {WindowText::kBackupFailed};
    return outcome;
}

Outcome PhonebookSession::sort()
{
    return sortPhonebook(m_vars, m_list1, m_list2, m_report);
}

Outcome PhonebookSession::writeBack()
{
    // The phone's entries as read are overwritten one by one; a write cut
    // short can be undone only from the backup of that read.
    if (!m_readBackedUp)
        return {WindowText::kBackupFailed};
    return writeSortedPhonebook(m_link, m_vars, m_list1, m_list2, m_report);
}

std::optional<PhonebookEntry> PhonebookSession::select(int row)
{
    const std::optional<PhonebookEntry> entry = m_list1.entry(row);
    if (!entry)
        return std::nullopt;
    const PhonebookEntry shown = PhonebookLine::asWritten(PhonebookLine::shown(*entry, m_list1.limits()));
    m_selectedPosition = shown.position;
    return shown;
}

Outcome PhonebookSession::saveSelected(const QString &name, const QString &number)
{
    return saveEntry(m_link, m_vars, m_selectedPosition, name, number, m_list1, m_report);
}

Outcome PhonebookSession::deleteSelected()
{
    return deleteEntry(m_link, m_selectedPosition, m_list1, m_report);
}

Outcome PhonebookSession::loadList()
{
    return loadSortedList(m_chooser, m_vars.lineLimits(), m_list1, m_list2, m_report);
}

Outcome PhonebookSession::saveList()
{
    return saveSortedList(m_chooser, m_list2, m_report);
}

void PhonebookSession::askToEnd(bool resetPhone)
{
    if (m_ending == Ending::None || resetPhone)
        m_ending = resetPhone ? Ending::WithReset : Ending::WithoutReset;
    m_link.cancel();
}

void PhonebookSession::end(bool withReset)
{
    // The program ends whatever the reset comes to.
    if (withReset)
        resetPhone(m_link);
}
