#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Reads a vCard file with python3-vobject, a reader independent of the
program's, and prints its cards as JSON: for each card a list of its
properties, each [group, NAME, {PARAMETER: [values]}, value], the value a
text (N: the family name; CATEGORIES: the categories joined by commas).
Exits non-zero when vobject refuses the file or a card lacks VERSION, N or FN."""
import json
import sys

import vobject


def value_of(prop):
    if prop.name == "N":
        return prop.value.family
    if isinstance(prop.value, list):
        return ",".join(prop.value)
    return prop.value


def main(path):
    with open(path, "rb") as f:
        text = f.read().decode("utf-8")
    cards = []
    for card in vobject.readComponents(text):
        names = {child.name for child in card.getChildren()}
        missing = {"VERSION", "N", "FN"} - names
        if card.name != "VCARD" or missing:
            sys.exit("card %d lacks %s" % (len(cards) + 1, ", ".join(sorted(missing))))
        cards.append([[child.group or "", child.name, child.params, value_of(child)]
                      for child in card.getChildren()])
    json.dump(cards, sys.stdout, ensure_ascii=False)


if __name__ == "__main__":
    main(sys.argv[1])
