#pragma once

#include "formvariables.h"

#include <QStringList>

// The sort done the slow, obvious way, as a yardstick for sortPhonebook: the
// read-layout lines without their first 2L+3 characters, empty slots
// dropped, bubble sort with full passes that exchanges only on greater-than,
// then the new tags. Returns the lines sortPhonebook must put in List2.
QStringList bubbleSortReference(const FormVariables &vars, const QStringList &List1);
