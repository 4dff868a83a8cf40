#!/usr/bin/python3
"""Writes the DXF fixtures of the terrain importers with ezdxf (Debian's python3-ezdxf).

Run with /usr/bin/python3 from this folder. The hand-written dialect edges (edge_*.dxf)
are not generated: they are small enough to read and are kept as they are.
"""
import ezdxf

def r12_lines():
    doc = ezdxf.new("R12")
    for name in ("T12_5", "H3", "TA1", "X12", "T"):
        doc.layers.add(name)
    msp = doc.modelspace()
    msp.add_line((0, 0), (10, 0), dxfattribs={"layer": "T12_5"})
    msp.add_line((10, 0), (10, 10), dxfattribs={"layer": "H3"})
    msp.add_line((20, 20), (20.05, 20.05), dxfattribs={"layer": "H3"})  # ends merge
    msp.add_line((30, 0), (40, 0), dxfattribs={"layer": "UNLISTED"})
    msp.add_arc((100, 100), 10, 350, 10, dxfattribs={"layer": "H3"})
    # 2D polyline, closed square on T12_5
    msp.add_polyline2d([(50, 0), (60, 0), (60, 10), (50, 10)], close=True,
                       dxfattribs={"layer": "T12_5"})
    # 3D polyline, open, z 4.0
    msp.add_polyline3d([(70, 0, 4.0), (80, 0, 4.0), (90, 5, 4.0)], dxfattribs={"layer": "H3"})
    doc.saveas("r12_lines.dxf")

def r12_3d():
    doc = ezdxf.new("R12")
    msp = doc.modelspace()
    msp.add_line((0, 0, 0.0), (10, 0, 0.0), dxfattribs={"layer": "HLINE"})
    msp.add_line((0, 10, 5.0), (10, 10, 5.0), dxfattribs={"layer": "A"})
    msp.add_line((0, 20, 0.0), (10, 20, 0.0), dxfattribs={"layer": "A"})
    msp.add_arc((100, 100, 2.0), 10, 0, 90, dxfattribs={"layer": "A"})
    msp.add_polyline3d([(50, 0, 7.5), (60, 0, 9.0), (60, 10, 1.0)], close=True,
                       dxfattribs={"layer": "A"})
    doc.saveas("r12_3d.dxf")

def r2000():
    doc = ezdxf.new("R2000")
    doc.layers.add("T2_5")
    doc.layers.add("H10")
    msp = doc.modelspace()
    msp.add_lwpolyline([(0, 0), (10, 0), (10, 10)], dxfattribs={"layer": "H10"})
    e = msp.add_lwpolyline([(20, 0), (30, 0), (30, 10)], close=True, dxfattribs={"layer": "T2_5"})
    e.dxf.elevation = 3.5
    msp.add_spline(fit_points=[(0, 50), (10, 55), (20, 50), (30, 55)], dxfattribs={"layer": "H10"})
    msp.add_open_spline([(0, 80), (10, 90), (20, 80), (30, 90)], dxfattribs={"layer": "H10"})
    # A block: its lines are not terrain of their own, and INSERT is not read.
    blk = doc.blocks.new(name="MARK")
    blk.add_line((0, 0), (1, 1), dxfattribs={"layer": "H10"})
    msp.add_blockref("MARK", (500, 500))
    # A polyface mesh: faces, not lines.
    pf = msp.add_polyface()
    pf.append_face([(0, 0, 0), (1, 0, 0), (1, 1, 0)])
    doc.saveas("r2000.dxf")

def r2018_japanese():
    doc = ezdxf.new("R2018")
    doc.layers.add("T5_0地形")
    doc.layers.add("H12水深線")
    doc.layers.add("道路")
    msp = doc.modelspace()
    msp.add_line((0, 0), (12345.0, 0), dxfattribs={"layer": "H12水深線"})
    msp.add_line((0, 0), (0, 5000.0), dxfattribs={"layer": "T5_0地形"})
    msp.add_text("長" * 100 + "x" * 60, dxfattribs={"layer": "道路"})
    doc.saveas("r2018_japanese.dxf", encoding="utf-8")

if __name__ == "__main__":
    r12_lines()
    r12_3d()
    r2000()
    r2018_japanese()
    data = open("r12_lines.dxf", "rb").read().replace(b"\r\n", b"\n").replace(b"\n", b"\r\n")
    open("r12_lines_crlf.dxf", "wb").write(data)
