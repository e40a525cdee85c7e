#!/usr/bin/env python3
"""Turns gLabels' template files into the program's table of label sheets.

Usage: labeltemplates.py TEMPLATE_FOLDER OUTPUT.tsv

Every rectangular label on A4 with one layout becomes one line: maker, part, label width
and height, columns, rows, left and top margin, horizontal and vertical pitch, the lengths
in millimetres. A template that names another of its maker as its equal (equiv) takes that
one's geometry. Sheets with several layouts are left out: the program places labels on a
grid.
"""
import glob
import os
import sys
import xml.etree.ElementTree as ElementTree

MM_PER_UNIT = {"mm": 1.0, "cm": 10.0, "in": 25.4, "pt": 25.4 / 72, "pc": 25.4 / 6}


def millimetres(length):
    length = length.strip() or "0"
    for unit, factor in MM_PER_UNIT.items():
        if length.endswith(unit):
            return float(length[: -len(unit)]) * factor
    return float(length) * MM_PER_UNIT["pt"]  # a bare number is in points


def geometry(template):
    labels = template.findall("Label-rectangle")
    shapes = [child for child in template if child.tag.startswith("Label-")]
    if len(labels) != 1 or len(shapes) != 1:
        return None
    label = labels[0]
    layouts = label.findall("Layout")
    if len(layouts) != 1:
        return None
    layout = layouts[0]
    return (
        millimetres(label.get("width")),
        millimetres(label.get("height")),
        int(layout.get("nx")),
        int(layout.get("ny")),
        millimetres(layout.get("x0", "0")),
        millimetres(layout.get("y0", "0")),
        millimetres(layout.get("dx", "0")),
        millimetres(layout.get("dy", "0")),
    )


def main(folder, output):
    templates = {}
    for path in sorted(glob.glob(os.path.join(folder, "*-templates.xml"))):
        root = ElementTree.parse(path).getroot()
        for element in root.iter():  # some files name gLabels' namespace, the others none
            element.tag = element.tag.rpartition("}")[2]
        for template in root.iter("Template"):
            templates[(template.get("brand"), template.get("part"))] = template
    rows = set()
    for (brand, part), template in templates.items():
        source = templates.get((brand, template.get("equiv")), template)
        if source.get("size") != "A4":
            continue
        found = geometry(source)
        if found is not None:
            rows.add((brand, part) + found)
    with open(output, "w", encoding="utf-8", newline="\n") as out:
        for row in sorted(rows, key=lambda r: (r[0].lower(), r[1].lower())):
            out.write("\t".join(v if isinstance(v, str) else f"{v:.4g}" if isinstance(v, int) else f"{v:.3f}" for v in row) + "\n")


if __name__ == "__main__":
    if len(sys.argv) != 3:
        sys.exit(__doc__)
    main(sys.argv[1], sys.argv[2])
