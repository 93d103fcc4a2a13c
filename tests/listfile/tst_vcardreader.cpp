// SPDX-License-Identifier: GPL-3.0-or-later
#include "vcardreader.h"
#include "vcardwriter.h"

#include <QFile>
#include <QStringEncoder>
#include <QtTest>

namespace {

// "name|number" and then each field the entry has, as " field=value".
QString described(const PhonebookEntry &e)
{
    QString out = e.name + u'|' + e.number;
    const UsimFields &f = e.fields;
    const std::pair<const char *, const QString &> fields[] = {
        {"hidden", f.hidden},         {"group", f.group}, {"adNumber", f.adNumber}, {"adType", f.adType},
        {"secondText", f.secondText}, {"email", f.email}, {"sipUri", f.sipUri},     {"telUri", f.telUri},
        {"unknownForm", f.unknownForm},
    };
    for (const auto &[name, value] : fields) {
        if (!value.isEmpty())
            out += u' ' + QLatin1String(name) + u'=' + value;
    }
    return out;
}

QStringList described(const PhonebookEntries &entries)
{
    QStringList out;
    for (const PhonebookEntry &e : entries)
        out.append(described(e));
    return out;
}

QByteArray card(const QByteArray &lines)
{
    return "BEGIN:VCARD\r\n" + lines + "END:VCARD\r\n";
}

PhonebookEntry entry(const QString &name, const QString &number, int type, const UsimFields &fields = {})
{
    return {0, number, type, name, fields, false};
}

}

class TestVCardReader : public QObject {
    Q_OBJECT

private slots:
    void read_data();
    void read();
    void charsets_data();
    void charsets();
    void samples_data();
    void samples();
    void roundTrip_data();
    void roundTrip();
};

void TestVCardReader::read_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QStringList>("entries");
    QTest::addColumn<int>("skipped");

    QTest::newRow("empty file") << QByteArray() << QStringList() << 0;
    QTest::newRow("not a vCard") << QByteArray("Nome;Numero\r\nAnna;0612\r\n") << QStringList() << 0;
    QTest::newRow("2.1 Latin-1 quoted-printable, soft line break")
        << card("VERSION:2.1\r\nFN;CHARSET=ISO-8859-1;ENCODING=QUOTED-PRINTABLE:Ren=E9 Citt=\r\n=E0 "
                "d=27Arco\r\nTEL;CELL:0471 99 88 77\r\n")
        << QStringList{"René Città d'Arco|0471998877"} << 0;
    QTest::newRow("2.1 bare QUOTED-PRINTABLE, raw Latin-1 without CHARSET")
        << card("VERSION:2.1\r\nN;QUOTED-PRINTABLE:Fo=C3=A0\r\nTEL:1\r\n") + card("FN:Gi\xF2\r\nTEL:2\r\n")
        << QStringList{"Foà|1", "Giò|2"} << 0;
    QTest::newRow("folding, LF alone, CR alone, UTF-8 byte-order mark")
        << "\xEF\xBB\xBF" + card("FN:Anna Maria\n  Rossi\rTEL:+39 3\r\n\t33\n")
        << QStringList{"Anna Maria Rossi|+39333"} << 0;
    QStringEncoder utf16(QStringConverter::Utf16LE);
    const QByteArray utf16Card = utf16(QString::fromUtf8(card("FN:Zoë\r\nTEL:7\r\n")));
    QTest::newRow("UTF-16 with its byte-order mark") << "\xFF\xFE" + utf16Card << QStringList{"Zoë|7"} << 0;
    QTest::newRow("escapes, controls become spaces")
        << card("VERSION:3.0\r\nFN:Rossi\\, Anna\\nBianchi\\;\\\\ \\:x\r\nTEL:1\r\n")
        << QStringList{"Rossi, Anna Bianchi;\\ :x|1"} << 0;
    QTest::newRow("N put together, else ORG")
        << card("N:Rossi;Anna;Maria;Dott.;\r\nTEL:1\r\n") + card("FN:\r\nN:;;;;\r\nORG:Bar Sport;Cassa\r\nTEL:2\r\n")
               + card("TEL:3\r\n")
        << QStringList{"Dott. Anna Maria Rossi|1", "Bar Sport|2", "|3"} << 0;
    QTest::newRow("what a phone dials")
        << card("FN:A\r\nTEL:+39 (333) 123-4567\r\n") + card("FN:B\r\nTEL:*31#06.555p12W3\r\n")
               + card("FN:C\r\nTEL;VALUE=uri:tel:+39-06-555;ext=21;phone-context=x\r\n")
               + card("FN:D\r\nTEL:tel:%2A21%23\r\n") + card("FN:E\r\nTEL:06\u2013555\u00A01\r\n")
        << QStringList{"A|+393331234567", "B|*31#06555p12W3", "C|+3906555p21", "D|*21#", "E|065551"} << 0;
    QTest::newRow("skipped: a card without numbers, numbers with letters, an unfinished card")
        << card("FN:Solo mail\r\nEMAIL:a@b.it\r\nTEL:\r\n") + card("FN:Due\r\nTEL:06 CASA\r\nTEL:0612\r\n")
               + card("FN:Nessuno\r\nTEL:x1\r\nTEL;CELL:ext.2\r\n") + "BEGIN:VCARD\r\nFN:Tronca\r\nTEL:+39 3"
        << QStringList{"Due|0612"} << 5;
    QTest::newRow("one entry per number, suffix by type")
        << card("VERSION:4.0\r\nFN:Chuck\r\nTEL;TYPE=\"cell,voice\":1\r\nTEL;TYPE=work,fax:2\r\n"
                "TEL;TYPE=HOME:3\r\nTEL;TYPE=pager:4\r\nTEL;WORK;VOICE:5\r\nTEL;TYPE=iPhone:6\r\n")
        << QStringList{"Chuck/m|1", "Chuck/f|2", "Chuck/h|3", "Chuck/o|4", "Chuck/w|5", "Chuck/m|6"} << 0;
    QTest::newRow("fields go to the TEL's group, else to the first entry, first value wins")
        << card("VERSION:3.0\r\nFN:Chuck\r\nEMAIL:first@x.it\r\nEMAIL:second@x.it\r\n"
                "item1.TEL;TYPE=CELL:1\r\nitem2.TEL;TYPE=WORK:2\r\nITEM2.NICKNAME:capo,boss\r\n"
                "item2.CATEGORIES:myContacts,LAVORO,ALTRO\r\nitem3.IMPP:sip:c@x.it\r\nIMPP:xmpp:c@x.it\r\n")
        << QStringList{"Chuck/m|1 email=first@x.it sipUri=sip:c@x.it", "Chuck/w|2 group=LAVORO secondText=capo"}
        << 0;
    QTest::newRow("this program's marks and X- properties")
        << card("VERSION:3.0\r\nFN:A\r\nTEL;X-VELDRANO-TYPE=161:0612\r\nTEL;X-VELDRANO-FIELD=SECOND-NUMBER;"
                "X-VELDRANO-TYPE=145:39347\r\nTEL;VALUE=uri;x-veldrano-field=tel-uri:tel:+39\\;x\r\n"
                "X-VELDRANO-HIDDEN:1\r\nX-VELDRANO-UNKNOWN-FIELDS:\\,3\\,\"0612\"\r\n")
        << QStringList{"A|0612 hidden=1 adNumber=+39347 adType=145 telUri=tel:+39;x unknownForm=,3,\"0612\""}
        << 0;
    // Files joined with cat: each with its byte-order mark, one without its
    // final line end.
    QTest::newRow("joined files")
        << card("FN:Anna\r\nTEL:1\r\n").chopped(2) + "\xEF\xBB\xBF" + card("FN:Bruno\r\nTEL:2\r\n")
               + card("FN:Carla\r\nTEL:3\r\n").chopped(2) + card("FN:Dario\r\nTEL:4\r\n")
        << QStringList{"Anna|1", "Bruno|2", "Carla|3", "Dario|4"} << 0;
    QTest::newRow("a soft line break before END")
        << card("VERSION:2.1\r\nTEL:1\r\nN;CHARSET=UTF-8;ENCODING=QUOTED-PRINTABLE:Ross=C3=AC=\r\n")
               + card("FN:Bruno\r\nTEL:2\r\n")
        << QStringList{"Rossì|1", "Bruno|2"} << 0;
    QTest::newRow("abook's export")
        << QByteArray("BEGIN:VCARD\r\nFN:Nicol\xC3\xB2 Fabbr\xC3\xAC\r\nN:Fabbr\xC3\xAC;Nicol\xC3\xB2\r\n"
                      "NICKNAME:Nico\r\nADR:;;Via Roma 1;Citt\xC3\xA0;;;\r\nTEL;HOME:061234567\r\n"
                      "TEL;WORK:065551234\r\nTEL;CELL:+39 333 1234567\r\n"
                      "EMAIL;PREF;INTERNET:nicolo@example.org\r\nEMAIL;1;INTERNET:n2@example.org\r\n"
                      "END:VCARD\r\n\r\nBEGIN:VCARD\r\nFN:Zo\xC3\xAB\r\nN:Zo\xC3\xAB;Zo\xC3\xAB\r\n"
                      "TEL;CELL:3331112222\r\nEND:VCARD\r\n\r\n")
        << QStringList{"Nicolò Fabbrì/h|061234567 secondText=Nico email=nicolo@example.org",
                       "Nicolò Fabbrì/w|065551234", "Nicolò Fabbrì/m|+393331234567", "Zoë|3331112222"}
        << 0;
    QTest::newRow("a card in a card (2.1 AGENT) is passed over")
        << card("VERSION:2.1\r\nFN:Capo\r\nAGENT:\r\nBEGIN:VCARD\r\nFN:Segretaria\r\nTEL:9\r\nEND:VCARD\r\n"
                "TEL:1\r\n")
        << QStringList{"Capo|1"} << 0;
}

void TestVCardReader::read()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QStringList, entries);
    QFETCH(int, skipped);

    const VCardReader::Result result = VCardReader::read(bytes);

    QCOMPARE(described(result.entries), entries);
    QCOMPARE(result.skipped, skipped);
    for (qsizetype i = 0; i < result.entries.size(); ++i)
        QCOMPARE(result.entries.at(i).position, i + 1);
}

// Qt for Windows has no ICU: these sets come from Windows' own code pages
// there, and must give what ICU gives on Linux.
void TestVCardReader::charsets_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QStringList>("entries");

    QTest::newRow("WINDOWS-1251")
        << card("VERSION:2.1\r\nFN;CHARSET=WINDOWS-1251:\xC8\xE2\xE0\xED \xCF\xE5\xF2\xF0\xEE\xE2\r\n"
                "TEL;CELL:+7 916 123 45 67\r\n")
        << QStringList{"Иван Петров|+79161234567"};
    QTest::newRow("ISO-8859-2, quoted-printable")
        << card("VERSION:2.1\r\nFN;CHARSET=ISO-8859-2;ENCODING=QUOTED-PRINTABLE:=A3ukasz =AF=F3=B3=E6\r\n"
                "TEL:+48601234567\r\n")
        << QStringList{"Łukasz Żółć|+48601234567"};
    QTest::newRow("KOI8-R, split into N's parts after decoding")
        << card("VERSION:2.1\r\nN;CHARSET=KOI8-R:\xEB\xD5\xDA\xCE\xC5\xC3\xCF\xD7;\xF3\xC5\xD2\xC7\xC5\xCA\r\n"
                "TEL:+74951234567\r\n")
        << QStringList{"Сергей Кузнецов|+74951234567"};
    // ソ and 表 end in the byte of a backslash, which no escape may take.
    QTest::newRow("SHIFT_JIS, unescaped after decoding")
        << card("VERSION:2.1\r\nFN;CHARSET=SHIFT_JIS:\x83\\\x83j\x81[ \x95\\\x8EQ\x93\xB9\r\nTEL:0312345678\r\n")
        << QStringList{"ソニー 表参道|0312345678"};
    QTest::newRow("other names of the sets")
        << card("VERSION:2.1\r\nFN;CHARSET=cp1251;ENCODING=QUOTED-PRINTABLE:=DE=EB=E8=FF\r\nTEL:1\r\n")
               + card("VERSION:2.1\r\nFN;CHARSET=x-sjis:\x97\xE9\x96\xD8 \x88\xEA\x98Y\r\nTEL:2\r\n")
        << QStringList{"Юлия|1", "鈴木 一郎|2"};
}

void TestVCardReader::charsets()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QStringList, entries);

    const VCardReader::Result result = VCardReader::read(bytes);

    QCOMPARE(described(result.entries), entries);
    QCOMPARE(result.skipped, 0);
}

void TestVCardReader::samples_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QStringList>("entries");
    QTest::addColumn<int>("skipped");

    QTest::newRow("Android 2.1") << "android-2.1.vcf"
                                 << QStringList{"Nicolò Fabbrì/m|+393331234567 email=nicolo@example.org",
                                                "Nicolò Fabbrì/h|061234567",
                                                "Jesús María Agüero Peña de la Concepción|+34600123456",
                                                "Pizzeria Da Gino/w|065551234", "Pizzeria Da Gino/o|*31#06555"}
                                 << 2;
    QTest::newRow("Apple 3.0") << "apple-3.0.vcf"
                               << QStringList{"Chiara Esposito/m|+393477654321 email=chiara@example.org",
                                              "Chiara Esposito/o|+390815550101", "Farmacia Centrale|0815550202",
                                              "Dr. Jürgen Müller/m|+491701234567", "Dr. Jürgen Müller/f|+49301234567"}
                               << 0;
    QTest::newRow("Google 3.0")
        << "google-3.0.vcf"
        << QStringList{"Luca Bianchi|+393201112233 group=Calcetto secondText=Lucky email=luca@example.org",
                       "Maria Grazia Lo Russo detta la Signora del Terzo Piano Scala B Interno 12a/h|0212345678",
                       "Maria Grazia Lo Russo detta la Signora del Terzo Piano Scala B Interno 12a/w|+390287654321",
                       "Maria Grazia Lo Russo detta la Signora del Terzo Piano Scala B Interno 12a/m|+393331234567",
                       "Officina Rossi|0458001234"}
        << 0;
    QTest::newRow("RFC 6350 4.0") << "rfc6350-4.0.vcf"
                                  << QStringList{"Giulia Conti/m|+393355550123 email=giulia@example.org "
                                                 "sipUri=sip:giulia@example.org",
                                                 "Giulia Conti/w|+39065550100p21", "Ufficio Turistico/o|*21#",
                                                 "Ufficio Turistico/h|0461555000", "Zoë Ñandú 🙂|+393380001111"}
                                  << 1;
}

void TestVCardReader::samples()
{
    QFETCH(QString, file);
    QFETCH(QStringList, entries);
    QFETCH(int, skipped);

    QFile in(QFINDTESTDATA(QStringLiteral("../data/vcard/") + file));
    QVERIFY2(in.open(QIODevice::ReadOnly), qPrintable(in.fileName()));
    const VCardReader::Result result = VCardReader::read(in.readAll());

    QCOMPARE(described(result.entries), entries);
    QCOMPARE(result.skipped, skipped);
}

void TestVCardReader::roundTrip_data()
{
    QTest::addColumn<PhonebookEntries>("entries");
    QTest::addColumn<PhonebookEntries>("expected");

    const UsimFields every{"1", "FAMIGLIA", "+393471112233", "145", "Zia Lù", "lu@example.org",
                           "sip:lu@example.org", "tel:+393471112233", ""};
    UsimFields unknown;
    unknown.unknownForm = QStringLiteral(",3,\"0612\"");
    UsimFields awkward{"", "a;b", "0612", "161", "uno, due \\ tre", "x,y@example.org", "sip:a;b@example.org",
                       "tel:+39;ext=1", ""};
    UsimFields plainAd;
    plainAd.adNumber = QStringLiteral("393471112233");
    plainAd.adType = QStringLiteral("145");
    UsimFields plusAd = plainAd;
    plusAd.adNumber.prepend(u'+');
    const QString longName = QStringLiteral("Nicolò Ñúñez 李小龍 🙂 ") + QString(40, u'è');

    const auto row = [](const char *name, const PhonebookEntries &entries) {
        QTest::newRow(name) << entries << entries;
    };
    row("international, national, another type",
        {entry("Anna Rossi", "+393331234567", 145), entry("Bar Sport", "0612345", 129),
         entry("Centralino", "0612345", 161), entry("Estero", "+44207", 129)});
    row("every USIM field", {entry("Zia", "+393331234567", 145, every)});
    row("fields in a form unknown here", {entry("Zio", "0612", 129, unknown)});
    row("text to escape", {entry("Rossi, Anna; capo\\ufficio", "0612", 129, awkward)});
    row("long names folded inside UTF-8", {entry(longName, "0612", 129), entry(longName + u'x', "0613", 129)});
    row("what a phone dials", {entry("Servizio", "*31#0612p12w3", 129)});
    row("a name that opens with a byte-order mark", {entry(QStringLiteral("\uFEFFAnna"), "0612", 129)});
    row("suffixed entries share a card",
        {entry("Chuck Woodbury/w", "0611", 129, every), entry("Chuck Woodbury/h", "0612", 129),
         entry("Chuck Woodbury/m", "+39333", 145, awkward), entry("Chuck Woodbury/o", "0614", 161),
         entry("Chuck Woodbury/f", "0615", 129)});
    row("a suffixed entry alone keeps its name, a suffix of no type is no suffix",
        {entry("Zoe/m", "1", 129), entry("Zoe/x", "2", 129), entry("/m", "3", 129), entry("/w", "4", 129)});
    QTest::newRow("a shared card stands where its first entry stood")
        << PhonebookEntries{entry("Chuck/m", "1", 129), entry("Anna", "2", 129), entry("Chuck/w", "3", 129)}
        << PhonebookEntries{entry("Chuck/m", "1", 129), entry("Chuck/w", "3", 129), entry("Anna", "2", 129)};
    QTest::newRow("no type: the one the number implies; no card for an empty entry")
        << PhonebookEntries{entry("A", "+39333", 0), PhonebookEntry(), entry("B", "0612", 0)}
        << PhonebookEntries{entry("A", "+39333", 145), entry("B", "0612", 129)};
    QTest::newRow("an international second number gets its +")
        << PhonebookEntries{entry("A", "0612", 129, plainAd)} << PhonebookEntries{entry("A", "0612", 129, plusAd)};
}

void TestVCardReader::roundTrip()
{
    QFETCH(PhonebookEntries, entries);
    QFETCH(PhonebookEntries, expected);

    const VCardReader::Result result = VCardReader::read(VCardWriter::write(entries));

    for (qsizetype i = 0; i < expected.size(); ++i)
        expected[i].position = int(i + 1);
    QCOMPARE(result.skipped, 0);
    QCOMPARE(described(result.entries), described(expected));
    QCOMPARE(result.entries, expected);
}

QTEST_APPLESS_MAIN(TestVCardReader)
#include "tst_vcardreader.moc"
