// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The font and icon the program shows everywhere, set once on the
// application before the window is made.
void applyProgramLook();
