// SPDX-License-Identifier: GPL-3.0-or-later
#include "separatordelegate.h"

#include "phonebookline.h"

namespace {
constexpr QChar kBranchRight{0x251C};
constexpr QChar kVerticalLine{0x2502};
}

QString SeparatorDelegate::shown(QString line)
{
    line.replace(PhonebookLine::kPositionSeparator, kBranchRight);
    line.replace(PhonebookLine::kFieldSeparator, kVerticalLine);
    return line;
}

QString SeparatorDelegate::displayText(const QVariant &value, const QLocale &) const
{
    return shown(value.toString());
}
