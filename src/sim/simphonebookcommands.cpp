// SPDX-License-Identifier: GPL-3.0-or-later
#include "simphonebookcommands.h"

#include "atparameters.h"
#include "simcharset.h"
#include "simentryfields.h"
#include "simoptions.h"

namespace {

const QByteArray kSelectCommand = QByteArrayLiteral("+CPBS");
const QByteArray kReadCommand = QByteArrayLiteral("+CPBR");
const QByteArray kWriteCommand = QByteArrayLiteral("+CPBW");

const QStringList kStorageOrder = {SimStorage::Sim, SimStorage::PhoneMemory};

// The phone memory of a phone that is not given phonebooks of its own.
constexpr int kPhoneMemoryLast = 500;
constexpr int kPhoneMemoryTextLength = 20;

// A name cut to its first characters, a surrogate pair counting as one.
QString firstCharacters(const QString &text, int characters)
{
    qsizetype end = 0;
    for (int taken = 0; taken < characters && end < text.size(); ++taken)
        end += text.at(end).isHighSurrogate() && end + 1 < text.size() && text.at(end + 1).isLowSurrogate() ? 2 : 1;
    return text.left(end);
}

// The lowest position without an entry; the book has one, as it is asked
// only when a write goes to an empty position.
int firstEmpty(const SimPhonebook &book)
{
    int position = book.first;
    while (book.entries.contains(position))
        ++position;
    return position;
}

// A number as a SIM that keeps digits holds it: the "+" is type 145.
QString digitsWithType(const QString &number, int type)
{
    QString digits = number;
    if (digits.startsWith(SimNumberType::InternationalPrefix))
        digits.remove(0, SimNumberType::InternationalPrefix.size());
    return type == SimNumberType::International && !digits.isEmpty() ? SimNumberType::InternationalPrefix + digits
                                                                     : digits;
}

using AtParameters::kReadForm;
using AtParameters::kTestForm;
using AtParameters::quoted;

} // namespace

SimPhonebookCommands::SimPhonebookCommands()
    : m_selected(SimStorage::Sim)
{
    SimPhonebook phoneMemory;
    phoneMemory.last = kPhoneMemoryLast;
    phoneMemory.textLength = kPhoneMemoryTextLength;
    m_phonebooks.insert(SimStorage::Sim, SimPhonebook());
    m_phonebooks.insert(SimStorage::PhoneMemory, phoneMemory);
}

void SimPhonebookCommands::powerOn(const SimOptions &options)
{
    m_busyLeft = options.simBusyAnswers;
    m_positionsRead = false;
    m_writeDropped = false;
    m_written = false;
}

bool SimPhonebookCommands::handles(const QByteArray &name)
{
    return name == kSelectCommand || name == kReadCommand || name == kWriteCommand;
}

AtStatus SimPhonebookCommands::execute(const QByteArray &name, const QByteArray &form, const SimOptions &options,
                                       const SimCharset &charset, QList<QByteArray> *lines)
{
    if (m_busyLeft > 0) {
        --m_busyLeft;
        return AtStatus::phoneFailed(options.busyAsPleaseWait ? AtStatus::kPleaseWait : AtStatus::kSimBusy);
    }
    if (name == kSelectCommand)
        return select(form, options, charset, lines);
    if (name == kReadCommand) {
        AtStatus status = read(form, options, charset, lines);
        if (form != kTestForm && !m_positionsRead) {
            m_positionsRead = true;
            status.lateMs = options.firstReadDelayMs;
        }
        return status;
    }
    if (name == kWriteCommand)
        return write(form, options, charset, lines);
    return AtStatus::failed();
}

void SimPhonebookCommands::setPhonebooks(const SimPhonebooks &phonebooks)
{
    m_phonebooks = phonebooks;
    if (!m_phonebooks.contains(m_selected))
        m_selected = m_phonebooks.contains(SimStorage::Sim) || m_phonebooks.isEmpty() ? SimStorage::Sim
                                                                                        : m_phonebooks.firstKey();
}

AtStatus SimPhonebookCommands::select(const QByteArray &form, const SimOptions &options, const SimCharset &charset,
                                      QList<QByteArray> *lines)
{
    const SimCharset names = options.storageNameInCharset ? charset : SimCharset(SimCharset::Set::Latin1);
    if (form == kTestForm) {
        QList<QByteArray> offered;
        for (const QString &storage : kStorageOrder) {
            if (m_phonebooks.contains(storage))
                offered.append(names.toLine(storage));
        }
        lines->append(kSelectCommand + ": " + AtParameters::quotedList(offered));
        return {};
    }
    if (form == kReadForm) {
        const SimPhonebook &book = m_phonebooks[m_selected];
        lines->append(kSelectCommand + ": " + quoted(names.toLine(m_selected)) + ','
                      + QByteArray::number(book.entries.size()) + ',' + QByteArray::number(book.size()));
        return {};
    }
    QByteArray storage;
    if (!AtParameters::soleString(form, options.quotedStrings, &storage))
        return AtStatus::failed();
    const std::optional<QString> received = names.toText(storage);
    if (!received)
        return AtStatus::failed();
    const QString name = received->toUpper();
    if (!m_phonebooks.contains(name))
        return AtStatus::phoneFailed(AtStatus::kNotSupported);
    m_selected = name;
    return {};
}

AtStatus SimPhonebookCommands::read(const QByteArray &form, const SimOptions &options, const SimCharset &charset,
                                    QList<QByteArray> *lines)
{
    if (m_written && options.silentReadsAfterWrite)
        return AtStatus::silent();
    const SimPhonebook &book = m_phonebooks[m_selected];
    if (form == kTestForm) {
        if (options.rangeQueryRefused)
            return AtStatus::failed();
        if (options.noRangeWhenEmpty && book.entries.isEmpty())
            return AtStatus::phoneFailed(AtStatus::kMemoryFailure);
        QByteArray range = QByteArray::number(book.first) + '-' + QByteArray::number(book.last);
        if (!options.rangeWithoutParentheses)
            range = '(' + range + ')';
        const int numberLength = options.declaredNumberLength > 0 ? options.declaredNumberLength : book.numberLength;
        const int textLength = options.declaredTextLength > 0 ? options.declaredTextLength : book.textLength;
        QByteArray line = kReadCommand + ": " + range + ',' + QByteArray::number(numberLength) + ','
            + QByteArray::number(textLength);
        if (options.extraFields)
            line += book.extraFields.toLatin1();
        lines->append(line);
        return {};
    }
    QList<AtParameter> parameters;
    int first = 0;
    if (!AtParameters::splitSet(form, &parameters) || parameters.isEmpty() || parameters.size() > 2
        || !parameters.first().toNumber(&first))
        return AtStatus::failed();
    const bool range = parameters.size() == 2;
    int last = first;
    if (range && !parameters.at(1).toNumber(&last))
        return AtStatus::failed();
    if (range && options.rangeReadRefused)
        return AtStatus::phoneFailed(AtStatus::kNotSupported);
    if (range && options.rangeReadHighest > 0 && last > options.rangeReadHighest)
        return AtStatus::phoneFailed(AtStatus::kInvalidIndex);
    if (!book.contains(first) || !book.contains(last))
        return AtStatus::phoneFailed(AtStatus::kInvalidIndex);
    if (last < first)
        return AtStatus::phoneFailed(AtStatus::kNotAllowed);
    if (!range && options.wrongIndex && first == options.wrongIndex->asked)
        first = last = options.wrongIndex->answered;

    const qsizetype linesBefore = lines->size();
    for (auto it = book.entries.lowerBound(first); it != book.entries.end() && it.key() <= last; ++it) {
        if (range && options.rangeReadCut > 0 && lines->size() - linesBefore == options.rangeReadCut)
            break;
        lines->append(SimEntryFields::answerLine(it.key(), it.value(), options, charset));
    }
    if (lines->size() == linesBefore && options.emptyPosition == SimOptions::EmptyPosition::NotFound)
        return AtStatus::phoneFailed(AtStatus::kNotFound);
    return {};
}

AtStatus SimPhonebookCommands::write(const QByteArray &form, const SimOptions &options, const SimCharset &charset,
                                     QList<QByteArray> *lines)
{
    SimPhonebook &book = m_phonebooks[m_selected];
    if (form == kTestForm) {
        if (options.writeQueryRefused)
            return AtStatus::failed();
        lines->append(kWriteCommand + ": (" + QByteArray::number(book.first) + '-' + QByteArray::number(book.last)
                      + ")," + QByteArray::number(book.numberLength) + ",("
                      + QByteArray::number(SimNumberType::National) + ','
                      + QByteArray::number(SimNumberType::International) + ")," + QByteArray::number(book.textLength));
        return {};
    }
    const bool ucs2 = charset.set() == SimCharset::Set::Ucs2;
    const bool keepsHex = ucs2 && options.ucs2WriteKeepsHex;
    // A phone that never decodes UCS2 takes its hex digits for the text.
    const SimCharset received = keepsHex ? SimCharset(SimCharset::Set::Latin1) : charset;
    QList<AtParameter> parameters;
    int index = 0;
    SimEntry entry;
    if (!AtParameters::splitSet(form, &parameters) || parameters.isEmpty() || !parameters.first().toNumber(&index)
        || !SimEntryFields::fromWrite(parameters, options, received, &entry))
        return AtStatus::failed();
    if (!book.contains(index))
        return AtStatus::phoneFailed(AtStatus::kInvalidIndex);
    if (entry.type == SimEntryFields::kTypeLeftOut)
        entry.type = entry.number.startsWith(SimNumberType::InternationalPrefix) ? SimNumberType::International
                                                                                 : SimNumberType::National;
    if (options.numbersAsDigits)
        entry.number = digitsWithType(entry.number, entry.type);
    if (entry.number.size() > book.numberLength)
        return AtStatus::phoneFailed(AtStatus::kDialStringTooLong);
    // The hex digits as they came must fit the field.
    if (ucs2 && options.ucs2NameInQuarterField && received.toLine(entry.text).size() > book.textLength)
        return AtStatus::phoneFailed(AtStatus::kTextTooLong);
    if (keepsHex)
        entry.text.truncate(book.textLength);
    if (entry.text.size() > book.textLength)
        return AtStatus::phoneFailed(AtStatus::kTextTooLong);

    m_written = true;
    if (entry.number.isEmpty() && entry.text.isEmpty()) {
        if (!options.ignoredClears)
            book.entries.remove(index);
        return {};
    }
    if (index == options.dropWrite && !m_writeDropped) {
        m_writeDropped = true;
        return {};
    }
    if (options.nameLimitUcs2 > 0 && ucs2)
        entry.text = firstCharacters(entry.text, options.nameLimitUcs2);
    if (options.firstFree && !book.entries.contains(index))
        index = firstEmpty(book);
    book.entries.insert(index, entry);
    return {};
}
