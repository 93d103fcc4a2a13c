// SPDX-License-Identifier: GPL-3.0-or-later
#include "simmodem.h"

#include "atparameters.h"

namespace {

const QByteArray kCrLf = QByteArrayLiteral("\r\n");
constexpr char kCr = '\r';

const QString kDefaultModel = QStringLiteral("VELDRANO GSM SIMULATOR");

const QByteArray kModelCommand = QByteArrayLiteral("+CGMM");
const QByteArray kCharsetCommand = QByteArrayLiteral("+CSCS");
const QByteArray kErrorReportingCommand = QByteArrayLiteral("+CMEE");

const QByteArray kOk = QByteArrayLiteral("OK");
const QByteArray kError = QByteArrayLiteral("ERROR");
const QByteArray kCmeError = QByteArrayLiteral("+CME ERROR: ");
const QByteArray kOkCode = QByteArrayLiteral("0");
const QByteArray kErrorCode = QByteArrayLiteral("4");

using AtParameters::kReadForm;
using AtParameters::kSetForm;
using AtParameters::kTestForm;

char upper(char c)
{
    return (c >= 'a' && c <= 'z') ? char(c - 'a' + 'A') : c;
}

// The end of an extended command: the next ';' outside a quoted string.
int extendedCommandEnd(const QByteArray &line, int from)
{
    bool inQuotes = false;
    for (int i = from; i < line.size(); ++i) {
        if (line.at(i) == '"')
            inQuotes = !inQuotes;
        else if (line.at(i) == ';' && !inQuotes)
            return i;
    }
    return line.size();
}

// An extended command's name, in upper case, and what follows it.
void splitExtended(const QByteArray &command, QByteArray *name, QByteArray *form)
{
    int nameEnd = 1;
    while (nameEnd < command.size() && command.at(nameEnd) != kSetForm && command.at(nameEnd) != '?')
        ++nameEnd;
    *name = command.left(nameEnd).toUpper();
    *form = command.mid(nameEnd);
}

} // namespace

SimModem::SimModem(const QString &charset)
    : m_model(kDefaultModel)
    , m_powerOnCharset(SimCharset::named(charset).value_or(SimCharset(SimCharset::Set::Ira)))
    , m_charset(m_powerOnCharset)
{
}

void SimModem::setOptions(const Options &options)
{
    m_options = options;
    m_cmee = options.cmee;
    m_phonebook.powerOn(options);
    m_unsolicited.restart();
}

bool SimModem::isCommandLine(const QByteArray &line)
{
    return line.startsWith("AT") || line.startsWith("at");
}

void SimModem::record(const QByteArray &line)
{
    m_commands.append(QString::fromLatin1(line));
}

SimModem::Reply SimModem::refuse(const QByteArray &line)
{
    record(line);
    Reply reply;
    if (m_echo)
        reply.echo = line + kCr;
    if (!m_quiet)
        reply.result = resultCode(AtStatus::failed());
    return reply;
}

SimModem::Reply SimModem::execute(const QByteArray &line)
{
    Reply reply;
    if (!isCommandLine(line))
        return reply;
    record(line);
    if (m_echo)
        reply.echo = line + kCr;

    QList<QByteArray> lines;
    AtStatus status;
    int lateMs = 0;
    int at = 2;
    while (status.kind == AtStatus::Ok) {
        while (at < line.size() && line.at(at) == ' ')
            ++at;
        if (at >= line.size())
            break;
        if (line.at(at) == '+') {
            const int end = extendedCommandEnd(line, at);
            QByteArray name;
            QByteArray form;
            splitExtended(line.mid(at, end - at), &name, &form);
            status = extended(name, form, &lines);
            lateMs += status.lateMs;
            at = end + 1;
            continue;
        }
        const char command = upper(line.at(at++));
        int value = 0;
        const int digits = at;
        while (at < line.size() && line.at(at) >= '0' && line.at(at) <= '9')
            ++at;
        if (at > digits)
            value = line.mid(digits, at - digits).toInt();
        status = basic(command, value);
    }

    if (status.kind == AtStatus::Silent)
        return Reply();
    const std::optional<SimUnsolicited::Slot> unsolicited =
        m_unsolicited.next(m_options.unsolicitedLines, int(lines.size()));
    reply.information = frameInformation(lines, unsolicited);
    if (!m_quiet)
        reply.result = resultCode(status);
    reply.lateMs = lateMs;
    return reply;
}

AtStatus SimModem::basic(char command, int value)
{
    const bool onOff = value == 0 || value == 1;
    switch (command) {
    case 'E':
        if (!onOff)
            break;
        m_echo = value == 1;
        return {};
    case 'Q':
        if (!onOff)
            break;
        m_quiet = value == 1;
        return {};
    case 'V':
        if (!onOff)
            break;
        m_verbose = value == 1;
        return {};
    case 'Z':
        if (value != 0)
            break;
        reset();
        return {};
    default:
        break;
    }
    return AtStatus::failed();
}

void SimModem::reset()
{
    m_charset = m_powerOnCharset;
    m_echo = true;
    m_quiet = false;
    m_verbose = true;
}

AtStatus SimModem::extended(const QByteArray &name, const QByteArray &form, QList<QByteArray> *lines)
{
    if (name == kModelCommand) {
        if (form.isEmpty())
            lines->append(m_model.toLatin1());
        else if (form != kTestForm)
            return AtStatus::failed();
        return {};
    }
    if (name == kCharsetCommand)
        return charsetCommand(form, lines);
    if (name == kErrorReportingCommand)
        return errorReporting(form, lines);
    if (SimPhonebookCommands::handles(name))
        return m_phonebook.execute(name, form, m_options, m_charset, lines);
    return AtStatus::failed();
}

AtStatus SimModem::errorReporting(const QByteArray &form, QList<QByteArray> *lines)
{
    const QByteArray prefix = kErrorReportingCommand + ": ";
    if (form == kTestForm) {
        lines->append(prefix + '(' + QByteArray::number(PlainErrors) + '-' + QByteArray::number(VerboseErrors) + ')');
        return {};
    }
    if (form == kReadForm) {
        lines->append(prefix + QByteArray::number(m_cmee));
        return {};
    }
    QList<AtParameter> parameters;
    int value = 0;
    if (!AtParameters::splitSet(form, &parameters) || parameters.size() != 1 || !parameters.first().toNumber(&value)
        || value > VerboseErrors)
        return AtStatus::failed();
    m_cmee = value;
    return {};
}

AtStatus SimModem::charsetCommand(const QByteArray &form, QList<QByteArray> *lines)
{
    const QByteArray prefix = kCharsetCommand + ": ";
    if (form == kTestForm) {
        QList<QByteArray> names;
        for (const QString &name : m_options.charsets)
            names.append(name.toLatin1());
        lines->append(prefix + AtParameters::quotedList(names));
        return {};
    }
    if (form == kReadForm) {
        lines->append(prefix + AtParameters::quoted(m_charset.name().toLatin1()));
        return {};
    }
    QByteArray name;
    if (!AtParameters::soleString(form, m_options.quotedStrings, &name))
        return AtStatus::failed();
    const std::optional<SimCharset> charset = SimCharset::named(QString::fromLatin1(name));
    if (!charset || !m_options.charsets.contains(charset->name(), Qt::CaseInsensitive))
        return AtStatus::phoneFailed(AtStatus::kNotSupported);
    m_charset = *charset;
    return {};
}

QByteArray SimModem::frameInformation(const QList<QByteArray> &lines,
                                      const std::optional<SimUnsolicited::Slot> &unsolicited) const
{
    QByteArray bytes;
    for (int i = 0; i <= lines.size(); ++i) {
        // An unsolicited code comes framed by CR LF whatever V says.
        if (unsolicited && unsolicited->afterLines == i)
            bytes += kCrLf + unsolicited->code + kCrLf;
        if (i == lines.size())
            break;
        if (i == 0 && m_verbose)
            bytes += kCrLf;
        bytes += lines.at(i) + kCrLf;
    }
    return bytes;
}

QByteArray SimModem::resultCode(const AtStatus &status) const
{
    const bool cme = status.kind == AtStatus::Cme && m_cmee != PlainErrors;
    QByteArray text;
    if (cme)
        text = kCmeError + (m_cmee == VerboseErrors ? AtStatus::errorText(status.code) : QByteArray::number(status.code));
    else if (status.kind == AtStatus::Ok)
        text = m_verbose ? kOk : kOkCode;
    else
        text = m_verbose ? kError : kErrorCode;
    return m_verbose ? kCrLf + text + kCrLf : text + kCr;
}
