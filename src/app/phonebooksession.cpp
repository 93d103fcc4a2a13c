// SPDX-License-Identifier: GPL-3.0-or-later
#include "phonebooksession.h"

#include "entryedit.h"
#include "handshake.h"
#include "phonebookbackup.h"
#include "phonebooklistmodel.h"
#include "phonebookwriteback.h"
#include "phoneworker.h"
#include "portdirectory.h"
#include "windowtexts.h"

#include <QDateTime>

PhonebookSession::PhonebookSession(PhoneWorker &worker, const PortDirectory &ports, FileNameChooser &chooser,
                                   PhonebookListModel &List1, PhonebookListModel &List2, QObject *parent)
    : QObject(parent)
    , m_worker(worker)
    , m_ports(ports)
    , m_chooser(chooser)
    , m_list1(List1)
    , m_list2(List2)
    , m_progress([&worker] { return !worker.isCancelled(); })
{
    connect(&m_progress, &SessionProgress::staged, this,
            [this](Stage stage) { emit message(WindowText::stageText(stage)); });
    connect(&m_progress, &SessionProgress::maximumSet, this, &PhonebookSession::progressMaximum);
    connect(&m_progress, &SessionProgress::valueSet, this, &PhonebookSession::progressValue);
    connect(&m_progress, &SessionProgress::limitsTold, this, [this](const FormVariables &vars) {
        m_vars = vars;
        m_list1.setEntries({}, PhonebookLine::Layout::Read, m_vars.limits);
        emit limitsChanged();
    });
    connect(&m_progress, &SessionProgress::entryRead, this,
            [this](const PhonebookEntry &entry) { m_list1.appendEntry(entry); });
    connect(&m_worker, &PhoneWorker::lost, this, &PhonebookSession::portLost);
}

template <typename Result>
void PhonebookSession::onPhone(std::function<Result(PhoneLink &)> job,
                               std::function<Outcome(const Result &)> done)
{
    m_worker.run<Result>(this, std::move(job), [this, done](const Result &result) { end(done(result)); });
}

void PhonebookSession::begin()
{
    m_busy = true;
}

void PhonebookSession::end(const Outcome &outcome)
{
    m_busy = false;
    if (m_ending != Ending::None) {
        finishEnding();
        return;
    }
    emit ended(outcome);
}

void PhonebookSession::openOrClose(int comNumber)
{
    begin();
    if (m_portOpen) {
        onPhone<bool>(
            [](PhoneLink &link) {
                link.close();
                return true;
            },
            [this](bool) {
                m_portOpen = false;
                emit connectionChanged(false);
                return Outcome{WindowText::kVisit};
            });
        return;
    }
    const QString device = m_ports.deviceFor(comNumber);
    onPhone<HandshakeResult>(
        [this, device](PhoneLink &link) {
            return runHandshake(
                link, device,
                [this] {
                    QMetaObject::invokeMethod(this, [this] {
                        m_list1.clear();
                        m_list2.clear();
                        // The phone now on the port may be another one, never
                        // read nor backed up: no write-back before it has been read.
                        m_vars.phonebook.reset();
                    }, Qt::QueuedConnection);
                },
                [this] { QMetaObject::invokeMethod(this, [this] { emit connectionChanged(true); }, Qt::QueuedConnection); });
        },
        [this](const HandshakeResult &result) {
            m_model = result.model;
            m_portOpen = result.connected;
            if (!result.connected) {
                emit connectionChanged(false);
                return Outcome{WindowText::connectionError(result.opening)};
            }
            return Outcome{WindowText::kConnectedTo + result.model, std::nullopt, std::nullopt, true};
        });
}

void PhonebookSession::read(int selector)
{
    begin();
    m_selectedPosition = 0;
    m_vars.phonebook.reset();
    m_list2.clear();
    m_list1.setEntries({}, PhonebookLine::Layout::Read, m_vars.limits);
    const FormVariables before = m_vars;
    onPhone<PhonebookRead>(
        [this, selector, before](PhoneLink &link) { return LegRub(selector, link, before, m_progress); },
        [this](const PhonebookRead &read) {
            m_vars = read.vars;
            m_list1.setEntries(read.entries, PhonebookLine::Layout::Read, m_vars.limits);
            m_readBackedUp = backUpRead(backupFolder(), m_vars, read.entries, m_model, QDateTime::currentDateTime());
            if (!m_readBackedUp)
                return Outcome{WindowText::kBackupFailed};
            switch (read.end) {
            case PhonebookRead::End::Done:
                return Outcome{WindowText::kReadDone, std::nullopt, std::nullopt, true};
            case PhonebookRead::End::PortClosed:
                return Outcome{WindowText::kPortClosed};
            case PhonebookRead::End::Failed:
                return Outcome{WindowText::kReadFailed};
            case PhonebookRead::End::Stopped:
                break;
            }
            return Outcome{};
        });
}

void PhonebookSession::writeBack()
{
    begin();
    // The phone's entries as read are overwritten one by one; a write cut
    // short can be undone only from the backup of that read.
    if (!m_readBackedUp) {
        end({WindowText::kBackupFailed});
        return;
    }
    const FormVariables vars = m_vars;
    const PhonebookEntries list = m_list2.entries();
    const PhonebookEntries read = m_list1.entries();
    onPhone<WriteBack>(
        [this, vars, list, read](PhoneLink &link) {
            return writeSortedPhonebook(link, vars, list, read, m_progress);
        },
        [this, vars](const WriteBack &result) {
            switch (result.end) {
            case WriteBack::End::Done:
                m_list1.setEntries(*result.phone, PhonebookLine::Layout::Sorted, vars.limits);
                return Outcome{WindowText::kWriteBackDone, std::nullopt, std::nullopt, true};
            case WriteBack::End::NoPhonebook:
                return Outcome{WindowText::kError};
            case WriteBack::End::InvalidList:
                return Outcome{WindowText::kInvalidList, std::nullopt, result.listRow};
            case WriteBack::End::Refused:
                return Outcome{WindowText::writeRefused(list2Line(*result.listRow)), std::nullopt, result.listRow};
            case WriteBack::End::Failed:
                return Outcome{WindowText::kWriteFailed};
            case WriteBack::End::Differs:
                // List1 shows what the phone holds, and List2 stays for a
                // save or another write.
                m_list1.setEntries(*result.phone, PhonebookLine::Layout::Read, vars.limits);
                return Outcome{WindowText::kDiffers, result.phoneRow};
            case WriteBack::End::Stopped:
                break;
            }
            return Outcome{};
        });
}

QString PhonebookSession::list2Line(int row) const
{
    const std::optional<PhonebookEntry> entry = m_list2.entry(row);
    if (!entry)
        return {};
    return PhonebookLine::positionTag(row + 1, m_list2.limits().MAXNUMRUB) + QLatin1Char(' ')
        + PhonebookLine::asWritten(*entry).name;
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

namespace {

// The outcome of an edit, once List1's row shows what the position holds.
Outcome editOutcome(const EntryEdit &edit, PhonebookListModel &List1, int position)
{
    // Left alone when the list no longer has the position's entry.
    if (edit.held)
        List1.replaceEntry(position - 1, *edit.held);
    switch (edit.end) {
    case EntryEdit::End::Done:
        return {WindowText::kEntryWritten, std::nullopt, std::nullopt, true};
    case EntryEdit::End::Refused:
        return {WindowText::kError};
    case EntryEdit::End::Failed:
        return {WindowText::kWriteFailed};
    case EntryEdit::End::Differs:
        return {WindowText::kDiffers};
    case EntryEdit::End::Stopped:
        break;
    }
    return {};
}

}

void PhonebookSession::saveSelected(const QString &name, const QString &number)
{
    begin();
    const FormVariables vars = m_vars;
    const PhonebookEntries List1 = m_list1.entries();
    const int position = m_selectedPosition;
    onPhone<EntryEdit>(
        [this, vars, List1, position, name, number](PhoneLink &link) {
            return saveEntry(link, vars, List1, position, name, number, m_progress);
        },
        [this, position](const EntryEdit &edit) { return editOutcome(edit, m_list1, position); });
}

void PhonebookSession::deleteSelected()
{
    begin();
    const PhonebookEntries List1 = m_list1.entries();
    const int position = m_selectedPosition;
    onPhone<EntryEdit>(
        [this, List1, position](PhoneLink &link) { return deleteEntry(link, List1, position, m_progress); },
        [this, position](const EntryEdit &edit) { return editOutcome(edit, m_list1, position); });
}

void PhonebookSession::askToEnd(bool resetPhone)
{
    if (m_ending == Ending::None || resetPhone)
        m_ending = resetPhone ? Ending::WithReset : Ending::WithoutReset;
    if (m_busy) {
        m_worker.cancel();
        return;
    }
    finishEnding();
}

void PhonebookSession::finishEnding()
{
    // The program ends whatever the reset comes to.
    if (m_ending != Ending::WithReset || !m_portOpen) {
        emit finished();
        return;
    }
    m_ending = Ending::WithoutReset;
    m_busy = true;
    m_worker.run<bool>(
        this,
        [](PhoneLink &link) {
            resetPhone(link);
            return true;
        },
        [this](bool) {
            m_busy = false;
            emit finished();
        });
}

void PhonebookSession::portLost()
{
    m_portOpen = false;
    emit connectionChanged(false);
    // A running operation reports the loss in its own words.
    if (!m_busy)
        emit message(WindowText::kConnectionError);
}
