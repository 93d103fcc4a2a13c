// The list line: a click on any line of either list (a loaded file may hold
// anything) splits it into the edit boxes and reads a position from its tag,
// and the write-back splits every sorted line it built.
#include "fuzzcheck.h"
#include "phonebookline.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <climits>

using PhonebookLine::Layout;
using PhonebookLine::Limits;

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

void checkAnyLine(const QString &line, int maxNumRub)
{
    const PhonebookLine::Split split = PhonebookLine::split(line);
    if (split.valid) {
        Fuzz::check(line.startsWith(split.tag), "the tag is the start of the line");
        Fuzz::check(!split.tag.contains(PhonebookLine::kPositionSeparator), "the tag stops at its separator");
        Fuzz::check(!hasSpaceAtAnEnd(split.name) && !hasSpaceAtAnEnd(split.number),
                    "name and number come without the padding");
        Fuzz::check(line.contains(split.number), "the number is text of the line");
    }
    Fuzz::check(PhonebookLine::leadingNumber(line) >= 0, "leadingNumber is never negative");
    Fuzz::check(PhonebookLine::positionFromTag(line, maxNumRub) >= 0, "a position is never negative");
}

QString fieldFrom(FuzzedDataProvider &provider, size_t most)
{
    return spaceTrimmed(
        SingleByteCodec::decode(QByteArray::fromStdString(provider.ConsumeRandomLengthString(most))));
}

// A line built from the fuzzer's entry keeps its columns and splits back into
// the entry, cut to the field widths.
void checkBuiltLine(FuzzedDataProvider &provider)
{
    const int maxNumRub = provider.ConsumeIntegralInRange<int>(0, 100000);
    const int position = provider.ConsumeIntegralInRange<int>(1, std::max(1, maxNumRub));
    const Limits limits{maxNumRub, provider.ConsumeIntegralInRange<int>(-1, 300),
                        provider.ConsumeIntegralInRange<int>(-1, 300)};
    const Layout layout = provider.ConsumeBool() ? Layout::Sorted : Layout::Read;
    const QString name = fieldFrom(provider, 400);
    const QString number = fieldFrom(provider, 400);
    // The name cannot hold the separator that ends it.
    if (name.contains(PhonebookLine::kFieldSeparator))
        return;

    const QString line = PhonebookLine::build(position, name, number, layout, limits);
    const QString tag = PhonebookLine::positionTag(position, maxNumRub);
    const qsizetype columns = tag.size() + 6 + (layout == Layout::Sorted ? 1 : 0)
        + std::max(0, limits.maxCarNom) + std::max(0, limits.maxCarNum);
    Fuzz::check(line.size() == columns, "a built line keeps its columns");

    const PhonebookLine::Split split = PhonebookLine::split(line);
    Fuzz::check(split.valid, "a built line splits");
    Fuzz::check(split.tag == tag + QLatin1Char(' '), "the tag comes back");
    Fuzz::check(split.name == spaceTrimmed(name.left(std::max(0, limits.maxCarNom))), "the name comes back");
    Fuzz::check(split.number == spaceTrimmed(number.left(std::max(0, limits.maxCarNum))), "the number comes back");
    if (maxNumRub > 0)
        Fuzz::check(PhonebookLine::positionFromTag(split.tag, maxNumRub) == position, "the position comes back");
}

void checkLeadingNumber(FuzzedDataProvider &provider, const QString &rest)
{
    const int value = provider.ConsumeIntegralInRange<int>(0, INT_MAX);
    const int spaces = provider.ConsumeIntegralInRange<int>(0, 3);
    if (!rest.isEmpty() && rest.at(0).unicode() >= '0' && rest.at(0).unicode() <= '9')
        return;
    const QString text = QString(spaces, QLatin1Char(' ')) + QString::number(value) + rest;
    Fuzz::check(PhonebookLine::leadingNumber(text) == value, "leadingNumber reads the digits back");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString line = Fuzz::textFrom(data, size);
    FuzzedDataProvider provider(data, size);
    checkAnyLine(line, provider.ConsumeIntegralInRange<int>(-1, 100000));
    checkLeadingNumber(provider, line);
    checkBuiltLine(provider);
    return 0;
}
