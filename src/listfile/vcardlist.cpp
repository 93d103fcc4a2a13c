// SPDX-License-Identifier: GPL-3.0-or-later
#include "vcardlist.h"

#include "sortedlistedit.h"
#include "vcardreader.h"
#include "vcardwriter.h"
#include "wholefile.h"

#include <QFile>

namespace VCardList {

bool save(const QString &name, const PhonebookEntries &entries)
{
    PhonebookEntries written;
    for (const PhonebookEntry &entry : entries) {
        if (!entry.unread)
            written.append(PhonebookLine::asWritten(entry));
    }
    return WholeFile::write(name, VCardWriter::write(written));
}

std::optional<Loaded> load(const QString &name, const PhonebookLimits &limits)
{
    QFile file(name);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return std::nullopt;
    const VCardReader::Result read = VCardReader::read(bytes);
    const SortedListEdit::Fitted fitted = SortedListEdit::fitted(read.entries, limits);
    return Loaded{fitted.entries, read.skipped + fitted.skipped};
}

}
