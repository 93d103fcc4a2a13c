// SPDX-License-Identifier: GPL-3.0-or-later
#include "simoptions.h"

SimOptions SimOptions::strict()
{
    SimOptions options;
    options.quotedStrings = true;
    options.cmee = NumberedErrors;
    options.extraFields = true;
    options.internationalWithoutPlus = true;
    return options;
}
