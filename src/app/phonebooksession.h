// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "formvariables.h"
#include "operationoutcome.h"
#include "phonebookentry.h"
#include "sessionprogress.h"

#include <QObject>
#include <QString>

#include <functional>
#include <optional>

class FileNameChooser;
class PhoneWorker;
class PhonebookListModel;
class PortDirectory;

// The program's state and rules between the clicks, without a widget: the
// port, the phonebook read and its limits, the two lists, the selected
// entry, the backup of the last read that lets a write-back go ahead, the
// phone's model, and whether the user asked the program to end. It is the
// only code that changes the two lists. The window starts one operation at
// a time; what talks to the phone runs on the phone's thread, the rest at
// once, and every operation ends with ended().
class PhonebookSession : public QObject {
    Q_OBJECT
public:
    PhonebookSession(PhoneWorker &worker, const PortDirectory &ports, FileNameChooser &chooser,
                     PhonebookListModel &List1, PhonebookListModel &List2, QObject *parent = nullptr);

    const FormVariables &vars() const { return m_vars; }
    bool isBusy() const { return m_busy; }
    bool isPortOpen() const { return m_portOpen; }

    // Opens the port of COM comNumber with the handshake, or closes it
    // when it is open; done when a phone is connected.
    void openOrClose(int comNumber);
    // Reads the SIM (kSelectorSim) or the phone's phonebook into List1, and
    // keeps a backup of a complete read.
    void read(int selector);
    void sort();
    void writeBack();

    // The entry of List1's row as the edit boxes show it, which the edit
    // then acts on; nullopt for none.
    std::optional<PhonebookEntry> select(int row);
    void clearSelection() { m_selectedPosition = 0; }
    // Done when the selected entry was written as the boxes have it.
    void saveSelected(const QString &name, const QString &number);
    void deleteSelected();

    void loadList();
    void saveList();

    // The sorted list's own edits, before it is written back: the lines
    // whose name and number an earlier line has go, the rows given go, and
    // a list file's or an address book's entries are sorted in. Each
    // leaves List2 numbered 1, 2, 3 ...
    void dropDuplicates();
    void removeFromList(const QList<int> &rows);
    void addList();

    // The user asks the program to end (resetPhone: with the phone's reset
    // first). An operation that runs stops at its next step or wait, and
    // the program ends after it; finished() says when.
    void askToEnd(bool resetPhone);

signals:
    // The message panel's text while an operation runs.
    void message(const QString &text);
    void progressMaximum(double maximum);
    void progressValue(double value);
    // A phone answered on the port (true), or the port is closed (false).
    void connectionChanged(bool connected);
    // The phone's limits are known, for the counters.
    void limitsChanged();
    // The operation started last has ended.
    void ended(const Outcome &outcome);
    // The program is to end now.
    void finished();

private:
    // Runs job on the phone's thread; done takes its result here, and its
    // outcome ends the operation.
    template <typename Result>
    void onPhone(std::function<Result(PhoneLink &)> job, std::function<Outcome(const Result &)> done);
    void begin();
    void end(const Outcome &outcome);
    void finishEnding();
    void portLost();
    // The line of List2's row by its tag and name, as the user finds it.
    QString list2Line(int row) const;

    PhoneWorker &m_worker;
    const PortDirectory &m_ports;
    FileNameChooser &m_chooser;
    PhonebookListModel &m_list1;
    PhonebookListModel &m_list2;
    SessionProgress m_progress;
    FormVariables m_vars;
    bool m_busy = false;
    bool m_portOpen = false;
    // The position of the entry selected in List1 for an edit; 0 for none.
    int m_selectedPosition = 0;
    // The phone's model, for the names of the backups.
    QString m_model;
    // False while the last read is complete but its backup could not be
    // written: the write-back would overwrite entries kept nowhere else.
    bool m_readBackedUp = true;
    enum class Ending { None, WithReset, WithoutReset } m_ending = Ending::None;
};
