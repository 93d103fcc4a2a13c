// SPDX-License-Identifier: GPL-3.0-or-later
// The sorted list's own edits through the window, on the simulated phone:
// duplicates marked and dropped, lines taken out with the Delete key, a
// second list merged in, and a list too long for the phonebook.
#include "keptbackups.h"
#include "phonebooklistmodel.h"
#include "temporaryuserfolders.h"
#include "windowsession.h"

#include <QAction>
#include <QListView>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

namespace {

SimPhonebook book(int last, const QMap<int, SimEntry> &entries)
{
    SimPhonebook phonebook;
    phonebook.last = last;
    phonebook.numberLength = 20;
    phonebook.textLength = 14;
    phonebook.entries = entries;
    return phonebook;
}

// The phone's entries as "number|type|text|group", in their order.
QStringList held(const QMap<int, SimEntry> &entries)
{
    QStringList out;
    for (const SimEntry &entry : entries)
        out.append(QStringLiteral("%1|%2|%3|%4").arg(entry.number).arg(entry.type).arg(entry.text, entry.group));
    return out;
}

}

class Form1TidyTest : public QObject {
    Q_OBJECT

public:
    static void initMain() { useTemporaryUserFolders(); }

private slots:
    void cleanup();

    void duplicatesMarkedAndDropped();
    void deleteKeyTakesLinesOut();
    void simAndPhoneMemoryMerged();
    void listTooLongForTheSim();

private:
    // The session started on a SIM and a phone memory, the port open.
    void start(const SimPhonebook &sim, const SimPhonebook &memory = book(10, {}));
    void trigger(QAction *item);

    std::unique_ptr<WindowSession> s;
    QTemporaryDir m_dir;
};

void Form1TidyTest::start(const SimPhonebook &sim, const SimPhonebook &memory)
{
    s = std::make_unique<WindowSession>();
    SimOptions usim;
    usim.extraFields = true;
    s->phone.setOptions(usim);
    s->phone.setPhonebooks({{SimStorage::Sim, sim}, {SimStorage::PhoneMemory, memory}});
    QString why;
    QVERIFY2(s->start(&why), qPrintable(why));
    s->connectPhone();
}

void Form1TidyTest::trigger(QAction *item)
{
    item->trigger();
    s->waitUntilIdle();
}

void Form1TidyTest::cleanup()
{
    s.reset();
    removeBackups();
}

// One person three times under three forms of one number, with a group on
// one of them; an exact copy; a number two names share; a foreign number
// written two ways. The copies go, the group stays, the rest is written.
void Form1TidyTest::duplicatesMarkedAndDropped()
{
    SimEntry withGroup{"00393331234567", 129, "MARIO  ROSSI"};
    withGroup.group = QStringLiteral("AMICI");
    start(book(20, {{1, {"+393331234567", 145, "Mario Rossi"}},
                    {2, withGroup},
                    {3, {"3331234567", 129, "mario rossi"}},
                    {4, {"0612345678", 129, "Anna"}},
                    {5, {"0612345678", 129, "Anna"}},
                    {6, {"3331234567", 129, QStringLiteral("Papà")}},
                    {7, {"+41791234567", 145, "Hans"}},
                    {8, {"0041791234567", 129, "Hans"}},
                    {9, {"0500", 129, "Zoe"}}}));
    Form1 &f = *s->form;
    s->readSim();
    s->click(f.Command6);

    // Papà's line shares Mario's number: drawn apart, named in its tooltip.
    const PhonebookListModel &list2 = f.list2Rows();
    const int papa = int(std::find_if(list2.entries().cbegin(), list2.entries().cend(),
                                      [](const PhonebookEntry &e) { return e.name == QStringLiteral("Papà"); })
                         - list2.entries().cbegin());
    QVERIFY(list2.data(list2.index(papa), Qt::BackgroundRole).isValid());
    QVERIFY(list2.data(list2.index(papa), Qt::ToolTipRole).toString().startsWith(QStringLiteral("STESSO NUMERO DI ")));
    QVERIFY(!list2.data(list2.index(list2.rowCount() - 1), Qt::BackgroundRole).isValid()); // Zoe

    trigger(f.mnuDoppioni);
    QCOMPARE(s->message(), QStringLiteral("TOLTI 4 DOPPIONI"));
    QCOMPARE(list2.rowCount(), 5);
    QCOMPARE(list2.entries().last().position, 5);

    s->click(f.Command3);
    QCOMPARE(s->message(), QStringLiteral("SCRITTURA RUBRICA TERMINATA"));
    const QMap<int, SimEntry> after = s->phone.phonebook(SimStorage::Sim);
    QCOMPARE(after.keys(), (QList<int>{1, 2, 3, 4, 5}));
    const QStringList names{after.value(1).text, after.value(2).text, after.value(3).text, after.value(4).text,
                            after.value(5).text};
    QCOMPARE(names.at(0), QStringLiteral("Anna"));
    QCOMPARE(names.at(1), QStringLiteral("Hans"));
    QCOMPARE(names.at(3), QStringLiteral("Papà"));
    QCOMPARE(names.at(4), QStringLiteral("Zoe"));
    // The Mario kept has the group only the dropped one had.
    QCOMPARE(names.at(2).toUpper().simplified(), QStringLiteral("MARIO ROSSI"));
    QCOMPARE(after.value(3).group, QStringLiteral("AMICI"));
}

// The lines go from the list, not from the phone; the write-back then
// clears the positions they leave free.
void Form1TidyTest::deleteKeyTakesLinesOut()
{
    start(book(6, {{1, {"0611", 129, "CARLA"}}, {2, {"0612", 129, "ALDO"}}, {3, {"0613", 129, "BRUNO"}}}));
    Form1 &f = *s->form;
    s->readSim();
    s->click(f.Command6);
    s->newCommands();

    f.List2->setCurrentIndex(f.list2Rows().index(1));
    f.List2->setFocus();
    QTest::keyClick(f.List2, Qt::Key_Delete);
    s->waitUntilIdle();
    QCOMPARE(s->message(), QStringLiteral("TOLTE 1 VOCI DALLA LISTA"));
    QVERIFY(s->newCommands().isEmpty());
    QCOMPARE(f.list2Rows().rowCount(), 2);
    QCOMPARE(f.list2Rows().entries().last().position, 2);

    s->click(f.Command3);
    QCOMPARE(held(s->phone.phonebook(SimStorage::Sim)), (QStringList{"0612|129|ALDO|", "0611|129|CARLA|"}));
}

// The errand of a user with contacts in both: read the memory and save it,
// read the SIM and sort it, add the saved list, drop the copies, write back.
void Form1TidyTest::simAndPhoneMemoryMerged()
{
    const SimPhonebook memory = book(10, {{2, {"0612", 129, "ALDO"}}, {5, {"0699", 129, "DINO"}}});
    start(book(12, {{1, {"0613", 129, "BRUNO"}}, {4, {"0612", 129, "ALDO"}}}), memory);
    Form1 &f = *s->form;
    s->click(f.Command9);
    QCOMPARE(s->message(), QStringLiteral("LETTURA TERMINATA"));
    s->click(f.Command6);
    s->chooser.saveName = m_dir.filePath(QStringLiteral("memoria.rds"));
    s->click(f.Command5);
    QCOMPARE(s->message(), QStringLiteral("SALVATAGGIO ULTIMATO"));

    s->readSim();
    s->click(f.Command6);
    s->chooser.openName = s->chooser.saveName;
    trigger(f.mnuAggiungi);
    QCOMPARE(s->message(), QStringLiteral("CARICATE 2 VOCI, 0 SCARTATE"));
    QCOMPARE(f.list2Rows().rowCount(), 4);
    trigger(f.mnuDoppioni);
    QCOMPARE(s->message(), QStringLiteral("TOLTI 1 DOPPIONI"));
    s->click(f.Command3);

    QCOMPARE(s->message(), QStringLiteral("SCRITTURA RUBRICA TERMINATA"));
    QCOMPARE(held(s->phone.phonebook(SimStorage::Sim)),
             (QStringList{"0612|129|ALDO|", "0613|129|BRUNO|", "0699|129|DINO|"}));
    QCOMPARE(s->phone.phonebook(SimStorage::PhoneMemory), memory.entries);
}

// Nothing is sent, and the first line that does not fit is shown.
void Form1TidyTest::listTooLongForTheSim()
{
    start(book(3, {{1, {"0611", 129, "ALDO"}}}), book(5, {}));
    Form1 &f = *s->form;
    s->readSim();
    s->click(f.Command6);
    s->chooser.openName = m_dir.filePath(QStringLiteral("lunga.rds"));
    QFile file(s->chooser.openName);
    QVERIFY(file.open(QIODevice::WriteOnly));
    for (int k = 1; k <= 3; ++k)
        file.write(QStringLiteral("%1/3 \u00C3  NOME%1 \u00B3 061%1\r\n").arg(k).toLatin1());
    file.close();
    trigger(f.mnuAggiungi);
    QCOMPARE(f.list2Rows().rowCount(), 4);
    s->newCommands();

    s->click(f.Command3);
    QCOMPARE(s->message(), QStringLiteral("ERRORE: LISTA NON VALIDA"));
    QCOMPARE(f.List2->currentIndex().row(), 3);
    QVERIFY(s->newCommands().isEmpty());
    QCOMPARE(s->phone.phonebook(SimStorage::Sim), book(3, {{1, {"0611", 129, "ALDO"}}}).entries);
}

QTEST_MAIN(Form1TidyTest)
#include "tst_form1tidy.moc"
