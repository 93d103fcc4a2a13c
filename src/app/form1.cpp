#include "form1.h"

#include "atcommands.h"
#include "entryedit.h"
#include "filedialogchooser.h"
#include "fractionprogressbar.h"
#include "handshake.h"
#include "listfileoperations.h"
#include "phonebookbackup.h"
#include "phonebookline.h"
#include "phonebookrowmodel.h"
#include "phonebookread.h"
#include "phonebooksort.h"
#include "phonebookwriteback.h"
#include "phonelink.h"
#include "portdirectory.h"
#include "statusbar.h"
#include "windowtexts.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDateTime>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QScrollBar>

namespace {

// How long an operation may keep the window from its events.
constexpr qint64 kEventIntervalMs = 15;
// A text box limit of 0 means no limit, as it did before a phonebook is read.
constexpr int kUnlimited = 32767;

int boxLimit(int limit)
{
    return limit > 0 ? limit : kUnlimited;
}

}

Form1::Form1(PhoneLink &link, const PortDirectory &ports, FileNameChooser *chooser, QWidget *parent)
    : QWidget(parent)
    , MSComm1(link)
    , m_ports(ports)
    , CommonDialog1(chooser)
{
    if (!CommonDialog1) {
        m_dialogs = std::make_unique<FileDialogChooser>(this, backupFolder());
        CommonDialog1 = m_dialogs.get();
    }
    createControls();

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
    connect(StatusBar1, &StatusBar::panelClicked, this, &Form1::StatusBar1_PanelClick);
    // A running operation reports the loss in its own words; an idle
    // window says the connection is gone.
    connect(&MSComm1, &PhoneLink::lost, this, [this] {
        showDisconnected(m_busy ? StatusBar1->panelText(2) : WindowText::kConnectionError);
    });

    Form_Load();
    VScroll1_Change(VScroll1->value());
    m_sinceEvents.start();
}

Form1::~Form1() = default;

void Form1::Form_Load()
{
    vars.RUBSEL = Rubrica::kNone;
    vars.MAXCARNUM = 0;
    vars.MAXCARNOM = 0;
    Label1->clear();
    Text1->clear();
    Text2->clear();
    setMessage(WindowText::kVisit);
}

void Form1::setMessage(const QString &text)
{
    StatusBar1->setPanelText(2, text);
}

void Form1::setProgressMaximum(double maximum)
{
    ProgressBar1->setMaximumF(maximum);
}

void Form1::setProgressValue(double value)
{
    ProgressBar1->setValueF(value);
}

bool Form1::keepGoing()
{
    if (m_sinceEvents.elapsed() >= kEventIntervalMs) {
        QCoreApplication::processEvents();
        m_sinceEvents.restart();
    }
    return m_ending == Ending::None;
}

void Form1::runOperation(const std::function<void()> &operation)
{
    if (m_busy)
        return;
    m_busy = true;
    const QList<QPushButton *> buttons = {Command1, Command2, Command3, Command4, Command5,
                                          Command6, Command7, Command8, Command9};
    for (auto *b : buttons)
        b->setEnabled(false);
    VScroll1->setEnabled(false);

    operation();

    for (auto *b : buttons)
        b->setEnabled(true);
    VScroll1->setEnabled(!MSComm1.isOpen());
    m_busy = false;
    if (m_ending != Ending::None)
        endProgram(m_ending == Ending::WithReset);
}

void Form1::showDisconnected(const QString &message)
{
    StatusBar1->setPanelText(1, WindowText::kDisconnected);
    setMessage(message);
    VScroll1->setEnabled(!m_busy);
}

void Form1::Command1_Click()
{
    runOperation([this] {
        if (MSComm1.isOpen()) {
            showDisconnected(WindowText::kVisit);
            MSComm1.close();
            return;
        }
        const HandshakeResult result = runHandshake(
            MSComm1, m_ports.deviceFor(VScroll1->value()),
            [this] {
                m_list1->clear();
                m_list2->clear();
                // The phone now on the port may be another one, never read
                // nor backed up: no write-back before it has been read.
                vars.RUBSEL = Rubrica::kNone;
            },
            [this] { StatusBar1->setPanelText(1, WindowText::kConnected); });
        m_model = result.model;
        if (result.connected)
            setMessage(WindowText::kConnectedTo + result.model);
        else
            showDisconnected(WindowText::kConnectionError);
    });
}

void Form1::VScroll1_Change(int value)
{
    Label9->setText(WindowText::portLabel(value));
    Label9->setToolTip(m_ports.deviceFor(value));
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
        Text1->clear();
        Text2->clear();
        Label1->clear();
        LegRub(selector, MSComm1, vars, *m_list1, *m_list2, *this, [this] {
            Label7->setText(counterText(QString(), vars.MAXCARNOM));
            Label8->setText(counterText(QString(), vars.MAXCARNUM));
        });
        m_readBackedUp = backUpRead(backupFolder(), vars, m_list1->rows(), m_model,
                                    QDateTime::currentDateTime(), *this);
    });
}

void Form1::List1_Click()
{
    const QModelIndexList selected = List1->selectionModel()->selectedRows();
    if (selected.isEmpty())
        return;
    const QString line = m_list1->data(selected.first()).toString();
    Text1->setMaxLength(boxLimit(vars.MAXCARNOM));
    Text2->setMaxLength(boxLimit(vars.MAXCARNUM));
    // A line without both separators (from a foreign list file) selects
    // nothing, so the edit buttons refuse rather than guess a position.
    const PhonebookLine::Split fields = PhonebookLine::split(line);
    Label1->setText(fields.tag);
    Text2->setText(fields.number);
    Text1->setText(fields.name);
    Text1_Change();
    Text2_Change();
}

void Form1::Command6_Click()
{
    runOperation([this] { sortPhonebook(vars, *m_list1, *m_list2, *this); });
}

void Form1::Command3_Click()
{
    runOperation([this] {
        // The phone's entries as read are overwritten one by one; a write cut
        // short can be undone only from the backup of that read.
        if (!m_readBackedUp) {
            setMessage(BackupMessage::kFailed);
            return;
        }
        // The line that kept the list from being written, or the first
        // position the phone does not hold as written, is shown to the user.
        const WriteBackResult result = writeSortedPhonebook(MSComm1, vars, *m_list1, *m_list2, *this);
        if (result.refusedRow >= 0)
            List2->setCurrentIndex(m_list2->index(result.refusedRow));
        if (result.differentRow >= 0)
            List1->setCurrentIndex(m_list1->index(result.differentRow));
    });
}

void Form1::Text1_Change()
{
    Label7->setText(counterText(Text1->text(), vars.MAXCARNOM));
}

void Form1::Text2_Change()
{
    Label8->setText(counterText(Text2->text(), vars.MAXCARNUM));
}

void Form1::Command7_Click()
{
    runOperation([this] {
        saveEntry(MSComm1, vars, Label1->text(), Text1->text(), Text2->text(), *m_list1, *this);
    });
}

void Form1::Command8_Click()
{
    runOperation([this] {
        if (deleteEntry(MSComm1, vars, Label1->text(), *m_list1, *this)) {
            Text1->clear();
            Text2->clear();
        }
    });
}

void Form1::Command4_Click()
{
    runOperation([this] { loadSortedList(*CommonDialog1, *m_list1, *m_list2, *this); });
}

void Form1::Command5_Click()
{
    runOperation([this] { saveSortedList(*CommonDialog1, *m_list2, *this); });
}

void Form1::StatusBar1_PanelClick(int panel)
{
    constexpr int kExitPanel = 3;
    if (panel != kExitPanel)
        return;
    if (m_busy) {
        m_ending = Ending::WithReset;
        MSComm1.cancel();
        return;
    }
    endProgram(true);
}

void Form1::closeEvent(QCloseEvent *event)
{
    if (m_busy) {
        if (m_ending == Ending::None)
            m_ending = Ending::WithoutReset;
        MSComm1.cancel();
        event->ignore();
        return;
    }
    event->accept();
    endProgram(false);
}

void Form1::endProgram(bool resetPhone)
{
    // The program ends whatever the reset comes to.
    if (resetPhone)
        MSComm1.transact(AtCommands::kReset);
    emit finished();
}
