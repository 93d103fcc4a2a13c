// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include <optional>

// What an operation leaves for the window to show once it has ended: the
// message panel's new text (none after a cancel: the program is ending and
// the panel keeps what it had), the rows to select, and whether the
// operation did what it was asked.
struct Outcome {
    QString message;
    std::optional<int> selectList1 = std::nullopt;
    std::optional<int> selectList2 = std::nullopt;
    bool done = false;
};
