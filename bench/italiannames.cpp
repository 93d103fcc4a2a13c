// SPDX-License-Identifier: GPL-3.0-or-later
#include "italiannames.h"

#include <QRandomGenerator>
#include <QStringList>

namespace {

const QStringList kGivenNames = {
    QStringLiteral("Niccolò"), QStringLiteral("Lucia"),   QStringLiteral("Andrea"),
    QStringLiteral("Giosuè"),  QStringLiteral("Chiara"),  QStringLiteral("Mattia"),
    QStringLiteral("Noè"),     QStringLiteral("Ilaria"),  QStringLiteral("Salvatore"),
    QStringLiteral("Agnese"),  QStringLiteral("Elia"),    QStringLiteral("Ginevra"),
    QStringLiteral("Raffaele"), QStringLiteral("Rosalìa"), QStringLiteral("Tommaso"),
    QStringLiteral("Beatrice"), QStringLiteral("Gioele"), QStringLiteral("Annunziata"),
};

const QStringList kSurnames = {
    QStringLiteral("Rossi"),     QStringLiteral("D'Alò"),    QStringLiteral("Esposito"),
    QStringLiteral("Bianchi"),   QStringLiteral("De Santis"), QStringLiteral("Parè"),
    QStringLiteral("Colombo"),   QStringLiteral("Mancuso"),  QStringLiteral("Fabbrì"),
    QStringLiteral("Lo Russo"),  QStringLiteral("Ferraro"),  QStringLiteral("Dell'Acqua"),
    QStringLiteral("Greco"),     QStringLiteral("Cantù"),    QStringLiteral("Marinò"),
    QStringLiteral("Zanetti"),   QStringLiteral("Àlvaro"),   QStringLiteral("Orlandi"),
};

// What people put before or instead of a name.
const QStringList kLabels = {
    QStringLiteral("Dott."), QStringLiteral("Zia"), QStringLiteral("Ufficio"),
    QStringLiteral("Idraulico"), QStringLiteral("Casa"),
};

constexpr int kMobileDigits = 9;
constexpr int kLandlineDigits = 8;

const QString &pick(QRandomGenerator &random, const QStringList &words)
{
    return words.at(int(random.bounded(qsizetype(words.size()))));
}

QString digits(QRandomGenerator &random, int count)
{
    QString text;
    for (int i = 0; i < count; ++i)
        text += QChar(u'0' + random.bounded(10));
    return text;
}

}

QString ItalianNames::name(QRandomGenerator &random, int maxLength)
{
    QString text;
    switch (random.bounded(5)) {
    case 0:
        text = pick(random, kSurnames) + QLatin1Char(' ') + pick(random, kGivenNames);
        break;
    case 1:
        text = pick(random, kLabels) + QLatin1Char(' ') + pick(random, kSurnames);
        break;
    case 2:
        text = pick(random, kGivenNames);
        break;
    default:
        text = pick(random, kGivenNames) + QLatin1Char(' ') + pick(random, kSurnames);
        break;
    }
    switch (random.bounded(4)) {
    case 0:
        text = text.toUpper();
        break;
    case 1:
        text = text.toLower();
        break;
    default:
        break;
    }
    return text.left(maxLength).trimmed();
}

QString ItalianNames::number(QRandomGenerator &random, int maxLength)
{
    QString text;
    switch (random.bounded(3)) {
    case 0:
        text = QStringLiteral("+393") + digits(random, kMobileDigits);
        break;
    case 1:
        text = QStringLiteral("3") + digits(random, kMobileDigits);
        break;
    default:
        text = QStringLiteral("0") + digits(random, kLandlineDigits);
        break;
    }
    return text.left(maxLength);
}
