// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QByteArrayList>

#include <optional>

// Which unsolicited result code a chatty phone puts into its next answer,
// and where: the codes take turns, and once each has had its turn the
// place moves on, so that every code comes in every place.
class SimUnsolicited {
public:
    // A code and how many information lines go before it.
    struct Slot {
        QByteArray code;
        int afterLines = 0;
    };

    // As at power-on: the first code, before the information text.
    void restart() { m_answers = 0; }

    // The slot of the next answer, which has informationLines lines of
    // information text; nullopt when there are no codes.
    std::optional<Slot> next(const QByteArrayList &codes, int informationLines);

private:
    int m_answers = 0;
};
