// SPDX-License-Identifier: GPL-3.0-or-later
#include "fieldsfile.h"
#include "givennamechooser.h"
#include "listfileoperations.h"
#include "recordingreport.h"
#include "testfiles.h"

#include <QTemporaryDir>

#include <QtTest>

namespace {

UsimFields everyField()
{
    return {"1", "FAMIGLIA", "+393471112233", "145", "Zia Lù", "lu@example.org", "sip:lu@example.org",
            "tel:+393471112233", ",3,\"0612\""};
}

PhonebookEntry withFields(const UsimFields &fields)
{
    PhonebookEntry entry;
    entry.name = QStringLiteral("a");
    entry.fields = fields;
    return entry;
}

}

class TestFieldsFile : public QObject {
    Q_OBJECT

private slots:
    void roundTrip_data();
    void roundTrip();
    void refused_data();
    void refused();
    void goesWithItsList();
};

void TestFieldsFile::roundTrip_data()
{
    QTest::addColumn<PhonebookEntries>("entries");

    UsimFields group;
    group.group = QStringLiteral("LAVORO");
    UsimFields awkward;
    awkward.secondText = QStringLiteral("\"Gino\", \\ capo\nufficio 李");
    awkward.hidden = QStringLiteral("0");

    QTest::newRow("no fields") << PhonebookEntries{withFields({}), withFields({})};
    QTest::newRow("every field") << PhonebookEntries{withFields(everyField())};
    QTest::newRow("some lines, the last too")
        << PhonebookEntries{withFields({}), withFields(group), withFields({}), withFields(everyField())};
    QTest::newRow("quotes, backslash, line feed, CJK") << PhonebookEntries{withFields(awkward), withFields(group)};
}

void TestFieldsFile::roundTrip()
{
    QFETCH(PhonebookEntries, entries);

    const QByteArray bytes = FieldsFile::encode(entries);
    const std::optional<QList<UsimFields>> fields = FieldsFile::decode(bytes, entries.size());

    QVERIFY(fields);
    QCOMPARE(fields->size(), entries.size());
    qsizetype withFields = 0;
    for (qsizetype i = 0; i < entries.size(); ++i) {
        QCOMPARE(fields->at(i), entries.at(i).fields);
        withFields += entries.at(i).fields.isEmpty() ? 0 : 1;
    }
    // One member per text line between the braces.
    QCOMPARE(bytes.count('\n'), withFields + 2);
    QCOMPARE(FieldsFile::anyFields(entries), withFields > 0);
}

void TestFieldsFile::refused_data()
{
    QTest::addColumn<QByteArray>("bytes");

    QTest::newRow("empty file") << QByteArray();
    QTest::newRow("not JSON") << QByteArray("{\"1\": {\"group\":\"A\"}");
    QTest::newRow("not an object") << QByteArray("[{\"group\":\"A\"}]");
    QTest::newRow("line 0") << QByteArray("{\"0\": {\"group\":\"A\"}}");
    QTest::newRow("past the last line") << QByteArray("{\"3\": {\"group\":\"A\"}}");
    QTest::newRow("leading zero") << QByteArray("{\"01\": {\"group\":\"A\"}}");
    QTest::newRow("not a number") << QByteArray("{\"uno\": {\"group\":\"A\"}}");
    QTest::newRow("record not an object") << QByteArray("{\"1\": \"A\"}");
    QTest::newRow("unknown field") << QByteArray("{\"1\": {\"gruppo\":\"A\"}}");
    QTest::newRow("field not a text") << QByteArray("{\"1\": {\"hidden\":1}}");
}

void TestFieldsFile::refused()
{
    QFETCH(QByteArray, bytes);
    QVERIFY(!FieldsFile::decode(bytes, 2));
}

void TestFieldsFile::goesWithItsList()
{
    UsimFields fields;
    fields.group = QStringLiteral("FAMIGLIA");
    fields.email = QStringLiteral("anna@example.org");
    const PhonebookLimits limits{2, 1, 1};
    const PhonebookEntries withFields{{1, "1", 0, "A", {}, false, std::nullopt},
                                      {2, "2", 0, "B", fields, false, std::nullopt}};
    QTemporaryDir dir;
    const auto path = [&dir](const char *name) { return dir.filePath(QLatin1String(name)); };
    GivenNameChooser chooser;
    RecordingReport report;
    chooser.saveName = path("rubrica");
    chooser.openName = path("rubrica.rds");

    QCOMPARE(saveSortedList(chooser, {withFields, limits}, report), ListSave::Saved);
    QCOMPARE(TestFiles::contents(path("rubrica.rds")), QByteArray("1/2 \xC3  A \xB3 1\r\n2/2 \xC3  B \xB3 2\r\n"));
    QVERIFY(QFileInfo::exists(path("rubrica.rds.fields")));
    QCOMPARE(loadSortedList(chooser, {}, report).list.entries, withFields);

    // A list without fields saved under the same name takes none from the old file.
    PhonebookEntries without = withFields;
    without[1].fields = {};
    QCOMPARE(saveSortedList(chooser, {without, limits}, report), ListSave::Saved);
    QVERIFY(!QFileInfo::exists(path("rubrica.rds.fields")));
    QCOMPARE(loadSortedList(chooser, {}, report).list.entries, without);
}

QTEST_GUILESS_MAIN(TestFieldsFile)
#include "tst_fieldsfile.moc"
