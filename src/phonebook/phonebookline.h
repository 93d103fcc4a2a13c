#pragma once

#include <QString>

// The phonebook lives as text lines in the two lists. A line is the
// position tag ("007/250"), " Ã ", the name field (exactly MAXCARNOM
// characters), " ³ ", the number field (exactly MAXCARNUM characters). The
// sorted layout has one more space after " Ã ".
namespace PhonebookLine {

inline constexpr QChar kPositionSeparator{0x00C3};
inline constexpr QChar kFieldSeparator{0x00B3};

enum class Layout { Read, Sorted };

struct Limits {
    int maxNumRub = 0; // highest position; its digit count is the index width
    int maxCarNom = 0; // name field width
    int maxCarNum = 0; // number field width
};

// Digits of the highest position (3 for 250); 0 while it is unset.
int indexWidth(int maxNumRub);

// "007/250" for position 7 of 250.
QString positionTag(int position, int maxNumRub);

// Text cut or space-padded to exactly width characters (UTF-16 units, as
// the edit boxes count them). A cut never splits a surrogate pair: a pair
// that does not fit is left out whole, and a space takes its place.
QString fixedField(const QString &text, int width);

QString build(int position, const QString &name, const QString &number,
              Layout layout, const Limits &limits);
QString emptySlot(int position, Layout layout, const Limits &limits);

// The name field, " ³ " and the number field, all spaces.
QString emptySlotTail(const Limits &limits);

// The decimal number at the start of text after leading spaces; 0 when
// there is none. "007" gives 7.
int leadingNumber(const QString &text);

// The fields of a line taken by its separators, as selecting it shows them.
struct Split {
    bool valid = false;  // false when the line lacks either separator
    QString tag;         // the position tag and the space after it
    QString name;        // trimmed of spaces
    QString number;      // trimmed of spaces
};
Split split(const QString &line);

// The entry position from the text of the position display: the leading
// number of its first indexWidth characters.
int positionFromTag(const QString &tagText, int maxNumRub);

}
