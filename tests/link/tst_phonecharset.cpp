// SPDX-License-Identifier: GPL-3.0-or-later
#include "phonecharset.h"

#include <QTest>

namespace {

PhoneCharset charsetNamed(const QString &name)
{
    return PhoneCharset::named(name.toLatin1()).value_or(PhoneCharset());
}

} // namespace

class TestPhoneCharset : public QObject {
    Q_OBJECT
private slots:
    void decode_data();
    void decode();
    void onLine_data();
    void onLine();
};

void TestPhoneCharset::decode_data()
{
    QTest::addColumn<QString>("charset");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("valid");
    QTest::addColumn<QString>("text");

    QTest::newRow("GSM accents") << "GSM" << QByteArray("\x04\x05\x06\x07\x08\x7F\x0E", 7) << true
                                 << QStringLiteral("èéùìòàÅ");
    QTest::newRow("GSM @ is NUL") << "GSM" << QByteArray("Bar\0Sport", 9) << true << QStringLiteral("Bar@Sport");
    QTest::newRow("GSM umlauts") << "GSM" << QByteArray("\\zt~rk") << true << QStringLiteral("Öztürk");
    QTest::newRow("GSM escapes") << "GSM" << QByteArray("\x1B\x65\x1B\x3C\x1B\x40") << true << QStringLiteral("€[|");
    QTest::newRow("GSM escape the table lacks") << "GSM" << QByteArray("\x1B" "A") << true << QStringLiteral("A");
    QTest::newRow("GSM eighth bit") << "GSM" << QByteArray("\xE8") << false << QString();
    QTest::newRow("UCS2") << "UCS2" << QByteArray("004E006900630063006F006C00F2") << true << QStringLiteral("Niccolò");
    QTest::newRow("UCS2 lower case, Greek") << "UCS2" << QByteArray("03a8") << true << QStringLiteral("Ψ");
    QTest::newRow("UCS2 odd") << "UCS2" << QByteArray("004E0") << false << QString();
    QTest::newRow("UCS2 not hex") << "UCS2" << QByteArray("00+4") << false << QString();
    QTest::newRow("HEX ends as a C string") << "HEX" << QByteArray("4369747400E0") << true << QStringLiteral("Citt");
    QTest::newRow("HEX 8-bit") << "HEX" << QByteArray("43697474E0") << true << QStringLiteral("Città");
    QTest::newRow("8859-1") << "8859-1" << QByteArray("Citt\xE0 \x80") << true << QStringLiteral("Città \u0080");
    QTest::newRow("UTF-8") << "UTF-8" << QByteArray("Citt\xC3\xA0") << true << QStringLiteral("Città");
    QTest::newRow("UTF-8 broken") << "UTF-8" << QByteArray("Citt\xE0") << false << QString();
    QTest::newRow("PC code page") << "PCCP437" << QByteArray("Citt\x85") << true << QStringLiteral("Città");
    QTest::newRow("IRA passes the eighth bit") << "IRA" << QByteArray("Citt\xE0 \x80") << true
                                               << QStringLiteral("Città €");
    QTest::newRow("unknown: single bytes") << "" << QByteArray("Citt\xE0") << true << QStringLiteral("Città");
}

void TestPhoneCharset::decode()
{
    QFETCH(QString, charset);
    QFETCH(QByteArray, bytes);
    QFETCH(bool, valid);
    QFETCH(QString, text);

    const std::optional<QString> decoded = charsetNamed(charset).decode(bytes);
    QCOMPARE(decoded.has_value(), valid);
    if (valid)
        QCOMPARE(*decoded, text);
}

void TestPhoneCharset::onLine_data()
{
    QTest::addColumn<QString>("charset");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("converted");
    QTest::addColumn<QByteArray>("bytes");

    // Whether these bytes may go in a command is the command builder's
    // question; here only the conversion counts.
    QTest::newRow("GSM à, Ö, ü") << "GSM" << QStringLiteral("Città Öztürk") << true << QByteArray("Citt\x7F \\zt~rk");
    QTest::newRow("GSM escapes") << "GSM" << QStringLiteral("€ {}") << true << QByteArray("\x1B\x65 \x1B\x28\x1B\x29");
    QTest::newRow("GSM ò is a backspace") << "GSM" << QStringLiteral("Niccolò") << true << QByteArray("Niccol\x08");
    QTest::newRow("GSM @ is NUL") << "GSM" << QStringLiteral("Bar@Sport") << true << QByteArray("Bar\0Sport", 9);
    QTest::newRow("GSM lacks Ł") << "GSM" << QStringLiteral("Łukasz") << false << QByteArray();
    QTest::newRow("UCS2") << "UCS2" << QStringLiteral("Niccolò \"Ł\"") << true
                          << QByteArray("004E006900630063006F006C00F20020002201410022");
    QTest::newRow("UCS2 beyond the basic plane, as its surrogate pair") << "UCS2" << QStringLiteral("a\U0001F600")
                                                                       << true << QByteArray("0061D83DDE00");
    QTest::newRow("HEX") << "HEX" << QStringLiteral("Città") << true << QByteArray("43697474E0");
    QTest::newRow("IRA is seven bits") << "IRA" << QStringLiteral("Città") << false << QByteArray();
    QTest::newRow("8859-1") << "8859-1" << QStringLiteral("Città") << true << QByteArray("Citt\xE0");
    QTest::newRow("8859-1 lacks €") << "8859-1" << QStringLiteral("5 €") << false << QByteArray();
    QTest::newRow("UTF-8") << "UTF-8" << QStringLiteral("Łukasz") << true << QByteArray("\xC5\x81ukasz");
    QTest::newRow("PC code page") << "PCCP437" << QStringLiteral("Città") << true << QByteArray("Citt\x85");
    QTest::newRow("PC code page, its last byte") << "PCCP437" << QStringLiteral("Ñ ß\u00A0") << true
                                                 << QByteArray("\xA5 \xE1\xFF");
    QTest::newRow("PC code page lacks €") << "PCCP437" << QStringLiteral("5 €") << false << QByteArray();
    QTest::newRow("single bytes, €") << "" << QStringLiteral("Città €") << true << QByteArray("Citt\xE0 \x80");
    // Today's '?' for such a character was a silent change.
    QTest::newRow("single bytes lack Ł") << "" << QStringLiteral("Łukasz") << false << QByteArray();
    QTest::newRow("a tab in UCS2") << "UCS2" << QStringLiteral("a\tb") << true << QByteArray("006100090062");
    QTest::newRow("half a surrogate pair") << "UTF-8" << QString(QChar(0xD83D)) << false << QByteArray();
}

void TestPhoneCharset::onLine()
{
    QFETCH(QString, charset);
    QFETCH(QString, text);
    QFETCH(bool, converted);
    QFETCH(QByteArray, bytes);

    const PhoneCharset set = charsetNamed(charset);
    const std::optional<QByteArray> line = set.onLine(text);
    QCOMPARE(line.has_value(), converted);
    if (!converted)
        return;
    QCOMPARE(*line, bytes);
    QCOMPARE(set.decode(*line), std::optional<QString>(text));
}

QTEST_APPLESS_MAIN(TestPhoneCharset)
#include "tst_phonecharset.moc"
