// SPDX-License-Identifier: GPL-3.0-or-later
#include "answerprogress.h"

#include "atanswer.h"

namespace {

const QByteArray kCrLf = QByteArrayLiteral("\r\n");

} // namespace

qsizetype AnswerProgress::measure(const QByteArray &buffer)
{
    if (m_next < 0) {
        const qsizetype echoEnd = buffer.indexOf(kCrLf);
        if (echoEnd < 0)
            return 0;
        m_next = echoEnd + kCrLf.size();
    }
    for (qsizetype end = buffer.indexOf(kCrLf, m_next); end >= 0; end = buffer.indexOf(kCrLf, m_next)) {
        m_wholeLines += owned(buffer.mid(m_next, end - m_next));
        m_next = end + kCrLf.size();
    }
    return m_wholeLines + owned(buffer.mid(m_next));
}

qsizetype AnswerProgress::owned(const QByteArray &line) const
{
    return !AtAnswer::isFinalResultLine(line) && m_framing.owns(line) ? line.size() : 0;
}
