#include "phonebookreadrun.h"

#include "pairentries.h"
#include "phonebookread.h"

PhonebookReadRun::PhonebookReadRun()
    : vars(earlierRead())
{
    list1.setEntries(pairEntries({"LEFT FROM|1", "AN EARLIER READ|2"}), PhonebookLine::Layout::Read,
                     vars.lineLimits());
    list2.setEntries(pairEntries({"A SORTED LIST|3"}), PhonebookLine::Layout::Sorted, vars.lineLimits());
}

bool PhonebookReadRun::openLink(std::chrono::milliseconds deadline, QString *why)
{
    link = std::make_unique<PhoneLink>(deadline);
    return link->open(phone.device(), why) == PortOpening::Opened;
}

void PhonebookReadRun::read(int selector)
{
    outcome = LegRub(selector, *link, vars, list1, list2, report, [this] { limitsSeen.append(vars); });
}

FormVariables earlierRead()
{
    FormVariables vars;
    vars.MAXNUMRUB = 3;
    vars.MAXCARNOM = 5;
    vars.MAXCARNUM = 6;
    vars.phonebook = Phonebooks::kSim;
    return vars;
}

QMap<int, ScriptedPhonebook::Entry> someEntries()
{
    return {
        {2, {"+393331234567", 145, "MARIO ROSSI"}},
        // The phone dropped the "+" of an international number.
        {3, {"393401112222", 145, "ZIO PAOLO"}},
        {5, {"", 129, "SOLO NOME"}},
        {7, {"0612345679", 129, ""}},
        {9, {"*100#", 129, "A NAME LONGER THAN ANY FIELD"}},
    };
}

QStringList expectedLines(int highest, const PhonebookLine::Limits &limits, bool withEntries)
{
    QStringList lines;
    const auto entries = someEntries();
    for (int i = 1; i <= highest; ++i) {
        PhonebookEntry entry;
        entry.position = i;
        if (withEntries && entries.contains(i)) {
            entry.name = QString::fromLatin1(entries[i].name);
            entry.number = QString::fromLatin1(entries[i].number);
            if (entries[i].type == 145 && !entry.number.isEmpty() && !entry.number.startsWith('+'))
                entry.number.prepend('+');
        }
        lines.append(PhonebookLine::draw(entry, PhonebookLine::Layout::Read, limits));
    }
    return lines;
}

QStringList positionReads(int from, int to)
{
    QStringList commands;
    for (int i = from; i <= to; ++i)
        commands.append("+CPBR=" + QString::number(i));
    return commands;
}
