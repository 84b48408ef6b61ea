#!/usr/bin/env python3
"""Writes a large city file for measuring: N places, one a line, "Name, latitude, longitude".

Usage: tools/make-cities.py N [OUTPUT]        (OUTPUT defaults to standard output)

The names are made of syllables, so that they begin with every letter in about the proportions
of real place names and share prefixes as real lists do; one in twelve carries an accented
letter, one in twenty is in double quotes with a comma inside, and one in fifty repeats an
earlier name (merged lists hold duplicates). Coordinates have four decimals and are never zero,
so every line is one city. The same N always gives the same file (fixed seed). UTF-8, LF line
ends; a million lines make about 30 MB.
"""
import random
import sys

SYLLABLES = ("sa", "la", "ma", "ri", "to", "ven", "bor", "ne", "pa", "lis", "ka", "dor", "mi",
             "an", "ber", "go", "sto", "ha", "fe", "cas", "tel", "vi", "lo", "un", "ru", "qui",
             "ze", "jo", "wa", "yel", "ox", "chi", "gra", "pre", "du")
ACCENTED = ("é", "è", "ç", "ü", "ö", "å", "ñ", "â")


def name(rng):
    word = "".join(rng.choice(SYLLABLES) for _ in range(rng.randint(2, 4)))
    if rng.random() < 1 / 12:
        at = rng.randrange(1, len(word))
        word = word[:at] + rng.choice(ACCENTED) + word[at + 1:]
    word = word.capitalize()
    if rng.random() < 0.3:
        word += " " + "".join(rng.choice(SYLLABLES) for _ in range(2)).capitalize()
    return word


def coordinate(rng, limit):
    value = round(rng.uniform(-limit, limit), 4)
    return value if value != 0 else 0.5


def main():
    if len(sys.argv) not in (2, 3) or not sys.argv[1].isdigit():
        sys.exit(__doc__)
    count = int(sys.argv[1])
    rng = random.Random(42)
    out = open(sys.argv[2], "w", encoding="utf-8", newline="\n") if len(sys.argv) == 3 else sys.stdout
    names = []
    lines = []
    for k in range(count):
        if names and rng.random() < 1 / 50:
            city = rng.choice(names)
        else:
            city = name(rng)
            if len(names) < 10000:
                names.append(city)
        shown = f'"{city}, {rng.choice(SYLLABLES).upper()}"' if rng.random() < 1 / 20 else city
        lines.append(f"{shown}, {coordinate(rng, 89.9):.4f}, {coordinate(rng, 179.9):.4f}\n")
        if len(lines) >= 65536:
            out.writelines(lines)
            lines.clear()
    out.writelines(lines)
    out.close()


if __name__ == "__main__":
    main()
