#include "scriptedphonebook.h"

namespace {
const QByteArray kOk = "\r\nOK\r\n";
const QByteArray kError = "\r\nERROR\r\n";
const QByteArray kSimBusy = "\r\n+CME ERROR: 14\r\n";
const QByteArray kRead = "+CPBR=";
}

ScriptedPhonebook::ScriptedPhonebook()
{
    m_phone.setResponder([this](const QByteArray &frame) { respond(frame); });
}

QStringList ScriptedPhonebook::commands()
{
    QStringList result;
    for (const QByteArray &frame : m_phone.frames())
        result.append(QString::fromLatin1(frame.mid(2).chopped(1)));
    return result;
}

void ScriptedPhonebook::respond(const QByteArray &frame)
{
    const QByteArray command = frame.mid(2).chopped(1);
    if (!hangUpOn.isEmpty() && command == hangUpOn) {
        m_phone.hangUp();
        return;
    }
    if (silentOn.contains(command))
        return;
    if (simBusyAnswers > 0) {
        --simBusyAnswers;
        m_phone.send(kSimBusy);
        return;
    }
    m_phone.send(answers.value(command, answerTo(command)));
}

QByteArray ScriptedPhonebook::answerTo(const QByteArray &command) const
{
    if (command == "+CPBS=SM" || command == "+CPBS=ME")
        return wantsQuotes ? kError : kOk;
    if (command == "+CPBS=\"SM\"" || command == "+CPBS=\"ME\"")
        return kOk;
    if (command == "+CPBR=?")
        return "\r\n" + rangeAnswer + "\r\n" + kOk;
    if (!command.startsWith(kRead))
        return kError;
    bool ok = false;
    const int position = command.mid(kRead.size()).toInt(&ok);
    if (!ok || position < 1 || position > highest)
        return kError;
    const QByteArray info = "\r\n" + unsolicited;
    if (!entries.contains(position))
        return info + kOk.mid(2);
    const Entry &e = entries[position];
    return info + "+CPBR: " + QByteArray::number(position) + ",\"" + e.number + "\","
        + QByteArray::number(e.type) + ",\"" + e.name + "\"\r\n" + kOk;
}
