// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "formvariables.h"

// The form variables as a complete read of a SIM with these limits leaves
// them.
inline FormVariables afterSimRead(int positions, int textLength, int numberLength)
{
    FormVariables vars;
    vars.limits.MAXNUMRUB = positions;
    vars.limits.MAXCARNOM = textLength;
    vars.limits.MAXCARNUM = numberLength;
    vars.phonebook = Phonebooks::kSim;
    return vars;
}
