// SPDX-License-Identifier: GPL-3.0-or-later
#include "vcardwriter.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QStandardPaths>
#include <QStringDecoder>
#include <QTemporaryDir>
#include <QtTest>

namespace {

PhonebookEntry entry(const QString &name, const QString &number, int type, const UsimFields &fields = {})
{
    return {0, number, type, name, fields, false};
}

const UsimFields kEvery{"1", "FAMIGLIA", "+393471112233", "145", "Zia Lù", "lu@example.org",
                        "sip:lu@example.org", "tel:+393471112233", ""};

// Debian's interpreter, which python3-vobject is installed for.
const QString kPython = QStringLiteral("/usr/bin/python3");

// The cards as the program writes them, in a file for the other readers.
bool writeCards(const QString &path, const PhonebookEntries &entries)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(VCardWriter::write(entries)) >= 0;
}

// One property as the independent reader gives it: [group, NAME, {params}, value].
struct Seen {
    QString group;
    QString name;
    QJsonObject parameters;
    QString value;
};

}

class TestVCardWriter : public QObject {
    Q_OBJECT

private slots:
    void format();
    void folding_data();
    void folding();
    void independentReader();
    void abookSeesEveryNumber();
};

void TestVCardWriter::format()
{
    UsimFields mail;
    mail.email = QStringLiteral("c@example.org");
    const QByteArray bytes = VCardWriter::write(
        {entry("Zia Lù", "+393331234567", 145, kEvery), entry("Chuck/w", "0611", 161, mail), PhonebookEntry(),
         entry("Rossi, Anna; A\\B\nC", "0612", 129), entry("Chuck/m", "+39333", 145),
         entry("Chuck/h", "0612", 129, mail)});

    QCOMPARE(QString::fromUtf8(bytes),
             QStringLiteral("BEGIN:VCARD\r\nVERSION:3.0\r\nFN:Zia Lù\r\nN:Zia Lù;;;;\r\nTEL:+393331234567\r\n"
                            "TEL;X-VELDRANO-FIELD=SECOND-NUMBER:+393471112233\r\nEMAIL:lu@example.org\r\n"
                            "CATEGORIES:FAMIGLIA\r\nNICKNAME:Zia Lù\r\nIMPP:sip:lu@example.org\r\n"
                            "TEL;VALUE=uri;X-VELDRANO-FIELD=TEL-URI:tel:+393471112233\r\nX-VELDRANO-HIDDEN:1\r\n"
                            "END:VCARD\r\n"
                            "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:Chuck\r\nN:Chuck;;;;\r\n"
                            "TEL;TYPE=WORK;X-VELDRANO-TYPE=161:0611\r\nEMAIL:c@example.org\r\n"
                            "TEL;TYPE=CELL:+39333\r\nentry3.TEL;TYPE=HOME:0612\r\nentry3.EMAIL:c@example.org\r\n"
                            "END:VCARD\r\n"
                            "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:Rossi\\, Anna\\; A\\\\B\\nC\r\n"
                            "N:Rossi\\, Anna\\; A\\\\B\\nC;;;;\r\nTEL:0612\r\nEND:VCARD\r\n"));
}

void TestVCardWriter::folding_data()
{
    QTest::addColumn<QString>("name");

    QTest::newRow("ASCII") << QString(300, u'a');
    // Two-, three- and four-octet characters, shifted so that each falls on
    // the fold in every way.
    for (int shift = 0; shift < 4; ++shift) {
        const QString pad(shift, u'a');
        QTest::addRow("è after %d", shift) << pad + QString(100, u'è');
        QTest::addRow("李 after %d", shift) << pad + QString(80, QChar(0x674E));
        QTest::addRow("🙂 after %d", shift) << pad + QString::fromUtf8("🙂").repeated(60);
    }
}

void TestVCardWriter::folding()
{
    QFETCH(QString, name);

    const QByteArray bytes = VCardWriter::write({entry(name, "1", 129)});

    QVERIFY(bytes.endsWith("\r\n"));
    QByteArray unfolded;
    QList<QByteArray> lines = bytes.split('\n');
    lines.removeLast(); // after the last line end
    for (const QByteArray &line : lines) {
        QVERIFY(line.endsWith('\r'));
        const QByteArray content = line.chopped(1);
        QVERIFY2(content.size() <= 75, content.constData());
        QStringDecoder utf8(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
        const QString text = utf8(content);
        QVERIFY2(!utf8.hasError(), "a line ends inside a character");
        unfolded += content.startsWith(' ') ? content.mid(1) : "\n" + content;
    }
    QVERIFY(unfolded.contains("\nFN:" + name.toUtf8() + "\n"));
}

void TestVCardWriter::independentReader()
{
#ifdef Q_OS_WIN
    QSKIP("the checker is Debian's python3-vobject, not at hand on Windows");
#endif
    const QString longName = QStringLiteral("Maria Grazia Lo Russo detta la Signora del Terzo Piano ") + QString(20, u'ò');
    const UsimFields awkward{"", "a;b,c", "0612", "161", "uno, due \\ tre", "x@example.org", "", "", ""};
    const PhonebookEntries entries{
        entry("Zia Lù", "+393331234567", 145, kEvery),
        entry(longName, "0612", 129, awkward),
        entry("Chuck Woodbury/w", "0611", 129, kEvery),
        entry("Chuck Woodbury/m", "+39333", 145, awkward),
        entry("Chuck Woodbury/f", "0615", 129),
        entry("Nicolò; capo\\reparto", "*31#0612p1", 129),
    };
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("rubrica.vcf"));
    QVERIFY(writeCards(path, entries));

    QProcess python;
    python.start(kPython, {QFINDTESTDATA("vcardcheck.py"), path});
    QVERIFY(python.waitForFinished(60000));
    QVERIFY2(python.exitCode() == 0, python.readAllStandardError().constData());
    const QJsonArray cards = QJsonDocument::fromJson(python.readAllStandardOutput()).array();
    QCOMPARE(cards.size(), 4); // the three Chuck Woodbury entries share one

    // Each entry's properties: those of its card without a group, or those
    // of its group.
    QHash<QString, QList<Seen>> byEntry; // by "FN" or "FN/group"
    for (const QJsonValue &card : cards) {
        QString fn;
        QList<Seen> seen;
        for (const QJsonValue &p : card.toArray()) {
            const QJsonArray a = p.toArray();
            seen.append({a.at(0).toString(), a.at(1).toString(), a.at(2).toObject(), a.at(3).toString()});
            if (seen.back().name == QLatin1String("FN"))
                fn = seen.back().value;
        }
        for (const Seen &s : seen)
            byEntry[s.group.isEmpty() ? fn : fn + u'/' + s.group].append(s);
    }
    const auto has = [&](const QString &key, const QString &name, const QString &value, const QString &type = {}) {
        const QList<Seen> &seen = byEntry.value(key);
        return std::any_of(seen.cbegin(), seen.cend(), [&](const Seen &s) {
            return s.name == name && s.value == value
                && (type.isEmpty() || s.parameters.value(QLatin1String("TYPE")).toArray().contains(type));
        });
    };

    const auto fields = [&](const QString &key, const UsimFields &f) {
        QVERIFY2(has(key, "TEL", f.adNumber), qPrintable(key));
        QVERIFY(has(key, "EMAIL", f.email));
        QVERIFY(has(key, "CATEGORIES", f.group));
        QVERIFY(has(key, "NICKNAME", f.secondText));
    };
    QVERIFY(has("Zia Lù", "N", "Zia Lù"));
    QVERIFY(has("Zia Lù", "TEL", "+393331234567"));
    fields("Zia Lù", kEvery);
    QVERIFY(has("Zia Lù", "IMPP", kEvery.sipUri));
    QVERIFY(has("Zia Lù", "TEL", kEvery.telUri));
    QVERIFY(has("Zia Lù", "X-VELDRANO-HIDDEN", kEvery.hidden));
    QVERIFY(has(longName, "TEL", "0612"));
    fields(longName, awkward);
    // The first entry's fields and the numbers of entries without fields
    // stand without a group.
    QVERIFY(has("Chuck Woodbury", "TEL", "0611", "WORK"));
    fields("Chuck Woodbury", kEvery);
    QVERIFY(has("Chuck Woodbury/entry2", "TEL", "+39333", "CELL"));
    fields("Chuck Woodbury/entry2", awkward);
    QVERIFY(has("Chuck Woodbury", "TEL", "0615", "FAX"));
    QVERIFY(has("Nicolò; capo\\reparto", "TEL", "*31#0612p1"));
}

// abook, Debian's terminal address book, a reader that knows no vCard
// groups: the numbers of a person with several stand without one, so that
// it finds each of them.
void TestVCardWriter::abookSeesEveryNumber()
{
    const QString abook = QStandardPaths::findExecutable(QStringLiteral("abook"));
    if (abook.isEmpty())
        QSKIP("abook is not installed here");
    const PhonebookEntries entries{
        entry("Chuck Woodbury/h", "0612", 129, kEvery), entry("Chuck Woodbury/w", "0611", 161),
        entry("Chuck Woodbury/m", "+39333", 145),       entry("Chuck Woodbury/f", "0615", 129),
        entry("Zia Lù", "+393331234567", 145, kEvery),  entry("Bar Sport", "0698", 129),
    };
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("rubrica.vcf"));
    QVERIFY(writeCards(path, entries));

    // abook wants a home; the run's own keeps it from the user's.
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("HOME"), dir.path());
    environment.insert(QStringLiteral("LC_ALL"), QStringLiteral("C.UTF-8"));
    process.setProcessEnvironment(environment);
    process.start(abook, {"--convert", "--informat", "vcard", "--infile", path, "--outformat", "custom",
                          "--outformatstr", "{name}\t{phone}\t{workphone}\t{mobile}\t{fax}\t{email}"});
    QVERIFY(process.waitForFinished(60000));
    QVERIFY2(process.exitCode() == 0, process.readAllStandardError().constData());

    QCOMPARE(QString::fromUtf8(process.readAllStandardOutput()).split(u'\n', Qt::SkipEmptyParts),
             (QStringList{"Chuck Woodbury\t0612\t0611\t+39333\t0615\tlu@example.org",
                          "Zia Lù\t+393331234567\t\t\t\tlu@example.org", "Bar Sport\t0698\t\t\t\t"}));
}

QTEST_APPLESS_MAIN(TestVCardWriter)
#include "tst_vcardwriter.moc"
