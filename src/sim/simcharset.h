// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

// The character sets the simulated phone takes with +CSCS. The phone keeps
// its texts as text and converts them here, on its own, so that a fault in
// the program's conversion shows up against it instead of being made twice.
class SimCharset {
public:
    enum class Set {
        // International Reference Alphabet: 7-bit ASCII.
        Ira,
        // 3GPP TS 23.038 septets, one a byte.
        Gsm,
        // Hex digits of UTF-16, four for each code unit.
        Ucs2,
        Latin1,
    };

    explicit SimCharset(Set set = Set::Ira) : m_set(set) {}

    // The set a +CSCS name stands for, in any case; nullopt for another name.
    static std::optional<SimCharset> named(const QString &name);
    QString name() const;
    Set set() const { return m_set; }

    // A text as received between the quotes of a command; nullopt when the
    // bytes are not a text of the set.
    std::optional<QString> toText(const QByteArray &received) const;

    // A text as the phone sends it: a character the set lacks goes as "?",
    // as phones do.
    QByteArray toLine(const QString &text) const;

private:
    // The bytes of one character of the basic plane; empty when the set of
    // one byte a character lacks it.
    QByteArray bytesOf(char16_t character) const;
    std::optional<QString> ucs2Text(const QByteArray &digits) const;
    QByteArray ucs2Line(const QString &text) const;

    Set m_set;
};
