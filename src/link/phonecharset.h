// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

// The character set in which the phone puts the texts of its phonebook on
// the line (+CSCS): it turns the bytes the phone sent into the program's
// text, and the text into the bytes the phone reads.
class PhoneCharset {
public:
    enum class Set { Windows1252, Ira, Latin1, Pc437, Utf8, Ucs2, Gsm, Hex };

    // Windows-1252 single bytes: what the program uses when the phone does
    // not say which set it has.
    PhoneCharset() = default;
    explicit PhoneCharset(Set set) : m_set(set) {}

    // The set a +CSCS name stands for ("UCS2", "8859-1" ...); nullopt for
    // a name the program does not know.
    static std::optional<PhoneCharset> named(const QByteArray &name);

    Set set() const { return m_set; }
    // The +CSCS name; empty for Windows-1252, which has none.
    QByteArray name() const;
    // Texts are hex digits, which some phones send without quotes.
    bool isHex() const { return m_set == Set::Ucs2 || m_set == Set::Hex; }

    // A text as received into the program's text; nullopt when it is not
    // valid in the set (odd hex, a broken escape, a byte the set lacks).
    std::optional<QString> decode(const QByteArray &received) const;

    // The program's text as the phone itself puts it on the line; nullopt
    // when the set cannot carry a character of it, or the text holds half
    // a surrogate pair. Whether it may go in a command is the command's own
    // rule (PhonebookCommands).
    std::optional<QByteArray> onLine(const QString &text) const;

    bool operator==(const PhoneCharset &other) const { return m_set == other.m_set; }
    bool operator!=(const PhoneCharset &other) const { return m_set != other.m_set; }

private:
    Set m_set = Set::Windows1252;
};
