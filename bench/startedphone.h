#pragma once

#include "simphone.h"

#include <QString>

#include <cstdio>

// Starts the simulated phone a benchmark times against; false, with the
// reason on stderr, when it cannot.
inline bool startPhone(SimPhone &phone)
{
    QString why;
    if (phone.start(&why))
        return true;
    std::fprintf(stderr, "simulated phone not started: %s\n", qPrintable(why));
    return false;
}
