#pragma once

#include "operationreport.h"
#include "phonebooksession.h"

#include <QElapsedTimer>
#include <QWidget>

#include <functional>
#include <memory>

class FractionProgressBar;
class PhoneLink;
class PortDirectory;
class QLabel;
class QLineEdit;
class QListView;
class QPushButton;
class QScrollBar;
class PhonebookListModel;
class StatusBar;
class FileNameChooser;

// The program's one window. It owns every control, the two lists and the
// phone's limits; each handler hands its work to the subsystem's operation.
class Form1 : public QWidget, public OperationReport {
    Q_OBJECT
public:
    Form1(PhoneLink &link, const PortDirectory &ports, FileNameChooser *chooser = nullptr,
          QWidget *parent = nullptr);
    ~Form1() override;

    // OperationReport
    void setMessage(const QString &text) override;
    void setProgressMaximum(double maximum) override;
    void setProgressValue(double value) override;
    bool keepGoing() override;

    const FormVariables &vars() const { return m_session->vars(); }

    QPushButton *Command1, *Command2, *Command3, *Command4, *Command5;
    QPushButton *Command6, *Command7, *Command8, *Command9;
    QListView *List1, *List2;
    QLineEdit *Text1, *Text2;
    QLabel *Label1, *Label2, *Label3, *Label4, *Label5, *Label6, *Label7, *Label8, *Label9;
    QScrollBar *VScroll1;
    FractionProgressBar *ProgressBar1;
    StatusBar *StatusBar1;

    PhonebookListModel &list1Rows() { return *m_list1; }
    PhonebookListModel &list2Rows() { return *m_list2; }
    bool isBusy() const { return m_busy; }

signals:
    // The program is to end now (exit panel or window closed).
    void finished();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void createControls();
    void Form_Load();

    void Command1_Click();
    void VScroll1_Change(int value);
    void Command2_Click();
    void Command9_Click();
    void List1_Click();
    void Command6_Click();
    void Command3_Click();
    void Text1_Change();
    void Text2_Change();
    void Command7_Click();
    void Command8_Click();
    void Command4_Click();
    void Command5_Click();
    void StatusBar1_PanelClick(int panel);

    void readPhonebook(int selector);
    void showDisconnected(const QString &message);
    void showOutcome(const Outcome &outcome);
    // Runs one operation with the other operation buttons disabled, so no
    // second one can start inside its waits; ends the program afterwards
    // when the user asked for it meanwhile.
    void runOperation(const std::function<void()> &operation);
    void endProgram(bool resetPhone);
    void clearEditBoxes();

    PhoneLink &MSComm1;
    const PortDirectory &m_ports;
    // The real file dialogs, made when the caller gives no chooser.
    std::unique_ptr<FileNameChooser> m_dialogs;
    FileNameChooser *CommonDialog1;
    PhonebookListModel *m_list1;
    PhonebookListModel *m_list2;
    std::unique_ptr<PhonebookSession> m_session;
    QElapsedTimer m_sinceEvents;
    bool m_busy = false;
};
