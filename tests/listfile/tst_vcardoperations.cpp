// SPDX-License-Identifier: GPL-3.0-or-later
#include "givennamechooser.h"
#include "listfileoperations.h"
#include "pairentries.h"
#include "recordingreport.h"
#include "testfiles.h"

#include <QDir>
#include <QTemporaryDir>
#include <QtTest>

using PhonebookLine::Layout;

namespace {

const PhonebookLimits kLimits{250, 12, 14};

// Three cards as an address book exports them: one with two numbers, one
// with a name longer than the phone's field, one with a number too long
// for it, and one without any number.
const QByteArray kExport = "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:Zoe Neri\r\nTEL;TYPE=CELL:+39 333 111 2222\r\n"
                           "TEL;TYPE=HOME:06-555 1234\r\nEND:VCARD\r\n"
                           "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:Bartolomeo Rossi\r\nTEL:0612\r\nEND:VCARD\r\n"
                           "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:Ada\r\nTEL:+390612345678901\r\nEND:VCARD\r\n"
                           "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:Nessuno\r\nEMAIL:n@example.org\r\nEND:VCARD\r\n";

// count cards, each a person with one number, "Persona <from>" on.
QByteArray people(int from, int count)
{
    QByteArray out;
    for (int i = from; i < from + count; ++i)
        out += "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:Persona " + QByteArray::number(i) + "\r\nTEL:06"
            + QByteArray::number(i) + "\r\nEND:VCARD\r\n";
    return out;
}

}

class TestVCardOperations : public QObject {
    Q_OBJECT

private slots:
    void init();
    void loadSorted();
    void loadBeforeAReadIsRefused();
    void countsAddUpToTheCards_data();
    void countsAddUpToTheCards();
    void saveAndLoadKeepEveryField();

private:
    QString path(const QString &name) const { return m_dir->filePath(name); }

    std::unique_ptr<QTemporaryDir> m_dir;
    GivenNameChooser m_chooser;
    RecordingReport m_report;
};

void TestVCardOperations::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    m_chooser = GivenNameChooser();
    m_report = RecordingReport();
}

// One entry per number, named with its type's suffix, the names cut to the
// phone's field, sorted and numbered as the sort button does; what the
// phone cannot take is counted.
void TestVCardOperations::loadSorted()
{
    TestFiles::write(path("rubrica.VCF"), kExport);
    m_chooser.openName = path("rubrica.VCF");

    const ListLoad load = loadSortedList(m_chooser, kLimits, m_report);

    QCOMPARE(m_chooser.openFilters, QStringList{"*.RDS;;*.vcf"});
    QCOMPARE(m_report.stages.first(), Stage::Loading);
    QCOMPARE(load.end, ListLoad::End::LoadedCards);
    QCOMPARE(load.skipped, 2);
    QCOMPARE(pairsOf(load.list.entries),
             (QStringList{"Bartolomeo R|0612", "Zoe Neri/h|065551234", "Zoe Neri/m|+393331112222"}));
    QCOMPARE(load.list.entries.first().position, 1);
    QCOMPARE(load.list.limits, kLimits);
}

void TestVCardOperations::loadBeforeAReadIsRefused()
{
    TestFiles::write(path("rubrica.vcf"), kExport);
    m_chooser.openName = path("rubrica.vcf");

    QCOMPARE(loadSortedList(m_chooser, {}, m_report).end, ListLoad::End::NotLoaded);
    QVERIFY(m_report.stages.isEmpty());
}

// A card ends at its END or at the next BEGIN, so that no card swallows
// the ones after it; one left open is counted among the ones left out.
void TestVCardOperations::countsAddUpToTheCards_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<int>("entries");
    QTest::addColumn<int>("skipped");

    const QByteArray mark = "\xEF\xBB\xBF";
    QTest::newRow("a card without END")
        << people(1, 1) + "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:Senza Fine\r\nTEL:0699\r\n" + people(2, 50)
        << 51 << 1;
    QTest::newRow("a soft line break before END")
        << people(1, 1) + "BEGIN:VCARD\r\nVERSION:2.1\r\nTEL:0699\r\nFN;ENCODING=QUOTED-PRINTABLE:Ross=C3=AC=\r\n"
               "END:VCARD\r\n" + people(2, 50)
        << 52 << 0;
    QTest::newRow("three exports joined, each behind its byte-order mark")
        << mark + people(1, 3) + mark + people(4, 3) + mark + people(7, 3) << 9 << 0;
}

void TestVCardOperations::countsAddUpToTheCards()
{
    QFETCH(QByteArray, file);
    QFETCH(int, entries);
    QFETCH(int, skipped);
    TestFiles::write(path("rubrica.vcf"), file);
    m_chooser.openName = path("rubrica.vcf");

    const ListLoad load = loadSortedList(m_chooser, kLimits, m_report);

    QCOMPARE(load.list.entries.size(), entries);
    QCOMPARE(load.skipped, skipped);
}

// Saved under a ".vcf" name the list is a vCard file of that name, and
// loading it gives the same list back, every field and type with it.
void TestVCardOperations::saveAndLoadKeepEveryField()
{
    PhonebookEntries list = pairEntries({"Anna/m|+393331112222", "Anna/w|0612345", "Bruno|0698"});
    list[0].fields.email = QStringLiteral("anna@example.org");
    list[0].fields.group = QStringLiteral("AMICI");
    list[2].fields.adNumber = QStringLiteral("0611");
    list[2].fields.adType = QStringLiteral("129");
    list[2].fields.hidden = QStringLiteral("1");
    m_chooser.saveName = path("rubrica.vcf");
    m_chooser.openName = path("rubrica.vcf");

    QCOMPARE(saveSortedList(m_chooser, {list, kLimits}, m_report), ListSave::Saved);
    QCOMPARE(QDir(m_dir->path()).entryList(QDir::Files), QStringList{"rubrica.vcf"});
    QVERIFY(TestFiles::contents(path("rubrica.vcf")).startsWith("BEGIN:VCARD\r\nVERSION:3.0\r\n"));

    const ListLoad load = loadSortedList(m_chooser, kLimits, m_report);
    QCOMPARE(load.skipped, 0);
    const PhonebookEntries back = load.list.entries;
    QCOMPARE(pairsOf(back), pairsOf(list));
    for (int i = 0; i < list.size(); ++i)
        QCOMPARE(back.at(i).fields, list.at(i).fields);
}

QTEST_GUILESS_MAIN(TestVCardOperations)
#include "tst_vcardoperations.moc"
