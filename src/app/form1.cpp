// SPDX-License-Identifier: GPL-3.0-or-later
#include "form1.h"

#include "filedialogchooser.h"
#include "fractionprogressbar.h"
#include "phonebookbackup.h"
#include "phonebookline.h"
#include "phonebooklistmodel.h"
#include "phonebookread.h"
#include "portdirectory.h"
#include "serialbyid.h"
#include "statusbar.h"
#include "windowtexts.h"

#include <QAction>
#include <QCloseEvent>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QScrollBar>

#include <utility>

namespace {

// A text box limit of 0 means no limit, as it did before a phonebook is read.
constexpr int kUnlimited = 32767;

int boxLimit(int limit)
{
    return limit > 0 ? limit : kUnlimited;
}

}

Form1::Form1(PhoneWorker &worker, const PortDirectory &ports, FileNameChooser *chooser, QWidget *parent)
    : QWidget(parent)
    , MSComm1(worker)
    , m_ports(ports)
    , CommonDialog1(chooser)
{
    if (!CommonDialog1) {
        m_dialogs = std::make_unique<FileDialogChooser>(this, backupFolder());
        CommonDialog1 = m_dialogs.get();
    }
    createControls();
    m_session = std::make_unique<PhonebookSession>(MSComm1, m_ports, *CommonDialog1, *m_list1, *m_list2);

    connect(Command1, &QPushButton::clicked, this, &Form1::Command1_Click);
    connect(VScroll1, &QScrollBar::valueChanged, this, &Form1::VScroll1_Change);
    connect(Command2, &QPushButton::clicked, this, &Form1::Command2_Click);
    connect(Command9, &QPushButton::clicked, this, &Form1::Command9_Click);
    connect(List1->selectionModel(), &QItemSelectionModel::selectionChanged, this, &Form1::List1_Click);
    connect(Command6, &QPushButton::clicked, this, &Form1::Command6_Click);
    connect(Command3, &QPushButton::clicked, this, &Form1::Command3_Click);
    connect(Text1, &QLineEdit::textChanged, this, &Form1::Text1_Change);
    connect(Text2, &QLineEdit::textChanged, this, &Form1::Text2_Change);
    connect(Command7, &QPushButton::clicked, this, &Form1::Command7_Click);
    connect(Command8, &QPushButton::clicked, this, &Form1::Command8_Click);
    connect(Command4, &QPushButton::clicked, this, &Form1::Command4_Click);
    connect(Command5, &QPushButton::clicked, this, &Form1::Command5_Click);
    connect(mnuDoppioni, &QAction::triggered, this, &Form1::mnuDoppioni_Click);
    connect(mnuTogli, &QAction::triggered, this, &Form1::mnuTogli_Click);
    connect(mnuAggiungi, &QAction::triggered, this, &Form1::mnuAggiungi_Click);
    connect(StatusBar1, &StatusBar::panelClicked, this, &Form1::StatusBar1_PanelClick);

    PhonebookSession *session = m_session.get();
    connect(session, &PhonebookSession::message, this, &Form1::setMessage);
    connect(session, &PhonebookSession::progressMaximum, ProgressBar1, &FractionProgressBar::setMaximumF);
    connect(session, &PhonebookSession::progressValue, ProgressBar1, &FractionProgressBar::setValueF);
    connect(session, &PhonebookSession::connectionChanged, this, &Form1::showConnection);
    connect(session, &PhonebookSession::limitsChanged, this, [this] {
        Label7->setText(WindowText::counterText(Text1->text(), vars().limits.MAXCARNOM));
        Label8->setText(WindowText::counterText(Text2->text(), vars().limits.MAXCARNUM));
    });
    connect(session, &PhonebookSession::ended, this, &Form1::operationEnded);
    connect(session, &PhonebookSession::finished, this, &Form1::finished);

    Form_Load();
    VScroll1_Change(VScroll1->value());
}

Form1::~Form1() = default;

void Form1::Form_Load()
{
    clearEditBoxes();
    setMessage(WindowText::kVisit);
}

void Form1::clearEditBoxes()
{
    Label1->clear();
    Text1->clear();
    Text2->clear();
    m_session->clearSelection();
}

void Form1::setMessage(const QString &text)
{
    StatusBar1->setPanelText(2, text);
}

void Form1::setOperationButtonsEnabled(bool enabled)
{
    for (QPushButton *button : {Command1, Command2, Command3, Command4, Command5, Command6, Command7, Command8,
                                Command9})
        button->setEnabled(enabled);
    for (QAction *item : {mnuDoppioni, mnuTogli, mnuAggiungi})
        item->setEnabled(enabled);
    VScroll1->setEnabled(enabled && !m_session->isPortOpen());
}

void Form1::runOperation(const std::function<void()> &operation, const std::function<void(const Outcome &)> &then)
{
    if (m_session->isBusy())
        return;
    // A disabled button hands its focus on; it comes back once the
    // operation has ended.
    m_focusBefore = focusWidget();
    setOperationButtonsEnabled(false);
    m_then = then;
    operation();
}

void Form1::operationEnded(const Outcome &outcome)
{
    if (!outcome.message.isEmpty())
        setMessage(outcome.message);
    if (outcome.selectList1)
        List1->setCurrentIndex(m_list1->index(*outcome.selectList1));
    if (outcome.selectList2)
        List2->setCurrentIndex(m_list2->index(*outcome.selectList2));
    setOperationButtonsEnabled(true);
    if (m_focusBefore)
        m_focusBefore->setFocus();
    if (const std::function<void(const Outcome &)> then = std::exchange(m_then, {}))
        then(outcome);
}

void Form1::showConnection(bool connected)
{
    StatusBar1->setPanelText(1, connected ? WindowText::kConnected : WindowText::kDisconnected);
    if (!connected)
        VScroll1->setEnabled(!m_session->isBusy());
}

void Form1::Command1_Click()
{
    runOperation([this] { m_session->openOrClose(VScroll1->value()); });
}

void Form1::VScroll1_Change(int value)
{
    Label9->setText(WindowText::portLabel(value));
    // ttyUSB0 says little; the adapter's own name tells the user which one.
    const QString device = m_ports.deviceFor(value);
    const QString byId = serialByIdName(device);
    const QString tip = byId.isEmpty() ? device : device + QLatin1Char('\n') + byId;
    Label9->setToolTip(tip);
    VScroll1->setToolTip(tip);
}

void Form1::Command2_Click()
{
    readPhonebook(kSelectorSim);
}

void Form1::Command9_Click()
{
    readPhonebook(kSelectorPhone);
}

void Form1::readPhonebook(int selector)
{
    runOperation([this, selector] {
        clearEditBoxes();
        m_session->read(selector);
    });
}

void Form1::List1_Click()
{
    const QModelIndexList selected = List1->selectionModel()->selectedRows();
    if (selected.isEmpty())
        return;
    const std::optional<PhonebookEntry> entry = m_session->select(selected.first().row());
    if (!entry)
        return;
    Text1->setMaxLength(boxLimit(vars().limits.MAXCARNOM));
    Text2->setMaxLength(boxLimit(vars().limits.MAXCARNUM));
    Label1->setText(PhonebookLine::tagText(entry->position, m_list1->limits()));
    Text2->setText(entry->number);
    Text1->setText(entry->name);
    Text1_Change();
    Text2_Change();
}

void Form1::Command6_Click()
{
    runOperation([this] { m_session->sort(); });
}

void Form1::Command3_Click()
{
    runOperation([this] { m_session->writeBack(); });
}

void Form1::Text1_Change()
{
    Label7->setText(WindowText::counterText(Text1->text(), vars().limits.MAXCARNOM));
}

void Form1::Text2_Change()
{
    Label8->setText(WindowText::counterText(Text2->text(), vars().limits.MAXCARNUM));
}

void Form1::Command7_Click()
{
    runOperation([this] { m_session->saveSelected(Text1->text(), Text2->text()); });
}

void Form1::Command8_Click()
{
    runOperation([this] { m_session->deleteSelected(); },
                 [this](const Outcome &outcome) {
                     if (outcome.done) {
                         Text1->clear();
                         Text2->clear();
                     }
                 });
}

void Form1::Command4_Click()
{
    runOperation([this] { m_session->loadList(); });
}

void Form1::Command5_Click()
{
    runOperation([this] { m_session->saveList(); });
}

void Form1::mnuDoppioni_Click()
{
    runOperation([this] { m_session->dropDuplicates(); });
}

void Form1::mnuTogli_Click()
{
    QList<int> rows;
    for (const QModelIndex &index : List2->selectionModel()->selectedRows())
        rows.append(index.row());
    if (rows.isEmpty())
        return;
    runOperation([this, rows] { m_session->removeFromList(rows); });
}

void Form1::mnuAggiungi_Click()
{
    runOperation([this] { m_session->addList(); });
}

void Form1::StatusBar1_PanelClick(int panel)
{
    constexpr int kExitPanel = 3;
    if (panel == kExitPanel)
        m_session->askToEnd(true);
}

void Form1::closeEvent(QCloseEvent *event)
{
    // The window goes once the session has ended what runs.
    event->ignore();
    m_session->askToEnd(false);
}
