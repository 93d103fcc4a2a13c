// SPDX-License-Identifier: GPL-3.0-or-later
#include "crampedfolder.h"
#include "givennamechooser.h"
#include "listfileoperations.h"
#include "phonebookline.h"
#include "recordingreport.h"
#include "testfiles.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

using PhonebookLine::Layout;

namespace {


using TestFiles::contents;
using TestFiles::Files;
using TestFiles::held;
using TestFiles::runningAsRoot;
const auto writeFile = TestFiles::write;

PhonebookEntries sortedEntries(int count)
{
    PhonebookEntries entries;
    for (int i = 1; i <= count; ++i)
        entries.append({i, "0612345", 129, QStringLiteral("Nome %1").arg(i), {}, false, std::nullopt});
    return entries;
}

// A list as a list file left it, line for line.
ListFileStore::StoredList loaded(const QStringList &lines)
{
    ListFileStore::StoredList list;
    for (const QString &line : lines) {
        PhonebookEntry entry;
        entry.loadedLine = line;
        list.entries.append(entry);
    }
    return list;
}

// The lines List2 shows of a list.
QStringList linesOf(const ListFileStore::StoredList &list)
{
    QStringList lines;
    for (const PhonebookEntry &entry : list.entries)
        lines.append(PhonebookLine::draw(entry, Layout::Sorted, list.limits));
    return lines;
}

}

class TestListFileOperations : public QObject {
    Q_OBJECT

private slots:
    void init();
    void savesEveryLineWithProgress();
    void savePicksTheName_data();
    void savePicksTheName();
    void saveRefused_data();
    void saveRefused();
    void saveReplacesWholeFile();
    void failedSaveKeepsOldFile_data();
    void failedSaveKeepsOldFile();
    void loadGivesTheLines();
    void loadRefused_data();
    void loadRefused();
    void loadEmptyFile();
    void loadThenSaveGivesSameBytes_data();
    void loadThenSaveGivesSameBytes();
    void loadOddFiles_data();
    void loadOddFiles();

private:
    QString path(const QString &name) const { return m_dir->filePath(name); }

    std::unique_ptr<QTemporaryDir> m_dir;
    GivenNameChooser m_chooser;
    RecordingReport m_report;
    // The list a save finds in List2.
    ListFileStore::StoredList m_list2;
};

void TestListFileOperations::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    m_chooser = GivenNameChooser();
    m_report = RecordingReport();
    m_list2 = loaded({"1/1 \u00c3  B ³ 2"});
}

void TestListFileOperations::savesEveryLineWithProgress()
{
    m_list2 = {sortedEntries(3), {250, 14, 20}};
    m_chooser.saveName = path("rubrica");

    QCOMPARE(saveSortedList(m_chooser, m_list2, m_report), ListSave::Saved);

    QCOMPARE(m_chooser.saveFilters, QStringList{"*.RDS;;*.vcf"});
    QCOMPARE(m_report.stages, QList<Stage>{Stage::Saving});
    QCOMPARE(m_report.values, (QList<double>{0.1, 1.1, 2.1}));
    QVERIFY(m_report.maximums.isEmpty());
    const QByteArray bytes = contents(path("rubrica.rds"));
    QCOMPARE(bytes.size(), 3 * (2 * 3 + 10 + 14 + 20));
    QCOMPARE(bytes.count("\r\n"), 3);
    QCOMPARE(bytes.left(17), QByteArray("001/250 \xC3  Nome 1"));
}

void TestListFileOperations::savePicksTheName_data()
{
    QTest::addColumn<QString>("chosen");
    QTest::addColumn<QString>("written");

    QTest::newRow("extension added") << "list" << "list.rds";
    QTest::newRow("folder holds it") << "x.rds/list" << "x.rds/list";
}

void TestListFileOperations::savePicksTheName()
{
    QFETCH(QString, chosen);
    QFETCH(QString, written);
    QVERIFY(QDir(m_dir->path()).mkdir("x.rds"));
    m_chooser.saveName = path(chosen);

    QCOMPARE(saveSortedList(m_chooser, m_list2, m_report), ListSave::Saved);
    QCOMPARE(contents(path(written)), QByteArray("1/1 \xC3  B \xB3 2\r\n"));
}

void TestListFileOperations::saveRefused_data()
{
    QTest::addColumn<bool>("cancelled");
    QTest::addColumn<bool>("listEmpty");
    QTest::newRow("dialog cancelled") << true << false;
    QTest::newRow("nothing to save") << false << true;
}

void TestListFileOperations::saveRefused()
{
    QFETCH(bool, cancelled);
    QFETCH(bool, listEmpty);
    m_chooser.saveName = cancelled ? QString() : path("list.rds");
    if (listEmpty)
        m_list2 = {};

    QCOMPARE(saveSortedList(m_chooser, m_list2, m_report), ListSave::Impossible);
    QCOMPARE(m_chooser.saveFilters.size(), 1);
    QVERIFY(m_report.stages.isEmpty());
    QVERIFY(QDir(m_dir->path()).isEmpty());
}

void TestListFileOperations::saveReplacesWholeFile()
{
    writeFile(path("list.rds"), QByteArray(5000, 'x'));
    m_chooser.saveName = path("list.rds");

    saveSortedList(m_chooser, m_list2, m_report);

    QCOMPARE(contents(path("list.rds")), QByteArray("1/1 \xC3  B \xB3 2\r\n"));
}

void TestListFileOperations::failedSaveKeepsOldFile_data()
{
    using Kind = CrampedFolder::Kind;
    QTest::addColumn<QString>("target");
    QTest::addColumn<bool>("needsNonRoot");
    QTest::addColumn<int>("room"); // how the folder "cramped" is short of room, a CrampedFolder::Kind

    // A regular file cannot hold a folder, whoever runs the test.
    QTest::newRow("under a regular file") << "old.rds/list.rds" << false << int(Kind::Roomy);
    QTest::newRow("onto a folder") << "sub.rds" << false << int(Kind::Roomy);
    QTest::newRow("folder not writable") << "locked/old.rds" << true << int(Kind::Roomy);
    // 250 lines over 200, with 8 KiB to spare.
    QTest::newRow("full disk") << "cramped/old.rds" << false << int(Kind::SmallDisk);
    QTest::newRow("full disk, vCard") << "cramped/old.vcf" << false << int(Kind::SmallDisk);
    QTest::newRow("file size limit") << "cramped/old.rds" << false << int(Kind::FileSizeLimit);
}

void TestListFileOperations::failedSaveKeepsOldFile()
{
    QFETCH(QString, target);
    QFETCH(bool, needsNonRoot);
    QFETCH(int, room);
    if (needsNonRoot && runningAsRoot())
        QSKIP("root writes into any folder");
    QDir dir(m_dir->path());
    QVERIFY(dir.mkdir("sub.rds") && dir.mkdir("locked") && dir.mkdir("cramped"));
    const QByteArray old = QByteArray("1/1 \xC3  B \xB3 2\r\n").repeated(200);
    writeFile(path("old.rds"), old);
    writeFile(path("locked/old.rds"), old);
    QVERIFY(QFile::setPermissions(path("locked"), QFile::ReadOwner | QFile::ExeOwner));
    const Files cramped{{"old.rds", old}, {"old.vcf", old}};
    m_list2 = {sortedEntries(250), {250, 14, 20}};
    m_chooser.saveName = path(target);

    ListSave saved = ListSave::Saved;
    Files crampedAfter; // while the folder is short of room
    {
        const CrampedFolder folder(CrampedFolder::Kind(room), path("cramped"), cramped, 8192);
        if (!folder.ready())
            QSKIP(qPrintable(folder.why()));
        saved = saveSortedList(m_chooser, m_list2, m_report);
        crampedAfter = held(path("cramped"));
    }
    QFile::setPermissions(path("locked"), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    QCOMPARE(saved, ListSave::Impossible);
    QCOMPARE(held(m_dir->path()), (Files{{"cramped", {}}, {"locked", {}}, {"old.rds", old}, {"sub.rds", {}}}));
    QCOMPARE(held(path("locked")), (Files{{"old.rds", old}}));
    QCOMPARE(crampedAfter, cramped);
}

void TestListFileOperations::loadGivesTheLines()
{
    writeFile(path("list.rds"), "1/2 \xC3  \xC9lise \xB3 1\r\n2/2 \xC3  Bruno \xB3 2\r\n");
    m_chooser.openName = path("list.rds");

    const ListLoad load = loadSortedList(m_chooser, {}, m_report);

    QCOMPARE(m_chooser.openFilters, QStringList{"*.RDS;;*.vcf"});
    QCOMPARE(m_report.stages, QList<Stage>{Stage::Loading});
    QCOMPARE(load.end, ListLoad::End::Loaded);
    QVERIFY(m_report.values.isEmpty() && m_report.maximums.isEmpty());
    QCOMPARE(linesOf(load.list),
             (QStringList{QString::fromUtf8("1/2 Ã  Élise ³ 1"), QString::fromUtf8("2/2 Ã  Bruno ³ 2")}));
}

void TestListFileOperations::loadRefused_data()
{
    QTest::addColumn<QString>("chosen");
    QTest::addColumn<bool>("needsNonRoot");

    QTest::newRow("dialog cancelled") << "" << false;
    QTest::newRow("name without extension") << "plain.txt" << false;
    QTest::newRow("missing file") << "missing.rds" << false;
    QTest::newRow("a folder") << "folder.rds" << false;
    QTest::newRow("binary file") << "binary.rds" << false;
    QTest::newRow("unreadable file") << "unreadable.rds" << true;
    QTest::newRow("broken fields file") << "broken.rds" << false;
}

void TestListFileOperations::loadRefused()
{
    QFETCH(QString, chosen);
    QFETCH(bool, needsNonRoot);
    if (needsNonRoot && runningAsRoot())
        QSKIP("root reads any file");
    writeFile(path("plain.txt"), "a\r\n");
    writeFile(path("binary.rds"), QByteArrayLiteral("a\r\n\0\x01\x02\r\n"));
    writeFile(path("unreadable.rds"), "a\r\n");
    QVERIFY(QFile::setPermissions(path("unreadable.rds"), {}));
    QVERIFY(QDir(m_dir->path()).mkdir("folder.rds"));
    writeFile(path("broken.rds"), "a\r\n");
    writeFile(path("broken.rds.fields"), "{\"2\": {\"group\":\"A\"}}");
    m_chooser.openName = chosen.isEmpty() ? QString() : path(chosen);

    QCOMPARE(loadSortedList(m_chooser, {}, m_report).end, ListLoad::End::Impossible);
}

void TestListFileOperations::loadEmptyFile()
{
    writeFile(path("empty.rds"), QByteArray());
    m_chooser.openName = path("empty.rds");

    const ListLoad load = loadSortedList(m_chooser, {}, m_report);
    QCOMPARE(load.end, ListLoad::End::Loaded);
    QVERIFY(load.list.entries.isEmpty());
}

void TestListFileOperations::loadThenSaveGivesSameBytes_data()
{
    QTest::addColumn<QByteArray>("file");

    QTest::newRow("sorted lines")
        << QByteArray("001/250 \xC3  Rossi, \"Gino\"  \xB3 +39333123    \r\n"
                      "002/250 \xC3  Zo\xEB \x80         \xB3 0612         \r\n");
    QTest::newRow("empty and blank lines") << QByteArray("\r\n   \r\nx\r\n\r\n");
    QTest::newRow("lone CR inside a line") << QByteArray("a\rb\r\n");
    QTest::newRow("megabyte line") << QByteArray(1 << 20, 'n') + "   \r\n";
}

void TestListFileOperations::loadThenSaveGivesSameBytes()
{
    QFETCH(QByteArray, file);
    writeFile(path("in.rds"), file);
    m_chooser.openName = path("in.rds");
    m_chooser.saveName = path("out.rds");

    const ListLoad load = loadSortedList(m_chooser, {}, m_report);
    QCOMPARE(load.list.entries.size(), file.count("\r\n"));
    QCOMPARE(saveSortedList(m_chooser, load.list, m_report), ListSave::Saved);
    QCOMPARE(contents(path("out.rds")), file);
}

void TestListFileOperations::loadOddFiles_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<int>("rows");
    QTest::addColumn<QString>("first");
    QTest::addColumn<QString>("last");

    QTest::newRow("lone LF line ends") << QByteArray("a\nb\nc\n") << 3 << "a" << "c";
    // With no LF at all the whole file is one line.
    QTest::newRow("lone CR line ends") << QByteArray("a\rb\rc\r") << 1 << "a\rb\rc\r" << "a\rb\rc\r";
    QTest::newRow("a million empty lines") << QByteArray("\r\n").repeated(1000000) << 1000000 << "" << "";
}

void TestListFileOperations::loadOddFiles()
{
    QFETCH(QByteArray, file);
    QFETCH(int, rows);
    QFETCH(QString, first);
    QFETCH(QString, last);
    writeFile(path("odd.rds"), file);
    m_chooser.openName = path("odd.rds");

    const ListLoad load = loadSortedList(m_chooser, {}, m_report);

    QCOMPARE(load.end, ListLoad::End::Loaded);
    QCOMPARE(load.list.entries.size(), rows);
    QCOMPARE(linesOf(load.list).first(), first);
    QCOMPARE(linesOf(load.list).last(), last);
}

QTEST_GUILESS_MAIN(TestListFileOperations)
#include "tst_listfileoperations.moc"
