#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Writes demo-phone.txt, the demo phone memory: 150 entries scattered over
500 positions. Deterministic, so the committed file can be made again."""

FIRST = ["Alessandro", "Beatrice", "Carlo", "Daniela", "Enrico", "Francesca", "Giorgio",
         "Ilaria", "Leonardo", "Martina", "Nicolò", "Olga", "Pietro", "Rita", "Salvatore",
         "Teresa", "Umberto", "Vittoria", "Zeno", "Agnese", "Bruno", "Cecilia", "Dario",
         "Elena", "Fabrizio"]
LAST = ["Rossi", "Russo", "Ferrari", "Esposito", "Bianchi", "Romano", "Colombo", "Ricci",
        "Marino", "Greco", "Bruno", "Gallo", "Conti", "De Luca", "Mancini", "Costa",
        "Giordano", "Rizzo", "Lombardi", "Moretti", "Barbieri", "Fontana", "Santoro", "Mariani"]
# Country code and the start of the national number, which has 10 digits
# (Swiss and German numbers 9).
PREFIXES = [("+39", "333"), ("+39", "347"), ("+39", "328"), ("", "335"), ("", "340"),
            ("", "06"), ("", "02"), ("", "011"), ("+41", "7"), ("+49", "30")]


class Lcg:
    def __init__(self, seed):
        self.state = seed

    def next(self, bound):
        self.state = (self.state * 1103515245 + 12345) % 2**31
        return (self.state >> 8) % bound


def main():
    rng = Lcg(20240501)
    positions = set()
    while len(positions) < 150:
        positions.add(1 + rng.next(500))
    names = set()
    lines = ["# The demo phone memory, made by make-demo-phone.py: do not edit by hand.",
             "[ME]\t500\t40\t20"]
    for position in sorted(positions):
        while True:
            name = FIRST[rng.next(len(FIRST))] + " " + LAST[rng.next(len(LAST))]
            if rng.next(5) == 0:
                name = name.upper()
            if name not in names and len(name) <= 20:
                break
        names.add(name)
        country, start = PREFIXES[rng.next(len(PREFIXES))]
        digits = 10 if country in ("", "+39") else 9
        number = country + start + "".join(str(rng.next(10)) for _ in range(digits - len(start)))
        kind = 145 if number.startswith("+") else 129
        lines.append(f"{position}\t{number}\t{kind}\t{name}")
    with open("demo-phone.txt", "w", encoding="utf-8") as out:
        out.write("\n".join(lines) + "\n")


main()
