// SPDX-License-Identifier: GPL-3.0-or-later
#include "sessionprogress.h"

SessionProgress::SessionProgress(std::function<bool()> goOn, QObject *parent)
    : QObject(parent), m_goOn(std::move(goOn))
{
    qRegisterMetaType<Stage>();
    qRegisterMetaType<FormVariables>();
    qRegisterMetaType<PhonebookEntry>();
}
