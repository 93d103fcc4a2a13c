// SPDX-License-Identifier: GPL-3.0-or-later
#include "backupname.h"

#include "listfilecodec.h"

namespace {

const QString kTimeFormat = QStringLiteral("yyyy-MM-dd_HH-mm-ss");
const QString kForbidden = QStringLiteral("<>:\"/\\|?*");
constexpr QChar kReplacement = u'_';
// Enough for any model name; a phone that reports a page of text does not
// make a name the file system refuses.
constexpr qsizetype kMaxModelLength = 64;

QString fileNamePart(const QString &text)
{
    QString out = text.trimmed().left(kMaxModelLength);
    for (QChar &c : out) {
        if (c.unicode() < 0x20 || c.unicode() == 0x7F || kForbidden.contains(c))
            c = kReplacement;
    }
    return out.trimmed();
}

}

namespace BackupName {

QString fileName(const QDateTime &when, const QString &phonebook, const QString &model, int copy)
{
    QString name = when.toString(kTimeFormat) + QLatin1Char(' ') + phonebook;
    const QString modelPart = fileNamePart(model);
    if (!modelPart.isEmpty())
        name += QLatin1Char(' ') + modelPart;
    if (copy > 1)
        name += QStringLiteral(" (%1)").arg(copy);
    return name + ListFileCodec::kExtension;
}

}
