// SPDX-License-Identifier: GPL-3.0-or-later
#include "wholefile.h"

WholeFile::WholeFile(const QString &name)
    : m_file(name)
{
}

bool WholeFile::prepare(const QByteArray &bytes)
{
    // QSaveFile keeps a small write in its buffer, and commit() puts the side
    // file in place even when flushing that buffer failed: the bytes are
    // flushed and checked here, before anything can replace the file.
    const bool whole = m_file.open(QIODevice::WriteOnly) && m_file.write(bytes) == bytes.size() && m_file.flush()
        && m_file.error() == QFileDevice::NoError;
    if (!whole)
        m_file.cancelWriting();
    return whole;
}

bool WholeFile::commit()
{
    return m_file.isOpen() && m_file.commit();
}

bool WholeFile::write(const QString &name, const QByteArray &bytes)
{
    WholeFile file(name);
    return file.prepare(bytes) && file.commit();
}
