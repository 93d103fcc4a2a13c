// SPDX-License-Identifier: GPL-3.0-or-later
// The bytes of a vCard file the user loads: whatever comes in is numbers a
// phone dials, names without control characters, positions in file order,
// and saving the entries and loading them again gives the same entries
// (a shared card may move entries of one name together) with none skipped.
#include "fuzzcheck.h"
#include "vcardreader.h"
#include "vcardwriter.h"

#include <algorithm>
#include <tuple>

namespace {

bool dialled(const QString &number)
{
    return !number.isEmpty() && std::all_of(number.cbegin(), number.cend(), [](QChar c) {
        return (c >= u'0' && c <= u'9') || QStringLiteral("+*#pwPW").contains(c);
    });
}

bool holdsControl(const QString &text)
{
    return std::any_of(text.cbegin(), text.cend(), [](QChar c) { return c.unicode() < 0x20 || c == u'\x7F'; });
}

auto key(const PhonebookEntry &e)
{
    const UsimFields &f = e.fields;
    return std::tie(e.name, e.number, e.type, f.hidden, f.group, f.adNumber, f.adType, f.secondText, f.email,
                    f.sipUri, f.telUri, f.unknownForm);
}

PhonebookEntries sorted(PhonebookEntries entries)
{
    for (PhonebookEntry &e : entries)
        e.position = 0;
    std::sort(entries.begin(), entries.end(),
              [](const PhonebookEntry &a, const PhonebookEntry &b) { return key(a) < key(b); });
    return entries;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const VCardReader::Result read = VCardReader::read(Fuzz::bytesFrom(data, size));
    Fuzz::check(read.skipped >= 0, "a count of what was skipped");
    for (qsizetype i = 0; i < read.entries.size(); ++i) {
        const PhonebookEntry &e = read.entries.at(i);
        Fuzz::check(e.position == i + 1, "positions in file order");
        Fuzz::check(dialled(e.number), "a number a phone dials");
        Fuzz::check(e.fields.adNumber.isEmpty() || dialled(e.fields.adNumber), "a second number a phone dials");
        Fuzz::check(!holdsControl(e.name), "a name without control characters");
    }

    const VCardReader::Result again = VCardReader::read(VCardWriter::write(read.entries));
    Fuzz::check(again.skipped == 0, "nothing of a saved list is skipped");
    Fuzz::check(sorted(again.entries) == sorted(read.entries), "save and load keep every entry");
    return 0;
}
