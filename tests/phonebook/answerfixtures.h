// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArrayList>
#include <QFile>
#include <QTest>

// The answer forms that real phones send, from the fixture file.
namespace AnswerFixtures {

// The forms, comment lines left out, the bytes as a phone sends them.
inline QByteArrayList fixtureForms()
{
    QFile file(QFINDTESTDATA("../data/phone-answers.txt"));
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return {};
    QByteArrayList forms;
    for (const QByteArray &line : file.readAll().split('\n')) {
        if (!line.isEmpty() && !line.startsWith('#'))
            forms.append(line);
    }
    return forms;
}

// Range answers, unlike entries, hold no quoted text.
inline bool isRangeForm(const QByteArray &form)
{
    return form.startsWith("+CPBR:") && !form.contains('"');
}

inline bool isEntryForm(const QByteArray &form)
{
    return form.startsWith("+CPBR:") && !isRangeForm(form);
}

}
