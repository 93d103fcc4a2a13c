// Times saving and loading a large sorted list through the two handlers'
// logic, with the window's throttled event dispatch in every step.
#include "filenamechooser.h"
#include "listfileoperations.h"
#include "operationreport.h"
#include "phonebookline.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QStringListModel>
#include <QTemporaryDir>

#include <cstdio>

namespace {

constexpr int kLines = 100000;
constexpr qint64 kDispatchIntervalMs = 15;

class SameNameChooser : public FileNameChooser {
public:
    explicit SameNameChooser(const QString &name) : m_name(name) {}
    QString openFileName(const QString &) override { return m_name; }
    QString saveFileName(const QString &) override { return m_name; }

private:
    QString m_name;
};

// Behaves as the window does: events are dispatched at most every few
// milliseconds however often an operation asks.
class ThrottledReport : public OperationReport {
public:
    ThrottledReport() { m_sinceDispatch.start(); }
    void setMessage(const QString &text) override { lastMessage = text; }
    void setProgressMaximum(double) override {}
    void setProgressValue(double) override {}
    bool keepGoing() override
    {
        if (m_sinceDispatch.elapsed() >= kDispatchIntervalMs) {
            QCoreApplication::processEvents();
            m_sinceDispatch.restart();
        }
        return true;
    }

    QString lastMessage;

private:
    QElapsedTimer m_sinceDispatch;
};

double megabytesPerSecond(qint64 bytes, qint64 nanoseconds)
{
    return nanoseconds > 0 ? (bytes / 1.0e6) / (nanoseconds / 1.0e9) : 0.0;
}

}

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    if (!dir.isValid())
        return 1;

    const PhonebookLine::Limits limits{kLines, 20, 20};
    QStringList lines;
    lines.reserve(kLines);
    for (int i = 1; i <= kLines; ++i) {
        lines.append(PhonebookLine::build(i, QStringLiteral("Nome %1 Cognom\u00e8").arg(i),
                                          QStringLiteral("+39333%1").arg(i), PhonebookLine::Layout::Sorted,
                                          limits));
    }
    QStringListModel List1;
    QStringListModel List2(lines);
    SameNameChooser chooser(dir.filePath(QStringLiteral("bench.rds")));
    ThrottledReport report;

    QElapsedTimer timer;
    timer.start();
    saveSortedList(chooser, List2, report);
    const qint64 saveNs = timer.nsecsElapsed();
    const QString saveMessage = report.lastMessage;
    const qint64 bytes = QFileInfo(dir.filePath(QStringLiteral("bench.rds"))).size();

    List2.setStringList({});
    timer.restart();
    loadSortedList(chooser, List1, List2, report);
    const qint64 loadNs = timer.nsecsElapsed();
    const bool same = List2.stringList() == lines;

    std::printf("%-8s %-10s %-10s %-10s %-10s %-10s %s\n", "lines", "bytes", "save ms", "save MB/s",
                "load ms", "load MB/s", "result");
    std::printf("%-8d %-10lld %-10.1f %-10.1f %-10.1f %-10.1f %s / %s%s\n", kLines,
                static_cast<long long>(bytes), saveNs / 1.0e6, megabytesPerSecond(bytes, saveNs),
                loadNs / 1.0e6, megabytesPerSecond(bytes, loadNs), qPrintable(saveMessage),
                qPrintable(report.lastMessage), same ? "" : " (lines differ)");
    return same ? 0 : 1;
}
