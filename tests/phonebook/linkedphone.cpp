#include "linkedphone.h"

#include "phonebookcommands.h"

#include <QRegularExpression>
#include <QTimer>

namespace {
const QString kAt = QStringLiteral("AT");
const QByteArray kOk = "\r\nOK\r\n";
const QByteArray kError = "\r\nERROR\r\n";

QString entry(const QString &name, const QString &number, int type)
{
    return name + QLatin1Char('|') + number + QLatin1Char('|') + QString::number(type);
}

// The USIM fields after the name, from +CPBW's order (hidden last) to
// +CPBR's (hidden first). The tests' texts hold no commas.
QString readOrder(const QString &written)
{
    if (written.isEmpty())
        return written;
    QStringList fields = written.mid(1).split(QLatin1Char(','));
    while (fields.size() < 8)
        fields.append(QString());
    fields.prepend(fields.takeLast());
    return QLatin1Char(',') + fields.join(QLatin1Char(','));
}
}

LinkedPhone::LinkedPhone(int positions, int textLength, int numberLength)
    : m_positions(positions), m_textLength(textLength), m_numberLength(numberLength)
{
    m_phone.setResponder([this](const QByteArray &frame) { respond(frame); });
}

bool LinkedPhone::start(QString *why)
{
    if (!m_phone.start()) {
        *why = QStringLiteral("no pseudo-terminal");
        return false;
    }
    return link.open(m_phone.device(), why) == PortOpening::Opened;
}

void LinkedPhone::store(int position, const QString &name, const QString &number)
{
    m_entries.insert(position, entry(name, number, PhonebookCommands::numberType(number)));
}

void LinkedPhone::respond(const QByteArray &frame)
{
    const QString line = QString::fromLatin1(frame).trimmed();
    if (!line.startsWith(kAt, Qt::CaseInsensitive))
        return;
    if (m_hangUpAfter >= 0 && m_commands.size() >= m_hangUpAfter) {
        m_phone.hangUp();
        return;
    }
    const QString command = line.mid(kAt.size());
    m_commands.append(command);
    if (!m_cancelledOn.isEmpty() && command.startsWith(m_cancelledOn)) {
        // A moment later, so that the link is surely waiting by then.
        QTimer::singleShot(50, &link, [this] { link.cancel(); });
        return;
    }
    m_phone.send(answerTo(command));
}

QByteArray LinkedPhone::answerTo(const QString &command)
{
    if (!m_refused.isEmpty() && command.startsWith(m_refused))
        return kError;
    static const QRegularExpression erase(QStringLiteral("^\\+CPBW=(\\d+)$"));
    static const QRegularExpression write(
        QStringLiteral("^\\+CPBW=(\\d+),\"([^\"]*)\",(\\d+),\"([^\"]*)\"(,.*)?$"));
    if (const auto match = erase.match(command); match.hasMatch()) {
        const int position = match.captured(1).toInt();
        if (position < 1 || position > m_positions)
            return kError;
        m_entries.remove(position);
        m_fields.remove(position);
        return kOk;
    }
    if (const auto match = write.match(command); match.hasMatch()) {
        const int position = match.captured(1).toInt();
        if (position < 1 || position > m_positions || match.captured(2).size() > m_numberLength
            || match.captured(4).size() > m_textLength)
            return kError;
        m_entries.insert(position, entry(match.captured(4), match.captured(2), match.captured(3).toInt()));
        m_fields.insert(position, readOrder(match.captured(5)));
        return kOk;
    }
    static const QRegularExpression read(QStringLiteral("^\\+CPBR=(\\d+)(?:,(\\d+))?$"));
    if (const auto match = read.match(command); match.hasMatch()) {
        const int first = match.captured(1).toInt();
        const int last = match.captured(2).isEmpty() ? first : match.captured(2).toInt();
        QByteArray answer;
        for (int p = first; p <= last; ++p) {
            if (!m_entries.contains(p))
                continue;
            const QStringList e = m_entries.value(p).split(QLatin1Char('|'));
            answer += QStringLiteral("\r\n+CPBR: %1,\"%2\",%3,\"%4\"%5")
                          .arg(p).arg(e.at(1), e.at(2), e.at(0), m_fields.value(p))
                          .toLatin1();
        }
        return answer.isEmpty() ? kOk : answer + "\r\n" + kOk;
    }
    return command.startsWith(QStringLiteral("+CPBW")) ? kError : kOk;
}
