#include "phonebooklistmodel.h"
#include "temporaryuserfolders.h"
#include "twelvepositionsim.h"
#include "windowsession.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

namespace {

// Debian's interpreter, which python3-vobject is installed for.
const QString kPython = QStringLiteral("/usr/bin/python3");

// The twelve-position SIM with USIM fields, an accented name, and one
// person under two numbers with the SIM's type suffixes.
SimPhonebook simForAnAddressBook()
{
    SimPhonebook book = twelvePositionSimWithFields();
    book.entries.insert(2, {"3471234567", 129, "Chuck W/m"});
    book.entries.insert(5, {"0612340000", 129, "Chuck W/h"});
    return book;
}

}

// A phonebook goes out to an address book as vCard and comes back from it
// to another phone, through the window's own buttons.
class Form1VCardTest : public QObject {
    Q_OBJECT

private slots:
    static void initMain() { useTemporaryUserFolders(); }
    void phonebookOutAndBackIn();
};

void Form1VCardTest::phonebookOutAndBackIn()
{
    QTemporaryDir dir;
    WindowSession s;
    const SimPhonebook book = simForAnAddressBook();
    s.phone.setPhonebook(SimStorage::Sim, book);
    // A phone that reports the USIM fields.
    s.phone.setOptions(SimModem::Options::strict());
    QString why;
    QVERIFY2(s.start(&why), qPrintable(why));
    Form1 &f = *s.form;
    s.click(f.Command1);
    s.click(f.Command2);
    QCOMPARE(s.message(), QStringLiteral("LETTURA TERMINATA"));
    s.click(f.Command6);
    const int entries = f.list2Rows().rowCount();
    QCOMPARE(entries, int(book.entries.size()));

    // Out: one card per person, read back by an independent reader.
    s.chooser.saveName = dir.filePath(QStringLiteral("rubrica.vcf"));
    s.click(f.Command5);
    QCOMPARE(s.message(), QStringLiteral("SALVATAGGIO ULTIMATO"));
    QProcess python;
    python.start(kPython, {QFINDTESTDATA("../listfile/vcardcheck.py"), s.chooser.saveName});
    QVERIFY(python.waitForFinished(60000));
    QVERIFY2(python.exitCode() == 0, python.readAllStandardError().constData());
    const QJsonArray cards = QJsonDocument::fromJson(python.readAllStandardOutput()).array();
    QCOMPARE(cards.size(), entries - 1);
    const QByteArray all = QJsonDocument(cards).toJson();
    for (const SimEntry &entry : book.entries)
        QVERIFY2(all.contains(entry.number.toUtf8()), qPrintable(entry.number));
    for (const QString &text : {QStringLiteral("NICOLÒ"), QStringLiteral("mario@example.org"),
                                QStringLiteral("LAVORO"), QStringLiteral("0612345679")})
        QVERIFY2(all.contains(text.toUtf8()), qPrintable(text));

    // What the sorted list makes of the phone, written directly.
    s.click(f.Command3);
    QCOMPARE(s.message(), QStringLiteral("SCRITTURA RUBRICA TERMINATA"));
    const QMap<int, SimEntry> sorted = s.phone.phonebook(SimStorage::Sim);

    // Back in, to an empty phone: the same phonebook.
    SimPhonebook empty = book;
    empty.entries.clear();
    s.phone.setPhonebook(SimStorage::Sim, empty);
    s.click(f.Command2);
    QCOMPARE(s.message(), QStringLiteral("LETTURA TERMINATA"));
    s.chooser.openName = s.chooser.saveName;
    s.click(f.Command4);
    QCOMPARE(s.message(), QStringLiteral("CARICATE %1 VOCI, 0 SCARTATE").arg(entries));
    s.click(f.Command3);
    QCOMPARE(s.message(), QStringLiteral("SCRITTURA RUBRICA TERMINATA"));
    QCOMPARE(s.phone.phonebook(SimStorage::Sim), sorted);
}

QTEST_MAIN(Form1VCardTest)
#include "tst_form1vcard.moc"
