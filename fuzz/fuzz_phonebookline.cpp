// SPDX-License-Identifier: GPL-3.0-or-later
// The list line: a loaded file may hold anything, and every line is parsed
// into the entry it shows; every line drawn from an entry parses back into
// it, cut to the field widths.
#include "fuzzcheck.h"
#include "phonebookline.h"
#include "textrules.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <climits>

using PhonebookLine::Layout;

namespace {

QString spaceTrimmed(const QString &text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && text.at(begin) == QLatin1Char(' '))
        ++begin;
    while (end > begin && text.at(end - 1) == QLatin1Char(' '))
        --end;
    return text.mid(begin, end - begin);
}

bool hasSpaceAtAnEnd(const QString &text)
{
    return text.startsWith(QLatin1Char(' ')) || text.endsWith(QLatin1Char(' '));
}

void checkAnyLine(const QString &line)
{
    const std::optional<PhonebookLine::Parsed> parsed = PhonebookLine::parse(line);
    if (parsed) {
        const PhonebookEntry &entry = parsed->entry;
        Fuzz::check(entry.position >= 0 && parsed->limits.MAXNUMRUB >= 0, "a position is never negative");
        Fuzz::check(parsed->limits.MAXCARNOM >= 0 && parsed->limits.MAXCARNUM >= 0, "widths are never negative");
        Fuzz::check(!hasSpaceAtAnEnd(entry.name) && !hasSpaceAtAnEnd(entry.number),
                    "name and number come without the padding");
        Fuzz::check(line.contains(entry.number), "the number is text of the line");
    }
    Fuzz::check(TextRules::leadingNumber(line) >= 0, "leadingNumber is never negative");
}

QString fieldFrom(FuzzedDataProvider &provider, size_t most)
{
    return spaceTrimmed(
        SingleByteCodec::decode(QByteArray::fromStdString(provider.ConsumeRandomLengthString(most))));
}

// A line drawn from the fuzzer's entry keeps its columns and parses back into
// the entry, cut to the field widths.
void checkDrawnLine(FuzzedDataProvider &provider)
{
    const int maxNumRub = provider.ConsumeIntegralInRange<int>(0, 100000);
    PhonebookEntry entry;
    entry.position = provider.ConsumeIntegralInRange<int>(1, std::max(1, maxNumRub));
    const PhonebookLimits limits{maxNumRub, provider.ConsumeIntegralInRange<int>(-1, 300),
                        provider.ConsumeIntegralInRange<int>(-1, 300)};
    const Layout layout = provider.ConsumeBool() ? Layout::Sorted : Layout::Read;
    entry.name = fieldFrom(provider, 400);
    entry.number = fieldFrom(provider, 400);
    // The name cannot hold the separator that ends it.
    if (entry.name.contains(PhonebookLine::kFieldSeparator))
        return;

    const QString line = PhonebookLine::draw(entry, layout, limits);
    const QString tag = PhonebookLine::positionTag(entry.position, maxNumRub);
    const qsizetype columns = tag.size() + 6 + (layout == Layout::Sorted ? 1 : 0)
        + std::max(0, limits.MAXCARNOM) + std::max(0, limits.MAXCARNUM);
    Fuzz::check(line.size() == columns, "a drawn line keeps its columns");

    const std::optional<PhonebookLine::Parsed> parsed = PhonebookLine::parse(line);
    Fuzz::check(parsed.has_value(), "a drawn line parses");
    const PhonebookEntry shown = PhonebookLine::shown(entry, limits);
    Fuzz::check(parsed->entry.name == shown.name, "the name comes back");
    Fuzz::check(parsed->entry.number == shown.number, "the number comes back");
    if (maxNumRub > 0)
        Fuzz::check(parsed->entry.position == entry.position, "the position comes back");
    if (layout == Layout::Sorted && limits.MAXCARNOM >= 0 && limits.MAXCARNUM >= 0) {
        Fuzz::check(parsed->limits == limits, "the limits come back");
        Fuzz::check(PhonebookLine::draw(parsed->entry, layout, parsed->limits) == line, "the line is drawn again");
    }
}

void checkLeadingNumber(FuzzedDataProvider &provider, const QString &rest)
{
    const int value = provider.ConsumeIntegralInRange<int>(0, INT_MAX);
    const int spaces = provider.ConsumeIntegralInRange<int>(0, 3);
    if (!rest.isEmpty() && rest.at(0).unicode() >= '0' && rest.at(0).unicode() <= '9')
        return;
    const QString text = QString(spaces, QLatin1Char(' ')) + QString::number(value) + rest;
    Fuzz::check(TextRules::leadingNumber(text) == value, "leadingNumber reads the digits back");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString line = Fuzz::textFrom(data, size);
    FuzzedDataProvider provider(data, size);
    checkAnyLine(line);
    checkLeadingNumber(provider, line);
    checkDrawnLine(provider);
    return 0;
}
