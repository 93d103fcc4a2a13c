// SPDX-License-Identifier: GPL-3.0-or-later
// Times saving a phonebook as vCard and loading it back, file included, on
// a book of 5,000 cards with accented names, USIM fields on some entries and
// the SIM's /m /h /w entries on others. The code runs on one thread.
#include "benchresult.h"
#include "italiannames.h"

#include "vcardform.h"
#include "vcardreader.h"
#include "vcardwriter.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>

namespace {

constexpr int kCards = 5000;
constexpr double kTargetMs = 500;
constexpr int kRounds = 3;
constexpr int kNameWidth = 18;
constexpr int kNumberWidth = 20;
constexpr quint32 kSeed = 2026;

PhonebookEntry entryOf(QRandomGenerator &random, const QString &name)
{
    PhonebookEntry e;
    e.number = ItalianNames::number(random, kNumberWidth);
    e.type = PhonebookCommands::numberType(e.number);
    e.name = name;
    return e;
}

// kCards cards: one in ten holds three suffixed entries, one in four of the
// others every USIM field.
PhonebookEntries book()
{
    QRandomGenerator random(kSeed);
    PhonebookEntries out;
    for (int card = 0; card < kCards; ++card) {
        const QString name = ItalianNames::name(random, kNameWidth - 2) + QString::number(card);
        if (card % 10 == 0) {
            for (const char *suffix : {"/m", "/h", "/w"})
                out.append(entryOf(random, name + QLatin1String(suffix)));
            continue;
        }
        out.append(entryOf(random, name));
        if (card % 4 == 0) {
            out.back().fields = {"1", "FAMIGLIA", "+393471112233", "145", name, "nome@example.org",
                                 "sip:nome@example.org", "tel:+393471112233", ""};
        }
    }
    for (qsizetype i = 0; i < out.size(); ++i)
        out[i].position = int(i + 1);
    return out;
}

void printTiming(const QString &what, double ms, qint64 bytes)
{
    BenchResult::print(QStringLiteral("vCard %1 %L2 cards").arg(what).arg(kCards),
                       QStringLiteral("%1 (%2 MB)").arg(BenchResult::milliseconds(ms)).arg(bytes / 1.0e6, 0, 'f', 1),
                       QStringLiteral("< %1").arg(BenchResult::milliseconds(kTargetMs)),
                       BenchResult::met(ms < kTargetMs));
}

}

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    if (!dir.isValid())
        return 1;
    const QString path = dir.filePath(QStringLiteral("rubrica.vcf"));
    const PhonebookEntries entries = book();

    double saveMs = 1e9;
    double loadMs = 1e9;
    VCardReader::Result loaded;
    QElapsedTimer timer;
    for (int round = 0; round < kRounds; ++round) {
        timer.start();
        QFile out(path);
        if (!out.open(QIODevice::WriteOnly) || out.write(VCardWriter::write(entries)) < 0)
            return 1;
        out.close();
        saveMs = std::min(saveMs, timer.nsecsElapsed() / 1.0e6);

        timer.restart();
        QFile in(path);
        if (!in.open(QIODevice::ReadOnly))
            return 1;
        loaded = VCardReader::read(in.readAll());
        loadMs = std::min(loadMs, timer.nsecsElapsed() / 1.0e6);
    }

    const bool same = loaded.entries == entries && loaded.skipped == 0;
    const qint64 bytes = QFile(path).size();
    std::printf("%lld entries in %d cards, %lld bytes, best of %d rounds%s\n",
                static_cast<long long>(entries.size()), kCards, static_cast<long long>(bytes), kRounds,
                same ? "" : "; the loaded entries differ from the saved ones");
    printTiming(QStringLiteral("save"), saveMs, bytes);
    printTiming(QStringLiteral("load"), loadMs, bytes);
    return same ? 0 : 1;
}
