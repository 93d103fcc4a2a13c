// SPDX-License-Identifier: GPL-3.0-or-later
// Phones with the habits met in the field, and phones in their own
// character sets, at the session against the simulated phone: each one's
// phonebook read, sorted and written back exactly, or the read or the list
// refused with nothing written.
#include "keptbackups.h"
#include "sessionrig.h"
#include "temporaryuserfolders.h"
#include "twelvepositionsim.h"
#include "windowtexts.h"

#include <QRegularExpression>
#include <QTest>

#include <algorithm>

namespace {

// Latin names that every set carries, a Swiss and a British number, gaps.
SimPhonebook latinSim(int last)
{
    SimPhonebook book;
    book.last = last;
    book.numberLength = 20;
    book.textLength = 14;
    book.entries = {
        {1, {"3331234567", 129, "MARIO ROSSI"}},
        {3, {"+41791234567", 145, "Zio Franz"}},
        {4, {"3409876543", 129, "anna"}},
        {7, {"+447700900123", 145, "John Smith"}},
        {9, {"3200000000", 129, "Nicola, uff."}},
        {11, {"0500", 129, "Zoe"}},
    };
    return book;
}

const QStringList kLatinSorted = {
    "1|3409876543|129|anna",
    "2|+447700900123|145|John Smith",
    "3|3331234567|129|MARIO ROSSI",
    "4|3200000000|129|Nicola, uff.",
    "5|+41791234567|145|Zio Franz",
    "6|0500|129|Zoe",
};

// Names a GSM phone can hold; "ò" and "@" are septets that a command line
// edits (BS, NUL), so they can be read but not written in GSM.
SimPhonebook accentedSim(const QString &extraName)
{
    SimPhonebook book;
    book.last = 9;
    book.numberLength = 20;
    book.textLength = 14;
    book.entries = {
        {1, {"3331234567", 129, QStringLiteral("Perché No")}},
        {2, {"+393285556677", 145, QStringLiteral("Niccolò")}},
        {3, {"0612345000", 129, QStringLiteral("Città Ufficio")}},
        {5, {"+905321234567", 145, QStringLiteral("Öztürk")}},
        {6, {"3409876543", 129, QStringLiteral("anna")}},
        {7, {"0612398765", 129, QStringLiteral("Mosè Russo")}},
        {8, {"0500", 129, QStringLiteral("Bar@Sport")}},
    };
    if (!extraName.isEmpty())
        book.entries.insert(9, {"0600", 129, extraName});
    return book;
}

QStringList namesOn(const QMap<int, SimEntry> &entries)
{
    QStringList names;
    for (const SimEntry &entry : entries)
        names.append(entry.text);
    return names;
}

// GSM at power-on: the program moves the phone to UCS2, which it offers.
const QString kGsm = QStringLiteral("GSM");
const QString kLatin1 = QStringLiteral("8859-1");

}

class TestSessionHabits : public QObject {
    Q_OBJECT

public:
    static void initMain() { useTemporaryUserFolders(); }

private slots:
    void cleanup() { removeBackups(); }

    void habitsReadSortAndWriteBack_data();
    void habitsReadSortAndWriteBack();
    void emptyPhoneMemoryWithoutRange_data();
    void emptyPhoneMemoryWithoutRange();
    void phonesInTheirOwnSets_data();
    void phonesInTheirOwnSets();
    void gsmWithoutAlternativeRefusesWhatItCannotCarry();
};

void TestSessionHabits::habitsReadSortAndWriteBack_data()
{
    QTest::addColumn<SimModem::Options>("options");
    QTest::addColumn<QString>("powerOn");
    QTest::addColumn<int>("positions");
    // A command the phone refuses, when one is.
    QTest::addColumn<QString>("refused");
    QTest::addColumn<int>("readCommands");
    // The reads the check of the write-back costs: ranges in pieces the
    // phone takes, not one read per position, each answer that stops before
    // the end of its range read on. Above a cap on the upper bound (255 of
    // 300) only single reads are left: 45 of the 60. 0: the read is refused,
    // and nothing is written.
    QTest::addColumn<int>("checkReads");

    SimModem::Options bare;
    bare.rangeWithoutParentheses = true;
    QTest::newRow("index range without parentheses") << bare << kLatin1 << 12 << QString() << 14 << 2;
    SimModem::Options spaced;
    spaced.spaceAfterComma = true;
    QTest::newRow("a space after every comma") << spaced << kLatin1 << 12 << QString() << 14 << 2;
    SimModem::Options wrong;
    wrong.wrongIndex = SimModem::Options::IndexSwap{5, 3};
    QTest::newRow("position 5 answered with 3's entry") << wrong << kLatin1 << 12 << QString() << 2 + 5 << 0;

    // Empty positions answered with errors. The used count shows whether
    // the positions a plain ERROR answered were empty.
    const auto notFound = [](int cmee) {
        SimModem::Options options;
        options.cmee = cmee;
        options.emptyPosition = SimModem::Options::EmptyPosition::NotFound;
        return options;
    };
    QTest::newRow("+CME ERROR: 22") << notFound(SimModem::NumberedErrors) << kLatin1 << 12 << QString() << 14 << 2;
    QTest::newRow("+CME ERROR: not found")
        << notFound(SimModem::VerboseErrors) << kLatin1 << 12 << QString() << 14 << 2;
    QTest::newRow("ERROR") << notFound(SimModem::PlainErrors) << kLatin1 << 12 << QString() << 15 << 2;
    // Position 3 holds Zio Franz, so the count does not match.
    QTest::newRow("ERROR for an entry")
        << notFound(SimModem::PlainErrors) << kLatin1 << 12 << QStringLiteral("+CPBR=3") << 15 << 0;

    SimModem::Options storage;
    storage.storageNameInCharset = true;
    // Taken in the phone's set alone, after "SM" plain and quoted.
    QTest::newRow("storage name in UCS2") << storage << kGsm << 12 << QString() << 16 << 2;
    SimModem::Options digits;
    digits.numbersAsDigits = true;
    QTest::newRow("numbers kept as digits") << digits << kLatin1 << 12 << QString() << 14 << 2;
    SimModem::Options capped;
    capped.rangeReadHighest = 255;
    QTest::newRow("300 positions, range read capped at 255") << capped << kLatin1 << 300 << QString() << 302 << 60;
    SimModem::Options cut;
    cut.rangeReadCut = 3;
    QTest::newRow("range answer cut short") << cut << kLatin1 << 300 << QString() << 302 << 3;

    // Without the range query the write command's test form tells the
    // limits; without that too, the storage's count tells the positions
    // and the entries read the lengths.
    SimModem::Options noRange;
    noRange.rangeQueryRefused = true;
    QTest::newRow("+CPBR=? refused") << noRange << kLatin1 << 12 << QString() << 15 << 2;
    SimModem::Options noTests = noRange;
    noTests.writeQueryRefused = true;
    QTest::newRow("+CPBR=? and +CPBW=? refused") << noTests << kLatin1 << 12 << QString() << 16 << 2;
    // The selection asked three times, the panel saying the SIM is busy.
    const auto pleaseWait = [](int cmee) {
        SimModem::Options options;
        options.cmee = cmee;
        options.simBusyAnswers = 2;
        options.busyAsPleaseWait = true;
        return options;
    };
    QTest::newRow("+CME ERROR: 515") << pleaseWait(SimModem::NumberedErrors) << kLatin1 << 12 << QString() << 16 << 2;
    QTest::newRow("+CME ERROR: please wait")
        << pleaseWait(SimModem::VerboseErrors) << kLatin1 << 12 << QString() << 16 << 2;
    // Within half the deadline nothing is sent twice.
    SimModem::Options slow;
    slow.firstReadDelayMs = 4000;
    QTest::newRow("first position read 4 s late") << slow << kLatin1 << 12 << QString() << 14 << 2;
}

void TestSessionHabits::habitsReadSortAndWriteBack()
{
    QFETCH(SimModem::Options, options);
    QFETCH(QString, powerOn);
    QFETCH(int, positions);
    QFETCH(QString, refused);
    QFETCH(int, readCommands);
    QFETCH(int, checkReads);
    // The program's own deadline, within which a slow SIM's first answer
    // must come.
    SessionRig r(PhoneLink::kDefaultDeadline, powerOn);
    r.phone.setOptions(options);
    const SimPhonebook book = latinSim(positions);
    r.phone.setPhonebook(SimStorage::Sim, book);
    if (!refused.isEmpty())
        r.phone.setRefusal(QStringList{refused});
    QString why;
    QVERIFY2(r.start(&why), qPrintable(why));
    QVERIFY(r.openOrClose().done);
    r.newCommands();

    const bool readable = checkReads > 0;
    QCOMPARE(r.read().message, readable ? WindowText::kReadDone : WindowText::kReadFailed);
    QCOMPARE(r.newCommands().size(), readCommands);
    QCOMPARE(r.messages.contains(WindowText::kSimBusy), options.simBusyAnswers > 0);
    QCOMPARE(r.session->vars().RUBSEL(), readable ? QStringLiteral("RUBRICA SIM") : QStringLiteral("ERROR"));
    r.sort();
    const Outcome written = r.writeBack();
    const QStringList sent = r.newCommands();
    if (!readable) {
        QCOMPARE(written.message, WindowText::kError);
        QVERIFY(sent.isEmpty());
        QCOMPARE(r.phone.phonebook(SimStorage::Sim), book.entries);
        return;
    }
    QCOMPARE(written.message, WindowText::kWriteBackDone);
    QCOMPARE(sent.filter(QRegularExpression(QStringLiteral("^\\+CPBR="))).size(), checkReads);
    QCOMPARE(entriesOf(r.phone.phonebook(SimStorage::Sim)), kLatinSorted);
}

void TestSessionHabits::emptyPhoneMemoryWithoutRange_data()
{
    QTest::addColumn<SimModem::Options>("options");
    QTest::addColumn<QStringList>("asked");
    // The lengths the read leaves.
    QTest::addColumn<int>("nameLength");
    QTest::addColumn<int>("numberLength");

    const QStringList tests{"+CPBS=ME", "+CPBR=?", "+CPBW=?"};
    SimModem::Options samsung;
    samsung.cmee = SimModem::NumberedErrors;
    samsung.noRangeWhenEmpty = true;
    QTest::newRow("+CME ERROR: 23") << samsung << tests << 20 << 40;
    samsung.cmee = SimModem::PlainErrors;
    QTest::newRow("ERROR") << samsung << tests << 20 << 40;
    // Nothing read, nothing that long: no entry can be stored.
    samsung.writeQueryRefused = true;
    QTest::newRow("and +CPBW=? refused") << samsung << tests + QStringList{"+CPBS?"} << 0 << 0;
}

// Some Samsung phones tell no range while their phone memory is empty: it
// reads as empty, position by position, and leaves no backup.
void TestSessionHabits::emptyPhoneMemoryWithoutRange()
{
    QFETCH(SimModem::Options, options);
    QFETCH(QStringList, asked);
    QFETCH(int, nameLength);
    QFETCH(int, numberLength);
    SessionRig r;
    r.phone.setOptions(options);
    SimPhonebook memory;
    memory.last = 20;
    memory.textLength = 20;
    r.phone.setPhonebook(SimStorage::PhoneMemory, memory);
    QString why;
    QVERIFY2(r.start(&why), qPrintable(why));
    QVERIFY(r.openOrClose().done);
    r.newCommands();

    QCOMPARE(r.read(kSelectorPhone).message, WindowText::kReadDone);
    QStringList reads;
    for (int i = 1; i <= memory.last; ++i)
        reads.append(QStringLiteral("+CPBR=%1").arg(i));
    QCOMPARE(r.newCommands(), asked + reads);
    QCOMPARE(r.session->vars().RUBSEL(), QStringLiteral("RUBRICA CELLULARE"));
    QCOMPARE(r.session->vars().limits, (PhonebookLimits{20, nameLength, numberLength}));
    QCOMPARE(r.List1.rowCount(), 20);
    QVERIFY(std::all_of(r.List1.entries().cbegin(), r.List1.entries().cend(),
                        [](const PhonebookEntry &e) { return e.isEmpty() && !e.unread; }));
    QVERIFY(r.List1.lines().first().startsWith(QStringLiteral("01/20 \u00C3 ")));
    QVERIFY(backups().isEmpty());
}

void TestSessionHabits::phonesInTheirOwnSets_data()
{
    QTest::addColumn<QString>("powerOn");
    QTest::addColumn<QStringList>("offered");
    QTest::addColumn<QString>("extraName");
    // The names on the phone once the sorted list is written back.
    QTest::addColumn<QStringList>("sorted");

    const QStringList all{"IRA", "GSM", "UCS2", "8859-1"};
    const QStringList names = {"anna",       "Bar@Sport", QStringLiteral("Città Ufficio"), QStringLiteral("Mosè Russo"),
                               QStringLiteral("Niccolò"), QStringLiteral("Öztürk"), QStringLiteral("Perché No")};
    QTest::newRow("GSM phone moved to UCS2") << kGsm << all << QStringLiteral("Ψ Psi") << names + QStringList{"Ψ Psi"};
    QTest::newRow("GSM phone moved to 8859-1") << kGsm << QStringList{"GSM", "8859-1"} << QString() << names;
    QStringList withLukasz = names;
    withLukasz.insert(3, QStringLiteral("Łukasz"));
    QTest::newRow("UCS2 phone kept") << "UCS2" << all << QStringLiteral("Łukasz") << withLukasz;
    QTest::newRow("UCS2, a name beyond the basic plane")
        << "UCS2" << all << QStringLiteral("Zoe \U0001F600") << names + QStringList{QStringLiteral("Zoe \U0001F600")};
    QTest::newRow("8859-1 phone kept") << kLatin1 << all << QString() << names;
}

void TestSessionHabits::phonesInTheirOwnSets()
{
    QFETCH(QString, powerOn);
    QFETCH(QStringList, offered);
    QFETCH(QString, extraName);
    QFETCH(QStringList, sorted);
    SessionRig r(std::chrono::milliseconds(3000), powerOn);
    SimModem::Options options;
    options.charsets = offered;
    r.phone.setOptions(options);
    r.phone.setPhonebook(SimStorage::Sim, accentedSim(extraName));
    QString why;
    QVERIFY2(r.start(&why), qPrintable(why));

    r.connectAndReadSim();
    QCOMPARE(r.session->select(1)->name, QStringLiteral("Niccolò"));
    QVERIFY(r.sort().done);
    QCOMPARE(r.writeBack().message, WindowText::kWriteBackDone);
    QCOMPARE(namesOn(r.phone.phonebook(SimStorage::Sim)), sorted);
}

// "Niccolò" and "Bar@Sport" cannot travel in GSM: nothing is written, and
// the first of them is shown. A name of printable septets goes.
void TestSessionHabits::gsmWithoutAlternativeRefusesWhatItCannotCarry()
{
    SessionRig r(std::chrono::milliseconds(3000), kGsm);
    SimModem::Options options;
    options.charsets = {"GSM", "IRA"};
    r.phone.setOptions(options);
    const SimPhonebook book = accentedSim(QString());
    r.phone.setPhonebook(SimStorage::Sim, book);
    QString why;
    QVERIFY2(r.start(&why), qPrintable(why));

    r.connectAndReadSim();
    QVERIFY(r.sort().done);
    const Outcome refused = r.writeBack();
    QCOMPARE(refused.message, WindowText::kInvalidList);
    QCOMPARE(refused.selectList2, 1);
    QVERIFY(r.newCommands().isEmpty());
    QCOMPARE(r.phone.phonebook(SimStorage::Sim), book.entries);

    QVERIFY(r.saveEntry(2, QStringLiteral("Gül Öztürk"), QStringLiteral("0612345000")).done);
    QCOMPARE(r.phone.phonebook(SimStorage::Sim).value(3).text, QStringLiteral("Gül Öztürk"));
}

QTEST_GUILESS_MAIN(TestSessionHabits)
#include "tst_sessionhabits.moc"
