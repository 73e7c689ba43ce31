"""Reads a DXF file with ezdxf, an independent reader, and prints what the tests check, one
record a line, fields separated by tabs (a text's own text comes last):

AUDIT errors fixes
AUDITED message (one per error, then one per fix)
HEADER codepage insunits limmin_x limmin_y limmax_x limmax_y
LAYER name
LWPOLYLINE layer closed true_color count x1 y1 ... (true_color -1 when none)
HATCH layer true_color solid
ARC layer cx cy radius start end mid_x mid_y
TEXT layer height width_factor rotation halign valign x y text
"""
import math
import sys

import ezdxf


def number(v):
    return repr(float(v))


def main(path):
    doc = ezdxf.readfile(path)
    auditor = doc.audit()
    print("AUDIT", len(auditor.errors), len(auditor.fixes), sep="\t")
    for entry in auditor.errors + auditor.fixes:
        print("AUDITED", entry.message, sep="\t")
    header = doc.header
    print("HEADER", header.get("$DWGCODEPAGE", ""), header.get("$INSUNITS", 0),
          *map(number, header.get("$LIMMIN", (0, 0))[:2]),
          *map(number, header.get("$LIMMAX", (0, 0))[:2]), sep="\t")
    for layer in doc.layers:
        print("LAYER", layer.dxf.name, sep="\t")
    for e in doc.modelspace():
        kind = e.dxftype()
        colour = e.dxf.true_color if e.dxf.hasattr("true_color") else -1
        if kind == "LWPOLYLINE":
            points = [c for p in e.get_points("xy") for c in p]
            print(kind, e.dxf.layer, int(e.closed), colour, len(points) // 2,
                  *map(number, points), sep="\t")
        elif kind == "HATCH":
            print(kind, e.dxf.layer, colour, e.dxf.solid_fill, sep="\t")
        elif kind == "ARC":
            start, end = e.dxf.start_angle, e.dxf.end_angle
            middle = math.radians(start + ((end - start) % 360) / 2)
            centre, radius = e.dxf.center, e.dxf.radius
            print(kind, e.dxf.layer, *map(number, (centre.x, centre.y, radius, start, end,
                                                   centre.x + radius * math.cos(middle),
                                                   centre.y + radius * math.sin(middle))),
                  sep="\t")
        elif kind == "TEXT":
            at = e.dxf.align_point if e.dxf.halign or e.dxf.valign else e.dxf.insert
            print(kind, e.dxf.layer, number(e.dxf.height), number(e.dxf.width),
                  number(e.dxf.rotation), e.dxf.halign, e.dxf.valign, number(at.x),
                  number(at.y), e.plain_text(), sep="\t")
        else:
            print(kind, e.dxf.layer, sep="\t")


if __name__ == "__main__":
    main(sys.argv[1])
