// Phones in their own character sets, through the window: accented names
// read, sorted, written back and edited exactly, or refused whole where the
// phone's set cannot carry them on a command line.
#include "phonebooklistmodel.h"
#include "temporaryuserfolders.h"
#include "windowsession.h"

#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

namespace {

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

const QStringList kSortedNames = {
    QStringLiteral("anna"),   QStringLiteral("Bar@Sport"),  QStringLiteral("Città Ufficio"),
    QStringLiteral("Mosè Russo"), QStringLiteral("Niccolò"), QStringLiteral("Öztürk"),
    QStringLiteral("Perché No"),
};

// The window against a phone holding the accented SIM, in the power-on set
// given and offering the sets given; started, or null with the reason.
std::unique_ptr<WindowSession> accentedPhone(const QString &powerOn, const QStringList &offered,
                                             const QString &extraName, QString *why)
{
    auto session = std::make_unique<WindowSession>(std::chrono::milliseconds(3000), powerOn);
    SimModem::Options options;
    options.charsets = offered;
    session->phone.setOptions(options);
    session->phone.setPhonebook(SimStorage::Sim, accentedSim(extraName));
    if (!session->start(why))
        session.reset();
    return session;
}

QStringList namesOn(const QMap<int, SimEntry> &entries)
{
    QStringList names;
    for (const SimEntry &entry : entries)
        names.append(entry.text);
    return names;
}

} // namespace

class Form1CharsetsTest : public QObject {
    Q_OBJECT

public:
    static void initMain() { useTemporaryUserFolders(); }

private slots:
    void phonesInTheirOwnSets_data();
    void phonesInTheirOwnSets();
    void gsmWithoutAlternativeRefusesWhatItCannotCarry();
};

void Form1CharsetsTest::phonesInTheirOwnSets_data()
{
    QTest::addColumn<QString>("powerOn");
    QTest::addColumn<QStringList>("offered");
    QTest::addColumn<QString>("extraName");
    QTest::addColumn<QStringList>("handshake");
    QTest::addColumn<QString>("firstWrite");
    QTest::addColumn<QStringList>("sorted");

    const QStringList all{"IRA", "GSM", "UCS2", "8859-1"};
    QTest::newRow("GSM phone moved to UCS2")
        << "GSM" << all << QStringLiteral("Ψ Psi") << QStringList{"+CSCS?", "+CSCS=?", "+CSCS=\"UCS2\"", "+CSCS?"}
        << "+CPBW=1,\"3409876543\",129,\"anna\"" << kSortedNames + QStringList{"Ψ Psi"};
    QTest::newRow("GSM phone moved to 8859-1")
        << "GSM" << QStringList{"GSM", "8859-1"} << QString()
        << QStringList{"+CSCS?", "+CSCS=?", "+CSCS=\"8859-1\"", "+CSCS?"} << "+CPBW=1,\"3409876543\",129,\"anna\"" << kSortedNames;
    QTest::newRow("UCS2 phone kept") << "UCS2" << all << QStringLiteral("Łukasz") << QStringList{"+CSCS?"}
                                     << "+CPBW=1,\"3409876543\",129,\"0061006E006E0061\""
                                     << QStringList{"anna", "Bar@Sport", "Città Ufficio", "Łukasz", "Mosè Russo",
                                                    "Niccolò", "Öztürk", "Perché No"};
    QTest::newRow("UCS2, a name beyond the basic plane") << "UCS2" << all << QStringLiteral("Zoe \U0001F600")
                                                         << QStringList{"+CSCS?"}
                                                         << "+CPBW=1,\"3409876543\",129,\"0061006E006E0061\""
                                                         << QStringList{"anna", "Bar@Sport", "Città Ufficio", "Mosè Russo",
                                                                        "Niccolò", "Öztürk", "Perché No", "Zoe \U0001F600"};
    QTest::newRow("8859-1 phone kept") << "8859-1" << all << QString() << QStringList{"+CSCS?"}
                                       << "+CPBW=1,\"3409876543\",129,\"anna\"" << kSortedNames;
}

void Form1CharsetsTest::phonesInTheirOwnSets()
{
    QFETCH(QString, powerOn);
    QFETCH(QStringList, offered);
    QFETCH(QString, extraName);
    QFETCH(QStringList, handshake);
    QFETCH(QString, firstWrite);
    QFETCH(QStringList, sorted);

    QString why;
    const auto s = accentedPhone(powerOn, offered, extraName, &why);
    QVERIFY2(s, qPrintable(why));
    Form1 &f = *s->form;

    s->click(f.Command1);
    QCOMPARE(s->connection(), QStringLiteral("CONNESSO"));
    QCOMPARE(s->newCommands().mid(7), handshake);

    s->click(f.Command2);
    QCOMPARE(s->message(), QStringLiteral("LETTURA TERMINATA"));
    s->selectLine(1);
    QCOMPARE(f.Text1->text(), QStringLiteral("Niccolò"));
    QCOMPARE(f.Label7->text(), QStringLiteral("7/14"));

    s->click(f.Command6);
    const QStringList &expected = sorted;
    QCOMPARE(f.list2Rows().rowCount(), expected.size());
    for (int i = 0; i < expected.size(); ++i)
        QVERIFY2(f.list2Rows().lines().at(i).contains(expected.at(i)), qPrintable(expected.at(i)));

    s->newCommands();
    s->click(f.Command3);
    QCOMPARE(s->message(), QStringLiteral("SCRITTURA RUBRICA TERMINATA"));
    QCOMPARE(s->newCommands().filter(QStringLiteral("+CPBW=1,")).first(), firstWrite);
    QCOMPARE(namesOn(s->phone.phonebook(SimStorage::Sim)), expected);

    // A name that Windows-1252 lacks keeps the list file whole, in UTF-8.
    QTemporaryDir dir;
    s->chooser.saveName = dir.filePath(QStringLiteral("rubrica.rds"));
    s->click(f.Command5);
    QCOMPARE(s->message(), QStringLiteral("SALVATAGGIO ULTIMATO"));
    const QStringList saved = f.list2Rows().lines();
    s->chooser.openName = s->chooser.saveName;
    s->click(f.Command4);
    QCOMPARE(s->message(), QStringLiteral("CARICAMENTO ULTIMATO"));
    QCOMPARE(f.list2Rows().lines(), saved);
    QFile file(s->chooser.saveName);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll().startsWith("\xEF\xBB\xBF"), !extraName.isEmpty());
}

void Form1CharsetsTest::gsmWithoutAlternativeRefusesWhatItCannotCarry()
{
    QString why;
    const auto s = accentedPhone(QStringLiteral("GSM"), {"GSM", "IRA"}, QString(), &why);
    QVERIFY2(s, qPrintable(why));
    Form1 &f = *s->form;

    s->click(f.Command1);
    QCOMPARE(s->newCommands().mid(7), (QStringList{"+CSCS?", "+CSCS=?"}));
    s->click(f.Command2);
    QCOMPARE(s->message(), QStringLiteral("LETTURA TERMINATA"));
    s->click(f.Command6);
    QCOMPARE(f.list2Rows().rowCount(), kSortedNames.size());

    // "Niccolò" and "Bar@Sport" cannot travel: nothing is written at all.
    s->newCommands();
    s->click(f.Command3);
    QCOMPARE(s->message(), QStringLiteral("ERRORE: LISTA NON VALIDA"));
    QVERIFY(s->newCommands().isEmpty());
    QCOMPARE(s->phone.phonebook(SimStorage::Sim), accentedSim(QString()).entries);

    // What GSM carries as printable septets goes; a septet that is a
    // control byte on the command line (à is 0x7F) is not sent.
    s->selectLine(2);
    s->type(f.Text1, QStringLiteral("Gül Öztürk"));
    s->click(f.Command7);
    QCOMPARE(s->message(), QStringLiteral("SCRITTURA COMPLETATA"));
    QCOMPARE(s->phone.phonebook(SimStorage::Sim).value(3).text, QStringLiteral("Gül Öztürk"));
    s->type(f.Text1, QStringLiteral("Città Nuova"));
    s->newCommands();
    s->click(f.Command7);
    QCOMPARE(s->message(), QStringLiteral("ERRORE"));
    QVERIFY(s->newCommands().isEmpty());
    QCOMPARE(s->phone.phonebook(SimStorage::Sim).value(3).text, QStringLiteral("Gül Öztürk"));
}

QTEST_MAIN(Form1CharsetsTest)
#include "tst_form1charsets.moc"
