#!/usr/bin/env python3
"""Writes the licence text the Windows packages carry for the hyphenation they ship: libhyphen,
compiled into the programs from Debian's source package, and the German patterns of Debian's
hyphen-de, each cited from Debian's copyright file.

Usage: hyphenlicence.py HYPHEN_SOURCE_COPYRIGHT HYPHEN_DE_COPYRIGHT OUTPUT
"""
import sys


def paragraphs(path):
    with open(path, encoding="utf-8") as file:
        return [p for p in file.read().split("\n\n") if p.strip()]


def main():
    hyphen, hyphen_de, output = sys.argv[1:4]
    german = [p for p in paragraphs(hyphen_de)
              if p.startswith("Files: dictionaries/de/hyph_de_") or p.startswith("License: LGPL-2+\n")]
    if len(german) != 2:
        sys.exit(f"{hyphen_de} has no paragraph on dictionaries/de/hyph_de_* with its licence")
    text = [
        "Silbentrennung / Hyphenation",
        "",
        "Long words in the table and on labels are broken where a German hyphenation dictionary",
        "allows. The programs contain libhyphen, compiled from Debian's source package hyphen",
        "2.8.8-7; hyphen/hyph_de_DE.dic beside them holds the German patterns of Debian's package",
        "hyphen-de. LGPL-2.1.txt beside this file is the licence text both are used under here.",
        "",
        "=== libhyphen: debian/copyright of Debian's source package hyphen 2.8.8-7 ===",
        "",
        "\n\n".join(paragraphs(hyphen)),
        "",
        "=== hyph_de_DE.dic: /usr/share/doc/hyphen-de/copyright of Debian's hyphen-de ===",
        "",
        "\n\n".join(german),
        "",
    ]
    with open(output, "w", encoding="utf-8", newline="\r\n") as file:
        file.write("\n".join(text))


if __name__ == "__main__":
    main()
