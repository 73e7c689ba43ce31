#!/usr/bin/python3
"""Writes the DXF fixtures of the CAD import tests with ezdxf (python3-ezdxf), a writer nobody
here wrote, and the small damaged files by hand. Run from this folder: ./make_fixtures.py"""

import ezdxf

GROUND = [(0.0, 20.0), (10.0005, 20.0), (25.25, 14.5), (40.0, 8.0), (60.0, 8.0)]
STRATUM_1 = [(0.0, 15.0), (30.0, 10.0), (60.0, 4.0)]
STRATUM_2 = [(0.0, 9.0), (60.0, 1.5)]
WATER = [(0.0, 12.0), (60.0, 3.0)]
LAYERS = ["地形", "地層1", "地層2", "水位"]


def section(version, encoding=None):
    doc = ezdxf.new(version)
    if encoding:
        doc.header["$DWGCODEPAGE"] = "ANSI_932"
        doc.encoding = encoding
    for name in LAYERS:
        doc.layers.add(name)
    msp = doc.modelspace()
    msp.add_lwpolyline(GROUND, dxfattribs={"layer": "地形"})
    msp.add_lwpolyline(STRATUM_1, dxfattribs={"layer": "地層1"})
    msp.add_lwpolyline(STRATUM_2, dxfattribs={"layer": "地層2"})
    msp.add_lwpolyline(WATER, dxfattribs={"layer": "水位"})
    msp.add_text("断面", dxfattribs={"layer": "地形"})  # not taken
    return doc


section("R2000", "cp932").saveas("section-r2000-cp932.dxf")
section("R2018").saveas("section-r2018.dxf")

doc = ezdxf.new("R2000")
msp = doc.modelspace()
# A bulge of 1 turns the segment (0,0)-(2,0) into a half circle through (1,-1).
msp.add_lwpolyline([(0, 0, 1), (2, 0, 0), (4, 0)], format="xyb", dxfattribs={"layer": "BULGE"})
msp.add_line((1, 2), (3, 4), dxfattribs={"layer": "LINE"})
msp.add_arc((10, 0), 5, 0, 90, dxfattribs={"layer": "ARC"})
msp.add_polyline2d([(0, 0), (1, 1), (2, 0)], dxfattribs={"layer": "POLY"})
msp.add_circle((0, 0), 1, dxfattribs={"layer": "CIRCLE"})  # not taken
block = doc.blocks.new("INSIDE")
block.add_line((0, 0), (1, 1), dxfattribs={"layer": "BLOCKED"})  # not taken
doc.saveas("entities-r2000.dxf")

# Hand-written: one LWPOLYLINE in ENTITIES whose count (group 90) lies.
def lwpolyline(count, vertices, numbers=None):
    lines = ["0", "SECTION", "2", "ENTITIES", "0", "LWPOLYLINE", "8", "L", "90", str(count)]
    for x, y in vertices:
        lines += ["10", x, "20", y]
    lines += ["0", "ENDSEC", "0", "EOF"]
    return "\n".join(lines) + "\n"


with open("count-huge.dxf", "w") as f:
    f.write(lwpolyline(999999999, [("1", "2")]))
with open("count-negative.dxf", "w") as f:
    f.write(lwpolyline(-5, [("1", "2")]))
with open("count-short.dxf", "w") as f:
    f.write(lwpolyline(2, [("1", "2"), ("3", "4"), ("5", "6")]))
with open("number-abc.dxf", "w") as f:
    f.write(lwpolyline(2, [("1", "2"), ("abc", "4")]))
with open("number-1e999.dxf", "w") as f:
    f.write(lwpolyline(2, [("1", "2"), ("1e999", "4")]))
with open("truncated.dxf", "w") as f:
    f.write(lwpolyline(2, [("1", "2"), ("3", "4")])[:60])
