// SPDX-License-Identifier: GPL-3.0-or-later
// The bytes of a fields file beside a list the user loads: refused, or
// fields for the list's lines that save and load again unchanged.
#include "fieldsfile.h"
#include "fuzzcheck.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes = Fuzz::bytesFrom(data, size);
    // The first byte picks how many lines the list has.
    const qsizetype lineCount = bytes.isEmpty() ? 0 : uchar(bytes.at(0)) % 16;
    const std::optional<QList<UsimFields>> fields = FieldsFile::decode(bytes.mid(1), lineCount);
    if (!fields)
        return 0;
    Fuzz::check(fields->size() == lineCount, "one record for every line");
    PhonebookEntries entries;
    for (const UsimFields &f : *fields) {
        PhonebookEntry entry;
        entry.fields = f;
        entries.append(entry);
    }
    if (!FieldsFile::anyFields(entries))
        return 0;
    const std::optional<QList<UsimFields>> again = FieldsFile::decode(FieldsFile::encode(entries), lineCount);
    Fuzz::check(again == fields, "save and load keep every field");
    return 0;
}
