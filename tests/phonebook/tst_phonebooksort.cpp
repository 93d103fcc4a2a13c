// SPDX-License-Identifier: GPL-3.0-or-later
#include "bubblesortreference.h"
#include "pairentries.h"
#include "phonebooksort.h"
#include "recordingreport.h"

#include <QRandomGenerator>
#include <QTest>

namespace {
const QString kSortedSeparator = QStringLiteral(" \u00C3  ");

FormVariables limits(int maxNumRub, int maxCarNom = 14, int maxCarNum = 20)
{
    FormVariables vars;
    vars.limits.MAXNUMRUB = maxNumRub;
    vars.limits.MAXCARNOM = maxCarNom;
    vars.limits.MAXCARNUM = maxCarNum;
    vars.phonebook = Phonebooks::kSim;
    return vars;
}

// The entries of List1, read under vars' limits, sorted.
PhonebookEntries sort(const FormVariables &vars, const PhonebookEntries &entries)
{
    RecordingReport report;
    return *sortedPhonebook(entries, vars.limits, report);
}

// The lines List2 shows of them.
QStringList sorted(const FormVariables &vars, const PhonebookEntries &entries)
{
    QStringList lines;
    for (const PhonebookEntry &entry : sort(vars, entries))
        lines.append(PhonebookLine::draw(entry, PhonebookLine::Layout::Sorted, vars.limits));
    return lines;
}
}

class TestPhonebookSort : public QObject {
    Q_OBJECT
private slots:
    void order_data();
    void order();
    void layout_data();
    void layout();
    void onlyEmptySlots();
    void phasesAndProgress();
    void stopsQuietlyWhenTheProgramEnds();
    void matchesTheBubbleSortOnRandomLists();
    void tenThousandEntries();
};

void TestPhonebookSort::order_data()
{
    QTest::addColumn<QStringList>("entries");
    QTest::addColumn<QStringList>("expected");

    QTest::newRow("case only, then by number")
        << QStringList{"mario|2", "MARIO|1", "Mario|3"}
        << QStringList{"MARIO|1", "mario|2", "Mario|3"};
    QTest::newRow("case only, same number keeps list order")
        << QStringList{"rossi|1", "ROSSI|1", "Rossi|1"}
        << QStringList{"rossi|1", "ROSSI|1", "Rossi|1"};
    QTest::newRow("a name before the longer names it begins")
        << QStringList{"ANNALISA|1", "ANNA MARIA|1", "ANNA|2", "ANN|3"}
        << QStringList{"ANN|3", "ANNA|2", "ANNA MARIA|1", "ANNALISA|1"};
    QTest::newRow("blank name first, blank number kept")
        << QStringList{"ZETA|1", "|333", "BRUNO|"}
        << QStringList{"|333", "BRUNO|", "ZETA|1"};
    QTest::newRow("space, then digits, then letters")
        << QStringList{"AB|1", "A1|1", "A B|1", "1|1"}
        << QStringList{"1|1", "A B|1", "A1|1", "AB|1"};
    QTest::newRow("accented letters beside their base letter")
        << QStringList{"FABIO|1", "EZIO|1", "\u00C8LLA|1", "ELENA|1", "\u00E0NGELO|1", "BIANCA|1"}
        << QStringList{"\u00E0NGELO|1", "BIANCA|1", "ELENA|1", "\u00C8LLA|1", "EZIO|1", "FABIO|1"};
    QTest::newRow("already in order")
        << QStringList{"ALDO|1", "BRUNO|2", "CARLA|3"}
        << QStringList{"ALDO|1", "BRUNO|2", "CARLA|3"};
    QTest::newRow("reverse order, empty slots between")
        << QStringList{"CARLA|3", "", "BRUNO|2", "", "", "ALDO|1"}
        << QStringList{"ALDO|1", "BRUNO|2", "CARLA|3"};
    // What is compared is the entry as its line shows it.
    QTest::newRow("a leading space sorts first")
        << QStringList{"CARLA|3", "ALDO|1", " BRUNO|2", "", "|555"}
        << QStringList{"|555", " BRUNO|2", "ALDO|1", "CARLA|3"};
    // Longer than the phone declares: ordered by the line, kept whole.
    QTest::newRow("names equal as their fields show them")
        << QStringList{"ABCDEFGHIJKLMNZ|1", "ABCDEFGHIJKLMNA|1", "ABCDEFGHIJKLM|1"}
        << QStringList{"ABCDEFGHIJKLM|1", "ABCDEFGHIJKLMNZ|1", "ABCDEFGHIJKLMNA|1"};
    QTest::newRow("a number longer than its field")
        << QStringList{"ZANARDI|0039061234567890123456", "ZANARDI|0039061234567890123455"}
        << QStringList{"ZANARDI|0039061234567890123456", "ZANARDI|0039061234567890123455"};
    QTest::newRow("numbers compared as text")
        << QStringList{"PIZZERIA|10", "PIZZERIA|9", "PIZZERIA|+39 10"}
        << QStringList{"PIZZERIA|+39 10", "PIZZERIA|10", "PIZZERIA|9"};
}

void TestPhonebookSort::order()
{
    QFETCH(QStringList, entries);
    QFETCH(QStringList, expected);
    const FormVariables vars = limits(250);
    QCOMPARE(pairsOf(sort(vars, pairEntries(entries))), expected);
    // The sorted line keeps the name field as it was, leading spaces and all.
    QCOMPARE(sorted(vars, pairEntries(entries)), bubbleSortReference(pairEntries(entries), vars.limits));
}

void TestPhonebookSort::layout_data()
{
    QTest::addColumn<int>("maxNumRub");
    QTest::addColumn<int>("maxCarNom");
    QTest::addColumn<int>("maxCarNum");
    QTest::addColumn<QString>("firstTag");
    QTest::addColumn<QString>("lastTag");

    QTest::newRow("9 positions") << 9 << 10 << 12 << "1/9" << "3/9";
    QTest::newRow("99 positions") << 99 << 14 << 20 << "01/99" << "03/99";
    QTest::newRow("250 positions") << 250 << 14 << 20 << "001/250" << "003/250";
    QTest::newRow("1000 positions") << 1000 << 40 << 18 << "0001/1000" << "0003/1000";
}

void TestPhonebookSort::layout()
{
    QFETCH(int, maxNumRub);
    QFETCH(int, maxCarNom);
    QFETCH(int, maxCarNum);
    QFETCH(QString, firstTag);
    QFETCH(QString, lastTag);
    const FormVariables vars = limits(maxNumRub, maxCarNom, maxCarNum);
    // Entries far down the phonebook still come out as 1, 2, 3.
    QStringList entries(maxNumRub - 3);
    entries << "BRUNO|2" << "CARLA|3" << "ALDO|1";
    const QStringList result = sorted(vars, pairEntries(entries));

    QCOMPARE(result.size(), 3);
    QVERIFY(result.first().startsWith(firstTag + kSortedSeparator));
    QVERIFY(result.last().startsWith(lastTag + kSortedSeparator));
    const int L = PhonebookLine::indexWidth(maxNumRub);
    for (const QString &line : result) {
        QCOMPARE(line.size(), 2 * L + maxCarNom + maxCarNum + 8);
        // Exactly two spaces after "Ã": the name starts at 1-based 2L+6.
        QCOMPARE(line.at(2 * L + 5 - 1), QChar(u' '));
        QVERIFY(line.at(2 * L + 6 - 1) != QChar(u' '));
        QCOMPARE(line.mid(2 * L + maxCarNom + 6 - 1, 3), QStringLiteral(" \u00B3 "));
    }
    QCOMPARE(result.first(), PhonebookLine::draw(pairEntries({"ALDO|1"}).first(), PhonebookLine::Layout::Sorted,
                                                 vars.limits));
}

void TestPhonebookSort::onlyEmptySlots()
{
    QVERIFY(sort(limits(250), pairEntries({"", "", ""})).isEmpty());
}

void TestPhonebookSort::phasesAndProgress()
{
    const FormVariables vars = limits(250);
    RecordingReport report;
    QCOMPARE(sortedPhonebook(pairEntries({"B|1", "", "A|2", "", "C|3"}), vars.limits, report)->size(), 3);
    QCOMPARE(report.stages, (QList<Stage>{Stage::Copying, Stage::Sorting, Stage::Numbering}));
    // The copy runs over every line of List1, the rest over the entries.
    QCOMPARE(report.maximums, (QList<double>{5, 3}));
    QVERIFY(report.values.contains(4.1));
    QCOMPARE(report.values.last(), 2.1);
}

void TestPhonebookSort::stopsQuietlyWhenTheProgramEnds()
{
    RecordingReport report;
    report.stopAfterSteps = 3;
    QVERIFY(!sortedPhonebook(pairEntries({"B|1", "A|2", "C|3"}), limits(250).limits, report));
}

void TestPhonebookSort::matchesTheBubbleSortOnRandomLists()
{
    // A small alphabet with spaces, mixed case and an accent makes many
    // names equal but for case, prefixes of one another, and duplicates.
    const QString alphabet = QStringLiteral(" aAbB\u00E8\u00C81");
    QRandomGenerator random(20240611);
    const FormVariables vars = limits(99, 6, 3);
    for (int round = 0; round < 300; ++round) {
        QStringList entries;
        const int count = random.bounded(0, 40);
        for (int i = 0; i < count; ++i) {
            if (random.bounded(5) == 0) {
                entries.append(QString());
                continue;
            }
            // No leading space: its own row of order() pins what the line
            // shows of one.
            QString name;
            for (int c = random.bounded(0, 8); c > 0; --c)
                name += alphabet.at(random.bounded(name.isEmpty() ? 1 : 0, int(alphabet.size())));
            entries.append(name + QLatin1Char('|') + QString::number(random.bounded(0, 3)));
        }
        QCOMPARE(sorted(vars, pairEntries(entries)), bubbleSortReference(pairEntries(entries), vars.limits));
    }
}

void TestPhonebookSort::tenThousandEntries()
{
    const FormVariables vars = limits(10000, 20, 16);
    QRandomGenerator random(7);
    QStringList entries;
    for (int i = 0; i < 10000; ++i) {
        QString name;
        for (int c = random.bounded(3, 18); c > 0; --c)
            name += QChar(u'A' + random.bounded(26));
        entries.append(name + QLatin1Char('|') + QString::number(random.bounded(100000000)));
    }
    const QStringList result = sorted(vars, pairEntries(entries));
    QCOMPARE(result.size(), 10000);
    QVERIFY(result.first().startsWith(QStringLiteral("00001/10000")));
}

QTEST_GUILESS_MAIN(TestPhonebookSort)
#include "tst_phonebooksort.moc"
