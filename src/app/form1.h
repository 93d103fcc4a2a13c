// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "phonebooksession.h"

#include <QPointer>
#include <QWidget>

#include <functional>
#include <memory>

class FractionProgressBar;
class PhoneWorker;
class PortDirectory;
class QAction;
class QLabel;
class QLineEdit;
class QListView;
class QPushButton;
class QScrollBar;
class PhonebookListModel;
class StatusBar;
class FileNameChooser;

// The program's one window. It owns every control and the two lists; each
// handler starts the session's operation and shows how it ends.
class Form1 : public QWidget {
    Q_OBJECT
public:
    Form1(PhoneWorker &worker, const PortDirectory &ports, FileNameChooser *chooser = nullptr,
          QWidget *parent = nullptr);
    ~Form1() override;

    const FormVariables &vars() const { return m_session->vars(); }

    QPushButton *Command1, *Command2, *Command3, *Command4, *Command5;
    QPushButton *Command6, *Command7, *Command8, *Command9;
    QListView *List1, *List2;
    // List2's context menu: the sorted list's own edits.
    QAction *mnuDoppioni, *mnuTogli, *mnuAggiungi;
    QLineEdit *Text1, *Text2;
    QLabel *Label1, *Label2, *Label3, *Label4, *Label5, *Label6, *Label7, *Label8, *Label9;
    QScrollBar *VScroll1;
    FractionProgressBar *ProgressBar1;
    StatusBar *StatusBar1;

    PhonebookListModel &list1Rows() { return *m_list1; }
    PhonebookListModel &list2Rows() { return *m_list2; }
    bool isBusy() const { return m_session->isBusy(); }

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
    void mnuDoppioni_Click();
    void mnuTogli_Click();
    void mnuAggiungi_Click();
    void StatusBar1_PanelClick(int panel);

    void readPhonebook(int selector);
    void setMessage(const QString &text);
    void showConnection(bool connected);
    // Starts one operation with the operation buttons and the port
    // selector disabled until it ends, so that no second one starts
    // meanwhile; then() runs with its outcome once it is shown.
    void runOperation(const std::function<void()> &operation,
                      const std::function<void(const Outcome &)> &then = {});
    void operationEnded(const Outcome &outcome);
    void setOperationButtonsEnabled(bool enabled);
    void clearEditBoxes();

    PhoneWorker &MSComm1;
    const PortDirectory &m_ports;
    // The real file dialogs, made when the caller gives no chooser.
    std::unique_ptr<FileNameChooser> m_dialogs;
    FileNameChooser *CommonDialog1;
    PhonebookListModel *m_list1;
    PhonebookListModel *m_list2;
    std::unique_ptr<PhonebookSession> m_session;
    std::function<void(const Outcome &)> m_then;
    QPointer<QWidget> m_focusBefore;
};
