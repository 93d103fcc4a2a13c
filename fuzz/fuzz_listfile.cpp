// SPDX-License-Identifier: GPL-3.0-or-later
// The bytes of a list file as "LOAD LISTA ORDINATA" reads them: whatever file
// the user picks, it is refused or taken line by line, read as a list that
// draws the same lines again, and saving the lines again gives the file back
// with only its line ends made CR LF.
#include "fuzzcheck.h"
#include "listfilecodec.h"
#include "listfilelayout.h"

namespace {

// The file as a save of its own lines writes it.
QByteArray withCrLfEnds(const QByteArray &bytes)
{
    QByteArray out;
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        if (bytes.at(i) == '\n' && (i == 0 || bytes.at(i - 1) != '\r'))
            out += '\r';
        out += bytes.at(i);
    }
    if (!out.isEmpty() && !out.endsWith('\n'))
        out += "\r\n";
    return out;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes = Fuzz::bytesFrom(data, size);
    const std::optional<QStringList> lines = ListFileCodec::decode(bytes);
    if (lines)
        Fuzz::check(ListFileLayout::draw(ListFileLayout::read(*lines)) == *lines,
                    "a list draws the lines it was read from");
    if (bytes.startsWith("\xEF\xBB\xBF")) {
        // A UTF-8 list may be saved back in Windows-1252, but its text stays.
        if (lines)
            Fuzz::check(ListFileCodec::decode(ListFileCodec::encode(*lines)) == lines,
                        "load and save keep every character");
        return 0;
    }
    Fuzz::check(lines.has_value() == !bytes.contains('\0'), "exactly a file with a NUL byte is refused");
    if (!lines)
        return 0;

    const qsizetype unended = !bytes.isEmpty() && !bytes.endsWith('\n') ? 1 : 0;
    Fuzz::check(lines->size() == bytes.count('\n') + unended, "every LF ends one line");
    for (const QString &line : *lines)
        Fuzz::check(!line.contains(QLatin1Char('\n')), "no line holds a line end");
    Fuzz::check(ListFileCodec::encode(*lines) == withCrLfEnds(bytes), "load and save keep every byte");
    return 0;
}
