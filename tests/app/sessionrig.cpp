// SPDX-License-Identifier: GPL-3.0-or-later
#include "sessionrig.h"

#include <QTest>

namespace {
// Long enough for a silent phone's every deadline on a busy machine.
constexpr int kLongestOperationMs = 120000;
}

SessionRig::~SessionRig()
{
    session.reset();
}

bool SessionRig::start(QString *why)
{
    if (!startPhone(why))
        return false;
    session = std::make_unique<PhonebookSession>(*worker, *ports, chooser, List1, List2);
    QObject::connect(session.get(), &PhonebookSession::message, [this](const QString &text) { messages.append(text); });
    QObject::connect(session.get(), &PhonebookSession::connectionChanged,
                     [this](bool connected) { connections.append(connected); });
    QObject::connect(session.get(), &PhonebookSession::finished, [this] { ++finishedCount; });
    return true;
}

Outcome SessionRig::run(const std::function<void(PhonebookSession &)> &operation)
{
    std::optional<Outcome> outcome;
    const QMetaObject::Connection ended =
        QObject::connect(session.get(), &PhonebookSession::ended, [&outcome](const Outcome &o) { outcome = o; });
    operation(*session);
    [&] { QVERIFY(QTest::qWaitFor([&] { return outcome.has_value(); }, kLongestOperationMs)); }();
    QObject::disconnect(ended);
    return outcome.value_or(Outcome{QStringLiteral("(no end)")});
}

Outcome SessionRig::openOrClose()
{
    return run([](PhonebookSession &s) { s.openOrClose(1); });
}

Outcome SessionRig::read(int selector)
{
    return run([selector](PhonebookSession &s) { s.read(selector); });
}

Outcome SessionRig::sort()
{
    return run([](PhonebookSession &s) { s.sort(); });
}

Outcome SessionRig::writeBack()
{
    return run([](PhonebookSession &s) { s.writeBack(); });
}

Outcome SessionRig::saveEntry(int row, const QString &name, const QString &number)
{
    return run([=](PhonebookSession &s) {
        s.select(row);
        s.saveSelected(name, number);
    });
}

Outcome SessionRig::deleteEntry(int row)
{
    return run([row](PhonebookSession &s) {
        s.select(row);
        s.deleteSelected();
    });
}

Outcome SessionRig::saveList(const QString &name)
{
    chooser.saveName = name;
    return run([](PhonebookSession &s) { s.saveList(); });
}

Outcome SessionRig::loadList(const QString &name)
{
    chooser.openName = name;
    return run([](PhonebookSession &s) { s.loadList(); });
}

void SessionRig::connectAndReadSim()
{
    QVERIFY(openOrClose().done);
    QVERIFY(read().done);
    newCommands();
}
