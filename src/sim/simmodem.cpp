#include "simmodem.h"

#include "atparameters.h"
#include "singlebytecodec.h"

namespace {

const QByteArray kCrLf = QByteArrayLiteral("\r\n");
constexpr char kCr = '\r';

const QString kDefaultModel = QStringLiteral("VELDRANO GSM SIMULATOR");

const QByteArray kModelCommand = QByteArrayLiteral("+CGMM");
const QByteArray kCharsetCommand = QByteArrayLiteral("+CSCS");
const QByteArray kSelectCommand = QByteArrayLiteral("+CPBS");
const QByteArray kReadCommand = QByteArrayLiteral("+CPBR");
const QByteArray kWriteCommand = QByteArrayLiteral("+CPBW");

const QByteArray kTestForm = QByteArrayLiteral("=?");
const QByteArray kReadForm = QByteArrayLiteral("?");
constexpr char kSetForm = '=';

const QByteArray kOk = QByteArrayLiteral("OK");
const QByteArray kError = QByteArrayLiteral("ERROR");
const QByteArray kCmeError = QByteArrayLiteral("+CME ERROR: ");
const QByteArray kOkCode = QByteArrayLiteral("0");
const QByteArray kErrorCode = QByteArrayLiteral("4");

// Error codes of 27.007.
constexpr int kNotAllowed = 3;
constexpr int kNotSupported = 4;
constexpr int kInvalidIndex = 21;
constexpr int kNotFound = 22;
constexpr int kTextTooLong = 24;
constexpr int kDialStringTooLong = 26;

const QByteArray kErrorReportingCommand = QByteArrayLiteral("+CMEE");

// The texts of 27.007 for the codes above, sent with +CMEE=2.
QByteArray errorText(int code)
{
    switch (code) {
    case kNotAllowed:
        return QByteArrayLiteral("operation not allowed");
    case kNotSupported:
        return QByteArrayLiteral("operation not supported");
    case kInvalidIndex:
        return QByteArrayLiteral("invalid index");
    case kNotFound:
        return QByteArrayLiteral("not found");
    case kTextTooLong:
        return QByteArrayLiteral("text string too long");
    case kDialStringTooLong:
        return QByteArrayLiteral("dial string too long");
    default:
        return QByteArrayLiteral("unknown");
    }
}

constexpr int kNationalType = 129;
constexpr int kInternationalType = 145;
constexpr int kHighestType = 255;
const QString kInternationalPrefix = QStringLiteral("+");
// A write that leaves the type to the phone.
constexpr int kTypeLeftOut = -1;
constexpr int kHighestHidden = 1;

// The parameters of a write, in the order +CPBW takes them.
enum WriteParameter {
    kWriteIndex,
    kWriteNumber,
    kWriteType,
    kWriteText,
    kWriteGroup,
    kWriteAdNumber,
    kWriteAdType,
    kWriteSecondText,
    kWriteEmail,
    kWriteSipUri,
    kWriteTelUri,
    kWriteHidden,
    kWriteParameterCount,
};

const QStringList kStorageOrder = {SimStorage::Sim, SimStorage::PhoneMemory};

// What a phone puts in place of a character its set lacks.
const QString kUnknownCharacter = QStringLiteral("?");

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

QString quoted(const QString &text)
{
    return QLatin1Char('"') + text + QLatin1Char('"');
}

// ("A","B"): what a test command answers with the values it takes.
QString quotedList(const QStringList &values)
{
    QStringList items;
    for (const QString &value : values)
        items.append(quoted(value));
    return QLatin1Char('(') + items.join(QLatin1Char(',')) + QLatin1Char(')');
}

// The parameters of a set command, "=" and what follows; false for any
// other form.
bool setParameters(const QByteArray &form, QList<AtParameter> *parameters)
{
    return form.startsWith(kSetForm) && AtParameters::split(form.mid(1), parameters);
}

// An optional number no greater than highest; one left out leaves *number.
bool takeNumber(const AtParameter &parameter, int highest, int *number)
{
    if (!parameter.present)
        return true;
    int value = 0;
    if (!parameter.toNumber(&value) || value > highest)
        return false;
    *number = value;
    return true;
}

} // namespace

SimModem::Options SimModem::Options::strict()
{
    Options options;
    options.quotedStrings = true;
    options.cmee = NumberedErrors;
    options.extraFields = true;
    options.internationalWithoutPlus = true;
    return options;
}

SimModem::SimModem(const QString &charset)
    : m_model(kDefaultModel)
    , m_selected(SimStorage::Sim)
    , m_powerOnCharset(PhoneCharset::named(charset).value_or(PhoneCharset(PhoneCharset::Set::Ira)))
    , m_charset(m_powerOnCharset)
{
    SimPhonebook phoneMemory;
    phoneMemory.last = 500;
    phoneMemory.textLength = 20;
    m_phonebooks.insert(SimStorage::Sim, SimPhonebook());
    m_phonebooks.insert(SimStorage::PhoneMemory, phoneMemory);
}

void SimModem::setOptions(const Options &options)
{
    m_options = options;
    m_cmee = options.cmee;
}

void SimModem::setPhonebooks(const SimPhonebooks &phonebooks)
{
    m_phonebooks = phonebooks;
    if (!m_phonebooks.contains(m_selected))
        m_selected = m_phonebooks.contains(SimStorage::Sim) || m_phonebooks.isEmpty() ? SimStorage::Sim
                                                                                        : m_phonebooks.firstKey();
}

bool SimModem::isCommandLine(const QByteArray &line)
{
    return line.startsWith("AT") || line.startsWith("at");
}

void SimModem::record(const QByteArray &line)
{
    m_commands.append(SingleByteCodec::decode(line));
}

SimModem::Reply SimModem::refuse(const QByteArray &line)
{
    record(line);
    Reply reply;
    if (m_echo)
        reply.echo = line + kCr;
    if (!m_quiet)
        reply.result = resultCode(failed());
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

    QStringList lines;
    Status status;
    int at = 2;
    while (status.kind == Status::Ok) {
        while (at < line.size() && line.at(at) == ' ')
            ++at;
        if (at >= line.size())
            break;
        if (line.at(at) == '+') {
            const int end = extendedCommandEnd(line, at);
            status = extended(line.mid(at, end - at), &lines);
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

    reply.information = frameInformation(lines);
    if (!m_quiet)
        reply.result = resultCode(status);
    return reply;
}

SimModem::Status SimModem::basic(char command, int value)
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
    return failed();
}

void SimModem::reset()
{
    m_charset = m_powerOnCharset;
    m_echo = true;
    m_quiet = false;
    m_verbose = true;
}

SimModem::Status SimModem::extended(const QByteArray &command, QStringList *lines)
{
    int nameEnd = 1;
    while (nameEnd < command.size() && command.at(nameEnd) != kSetForm && command.at(nameEnd) != '?')
        ++nameEnd;
    const QByteArray name = command.left(nameEnd).toUpper();
    const QByteArray form = command.mid(nameEnd);
    if (name == kModelCommand) {
        if (form.isEmpty())
            lines->append(m_model);
        else if (form != kTestForm)
            return failed();
        return {};
    }
    if (name == kCharsetCommand)
        return charsetCommand(form, lines);
    if (name == kErrorReportingCommand)
        return errorReporting(form, lines);
    if (name == kSelectCommand)
        return phonebookSelect(form, lines);
    if (name == kReadCommand)
        return phonebookRead(form, lines);
    if (name == kWriteCommand)
        return phonebookWrite(form, lines);
    return failed();
}

SimModem::Status SimModem::errorReporting(const QByteArray &form, QStringList *lines)
{
    if (form == kTestForm) {
        lines->append(QStringLiteral("+CMEE: (%1-%2)").arg(PlainErrors).arg(VerboseErrors));
        return {};
    }
    if (form == kReadForm) {
        lines->append(QStringLiteral("+CMEE: %1").arg(m_cmee));
        return {};
    }
    QList<AtParameter> parameters;
    int value = 0;
    if (!setParameters(form, &parameters) || parameters.size() != 1
        || !parameters.first().toNumber(&value) || value > VerboseErrors)
        return failed();
    m_cmee = value;
    return {};
}

// The one string a set command such as +CPBS="SM" carries.
bool SimModem::takeSoleString(const QByteArray &form, QString *text) const
{
    QList<AtParameter> parameters;
    return setParameters(form, &parameters) && parameters.size() == 1 && parameters.first().present
        && takeString(parameters.first(), text);
}

bool SimModem::takeString(const AtParameter &parameter, QString *text) const
{
    if (parameter.present && !parameter.quoted && m_options.quotedStrings)
        return false;
    *text = SingleByteCodec::decode(parameter.value);
    return true;
}

QString SimModem::textOnLine(const QString &text) const
{
    QString line;
    for (const QChar c : text)
        line += m_charset.onLine(QString(c)).value_or(*m_charset.onLine(kUnknownCharacter));
    return line;
}

// A text parameter in the character set selected.
bool SimModem::takeText(const AtParameter &parameter, QString *text) const
{
    QString received;
    if (!takeString(parameter, &received))
        return false;
    const std::optional<QString> decoded = m_charset.decode(received);
    if (!decoded)
        return false;
    *text = *decoded;
    return true;
}

SimModem::Status SimModem::charsetCommand(const QByteArray &form, QStringList *lines)
{
    if (form == kTestForm) {
        lines->append(QStringLiteral("+CSCS: ") + quotedList(m_options.charsets));
        return {};
    }
    if (form == kReadForm) {
        lines->append(QStringLiteral("+CSCS: %1").arg(quoted(m_charset.name())));
        return {};
    }
    QString name;
    if (!takeSoleString(form, &name))
        return failed();
    const std::optional<PhoneCharset> charset = PhoneCharset::named(name);
    if (!charset || !m_options.charsets.contains(charset->name(), Qt::CaseInsensitive))
        return phoneFailed(kNotSupported);
    m_charset = *charset;
    return {};
}

SimModem::Status SimModem::phonebookSelect(const QByteArray &form, QStringList *lines)
{
    if (form == kTestForm) {
        QStringList names;
        for (const QString &storage : kStorageOrder) {
            if (m_phonebooks.contains(storage))
                names.append(storage);
        }
        lines->append(QStringLiteral("+CPBS: ") + quotedList(names));
        return {};
    }
    if (form == kReadForm) {
        const SimPhonebook &book = m_phonebooks[m_selected];
        lines->append(QStringLiteral("+CPBS: %1,%2,%3")
                          .arg(quoted(m_selected))
                          .arg(book.entries.size())
                          .arg(book.size()));
        return {};
    }
    QString storage;
    if (!takeSoleString(form, &storage))
        return failed();
    storage = storage.toUpper();
    if (!m_phonebooks.contains(storage))
        return phoneFailed(kNotSupported);
    m_selected = storage;
    return {};
}

QString SimModem::entryLine(int index, const SimEntry &entry) const
{
    QString number = entry.number;
    if (m_options.internationalWithoutPlus && entry.type == kInternationalType
        && number.startsWith(kInternationalPrefix))
        number.remove(0, kInternationalPrefix.size());
    QString line = QStringLiteral("+CPBR: %1,%2,%3,%4").arg(index).arg(quoted(number)).arg(entry.type).arg(quoted(textOnLine(entry.text)));
    if (m_options.extraFields)
        line += QLatin1Char(',') + extraFieldsOnLine(entry).join(QLatin1Char(','));
    return line;
}

// The hidden flag always, then the USIM fields up to the last one the entry
// has: the flag is never empty, so the trimming stops there.
QStringList SimModem::extraFieldsOnLine(const SimEntry &entry) const
{
    QStringList fields = {QString::number(entry.hidden),
                          quoted(textOnLine(entry.group)),
                          quoted(entry.adNumber),
                          entry.adType ? QString::number(entry.adType) : QString(),
                          quoted(textOnLine(entry.secondText)),
                          quoted(textOnLine(entry.email)),
                          quoted(textOnLine(entry.sipUri)),
                          quoted(textOnLine(entry.telUri))};
    const QString emptyString = quoted(QString());
    while (fields.last().isEmpty() || fields.last() == emptyString)
        fields.removeLast();
    return fields;
}

SimModem::Status SimModem::phonebookRead(const QByteArray &form, QStringList *lines)
{
    const SimPhonebook &book = m_phonebooks[m_selected];
    if (form == kTestForm) {
        QString line = QStringLiteral("+CPBR: (%1-%2),%3,%4").arg(book.first).arg(book.last).arg(book.numberLength).arg(book.textLength);
        if (m_options.extraFields)
            line += book.extraFields;
        lines->append(line);
        return {};
    }
    QList<AtParameter> parameters;
    int first = 0;
    int last = 0;
    if (!setParameters(form, &parameters) || parameters.isEmpty() || parameters.size() > 2 || !parameters.first().toNumber(&first))
        return failed();
    last = first;
    if (parameters.size() == 2 && !parameters.at(1).toNumber(&last))
        return failed();
    if (!book.contains(first) || !book.contains(last))
        return phoneFailed(kInvalidIndex);
    if (last < first)
        return phoneFailed(kNotAllowed);
    const qsizetype linesBefore = lines->size();
    for (auto it = book.entries.lowerBound(first); it != book.entries.end() && it.key() <= last; ++it)
        lines->append(entryLine(it.key(), it.value()));
    if (lines->size() == linesBefore && m_options.emptyPosition == Options::EmptyPosition::NotFound)
        return phoneFailed(kNotFound);
    return {};
}

SimModem::Status SimModem::phonebookWrite(const QByteArray &form, QStringList *lines)
{
    SimPhonebook &book = m_phonebooks[m_selected];
    if (form == kTestForm) {
        lines->append(QStringLiteral("+CPBW: (%1-%2),%3,(%4,%5),%6")
                          .arg(book.first)
                          .arg(book.last)
                          .arg(book.numberLength)
                          .arg(kNationalType)
                          .arg(kInternationalType)
                          .arg(book.textLength));
        return {};
    }
    QList<AtParameter> parameters;
    int index = 0;
    if (!setParameters(form, &parameters) || parameters.isEmpty() || !parameters.at(kWriteIndex).toNumber(&index))
        return failed();

    SimEntry entry;
    if (!takeEntry(parameters, &entry))
        return failed();
    if (!book.contains(index))
        return phoneFailed(kInvalidIndex);
    if (entry.number.size() > book.numberLength)
        return phoneFailed(kDialStringTooLong);
    if (entry.text.size() > book.textLength)
        return phoneFailed(kTextTooLong);

    if (entry.number.isEmpty() && entry.text.isEmpty()) {
        book.entries.remove(index);
        return {};
    }
    if (entry.type == kTypeLeftOut)
        entry.type = entry.number.startsWith(kInternationalPrefix) ? kInternationalType : kNationalType;
    book.entries.insert(index, entry);
    return {};
}

// The whole record a write puts in place: what it leaves out is empty.
bool SimModem::takeEntry(const QList<AtParameter> &parameters, SimEntry *entry) const
{
    entry->type = kTypeLeftOut;
    return parameters.size() <= kWriteParameterCount && takeString(parameters.value(kWriteNumber), &entry->number)
        && takeNumber(parameters.value(kWriteType), kHighestType, &entry->type)
        && takeText(parameters.value(kWriteText), &entry->text)
        && takeText(parameters.value(kWriteGroup), &entry->group)
        && takeString(parameters.value(kWriteAdNumber), &entry->adNumber)
        && takeNumber(parameters.value(kWriteAdType), kHighestType, &entry->adType)
        && takeText(parameters.value(kWriteSecondText), &entry->secondText)
        && takeText(parameters.value(kWriteEmail), &entry->email)
        && takeText(parameters.value(kWriteSipUri), &entry->sipUri)
        && takeText(parameters.value(kWriteTelUri), &entry->telUri)
        && takeNumber(parameters.value(kWriteHidden), kHighestHidden, &entry->hidden);
}

QByteArray SimModem::frameInformation(const QStringList &lines) const
{
    if (lines.isEmpty())
        return {};
    QByteArray bytes;
    if (m_verbose)
        bytes += kCrLf;
    for (const QString &line : lines)
        bytes += SingleByteCodec::encode(line) + kCrLf;
    return bytes;
}

QByteArray SimModem::resultCode(const Status &status) const
{
    const bool cme = status.kind == Status::Cme && m_cmee != PlainErrors;
    QByteArray text;
    if (cme)
        text = kCmeError
            + (m_cmee == VerboseErrors ? errorText(status.code) : QByteArray::number(status.code));
    else if (status.kind == Status::Ok)
        text = m_verbose ? kOk : kOkCode;
    else
        text = m_verbose ? kError : kErrorCode;
    return m_verbose ? kCrLf + text + kCrLf : text + kCr;
}
