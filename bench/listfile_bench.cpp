// SPDX-License-Identifier: GPL-3.0-or-later
// Times saving and loading a large sorted list through the two handlers'
// logic, with the window's throttled event dispatch in every step.
#include "benchresult.h"
#include "givennamechooser.h"
#include "noprogress.h"

#include "listfileoperations.h"
#include "phonebookline.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QTemporaryDir>

#include <cstdio>

namespace {

constexpr int kLines = 100000;
constexpr double kTargetMs = 1000;

double megabytesPerSecond(qint64 bytes, qint64 nanoseconds)
{
    return nanoseconds > 0 ? (bytes / 1.0e6) / (nanoseconds / 1.0e9) : 0.0;
}

void printTiming(const QString &what, qint64 bytes, qint64 nanoseconds)
{
    const double ms = nanoseconds / 1.0e6;
    BenchResult::print(QStringLiteral("%1 %L2 lines").arg(what).arg(kLines),
                       QStringLiteral("%1 (%2 MB/s)")
                           .arg(BenchResult::milliseconds(ms))
                           .arg(megabytesPerSecond(bytes, nanoseconds), 0, 'f', 1),
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

    const PhonebookLimits limits{kLines, 20, 20};
    PhonebookEntries entries;
    entries.reserve(kLines);
    for (int i = 1; i <= kLines; ++i) {
        PhonebookEntry entry;
        entry.position = i;
        entry.name = QStringLiteral("Nome %1 Cognom\u00e8").arg(i);
        entry.number = QStringLiteral("+39333%1").arg(i);
        entries.append(entry);
    }
    GivenNameChooser chooser;
    chooser.openName = chooser.saveName = dir.filePath(QStringLiteral("bench.rds"));
    NoProgress progress;

    QElapsedTimer timer;
    timer.start();
    const ListSave saved = saveSortedList(chooser, {entries, limits}, progress);
    const qint64 saveNs = timer.nsecsElapsed();
    const qint64 bytes = QFileInfo(chooser.saveName).size();

    timer.restart();
    const ListLoad loaded = loadSortedList(chooser, limits, progress);
    const qint64 loadNs = timer.nsecsElapsed();
    const bool same = saved == ListSave::Saved && loaded.end == ListLoad::End::Loaded
        && loaded.list.entries == entries && loaded.list.limits == limits;

    std::printf("%d lines, %lld bytes%s\n", kLines, static_cast<long long>(bytes),
                same ? "" : "; the loaded list differs from the saved one");
    printTiming(QStringLiteral("save"), bytes, saveNs);
    printTiming(QStringLiteral("load"), bytes, loadNs);
    return same ? 0 : 1;
}
