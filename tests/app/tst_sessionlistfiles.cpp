// SPDX-License-Identifier: GPL-3.0-or-later
// The ways back the session leaves, against the simulated phone: the saved
// list, the backup of every read, and an address book's export.
#include "keptbackups.h"
#include "sessionrig.h"
#include "temporaryuserfolders.h"
#include "twelvepositionsim.h"
#include "windowtexts.h"

#include <QTemporaryDir>
#include <QTest>

namespace {
const QString kModel = QStringLiteral("NOKIA 6310i");
}

class TestSessionListFiles : public QObject {
    Q_OBJECT

public:
    static void initMain() { useTemporaryUserFolders(); }

private slots:
    void cleanup() { removeBackups(); }

    void savedListGoesBackToThePhone();
    void backupRestoresAWriteCutShort();
    void addressBookOutAndBackIn();

private:
    // A rig on the phonebook, by default of a phone that reports the USIM
    // fields; started.
    static std::unique_ptr<SessionRig> startedOn(const SimPhonebook &book,
                                                 const SimModem::Options &options = SimModem::Options::strict());

    QTemporaryDir m_dir;
};

std::unique_ptr<SessionRig> TestSessionListFiles::startedOn(const SimPhonebook &book, const SimModem::Options &options)
{
    auto r = std::make_unique<SessionRig>();
    r->phone.setModel(kModel);
    r->phone.setPhonebook(SimStorage::Sim, book);
    r->phone.setOptions(options);
    QString why;
    if (!r->start(&why)) {
        QTest::qFail(qPrintable(why), __FILE__, __LINE__);
        return nullptr;
    }
    return r;
}

void TestSessionListFiles::savedListGoesBackToThePhone()
{
    const auto r = startedOn(twelvePositionSim(), SimModem::Options());
    QVERIFY(r);
    r->connectAndReadSim();
    QVERIFY(r->sort().done);
    QCOMPARE(r->saveList(m_dir.filePath(QStringLiteral("rubrica"))).message, WindowText::kSaved);
    const QString file = m_dir.filePath(QStringLiteral("rubrica.rds"));
    const QStringList sorted = r->List2.lines();

    // After the port was opened again the phone on it was never read (nor
    // backed up): a loaded list is not written over it.
    r->openOrClose();
    QVERIFY(r->openOrClose().done);
    QVERIFY(r->loadList(file).done);
    r->newCommands();
    QCOMPARE(r->writeBack().message, WindowText::kError);
    QVERIFY(r->newCommands().isEmpty());

    // Reading again empties List2; the saved list comes back from the file.
    QVERIFY(r->read().done);
    QCOMPARE(r->List2.rowCount(), 0);
    QCOMPARE(r->loadList(file).message, WindowText::kLoaded);
    QCOMPARE(r->List2.lines(), sorted);
    QCOMPARE(r->List1.rowCount(), 0);

    QCOMPARE(r->writeBack().message, WindowText::kWriteBackDone);
    QCOMPARE(entriesOf(r->phone.phonebook(SimStorage::Sim)), twelvePositionSimSorted());
    QCOMPARE(r->List1.rowCount(), 12);
}

void TestSessionListFiles::backupRestoresAWriteCutShort()
{
    const SimPhonebook book = twelvePositionSimWithFields();
    auto r = startedOn(book);
    QVERIFY(r);
    r->connectAndReadSim();
    const QStringList kept = backups();
    QCOMPARE(kept.size(), 1);
    QVERIFY2(kept.first().endsWith(QStringLiteral(" SIM ") + kModel + QStringLiteral(".RDS")), qPrintable(kept.first()));

    // The write-back ends at its fifth write, as if the program died there.
    QVERIFY(r->sort().done);
    r->phone.setRefusal(QStringList{QStringLiteral("+CPBW=5,")});
    const Outcome cut = r->writeBack();
    QCOMPARE(cut.message, QStringLiteral("ERRORE GRAVE IN SCRITTURA: 05/12 NICOLÒ"));
    QCOMPARE(cut.selectList2, 4);
    QVERIFY(r->phone.phonebook(SimStorage::Sim) != book.entries);

    // A second session on the phone as it was left: read, load the backup,
    // write it back.
    SimPhonebook left = book;
    left.entries = r->phone.phonebook(SimStorage::Sim);
    r = startedOn(left);
    QVERIFY(r);
    r->connectAndReadSim();
    QCOMPARE(r->loadList(kept.first()).message, WindowText::kLoaded);
    QCOMPARE(r->writeBack().message, WindowText::kWriteBackDone);

    // Every entry as read, each with its fields, in the phone's order from 1.
    QMap<int, SimEntry> restored;
    for (const SimEntry &entry : book.entries)
        restored.insert(int(restored.size()) + 1, entry);
    QCOMPARE(r->phone.phonebook(SimStorage::Sim), restored);
}

// A phonebook goes out to an address book as vCard and comes back from it
// to the same phone, emptied meanwhile: one person under two numbers with
// the SIM's type suffixes, an accented name, the USIM fields.
void TestSessionListFiles::addressBookOutAndBackIn()
{
    SimPhonebook book = twelvePositionSimWithFields();
    book.entries.insert(2, {"3471234567", 129, "Chuck W/m"});
    book.entries.insert(5, {"0612340000", 129, "Chuck W/h"});
    const auto r = startedOn(book);
    QVERIFY(r);
    r->connectAndReadSim();
    QVERIFY(r->sort().done);
    const QString cards = m_dir.filePath(QStringLiteral("rubrica.vcf"));
    QCOMPARE(r->saveList(cards).message, WindowText::kSaved);
    QCOMPARE(r->writeBack().message, WindowText::kWriteBackDone);
    const QMap<int, SimEntry> sorted = r->phone.phonebook(SimStorage::Sim);

    SimPhonebook empty = book;
    empty.entries.clear();
    r->phone.setPhonebook(SimStorage::Sim, empty);
    QVERIFY(r->read().done);
    QCOMPARE(r->loadList(cards).message, WindowText::loadedCards(int(book.entries.size()), 0));
    QCOMPARE(r->writeBack().message, WindowText::kWriteBackDone);
    QCOMPARE(r->phone.phonebook(SimStorage::Sim), sorted);
}

QTEST_GUILESS_MAIN(TestSessionListFiles)
#include "tst_sessionlistfiles.moc"
