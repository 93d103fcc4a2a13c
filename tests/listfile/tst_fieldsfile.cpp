#include "fieldsfile.h"

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

QTEST_APPLESS_MAIN(TestFieldsFile)
#include "tst_fieldsfile.moc"
