#pragma once

#include "phonecharset.h"
#include "usimfields.h"

#include <QString>

#include <optional>

// The USIM fields of a phonebook entry as they travel after its text: in
// +CPBR answers hidden, group, second number and its type, second text,
// e-mail, SIP URI, TEL URI. (+CPBW takes them in another order; see
// PhonebookCommands.)
namespace UsimAnswer {

// The fields in what an entry answer holds after its name
// (",1,\"FAMIGLIA\",\"393471112233\",145"). Any of them may be empty or
// missing at the end. Text that is not in this form is kept whole as
// unknownForm. The texts are turned from the phone's character set; nullopt
// when one is not valid in it.
std::optional<UsimFields> parseFields(const QString &rest, const PhoneCharset &charset);

}
