#include "form1.h"

#include "entryedit.h"
#include "filedialogchooser.h"
#include "fractionprogressbar.h"
#include "phonebookbackup.h"
#include "phonebookline.h"
#include "phonebooklistmodel.h"
#include "phonebookread.h"
#include "phonelink.h"
#include "portdirectory.h"
#include "serialbyid.h"
#include "statusbar.h"
#include "windowtexts.h"

#include <QApplication>
#include <QCloseEvent>
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
    m_session = std::make_unique<PhonebookSession>(MSComm1, m_ports, *CommonDialog1, *this, *m_list1, *m_list2);

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
    return !m_session->endRequested();
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
    if (m_session->endRequested())
        endProgram(m_session->endWithReset());
}

void Form1::showDisconnected(const QString &message)
{
    StatusBar1->setPanelText(1, WindowText::kDisconnected);
    setMessage(message);
    VScroll1->setEnabled(!m_busy);
}

void Form1::showOutcome(const Outcome &outcome)
{
    if (!outcome.message.isEmpty())
        setMessage(outcome.message);
    if (outcome.selectList1 >= 0)
        List1->setCurrentIndex(m_list1->index(outcome.selectList1));
    if (outcome.selectList2 >= 0)
        List2->setCurrentIndex(m_list2->index(outcome.selectList2));
}

void Form1::Command1_Click()
{
    runOperation([this] {
        const Outcome outcome = m_session->openOrClose(
            VScroll1->value(), [this] { StatusBar1->setPanelText(1, WindowText::kConnected); });
        if (outcome.done)
            showOutcome(outcome);
        else
            showDisconnected(outcome.message);
    });
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
        showOutcome(m_session->read(selector, [this] {
            Label7->setText(counterText(QString(), vars().MAXCARNOM));
            Label8->setText(counterText(QString(), vars().MAXCARNUM));
        }));
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
    Text1->setMaxLength(boxLimit(vars().MAXCARNOM));
    Text2->setMaxLength(boxLimit(vars().MAXCARNUM));
    Label1->setText(PhonebookLine::tagText(entry->position, m_list1->limits()));
    Text2->setText(entry->number);
    Text1->setText(entry->name);
    Text1_Change();
    Text2_Change();
}

void Form1::Command6_Click()
{
    runOperation([this] { showOutcome(m_session->sort()); });
}

void Form1::Command3_Click()
{
    runOperation([this] { showOutcome(m_session->writeBack()); });
}

void Form1::Text1_Change()
{
    Label7->setText(counterText(Text1->text(), vars().MAXCARNOM));
}

void Form1::Text2_Change()
{
    Label8->setText(counterText(Text2->text(), vars().MAXCARNUM));
}

void Form1::Command7_Click()
{
    runOperation([this] { showOutcome(m_session->saveSelected(Text1->text(), Text2->text())); });
}

void Form1::Command8_Click()
{
    runOperation([this] {
        const Outcome outcome = m_session->deleteSelected();
        showOutcome(outcome);
        if (outcome.done) {
            Text1->clear();
            Text2->clear();
        }
    });
}

void Form1::Command4_Click()
{
    runOperation([this] { showOutcome(m_session->loadList()); });
}

void Form1::Command5_Click()
{
    runOperation([this] { showOutcome(m_session->saveList()); });
}

void Form1::StatusBar1_PanelClick(int panel)
{
    constexpr int kExitPanel = 3;
    if (panel != kExitPanel)
        return;
    if (m_busy) {
        m_session->askToEnd(true);
        return;
    }
    endProgram(true);
}

void Form1::closeEvent(QCloseEvent *event)
{
    if (m_busy) {
        m_session->askToEnd(false);
        event->ignore();
        return;
    }
    event->accept();
    endProgram(false);
}

void Form1::endProgram(bool resetPhone)
{
    m_session->end(resetPhone);
    emit finished();
}
