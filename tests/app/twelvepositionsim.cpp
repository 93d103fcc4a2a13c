// SPDX-License-Identifier: GPL-3.0-or-later
#include "twelvepositionsim.h"

SimPhonebook twelvePositionSim()
{
    SimPhonebook book;
    book.last = 12;
    book.numberLength = 20;
    book.textLength = 14;
    book.entries = {
        {1, {"3331234567", 129, "MARIO ROSSI"}},
        {3, {"+393471112233", 145, "ANNALISA"}},
        {4, {"3409876543", 129, "anna"}},
        {6, {"+41791234567", 145, "Zio Franz"}},
        {9, {"+393285556677", 145, QStringLiteral("NICOLÒ")}},
        {10, {"3200000000", 129, "Nicola, uff."}},
        {11, {"0500", 129, "Zoe"}},
    };
    return book;
}

QStringList twelvePositionSimSorted()
{
    return {
        "1|3409876543|129|anna",
        "2|+393471112233|145|ANNALISA",
        "3|3331234567|129|MARIO ROSSI",
        "4|3200000000|129|Nicola, uff.",
        QStringLiteral("5|+393285556677|145|NICOLÒ"),
        "6|+41791234567|145|Zio Franz",
        "7|0500|129|Zoe",
    };
}

SimPhonebook twelvePositionSimWithFields()
{
    SimPhonebook book = twelvePositionSim();
    SimEntry &mario = book.entries[1];
    mario.group = QStringLiteral("LAVORO");
    mario.email = QStringLiteral("mario@example.org");
    SimEntry &annalisa = book.entries[3];
    annalisa.hidden = 1;
    annalisa.group = QStringLiteral("FAMIGLIA");
    annalisa.adNumber = QStringLiteral("0612345679");
    annalisa.adType = 129;
    SimEntry &zoe = book.entries[11];
    zoe.secondText = QStringLiteral("Zoe Bianchi");
    zoe.sipUri = QStringLiteral("sip:zoe@example.org");
    zoe.telUri = QStringLiteral("tel:+390500");
    return book;
}

QStringList entriesOf(const QMap<int, SimEntry> &entries)
{
    QStringList out;
    for (auto it = entries.cbegin(); it != entries.cend(); ++it)
        out.append(QStringLiteral("%1|%2|%3|%4").arg(it.key()).arg(it->number).arg(it->type).arg(it->text));
    return out;
}
