// SPDX-License-Identifier: GPL-3.0-or-later
#include "windowsession.h"

#include "phonebooklistmodel.h"
#include "statusbar.h"
#include "twelvepositionsim.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QTest>

WindowSession::~WindowSession()
{
    form.reset();
}

bool WindowSession::start(QString *why)
{
    if (!startPhone(why))
        return false;
    form = std::make_unique<Form1>(*worker, *ports, &chooser);
    QObject::connect(form.get(), &Form1::finished, form.get(), [this] { ++finishedCount; });
    form->show();
    return true;
}

void WindowSession::click(QPushButton *button)
{
    clickAndGoOn(button);
    waitUntilIdle();
}

void WindowSession::clickAndGoOn(QPushButton *button)
{
    QTest::mouseClick(button, Qt::LeftButton);
}

void WindowSession::waitUntilIdle()
{
    // Long enough for a silent phone's every deadline on a busy machine.
    constexpr int kLongestOperationMs = 120000;
    QVERIFY(QTest::qWaitFor([this] { return !form->isBusy(); }, kLongestOperationMs));
}

void WindowSession::clickExitPanel()
{
    // The panels are the status bar's labels, left to right.
    const QList<QLabel *> panels = form->StatusBar1->findChildren<QLabel *>();
    QTest::mouseClick(panels.at(2), Qt::LeftButton);
}

void WindowSession::selectLine(int row)
{
    const QModelIndex index = form->list1Rows().index(row);
    form->List1->scrollTo(index);
    QTest::mouseClick(form->List1->viewport(), Qt::LeftButton, {},
                      form->List1->visualRect(index).center());
}

void WindowSession::type(QLineEdit *box, const QString &text)
{
    box->selectAll();
    QTest::keyClick(box, Qt::Key_Delete);
    // Key by key with the character as the event's text, so that accented
    // letters are typed as a keyboard layout would give them.
    for (const QChar c : text) {
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
        QKeyEvent release(QEvent::KeyRelease, 0, Qt::NoModifier, QString(c));
        QApplication::sendEvent(box, &press);
        QApplication::sendEvent(box, &release);
    }
}

QString WindowSession::message() const
{
    return form->StatusBar1->panelText(2);
}

QString WindowSession::connection() const
{
    return form->StatusBar1->panelText(1);
}

void WindowSession::connectPhone()
{
    click(form->Command1);
    QCOMPARE(connection(), QStringLiteral("CONNESSO"));
    newCommands();
}

void WindowSession::readSim()
{
    click(form->Command2);
    QCOMPARE(message(), QStringLiteral("LETTURA TERMINATA"));
    newCommands();
}

std::unique_ptr<WindowSession> startedOnTwelvePositionSim(const QString &model)
{
    auto s = std::make_unique<WindowSession>();
    s->phone.setModel(model);
    s->phone.setPhonebook(SimStorage::Sim, twelvePositionSim());
    QString why;
    if (!s->start(&why)) {
        QTest::qFail(qPrintable(why), __FILE__, __LINE__);
        return nullptr;
    }
    return s;
}
