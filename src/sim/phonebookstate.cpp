// SPDX-License-Identifier: GPL-3.0-or-later
#include "phonebookstate.h"

#include <QFile>
#include <QRegularExpression>
#include <QSaveFile>
#include <QStringList>

static void initialiseDemoResources()
{
    Q_INIT_RESOURCE(sim);
}

namespace {

constexpr QChar kComment = QLatin1Char('#');
constexpr QChar kFieldSeparator = QLatin1Char('\t');
constexpr QChar kEscape = QLatin1Char('\\');
const QString kLineEnd = QStringLiteral("\n");

const QStringList kStorages = {SimStorage::Sim, SimStorage::PhoneMemory};
const QStringList kDemoFiles = {QStringLiteral(":/sim/demo-sim.txt"), QStringLiteral(":/sim/demo-phone.txt")};

constexpr int kHighestType = 255;
constexpr int kHighestHidden = 1;

// The fields of an entry line; those after the text are optional.
enum EntryField {
    kIndexField,
    kNumberField,
    kTypeField,
    kTextField,
    kGroupField,
    kAdNumberField,
    kAdTypeField,
    kSecondTextField,
    kEmailField,
    kSipUriField,
    kTelUriField,
    kHiddenField,
    kEntryFieldCount,
};

const QRegularExpression kHeader(QStringLiteral("^\\[(\\w+)\\]\\s+(\\d{1,6})\\s+(\\d{1,4})\\s+(\\d{1,4})(?:\\s+(\\d{1,6}))?\\s*$"));

QString escaped(const QString &text)
{
    QString out;
    for (QChar c : text) {
        if (c == kEscape)
            out += QStringLiteral("\\\\");
        else if (c == QLatin1Char('\t'))
            out += QStringLiteral("\\t");
        else if (c == QLatin1Char('\n'))
            out += QStringLiteral("\\n");
        else if (c == QLatin1Char('\r'))
            out += QStringLiteral("\\r");
        else
            out += c;
    }
    return out;
}

bool unescape(const QString &text, QString *out)
{
    out->clear();
    for (int i = 0; i < text.size(); ++i) {
        if (text.at(i) != kEscape) {
            out->append(text.at(i));
            continue;
        }
        if (++i == text.size())
            return false;
        switch (text.at(i).unicode()) {
        case '\\': out->append(kEscape); break;
        case 't': out->append(QLatin1Char('\t')); break;
        case 'n': out->append(QLatin1Char('\n')); break;
        case 'r': out->append(QLatin1Char('\r')); break;
        default: return false;
        }
    }
    return true;
}

bool fail(QString *why, int lineNumber, const QString &what)
{
    if (why)
        *why = QStringLiteral("line %1: %2").arg(lineNumber).arg(what);
    return false;
}

bool toNumber(const QString &text, int *number)
{
    bool ok = false;
    *number = text.toInt(&ok);
    return ok && !text.startsWith(QLatin1Char('+')) && !text.startsWith(QLatin1Char('-'));
}

// An optional number no greater than highest; an empty field is 0.
bool toOptionalNumber(const QString &text, int highest, int *number)
{
    *number = 0;
    return text.isEmpty() || (toNumber(text, number) && *number <= highest);
}

bool parseEntry(const QStringList &fields, int *index, SimEntry *entry)
{
    return fields.size() > kTextField && fields.size() <= kEntryFieldCount
        && toNumber(fields.at(kIndexField), index) && toNumber(fields.at(kTypeField), &entry->type)
        && entry->type <= kHighestType && unescape(fields.at(kNumberField), &entry->number)
        && unescape(fields.at(kTextField), &entry->text) && unescape(fields.value(kGroupField), &entry->group)
        && unescape(fields.value(kAdNumberField), &entry->adNumber)
        && toOptionalNumber(fields.value(kAdTypeField), kHighestType, &entry->adType)
        && unescape(fields.value(kSecondTextField), &entry->secondText)
        && unescape(fields.value(kEmailField), &entry->email) && unescape(fields.value(kSipUriField), &entry->sipUri)
        && unescape(fields.value(kTelUriField), &entry->telUri)
        && toOptionalNumber(fields.value(kHiddenField), kHighestHidden, &entry->hidden);
}

QString optionalNumber(int number)
{
    return number ? QString::number(number) : QString();
}

// Trailing empty fields are left out, so an entry without USIM fields keeps
// the four of the old files.
QString entryLine(int index, const SimEntry &entry)
{
    QStringList fields = {QString::number(index),       escaped(entry.number),     QString::number(entry.type),
                          escaped(entry.text),          escaped(entry.group),      escaped(entry.adNumber),
                          optionalNumber(entry.adType), escaped(entry.secondText), escaped(entry.email),
                          escaped(entry.sipUri),        escaped(entry.telUri),     optionalNumber(entry.hidden)};
    while (fields.size() > kTextField + 1 && fields.last().isEmpty())
        fields.removeLast();
    return fields.join(kFieldSeparator) + kLineEnd;
}

} // namespace

bool PhonebookState::parse(const QByteArray &utf8, SimPhonebooks *phonebooks, QString *why)
{
    SimPhonebooks books;
    SimPhonebook *book = nullptr;
    const QStringList lines = QString::fromUtf8(utf8).split(QLatin1Char('\n'));
    for (int n = 0; n < lines.size(); ++n) {
        QString line = lines.at(n);
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
        if (line.trimmed().isEmpty() || line.startsWith(kComment))
            continue;
        const int lineNumber = n + 1;

        if (line.startsWith(QLatin1Char('['))) {
            const QRegularExpressionMatch header = kHeader.match(line);
            if (!header.hasMatch())
                return fail(why, lineNumber, QStringLiteral("bad storage header"));
            const QString name = header.captured(1);
            if (!kStorages.contains(name))
                return fail(why, lineNumber, QStringLiteral("unknown storage %1").arg(name));
            if (books.contains(name))
                return fail(why, lineNumber, QStringLiteral("storage %1 given twice").arg(name));
            SimPhonebook fresh;
            fresh.last = header.captured(2).toInt();
            fresh.numberLength = header.captured(3).toInt();
            fresh.textLength = header.captured(4).toInt();
            if (header.hasCaptured(5))
                fresh.first = header.captured(5).toInt();
            if (fresh.first < 1 || fresh.last < fresh.first)
                return fail(why, lineNumber, QStringLiteral("bad index range"));
            book = &books.insert(name, fresh).value();
            continue;
        }

        if (!book)
            return fail(why, lineNumber, QStringLiteral("entry before any storage header"));
        const QStringList fields = line.split(kFieldSeparator);
        int index = 0;
        SimEntry entry;
        if (!parseEntry(fields, &index, &entry))
            return fail(why, lineNumber, QStringLiteral("bad entry"));
        if (!book->contains(index))
            return fail(why, lineNumber, QStringLiteral("index %1 out of range").arg(index));
        if (book->entries.contains(index))
            return fail(why, lineNumber, QStringLiteral("index %1 given twice").arg(index));
        if (entry.number.size() > book->numberLength || entry.text.size() > book->textLength)
            return fail(why, lineNumber, QStringLiteral("entry %1 longer than the storage allows").arg(index));
        if (entry.number.isEmpty() && entry.text.isEmpty())
            return fail(why, lineNumber, QStringLiteral("entry %1 is empty").arg(index));
        book->entries.insert(index, entry);
    }
    *phonebooks = books;
    return true;
}

QByteArray PhonebookState::format(const SimPhonebooks &phonebooks)
{
    QString text = QStringLiteral("# [storage] highest number-length text-length lowest\n"
                                  "# index<TAB>number<TAB>type<TAB>text[<TAB>group<TAB>adnumber<TAB>adtype"
                                  "<TAB>secondtext<TAB>email<TAB>sip<TAB>tel<TAB>hidden]\n");
    for (const QString &name : kStorages) {
        const auto book = phonebooks.constFind(name);
        if (book == phonebooks.cend())
            continue;
        text += QStringLiteral("[%1]\t%2\t%3\t%4\t%5")
                    .arg(name)
                    .arg(book->last)
                    .arg(book->numberLength)
                    .arg(book->textLength)
                    .arg(book->first)
              + kLineEnd;
        for (auto entry = book->entries.cbegin(); entry != book->entries.cend(); ++entry)
            text += entryLine(entry.key(), entry.value());
    }
    return text.toUtf8();
}

bool PhonebookState::load(const QString &path, SimPhonebooks *phonebooks, QString *why)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        if (why)
            *why = file.errorString();
        return false;
    }
    QString problem;
    if (!parse(file.readAll(), phonebooks, &problem)) {
        if (why)
            *why = path + QStringLiteral(", ") + problem;
        return false;
    }
    return true;
}

bool PhonebookState::save(const QString &path, const SimPhonebooks &phonebooks, QString *why)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(format(phonebooks)) < 0 || !file.commit()) {
        if (why)
            *why = file.errorString();
        return false;
    }
    return true;
}

SimPhonebooks PhonebookState::demo()
{
    initialiseDemoResources();
    SimPhonebooks books;
    for (const QString &path : kDemoFiles) {
        SimPhonebooks part;
        QFile file(path);
        QString why;
        if (!file.open(QIODevice::ReadOnly) || !parse(file.readAll(), &part, &why))
            qWarning("demo phonebook %s: %s", qPrintable(path), qPrintable(why));
        books.insert(part);
    }
    return books;
}
