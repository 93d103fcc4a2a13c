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
// AGENT) are passed over. A card the file ends in before closing it is
// counted in unfinished, not given.
QList<Card> cardsOf(const QByteArray &bytes, int *unfinished);

}
