// SPDX-License-Identifier: GPL-3.0-or-later
#include "phonebookstate.h"

#include <QtTest>

class TestPhonebookState : public QObject {
    Q_OBJECT

private slots:
    void roundTrip();
    void acceptsCommentsBlankLinesAndCrLf();
    void rejects_data();
    void rejects();
    void saveAndLoad();
    void saveFailsWithoutDirectory();
    void demoPhonebooks();
};

void TestPhonebookState::roundTrip()
{
    SimPhonebook sim;
    sim.first = 5;
    sim.last = 20;
    sim.numberLength = 20;
    sim.textLength = 14;
    sim.entries.insert(5, SimEntry{QStringLiteral("+393331234567"), 145, QStringLiteral("NICOL\u00d2")});
    sim.entries.insert(7, SimEntry{QString(), 129, QStringLiteral("  spazi  ")});
    sim.entries.insert(9, SimEntry{QStringLiteral("*100#"), 129, QString()});
    sim.entries.insert(20, SimEntry{QStringLiteral("0612"), 129, QStringLiteral("a\tb\\c\nd\re")});
    sim.entries.insert(12, SimEntry{QStringLiteral("0612"), 129, QStringLiteral("Casa Mare"), 1, QStringLiteral("FAMIGLIA"),
                                    QStringLiteral("+393471112233"), 145, QString(), QStringLiteral("a\tb@c.it"),
                                    QStringLiteral("sip:a@c.it"), QStringLiteral("tel:+39")});
    SimPhonebook memory;
    memory.last = 500;
    memory.textLength = 20;
    memory.entries.insert(500, SimEntry{QStringLiteral("02"), 129, QStringLiteral("Citt\u00e0 \u20ac")});
    const SimPhonebooks books{{SimStorage::Sim, sim}, {SimStorage::PhoneMemory, memory}};

    SimPhonebooks back;
    QString why;
    QVERIFY2(PhonebookState::parse(PhonebookState::format(books), &back, &why), qPrintable(why));
    QCOMPARE(back.keys(), books.keys());
    for (const QString &name : books.keys()) {
        const SimPhonebook &want = books.value(name);
        const SimPhonebook &got = back.value(name);
        QCOMPARE(got.first, want.first);
        QCOMPARE(got.last, want.last);
        QCOMPARE(got.numberLength, want.numberLength);
        QCOMPARE(got.textLength, want.textLength);
        QVERIFY(got.entries == want.entries);
    }
}

void TestPhonebookState::acceptsCommentsBlankLinesAndCrLf()
{
    const QByteArray text = "# a phone\r\n\r\n[SM] 10 20 14\r\n# an entry\r\n3\t0612\t129\tCASA\r\n   \r\n";
    SimPhonebooks books;
    QVERIFY(PhonebookState::parse(text, &books));
    QCOMPARE(books.value(SimStorage::Sim).last, 10);
    QCOMPARE(books.value(SimStorage::Sim).first, 1);
    QCOMPARE(books.value(SimStorage::Sim).entries.value(3), (SimEntry{QStringLiteral("0612"), 129, QStringLiteral("CASA")}));
}

void TestPhonebookState::rejects_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<int>("line");

    QTest::newRow("entry before header") << QByteArray("1\t0612\t129\tA\n") << 1;
    QTest::newRow("unknown storage") << QByteArray("[FD]\t10\t20\t14\n") << 1;
    QTest::newRow("storage twice") << QByteArray("[SM]\t10\t20\t14\n[SM]\t10\t20\t14\n") << 2;
    QTest::newRow("header missing a length") << QByteArray("[SM]\t10\t20\n") << 1;
    QTest::newRow("lowest above highest") << QByteArray("[SM]\t10\t20\t14\t11\n") << 1;
    QTest::newRow("index out of range") << QByteArray("[SM]\t10\t20\t14\n11\t0612\t129\tA\n") << 2;
    QTest::newRow("index below the lowest") << QByteArray("[SM]\t10\t20\t14\t5\n4\t0612\t129\tA\n") << 2;
    QTest::newRow("index twice") << QByteArray("[SM]\t10\t20\t14\n1\t06\t129\tA\n1\t07\t129\tB\n") << 3;
    QTest::newRow("text too long") << QByteArray("[SM]\t10\t20\t3\n1\t06\t129\tABCD\n") << 2;
    QTest::newRow("number too long") << QByteArray("[SM]\t10\t3\t14\n1\t0612\t129\tA\n") << 2;
    QTest::newRow("type not a number") << QByteArray("[SM]\t10\t20\t14\n1\t06\tx\tA\n") << 2;
    QTest::newRow("type too large") << QByteArray("[SM]\t10\t20\t14\n1\t06\t256\tA\n") << 2;
    QTest::newRow("missing field") << QByteArray("[SM]\t10\t20\t14\n1\t06\t129\n") << 2;
    QTest::newRow("bad escape") << QByteArray("[SM]\t10\t20\t14\n1\t06\t129\tA\\q\n") << 2;
    QTest::newRow("empty entry") << QByteArray("[SM]\t10\t20\t14\n1\t\t129\t\n") << 2;
}

void TestPhonebookState::rejects()
{
    QFETCH(QByteArray, text);
    QFETCH(int, line);

    SimPhonebooks books{{SimStorage::Sim, SimPhonebook()}};
    QString why;
    QVERIFY(!PhonebookState::parse(text, &books, &why));
    QVERIFY2(why.startsWith(QStringLiteral("line %1:").arg(line)), qPrintable(why));
    QVERIFY(books.value(SimStorage::Sim).entries.isEmpty());
}

void TestPhonebookState::saveAndLoad()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("phone.txt"));
    const SimPhonebooks demo = PhonebookState::demo();
    QString why;
    QVERIFY2(PhonebookState::save(path, demo, &why), qPrintable(why));
    SimPhonebooks back;
    QVERIFY2(PhonebookState::load(path, &back, &why), qPrintable(why));
    QVERIFY(back.value(SimStorage::Sim).entries == demo.value(SimStorage::Sim).entries);
    QVERIFY(back.value(SimStorage::PhoneMemory).entries == demo.value(SimStorage::PhoneMemory).entries);

    QVERIFY(!PhonebookState::load(dir.filePath(QStringLiteral("missing.txt")), &back, &why));
    QVERIFY(!why.isEmpty());
}

void TestPhonebookState::saveFailsWithoutDirectory()
{
    QTemporaryDir dir;
    QString why;
    QVERIFY(!PhonebookState::save(dir.filePath(QStringLiteral("no/such/phone.txt")), PhonebookState::demo(), &why));
    QVERIFY(!why.isEmpty());
}

void TestPhonebookState::demoPhonebooks()
{
    const SimPhonebooks demo = PhonebookState::demo();
    const SimPhonebook sim = demo.value(SimStorage::Sim);
    QCOMPARE(sim.last, 250);
    QCOMPARE(sim.textLength, 18);
    QVERIFY(sim.entries.size() >= 50 && sim.entries.size() <= 70);
    QVERIFY(sim.entries.lastKey() - sim.entries.firstKey() + 1 > sim.entries.size()); // gaps

    QStringList names;
    for (const SimEntry &entry : sim.entries)
        names.append(entry.text);
    QVERIFY(names.contains(QStringLiteral("ANNA")));
    QVERIFY(names.contains(QStringLiteral("ANNALISA")));
    QVERIFY(names.contains(QStringLiteral("NICOL\u00d2")));
    QStringList folded;
    for (const QString &name : names)
        folded.append(name.toUpper());
    folded.removeDuplicates();
    QVERIFY2(folded.size() < names.size(), "two names that differ only in case");
    QStringList sorted = names;
    sorted.sort();
    QVERIFY(sorted != names);

    const SimPhonebook memory = demo.value(SimStorage::PhoneMemory);
    QCOMPARE(memory.last, 500);
    QCOMPARE(memory.textLength, 20);
    QCOMPARE(memory.entries.size(), 150);
}

QTEST_GUILESS_MAIN(TestPhonebookState)
#include "tst_phonebookstate.moc"
