#include "simentryfields.h"

#include "phonecharset.h"
#include "simoptions.h"
#include "singlebytecodec.h"

namespace {

const QByteArray kAnswerPrefix = QByteArrayLiteral("+CPBR: ");
constexpr char kSeparator = ',';
constexpr int kHighestType = 255;
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

// What a phone puts in place of a character its set lacks.
const QString kUnknownCharacter = QStringLiteral("?");

// A text in the character set selected, as bytes on the line.
QByteArray textOnLine(const QString &text, const PhoneCharset &charset)
{
    QString line;
    for (const QChar c : text)
        line += charset.onLine(QString(c)).value_or(*charset.onLine(kUnknownCharacter));
    return SingleByteCodec::encode(line);
}

// The hidden flag always, then the USIM fields up to the last one the entry
// has: the flag is never empty, so the trimming stops there.
QList<QByteArray> extraFields(const SimEntry &entry, const PhoneCharset &charset)
{
    using AtParameters::quoted;
    QList<QByteArray> fields = {QByteArray::number(entry.hidden),
                                quoted(textOnLine(entry.group, charset)),
                                quoted(SingleByteCodec::encode(entry.adNumber)),
                                entry.adType ? QByteArray::number(entry.adType) : QByteArray(),
                                quoted(textOnLine(entry.secondText, charset)),
                                quoted(textOnLine(entry.email, charset)),
                                quoted(textOnLine(entry.sipUri, charset)),
                                quoted(textOnLine(entry.telUri, charset))};
    const QByteArray emptyString = quoted(QByteArray());
    while (fields.last().isEmpty() || fields.last() == emptyString)
        fields.removeLast();
    return fields;
}

bool takeNumber(const AtParameter &parameter, const SimOptions &options, QString *number)
{
    QByteArray bytes;
    if (!parameter.toString(options.quotedStrings, &bytes))
        return false;
    *number = SingleByteCodec::decode(bytes);
    return true;
}

bool takeText(const AtParameter &parameter, const SimOptions &options, const PhoneCharset &charset, QString *text)
{
    QByteArray bytes;
    if (!parameter.toString(options.quotedStrings, &bytes))
        return false;
    const std::optional<QString> received = charset.decode(SingleByteCodec::decode(bytes));
    if (!received)
        return false;
    *text = *received;
    return true;
}

} // namespace

QByteArray SimEntryFields::answerLine(int index, const SimEntry &entry, const SimOptions &options,
                                      const PhoneCharset &charset)
{
    using AtParameters::quoted;
    QString number = entry.number;
    if (options.internationalWithoutPlus && entry.type == SimNumberType::International
        && number.startsWith(SimNumberType::InternationalPrefix))
        number.remove(0, SimNumberType::InternationalPrefix.size());
    QList<QByteArray> fields = {QByteArray::number(index), quoted(SingleByteCodec::encode(number)), QByteArray::number(entry.type),
                                quoted(textOnLine(entry.text, charset))};
    if (options.extraFields)
        fields += extraFields(entry, charset);
    return kAnswerPrefix + fields.join(kSeparator);
}

bool SimEntryFields::fromWrite(const QList<AtParameter> &parameters, const SimOptions &options,
                               const PhoneCharset &charset, SimEntry *entry)
{
    *entry = SimEntry();
    entry->type = kTypeLeftOut;
    return parameters.size() <= kWriteParameterCount && takeNumber(parameters.value(kWriteNumber), options, &entry->number)
        && parameters.value(kWriteType).toOptionalNumber(kHighestType, &entry->type)
        && takeText(parameters.value(kWriteText), options, charset, &entry->text)
        && takeText(parameters.value(kWriteGroup), options, charset, &entry->group)
        && takeNumber(parameters.value(kWriteAdNumber), options, &entry->adNumber)
        && parameters.value(kWriteAdType).toOptionalNumber(kHighestType, &entry->adType)
        && takeText(parameters.value(kWriteSecondText), options, charset, &entry->secondText)
        && takeText(parameters.value(kWriteEmail), options, charset, &entry->email)
        && takeText(parameters.value(kWriteSipUri), options, charset, &entry->sipUri)
        && takeText(parameters.value(kWriteTelUri), options, charset, &entry->telUri)
        && parameters.value(kWriteHidden).toOptionalNumber(kHighestHidden, &entry->hidden);
}
