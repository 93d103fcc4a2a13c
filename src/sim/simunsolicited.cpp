// SPDX-License-Identifier: GPL-3.0-or-later
#include "simunsolicited.h"

#include <algorithm>

namespace {

enum Place { BeforeInformation, AfterFirstLine, AfterInformation, kPlaces };

} // namespace

std::optional<SimUnsolicited::Slot> SimUnsolicited::next(const QByteArrayList &codes, int informationLines)
{
    if (codes.isEmpty())
        return std::nullopt;
    const int count = int(codes.size());
    const int turn = m_answers % (count * kPlaces);
    m_answers = turn + 1;
    int afterLines = 0;
    switch (turn / count) {
    case AfterFirstLine:
        afterLines = std::min(1, informationLines);
        break;
    case AfterInformation:
        afterLines = informationLines;
        break;
    default:
        break;
    }
    return Slot{codes.at(turn % count), afterLines};
}
