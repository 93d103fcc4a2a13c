// SPDX-License-Identifier: GPL-3.0-or-later
#include "crampedfolder.h"

#include <QDir>
#include <QFile>

#include <sys/mount.h>

#include <cerrno>
#include <csignal>
#include <cstring>

namespace {

// tmpfs counts its room in pages.
constexpr qint64 kPage = 4096;

qint64 pagesFor(qint64 bytes)
{
    return (bytes + kPage - 1) / kPage * kPage;
}

}

CrampedFolder::CrampedFolder(Kind kind, const QString &folder, const QMap<QString, QByteArray> &files, qint64 room)
    : m_folder(folder)
{
    if (kind == Kind::SmallDisk) {
        qint64 size = room;
        for (const QByteArray &bytes : files)
            size += pagesFor(bytes.size());
        const QByteArray options = "size=" + QByteArray::number(size);
        if (::mount("tmpfs", QFile::encodeName(folder).constData(), "tmpfs", 0, options.constData()) != 0) {
            m_why = QStringLiteral("no tmpfs to be had: %1").arg(QString::fromLocal8Bit(std::strerror(errno)));
            return;
        }
        m_mounted = true;
        writeFiles(files);
        return;
    }
    if (!writeFiles(files) || kind == Kind::Roomy)
        return;
    // Past the limit the system sends SIGXFSZ, which would end the test;
    // ignored, it lets the write fail with EFBIG instead.
    rlimit old{};
    getrlimit(RLIMIT_FSIZE, &old);
    rlimit limit = old;
    limit.rlim_cur = rlim_t(room);
    m_oldOnTooLarge = std::signal(SIGXFSZ, SIG_IGN);
    if (setrlimit(RLIMIT_FSIZE, &limit) == 0) {
        m_oldLimit = old;
        return;
    }
    m_why = QStringLiteral("no file size limit to be had: %1").arg(QString::fromLocal8Bit(std::strerror(errno)));
    std::signal(SIGXFSZ, m_oldOnTooLarge);
}

CrampedFolder::~CrampedFolder()
{
    if (m_oldLimit) {
        setrlimit(RLIMIT_FSIZE, &*m_oldLimit);
        std::signal(SIGXFSZ, m_oldOnTooLarge);
    }
    if (m_mounted)
        ::umount2(QFile::encodeName(m_folder).constData(), MNT_DETACH);
}

bool CrampedFolder::writeFiles(const QMap<QString, QByteArray> &files)
{
    for (auto it = files.cbegin(); it != files.cend(); ++it) {
        QFile file(QDir(m_folder).filePath(it.key()));
        if (!file.open(QIODevice::WriteOnly) || file.write(it.value()) != it.value().size() || !file.flush()) {
            m_why = QStringLiteral("could not write %1 beforehand").arg(it.key());
            return false;
        }
    }
    return true;
}
