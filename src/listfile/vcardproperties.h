// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QLatin1String>
#include <QList>
#include <QString>

#include <algorithm>
#include <utility>

// The syntax of vCard files, all versions at once: content lines unfolded
// (and quoted-printable soft line breaks joined), each split into group,
// name, parameters and value, the value decoded from QUOTED-PRINTABLE or
// BASE64 and from its CHARSET into text, still escaped. What the
// properties mean is VCardReader's.
namespace VCardProperties {

using Parameter = std::pair<QByteArray, QByteArray>; // name in upper case, value

struct Property {
    QByteArray group;
    QByteArray name; // upper case
    QList<Parameter> parameters;
    QString value;   // decoded, still escaped

    QByteArray parameter(QByteArrayView wanted) const
    {
        for (const Parameter &p : parameters) {
            if (p.first == wanted)
                return p.second;
        }
        return QByteArray();
    }
    bool hasType(QLatin1String type) const
    {
        return std::any_of(parameters.cbegin(), parameters.cend(), [&](const Parameter &p) {
            return p.first == "TYPE" && QLatin1String(p.second).compare(type, Qt::CaseInsensitive) == 0;
        });
    }
};

using Card = QList<Property>;

// The cards of the file, each its properties; cards inside a card (2.1's
// AGENT) are passed over. A card ends at its END:VCARD; one that the next
// BEGIN:VCARD or the end of the file finds still open is left unfinished,
// its last value perhaps cut short: it is counted in unfinished, not given.
// Files joined with cat read as one: the byte-order mark that each begins
// with is set aside, and so is the missing line end of one that lacks it.
QList<Card> cardsOf(const QByteArray &bytes, int *unfinished);

}
