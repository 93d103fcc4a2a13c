#pragma once

#include "formvariables.h"
#include "operationoutcome.h"
#include "phonebookentry.h"

#include <QString>

#include <functional>
#include <optional>

class FileNameChooser;
class OperationReport;
class PhoneLink;
class PhonebookListModel;
class PortDirectory;

// The program's state and rules between the clicks, without a widget: the
// port, the phonebook read and its limits, the two lists, the selected
// entry, the backup of the last read that lets a write-back go ahead, the
// phone's model, and whether the user asked the program to end. The window
// calls one operation per control and shows its outcome.
class PhonebookSession {
public:
    // report is the window that shows the operations' progress and lets
    // them know when the program is ending.
    PhonebookSession(PhoneLink &link, const PortDirectory &ports, FileNameChooser &chooser,
                     OperationReport &report, PhonebookListModel &List1, PhonebookListModel &List2);

    const FormVariables &vars() const { return m_vars; }

    // Opens the port of COM comNumber with the handshake (done: a phone is
    // connected), or closes it when it is open. echoConfirmed runs as soon
    // as a phone has answered.
    Outcome openOrClose(int comNumber, const std::function<void()> &echoConfirmed);

    // Reads the SIM (kSelectorSim) or the phone's phonebook into List1, and
    // keeps a backup of a complete read. limitsChanged runs once the phone's
    // limits are known.
    Outcome read(int selector, const std::function<void()> &limitsChanged);
    Outcome sort();
    Outcome writeBack();

    // The entry of List1's row as the edit boxes show it, which the edit
    // then acts on; nullopt for none.
    std::optional<PhonebookEntry> select(int row);
    void clearSelection() { m_selectedPosition = 0; }
    // Done when the selected entry was written as the boxes have it.
    Outcome saveSelected(const QString &name, const QString &number);
    Outcome deleteSelected();

    Outcome loadList();
    Outcome saveList();

    // The user asks the program to end while an operation runs: it stops at
    // its next step or wait. resetPhone: the phone gets its reset first.
    void askToEnd(bool resetPhone);
    bool endRequested() const { return m_ending != Ending::None; }
    bool endWithReset() const { return m_ending == Ending::WithReset; }
    // One reset to the phone when asked, as the program ends.
    void end(bool withReset);

private:
    PhoneLink &m_link;
    const PortDirectory &m_ports;
    FileNameChooser &m_chooser;
    OperationReport &m_report;
    PhonebookListModel &m_list1;
    PhonebookListModel &m_list2;
    FormVariables m_vars;
    // The position of the entry selected in List1 for an edit; 0 for none.
    int m_selectedPosition = 0;
    // The phone's model, for the names of the backups.
    QString m_model;
    // False while the last read is complete but its backup could not be
    // written: the write-back would overwrite entries kept nowhere else.
    bool m_readBackedUp = true;
    enum class Ending { None, WithReset, WithoutReset } m_ending = Ending::None;
};
