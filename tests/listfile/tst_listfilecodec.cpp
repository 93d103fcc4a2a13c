// SPDX-License-Identifier: GPL-3.0-or-later
#include "listfilecodec.h"
#include "listfilelayout.h"
#include "phonebookline.h"

#include <QtTest>

using PhonebookLine::Layout;

namespace {

// The limits of a phone that declares "(1-10),20,14".
const PhonebookLimits kLimits{10, 14, 20};

// Entries written as "name|number", numbered 1, 2, 3 ...
PhonebookEntries numbered(const QStringList &pairs)
{
    PhonebookEntries entries;
    for (const QString &pair : pairs)
        entries.append({int(entries.size()) + 1, pair.section(u'|', 1), 0, pair.section(u'|', 0, 0), {}, false});
    return entries;
}

// The lines a list file holds, as the load finds them.
QStringList throughFile(const QStringList &lines)
{
    return ListFileCodec::decode(ListFileCodec::encode(lines)).value_or(QStringList{"not a list file"});
}

}

class TestListFileCodec : public QObject {
    Q_OBJECT

private slots:
    void encode_data();
    void encode();
    void decode_data();
    void decode();
    void refusesBinary_data();
    void refusesBinary();
    void everyTextByteSurvivesRoundTrip();
    void sortedLinesHaveFixedColumns_data();
    void sortedLinesHaveFixedColumns();
    void layoutReadsBackWhatItDrew_data();
    void layoutReadsBackWhatItDrew();
    void layoutKeepsLinesEditedByHand_data();
    void layoutKeepsLinesEditedByHand();
    void saveName_data();
    void saveName();
    void isLoadableName_data();
    void isLoadableName();
};

void TestListFileCodec::encode_data()
{
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<QByteArray>("bytes");

    QTest::newRow("no lines") << QStringList() << QByteArray();
    QTest::newRow("last line ended too") << QStringList{"a", "b"} << QByteArray("a\r\nb\r\n");
    QTest::newRow("empty line") << QStringList{""} << QByteArray("\r\n");
    QTest::newRow("trailing spaces kept") << QStringList{"ROSSI   "} << QByteArray("ROSSI   \r\n");
    QTest::newRow("separators") << QStringList{QString::fromUtf8("1/9 Ã  A ³ 1")}
                                << QByteArray("1/9 \xC3  A \xB3 1\r\n");
    QTest::newRow("Windows-1252") << QStringList{QString::fromUtf8("Niccolò é €")}
                                  << QByteArray("Niccol\xF2 \xE9 \x80\r\n");
    // One line beyond the code page makes the whole file UTF-8.
    QTest::newRow("not in code page") << QStringList{QString::fromUtf8("Niccolò"), QString::fromUtf8("李 Ω")}
                                      << QByteArray("\xEF\xBB\xBFNiccol\xC3\xB2\r\n\xE6\x9D\x8E \xCE\xA9\r\n");
    QTest::newRow("comma and quotes") << QStringList{"\"Bianchi, Anna\""}
                                      << QByteArray("\"Bianchi, Anna\"\r\n");
}

void TestListFileCodec::encode()
{
    QFETCH(QStringList, lines);
    QFETCH(QByteArray, bytes);
    QCOMPARE(ListFileCodec::encode(lines), bytes);
}

void TestListFileCodec::decode_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QStringList>("lines");

    QTest::newRow("empty file") << QByteArray() << QStringList();
    QTest::newRow("CR LF ended") << QByteArray("a\r\nb\r\n") << QStringList{"a", "b"};
    QTest::newRow("last line unended") << QByteArray("a\r\nb") << QStringList{"a", "b"};
    QTest::newRow("one line unended") << QByteArray("abc") << QStringList{"abc"};
    QTest::newRow("empty lines kept") << QByteArray("\r\n\r\na\r\n\r\n") << QStringList{"", "", "a", ""};
    QTest::newRow("trailing spaces kept") << QByteArray("a  \r\n  \r\n") << QStringList{"a  ", "  "};
    QTest::newRow("lone LF ends a line") << QByteArray("a\nb\r\nc\n") << QStringList{"a", "b", "c"};
    QTest::newRow("lone CR stays") << QByteArray("a\rb\r\nc\r") << QStringList{"a\rb", "c\r"};
    QTest::newRow("CR before CR LF stays") << QByteArray("a\r\r\n") << QStringList{"a\r"};
    QTest::newRow("Windows-1252") << QByteArray("\xC3\xB3\xE9\x80\x81")
                                  << QStringList{QString::fromUtf8("Ã³é€\u0081")};
    QTest::newRow("comma and quotes") << QByteArray("\"Bianchi, Anna\",\"3\"\r\n")
                                      << QStringList{"\"Bianchi, Anna\",\"3\""};
    QTest::newRow("UTF-8 behind its mark") << QByteArray("\xEF\xBB\xBF\xC5\x81ukasz \xC3\xB2\r\n\xE6\x9D\x8E")
                                           << QStringList{QString::fromUtf8("Łukasz ò"), QString::fromUtf8("李")};
    // Only the file's own mark is taken off; one starting a line is text.
    QTest::newRow("mark inside the text") << QByteArray("\xEF\xBB\xBF\xEF\xBB\xBFx\r\n\xEF\xBB\xBF")
                                          << QStringList{QStringLiteral("\uFEFFx"), QStringLiteral("\uFEFF")};
}

void TestListFileCodec::decode()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QStringList, lines);
    const std::optional<QStringList> decoded = ListFileCodec::decode(bytes);
    QVERIFY(decoded);
    QCOMPARE(*decoded, lines);
}

void TestListFileCodec::refusesBinary_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("only NUL") << QByteArray(1, '\0');
    QTest::newRow("NUL on a later line") << QByteArrayLiteral("001/9 \xC3  A\r\nB\0C\r\n");
    QTest::newRow("image header") << QByteArrayLiteral("\x89PNG\r\n\x1a\n\0\0\0\rIHDR");
    QTest::newRow("broken UTF-8 behind the mark") << QByteArrayLiteral("\xEF\xBB\xBFNiccol\xF2\r\n");
}

void TestListFileCodec::refusesBinary()
{
    QFETCH(QByteArray, bytes);
    QVERIFY(!ListFileCodec::decode(bytes));
}

void TestListFileCodec::everyTextByteSurvivesRoundTrip()
{
    // Bytes the code page leaves undefined come back too.
    QByteArray line;
    for (int b = 1; b < 256; ++b) {
        if (b != '\n' && b != '\r')
            line.append(char(b));
    }
    const QByteArray file = line + "\r\n" + line + "\r\n";
    const std::optional<QStringList> lines = ListFileCodec::decode(file);
    QVERIFY(lines);
    QCOMPARE(lines->size(), 2);
    QCOMPARE(ListFileCodec::encode(*lines), file);
}

void TestListFileCodec::sortedLinesHaveFixedColumns_data()
{
    QTest::addColumn<int>("maxNumRub");
    QTest::addColumn<int>("maxCarNom");
    QTest::addColumn<int>("maxCarNum");

    QTest::newRow("9 positions") << 9 << 10 << 8;
    QTest::newRow("250 positions") << 250 << 14 << 20;
    QTest::newRow("1000 positions") << 1000 << 18 << 40;
}

void TestListFileCodec::sortedLinesHaveFixedColumns()
{
    QFETCH(int, maxNumRub);
    QFETCH(int, maxCarNom);
    QFETCH(int, maxCarNum);
    const PhonebookLimits limits{maxNumRub, maxCarNom, maxCarNum};
    const QStringList lines{
        PhonebookLine::draw({1, "+393331234567", 145, QString::fromUtf8("Zoë Ferrè"), {}, false},
                            Layout::Sorted, limits),
        PhonebookLine::draw({2, "1", 129, "A name longer than any field of the phone", {}, false},
                            Layout::Sorted, limits),
        PhonebookLine::draw({3, "", 0, "", {}, false}, Layout::Sorted, limits),
    };
    const QByteArray bytes = ListFileCodec::encode(lines);

    const int L = PhonebookLine::indexWidth(maxNumRub);
    const int lineBytes = 2 * L + 10 + maxCarNom + maxCarNum;
    QCOMPARE(bytes.size(), lines.size() * lineBytes);
    for (int i = 0; i < lines.size(); ++i) {
        const QByteArray line = bytes.mid(i * lineBytes, lineBytes);
        QCOMPARE(line.mid(2 * L + 1, 4), QByteArray(" \xC3  "));
        QCOMPARE(line.mid(2 * L + 5 + maxCarNom, 3), QByteArray(" \xB3 "));
        QVERIFY(line.endsWith("\r\n"));
    }
}

// A list is drawn in its file under one layout wide enough for every entry,
// and read back by the columns of that layout.
void TestListFileCodec::layoutReadsBackWhatItDrew_data()
{
    QTest::addColumn<QStringList>("pairs");
    QTest::addColumn<bool>("wider"); // an entry is longer than the phone's fields

    QTest::newRow("within the limits") << QStringList{"Anna Rossi|+393331234567", "Bar Sport|0612"} << false;
    QTest::newRow("³ in a name") << QStringList{"STUDIO M³ SRL|0612345", "Zeno|1"} << false;
    QTest::newRow("³ between spaces in names")
        << QStringList{"A ³ B|0612", "C ³|2", "Dario|3"} << false;
    QTest::newRow("one line, ³ between spaces in its name") << QStringList{"A ³ B|0612"} << false;
    QTest::newRow("empty name, empty number") << QStringList{"|0612", "Solo nome|"} << false;
    QTest::newRow("name and number longer than the phone declares")
        << QStringList{"Anna|1", "Zanardi Giovanni Battista|0039061234567890123456"} << true;
    QTest::newRow("a long name holding ³ ") << QStringList{"STUDIO ASSOCIATO M³ ROSSI|0612"} << true;
}

void TestListFileCodec::layoutReadsBackWhatItDrew()
{
    QFETCH(QStringList, pairs);
    QFETCH(bool, wider);
    const ListFileLayout::StoredList list{numbered(pairs), kLimits};

    const QStringList lines = ListFileLayout::draw(list);
    const ListFileLayout::StoredList back = ListFileLayout::read(throughFile(lines));

    QStringList window;
    for (const PhonebookEntry &entry : list.entries)
        window.append(PhonebookLine::draw(entry, Layout::Sorted, kLimits));
    QCOMPARE(lines == window, !wider);
    for (const QString &line : lines)
        QCOMPARE(line.size(), lines.first().size());
    QCOMPARE(back.entries, list.entries);
    QCOMPARE(back.limits == kLimits, !wider);
    QCOMPARE(ListFileLayout::draw(back), lines);
}

// Lines that no layout draws are split at their first separators and kept
// as they stand, as they always were.
void TestListFileCodec::layoutKeepsLinesEditedByHand_data()
{
    QTest::addColumn<QStringList>("lines");
    // "name|number", or "-" for a line read as no entry; "*" before one
    // kept as it stood.
    QTest::addColumn<QStringList>("entries");
    QTest::addColumn<int>("nameWidth");

    QTest::newRow("edited among the program's")
        << QStringList{"1/3 Ã  Anna  ³ 1", "2/3 Ã Bruno ³ 2", "3/3 Ã  Carla ³ 3"}
        << QStringList{"Anna|1", "*Bruno|2", "Carla|3"} << 5;
    QTest::newRow("edited, ³ in the name")
        << QStringList{"1/2 Ã  Anna  ³ 1", "2/2 Ã M³ X ³ 2"} << QStringList{"Anna|1", "*|X ³ 2"}
        << 5;
    QTest::newRow("without separators") << QStringList{"appunti", "1/1 Ã  Anna ³ 1"}
                                        << QStringList{"*-", "Anna|1"} << 4;
    QTest::newRow("every line edited: the first line's limits")
        << QStringList{"1/2 Ã Anna ³ 1", "2/2 Ã Bruno ³ 2"} << QStringList{"*Anna|1", "*Bruno|2"}
        << 3;
}

void TestListFileCodec::layoutKeepsLinesEditedByHand()
{
    QFETCH(QStringList, lines);
    QFETCH(QStringList, entries);
    QFETCH(int, nameWidth);

    const ListFileLayout::StoredList list = ListFileLayout::read(lines);

    QStringList read;
    for (const PhonebookEntry &e : list.entries) {
        const QString kept = e.loadedLine ? QStringLiteral("*") : QString();
        read.append(kept + (e.unread ? QStringLiteral("-") : e.name + u'|' + e.number));
    }
    QCOMPARE(read, entries);
    QCOMPARE(list.limits.MAXCARNOM, nameWidth);
    QCOMPARE(ListFileLayout::draw(list), lines);
}

void TestListFileCodec::saveName_data()
{
    QTest::addColumn<QString>("chosen");
    QTest::addColumn<QString>("saved");

    QTest::newRow("no extension") << "/home/u/rubrica" << "/home/u/rubrica.rds";
    QTest::newRow("other extension") << "/home/u/rubrica.txt" << "/home/u/rubrica.txt.rds";
    QTest::newRow("almost the extension") << "/home/u/rubrica.rd" << "/home/u/rubrica.rd.rds";
    QTest::newRow("letters without dot") << "/home/u/rubricards" << "/home/u/rubricards.rds";
    QTest::newRow("lower case") << "/home/u/a.rds" << "/home/u/a.rds";
    QTest::newRow("mixed case") << "/home/u/a.Rds" << "/home/u/a.Rds";
    QTest::newRow("upper case") << "/home/u/a.RDS" << "/home/u/a.RDS";
    QTest::newRow("inside the name") << "/home/u/old.rds.bak" << "/home/u/old.rds.bak";
    QTest::newRow("folder holds it") << "/home/u/x.rds/rubrica" << "/home/u/x.rds/rubrica";
}

void TestListFileCodec::saveName()
{
    QFETCH(QString, chosen);
    QFETCH(QString, saved);
    QCOMPARE(ListFileCodec::saveName(chosen), saved);
}

void TestListFileCodec::isLoadableName_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("loadable");

    QTest::newRow("nothing chosen") << "" << false;
    QTest::newRow("lower case") << "/home/u/a.rds" << true;
    QTest::newRow("mixed case") << "/home/u/a.rDs" << true;
    QTest::newRow("inside the name") << "/home/u/old.rds.bak" << true;
    QTest::newRow("folder holds it") << "/home/u/x.RDS/notes.txt" << true;
    QTest::newRow("other extension") << "/home/u/a.txt" << false;
    QTest::newRow("letters without dot") << "/home/u/ards" << false;
    QTest::newRow("almost the extension") << "/home/u/a.rd" << false;
}

void TestListFileCodec::isLoadableName()
{
    QFETCH(QString, name);
    QFETCH(bool, loadable);
    QCOMPARE(ListFileCodec::isLoadableName(name), loadable);
}

QTEST_APPLESS_MAIN(TestListFileCodec)
#include "tst_listfilecodec.moc"
