// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QMap>
#include <QString>

#include <sys/resource.h>

#include <optional>

// A folder holding some files and room for only so many bytes more, for the
// tests of a full disk, in one of two ways, or with all the room the disk has
// (Roomy), for the cases beside them:
// - SmallDisk: a tmpfs mounted on the folder, as large as its files and the
//   room (root only, where the system lets a process mount);
// - FileSizeLimit: the process may make no file larger than the room
//   (RLIMIT_FSIZE), which holds for root too and needs no mount, so that the
//   failure is at hand wherever the tests run.
// Either way a write past the room fails in the system call, as on a full
// disk. The destructor makes the room whole again.
class CrampedFolder {
public:
    enum class Kind { Roomy, SmallDisk, FileSizeLimit };

    // Makes folder (it must exist and be empty) hold files, by name, with
    // room bytes left; ready() tells whether it could.
    CrampedFolder(Kind kind, const QString &folder, const QMap<QString, QByteArray> &files, qint64 room);
    ~CrampedFolder();
    CrampedFolder(const CrampedFolder &) = delete;
    CrampedFolder &operator=(const CrampedFolder &) = delete;

    bool ready() const { return m_why.isEmpty(); }
    // Why it is not ready, for QSKIP.
    QString why() const { return m_why; }

private:
    bool writeFiles(const QMap<QString, QByteArray> &files);

    QString m_folder;
    QString m_why;
    bool m_mounted = false;
    // What the process had before the limit.
    std::optional<rlimit> m_oldLimit;
    void (*m_oldOnTooLarge)(int) = nullptr;
};
