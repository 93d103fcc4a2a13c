// SPDX-License-Identifier: GPL-3.0-or-later
#include "simentryfields.h"

#include "simcharset.h"
#include "simoptions.h"

namespace {

const QByteArray kAnswerPrefix = QByteArrayLiteral("+CPBR: ");
constexpr char kSeparator = ',';
const QByteArray kSpacedSeparator = QByteArrayLiteral(", ");
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

// The hidden flag always, then the USIM fields up to the last one the entry
// has: the flag is never empty, so the trimming stops there.
QList<QByteArray> extraFields(const SimEntry &entry, const SimCharset &charset)
{
    using AtParameters::quoted;
    QList<QByteArray> fields = {QByteArray::number(entry.hidden),
                                quoted(charset.toLine(entry.group)),
                                quoted(entry.adNumber.toLatin1()),
                                entry.adType ? QByteArray::number(entry.adType) : QByteArray(),
                                quoted(charset.toLine(entry.secondText)),
                                quoted(charset.toLine(entry.email)),
                                quoted(charset.toLine(entry.sipUri)),
                                quoted(charset.toLine(entry.telUri))};
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
    *number = QString::fromLatin1(bytes);
    return true;
}

bool takeText(const AtParameter &parameter, const SimOptions &options, const SimCharset &charset, QString *text)
{
    QByteArray bytes;
    if (!parameter.toString(options.quotedStrings, &bytes))
        return false;
    const std::optional<QString> received = charset.toText(bytes);
    if (!received)
        return false;
    *text = *received;
    return true;
}

} // namespace

QByteArray SimEntryFields::answerLine(int index, const SimEntry &entry, const SimOptions &options,
                                      const SimCharset &charset)
{
    using AtParameters::quoted;
    QString number = entry.number;
    if (options.internationalWithoutPlus && entry.type == SimNumberType::International
        && number.startsWith(SimNumberType::InternationalPrefix))
        number.remove(0, SimNumberType::InternationalPrefix.size());
    QList<QByteArray> fields = {QByteArray::number(index), quoted(number.toLatin1()), QByteArray::number(entry.type),
                                quoted(charset.toLine(entry.text))};
    if (options.extraFields)
        fields += extraFields(entry, charset);
    return kAnswerPrefix + fields.join(options.spaceAfterComma ? kSpacedSeparator : QByteArray(1, kSeparator));
}

bool SimEntryFields::fromWrite(const QList<AtParameter> &parameters, const SimOptions &options,
                               const SimCharset &charset, SimEntry *entry)
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
