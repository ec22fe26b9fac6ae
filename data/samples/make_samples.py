#!/usr/bin/env python3
"""Writes the three sample projects of data/samples in the project file format
, exactly as the program itself saves them (so that loading and
saving a sample changes nothing but PipeLoop_Version):

  workshop.plf          a small workshop ring main, laid out by hand below
  factory.plf           a factory of several hundred objects, generated
  compressor-house.cph  a compressor house, laid out by hand below

Usage: data/samples/make_samples.py [OUTPUT_DIR]   (default: beside this script)

Geometry follows the model's rules: positions are whole
millimetres, NS from the north wall southwards, EW from the west wall
eastwards; an object placed on a pipe stands exactly on it and takes the
pipe's height (the loop segment's HG - VerticalDrop of its first elbow, a
spur's start HG - its VerticalDrop); a valve takes the pipe's direction
atan2(a.EW - b.EW, a.NS - b.NS), an inlet that angle minus half pi; a spur
starts on the loop or on another spur and is level (its end has the start's
HG). Every drain, drop, valve and inlet stands on a pipe, so
`pipeloop-cli check` passes on all three.
"""

import math
import os
import struct
import sys

VERSION = "1.0.0.0"  # PipeLoop_Version: the program's four-part version
HALF_PI = struct.unpack("f", struct.pack("f", math.pi / 2))[0]
SCALES = (10, 20, 25, 40, 50, 60, 75, 100, 125, 150, 200, 250, 300, 400, 500)


def single(x):
    """The single-precision value of x, as the model holds sizes and angles."""
    return struct.unpack("f", struct.pack("f", x))[0]


def real(x):
    """A real as the program writes it: the single's digits, %.15g, full stop."""
    text = "%.15g" % single(x)
    return "0" if text == "-0" else text


def seg_angle(a, b):
    """SegmentAngle for plan points (NS, EW), as a single."""
    return single(math.atan2(a[1] - b[1], a[0] - b[0]))


def on_segment(a, b, p):
    """OnSegment (exact, heights ignored)."""
    f, g = b[1] - a[1], b[0] - a[0]
    if f == 0 and g == 0:
        return False
    t = ((p[1] - a[1]) * f + (p[0] - a[0]) * g) / (f * f + g * g)
    if t < 0 or t > 1:
        return False
    return round(a[1] + f * t) == p[1] and round(a[0] + g * t) == p[0]


class Project:
    def __init__(self, description, created_by, customer, units, room_ew, room_ns, room_hg,
                 height, pipe_size, colour="BLUE", outlet_size=25.0, compressor_house=False):
        self.description, self.created_by, self.customer = description, created_by, customer
        self.units, self.compressor_house = units, compressor_house
        self.room = (room_ew, room_hg, room_ns)
        self.height, self.pipe_size, self.colour, self.outlet_size = (
            height, pipe_size, colour, outlet_size)
        self.elbows, self.features, self.drains, self.drops = [], [], [], []
        self.valves, self.inlets, self.spurs, self.notes = [], [], [], []
        # Plan points taken by a drain, drop, valve or inlet, or by the start
        # of a spur (its tee): no two things share one.
        self.taken = {}

    def take(self, p, what):
        if p in self.taken:
            raise ValueError("%s at %r: %s is there already" % (what, p, self.taken[p]))
        self.taken[p] = what

    # -- the pipes ---------------------------------------------------------------

    def zoom_factors(self):
        """The zooms a user would have left each view at: the drawing about
        240 x 150 mm on screen, at a scale from the usual series."""
        ew, hg, ns = self.room

        def fit(across, up):
            wanted = max(across / 240, up / 150)
            return next(z for z in SCALES if z >= wanted)

        plan, ew_wall, ns_wall = fit(ew, ns), fit(ew, hg), fit(ns, hg)
        return [("PLAN", plan), ("NORTH", ew_wall), ("EAST", ns_wall), ("SOUTH", ew_wall),
                ("WEST", ns_wall)]

    def elbow(self, ns, ew, hg=None, vd=0):
        hg = self.height if hg is None else hg
        self.elbows.append(dict(NS=ns, EW=ew, HG=hg, Name="ELBOW%d" % (len(self.elbows) + 1),
                                VerticalDrop=vd))

    def loop_segments(self):
        """(a, b, height) of every loop segment."""
        e = self.elbows
        return [((e[i]["NS"], e[i]["EW"]), (e[i + 1]["NS"], e[i + 1]["EW"]),
                 e[i]["HG"] - e[i]["VerticalDrop"]) for i in range(len(e) - 1)]

    def spur_segments(self):
        return [((s["NS"], s["EW"]), (s["NS2"], s["EW2"]), s["HG"] - s["VerticalDrop"])
                for s in self.spurs]

    def pipe_at(self, p, spurs=True):
        """(height, angle) of the first pipe (loop first) that p stands on."""
        segments = self.loop_segments() + (self.spur_segments() if spurs else [])
        for a, b, height in segments:
            if on_segment(a, b, p):
                return height, seg_angle(a, b)
        raise ValueError("%r stands on no pipe" % (p,))

    def spur(self, start, end, size, vd=0, name=None, attached=True):
        """A level spur; an attached one starts on the loop or another spur."""
        hg = self.pipe_at(start)[0] if attached else self.height
        if attached:
            self.take(start, "the start of a spur")
        self.spurs.append(dict(NS=start[0], EW=start[1], HG=hg,
                               Name=name or "SPUR%d" % (len(self.spurs) + 1),
                               NS2=end[0], EW2=end[1], HG2=hg, PipeSize=size, VerticalDrop=vd))

    # -- objects on the pipes ------------------------------------------------------

    def drop(self, p, style, symbols, pipe_len, outlet=25.0, hose=6.35, package="", name=None):
        hg, _ = self.pipe_at(p)
        self.take(p, "a drop")
        self.drops.append(dict(NS=p[0], EW=p[1], HG=hg,
                               Name=name or "DROP%d" % (len(self.drops) + 1),
                               symbols=symbols, PipeLen=pipe_len, OutletSize=outlet,
                               Style=style, HoseSize=hose, PartPackage=package))

    def drain(self, p, manual, pipe_len, size=20.0, name=None):
        hg, _ = self.pipe_at(p)
        self.take(p, "a drain")
        self.drains.append(dict(NS=p[0], EW=p[1], HG=hg,
                                Name=name or "DRAIN%d" % (len(self.drains) + 1),
                                PipeLen=pipe_len, Manual=manual, PipeSize=size))

    def valve(self, p, name=None):
        hg, angle = self.pipe_at(p)
        self.take(p, "a valve")
        self.valves.append(dict(NS=p[0], EW=p[1], HG=hg,
                                Name=name or "VALVE%d" % (len(self.valves) + 1), Angle=angle))

    def inlet(self, p, symbols, pipe_length, size, name=None, loop_only=True):
        hg, angle = self.pipe_at(p, spurs=not loop_only)
        self.take(p, "an inlet")
        self.inlets.append(dict(NS=p[0], EW=p[1], HG=hg,
                                Name=name or "INLET%d" % (len(self.inlets) + 1),
                                symbols=symbols, Angle=single(angle - HALF_PI),
                                PipeLength=pipe_length, PipeSize=size))

    def feature(self, name, kind, p1, p2, height, ellipse=False):
        (ns1, ew1), (ns2, ew2) = p1, p2
        assert ns1 < ns2 and ew1 < ew2
        self.features.append(dict(Name=name, Feature=kind, P1EW=ew1, P1NS=ns1, P2EW=ew2,
                                  P2NS=ns2, Height=height, Ellipse=ellipse))

    # -- the text --------------------------------------------------------------------

    def text(self):
        out = []

        def section(name, pairs):
            out.append("[%s]" % name)
            out.extend("%s=%s" % kv for kv in pairs)
            out.append("")

        def value(v):
            if isinstance(v, bool):
                return "1" if v else "0"
            if isinstance(v, float):
                return real(v)
            return str(v)

        def base(o):
            return [(k, value(o[k])) for k in ("NS", "EW", "HG", "Name")]

        def symbols(o):
            pairs = [("Symbols", str(len(o["symbols"])))]
            for i, entry in enumerate(o["symbols"], 1):
                keyword, part = entry if isinstance(entry, tuple) else (entry, "")
                pairs.append(("SYM%d" % i, keyword))
                if part:
                    pairs.append(("PART%d" % i, part))
            return pairs

        section("PIPELOOP-FILE-INFO", [("File_Version", "1"), ("PipeLoop_Version", VERSION)])
        # Section Project holds the zoom factors and, written later into the
        # same section, the header text; section Options comes after it.
        section("Project", [("ZoomFactor" + v, str(z)) for v, z in self.zoom_factors()] +
                [("Description", self.description), ("CreatedBy", self.created_by),
                 ("CustomerCompany", self.customer), ("Units", str(self.units)),
                 ("CompressorHouse", value(self.compressor_house))])
        section("Options", [("Saved", "0")])
        section("Building", [("RoomEW", str(self.room[0])), ("RoomHG", str(self.room[1])),
                             ("RoomNS", str(self.room[2]))])
        section("PipeLoop", [("Height", str(self.height)), ("PipeSize", real(self.pipe_size)),
                             ("DefaultOutletSize", real(self.outlet_size)),
                             ("PipeColour", self.colour), ("Elbows", str(len(self.elbows))),
                             ("Drains", str(len(self.drains))), ("Drops", str(len(self.drops))),
                             ("Valves", str(len(self.valves))),
                             ("Inlets", str(len(self.inlets))), ("Spurs", str(len(self.spurs))),
                             ("BuildFeatures", str(len(self.features)))])
        for i, e in enumerate(self.elbows, 1):
            section("Elbow%d" % i, base(e) + [("VerticalDrop", str(e["VerticalDrop"]))])
        for i, f in enumerate(self.features, 1):
            section("BuildFeature%d" % i, [(k, value(f[k])) for k in (
                "Name", "Feature", "P1EW", "P1NS", "P2EW", "P2NS", "Height", "Ellipse")])
        for i, d in enumerate(self.drains, 1):
            section("Drain%d" % i, base(d) + [("PipeLen", str(d["PipeLen"])),
                                              ("Manual", value(d["Manual"])),
                                              ("PipeSize", real(d["PipeSize"]))])
        for i, d in enumerate(self.drops, 1):
            female = d["Style"].startswith("FEMALE")
            pairs = base(d) + symbols(d) + [("PipeLen", str(d["PipeLen"])),
                                            ("OutletSize", real(d["OutletSize"])),
                                            ("Style", d["Style"])]
            if female:
                pairs.append(("HoseSize", real(d["HoseSize"])))
            if d["PartPackage"]:
                pairs.append(("PartPackage", d["PartPackage"]))
            section("Drop%d" % i, pairs)
        for i, v in enumerate(self.valves, 1):
            section("Valve%d" % i, base(v) + [("Angle", real(v["Angle"]))])
        for i, n in enumerate(self.inlets, 1):
            section("Inlet%d" % i, base(n) + symbols(n) + [
                ("Angle", real(n["Angle"])), ("PipeLength", str(n["PipeLength"])),
                ("PipeSize", real(n["PipeSize"]))])
        for i, s in enumerate(self.spurs, 1):
            section("Spur%d" % i, base(s) + [("NS2", str(s["NS2"])), ("EW2", str(s["EW2"])),
                                             ("HG2", str(s["HG2"])),
                                             ("PipeSize", real(s["PipeSize"])),
                                             ("VerticalDrop", str(s["VerticalDrop"]))])
        section("Notes", [("Lines", str(len(self.notes)))] +
                [(str(i), line) for i, line in enumerate(self.notes, 1)])
        return ("\r\n".join(out) + "\r\n").encode("cp1252")


# Symbol stacks (bottom first) used below. A female drop ends in an outlet with
# a hose assembly: COUPLER, a hose, COUPLER at the end of its stack.
HOSE = ["COUPLER", "AIR-HOSE", "COUPLER"]
RECOIL = ["COUPLER", "RECOIL-HOSE", "COUPLER"]


def workshop():
    """A 15 x 9 m workshop: a 32 mm ring main at 3 m fed from the compressor
    house outside the south wall, six drops of every style, a bench spur, a
    vertical drop spur down to bench height, three drains at the far corner and
    the ends, two isolating valves, a column and a lathe."""
    p = Project("Workshop ring main", "PipeLoop sample", "Harbour Engineering Ltd", 0,
                15000, 9000, 4500, 3000, 32.0)
    # The ring 500 mm inside the walls, closed at its first corner.
    for ns, ew in ((500, 500), (500, 14500), (8500, 14500), (8500, 500), (500, 500)):
        p.elbow(ns, ew)
    p.feature("Column C1", "GENERAL", (4300, 7300), (4700, 7700), 4500)
    p.feature("Lathe", "GENERAL", (2000, 3000), (3200, 6000), 1500)
    # Spurs: one to the benches from the west run, one from the south run that
    # drops 1500 mm to run along the bench wall at 1500 mm.
    p.spur((4500, 500), (4500, 4500), 25.0, name="SPUR1")
    p.spur((8500, 10000), (6500, 10000), 25.0, vd=1500, name="SPUR2")
    # Drains: automatic at the corner farthest from the inlet, manual at the end
    # of the bench spur, automatic at the low end of the vertical drop spur.
    p.drain((500, 14500), False, 2500)
    p.drain((4500, 4500), True, 2000)
    p.drain((6500, 10000), False, 1000)
    # Drops on the north run, the east run, the bench spur and the low spur.
    p.drop((500, 3500), "FEMALE", [("FRL", "FRL-14"), "COUPLER", ("AIR-HOSE", "AH-9-5"),
                                   "COUPLER"], 2000, outlet=12.7, hose=9.25)
    p.drop((500, 7500), "TEE", ["VALVE", "FILTER_AUTO", ("REGULATOR", "REG-12"), "GAUGE",
                                "2-PORT-OUTLET"], 1800, outlet=20.0)
    p.drop((500, 5500), "FEMALE_SADDLE", ["REGULATOR"] + HOSE, 2000, outlet=12.7, hose=6.35)
    p.drop((500, 11500), "TEE", ["1-PORT-OUTLET"], 1500, outlet=25.0, package="KIT-T25-FRL")
    p.drop((4500, 14500), "SADDLE", ["FRL", "1-PORT-OUTLET"], 1700, outlet=20.0)
    p.drop((4500, 3500), "TEE", ["FEMALE-TEE", "REGULATOR", "GAUGE"], 1800, outlet=20.0)
    p.drop((7500, 10000), "FEMALE", ["FILTER"] + HOSE, 1000, outlet=12.7, hose=9.25)
    # Isolating valves on the north run and at the start of the bench spur.
    p.valve((500, 9500))
    p.valve((4500, 1000))
    # The feed from the compressor house, on the south run.
    p.inlet((8500, 2000), ["FILTER", ("VALVE", "ZAVOZA:90400-32")], 2000, 32.0)
    p.notes = ["Automatic drain DRAIN1 at the north-east corner, the far end of the ring.",
               "Bench spur isolated by VALVE2; drain it daily.",
               "Feed from the compressor house through the south wall."]
    return p


def compressor_house():
    """An 8 x 5 m compressor house: two compressors feed a 50 mm header into
    the receiver, then through the dryer and a filter to the factory main
    through the east wall. No loop: the pipework is spurs and unconnected
    pipes between the equipment."""
    p = Project("Compressor house", "PipeLoop sample", "Harbour Engineering Ltd", 1,
                8000, 5000, 3500, 2500, 50.0, colour="GREEN", compressor_house=True)
    p.feature("Compressor 1", "COMPRESSOR", (500, 500), (1700, 2000), 1800)
    p.feature("Compressor 2", "COMPRESSOR", (3300, 500), (4500, 2000), 1800)
    p.feature("Receiver 1000 l", "RECEIVER", (2000, 3500), (3000, 4500), 2200, ellipse=True)
    p.feature("Dryer", "DRYER", (2100, 5500), (2900, 6300), 1600)
    p.feature("Line filter", "FILTER_AUTO", (2300, 6800), (2700, 7200), 1200)
    # The header between the compressors to the receiver, and the line on.
    p.spur((2500, 1000), (2500, 3500), 50.0, name="Header", attached=False)
    p.spur((2500, 1500), (1700, 1500), 40.0, name="Compressor 1 outlet")
    p.spur((2500, 1200), (3300, 1200), 40.0, name="Compressor 2 outlet")
    p.spur((2500, 4500), (2500, 5500), 50.0, name="Receiver to dryer", attached=False)
    p.spur((2500, 6300), (2500, 6800), 50.0, name="Dryer to filter", attached=False)
    p.spur((2500, 7200), (2500, 8000), 50.0, name="To factory main", attached=False)
    # Drains: the header's low end, the receiver, the filter.
    p.drain((2500, 1000), True, 2000, name="Header drain")
    p.drain((2500, 3500), False, 2300, name="Receiver drain")
    p.drain((2500, 6600), False, 2000, name="Filter drain")
    p.drop((2500, 7400), "FEMALE", ["REGULATOR", "GAUGE"] + HOSE, 1500, outlet=12.7,
           hose=9.25, name="Service point")
    p.valve((2100, 1500), name="Compressor 1 isolator")
    p.valve((2900, 1200), name="Compressor 2 isolator")
    p.valve((2500, 7600), name="Main isolator")
    p.inlet((1700, 1500), ["COMPRESSOR"], 1000, 40.0, name="Compressor 1", loop_only=False)
    p.inlet((3300, 1200), ["COMPRESSOR"], 1000, 40.0, name="Compressor 2", loop_only=False)
    p.notes = ["Receiver drain and filter drain piped to the oil-water separator.",
               "Dryer bypass not shown."]
    return p


def factory():
    """A 60 x 30 m factory: a 63 mm ring main at 5 m with a rise over the
    loading door, twelve bay spurs with drops down to the machines, four
    vertical drop spurs to the assembly benches, drains at the spur ends and
    low points, isolating valves at every spur, two inlets from the compressor
    house beside the west wall, columns and machines."""
    p = Project("Factory ring main", "PipeLoop sample", "Northfield Components plc", 0,
                60000, 30000, 8000, 5000, 63.0, colour="BLUE", outlet_size=20.0)
    # The ring 1 m inside the walls. On the south run it rises 1500 mm over the
    # loading door between EW 34000 and 30000 and falls back: the four-elbow
    # detour the editor's building avoidance command makes (up, across, down).
    p.elbow(1000, 1000)
    p.elbow(1000, 59000)
    p.elbow(29000, 59000)
    p.elbow(29000, 34000)
    p.elbow(29000, 34000, vd=-1500)
    p.elbow(29000, 30000, vd=-1500)
    p.elbow(29000, 30000)
    p.elbow(29000, 1000)
    p.elbow(1000, 1000)

    # Columns on a 10 m grid, and machines in the bays between the spurs.
    for ns in (10000, 20000):
        for ew in range(10000, 60000, 10000):
            p.feature("Column %s%d" % ("AB"[ns // 10000 - 1], ew // 10000), "GENERAL",
                      (ns - 200, ew - 200), (ns + 200, ew + 200), 8000)
    machine = 0
    for bay in range(6):
        west = bay * 10000 + 1500
        for row in range(4):
            for north_side in (True, False):
                machine += 1
                ns = 2500 + row * 2700 if north_side else 16500 + row * 2700
                p.feature("Machine M%02d" % machine, "GENERAL", (ns, west + 500),
                          (ns + 2000, west + 2500), 1800, ellipse=(machine % 7 == 0))
    p.feature("Paint booth", "GENERAL", (13200, 26000), (16200, 31000), 3500)
    p.feature("Test rig receiver", "RECEIVER", (12500, 56000), (13500, 57000), 2000,
              ellipse=True)

    # Bay spurs: six from the north run southwards, six from the south run
    # northwards, between the machine rows; alternate 40 and 32 mm.
    # The drop styles the vendor's fittings build; quick-coupling outlets are
    # not among them. Saddles need a run of 32 mm or more.
    styles = ["TEE", "FEMALE", "SADDLE", "FEMALE_SADDLE"]
    without_saddle = {"SADDLE": "TEE", "FEMALE_SADDLE": "FEMALE"}
    stacks = {
        "TEE": [["VALVE", ("FRL", "FRL-12"), "2-PORT-OUTLET"],
                ["FILTER", "REGULATOR", "GAUGE", "1-PORT-OUTLET"],
                ["FEMALE-TEE", "REGULATOR", "GAUGE"]],
        "FEMALE": [[("FRL", "FRL-12")] + HOSE, ["REGULATOR", "GAUGE"] + HOSE,
                   ["FILTER_AUTO"] + HOSE],
        "SADDLE": [["FRL", "4-PORT-OUTLET"], ["DRYER", "REGULATOR", "2-PORT-OUTLET"],
                   ["VALVE", "FILTER", "1-PORT-OUTLET"]],
        "FEMALE_SADDLE": [["REGULATOR"] + RECOIL, ["LUBRICATOR"] + HOSE,
                          ["FILTER"] + RECOIL],
    }
    packages = {"TEE": "KIT-T25-FRL", "FEMALE": "KIT-F20-HOSE", "SADDLE": "KIT-S40-TWIN",
                "FEMALE_SADDLE": "KIT-F32-RECOIL"}
    hoses = (6.35, 9.25, 12.7)
    counter = [0]

    def drop_at(point, pipe_height, run):
        counter[0] += 1
        style = styles[counter[0] % len(styles)]
        if run < 32:
            style = without_saddle.get(style, style)
        stack = stacks[style][counter[0] // len(styles) % 3]
        female = style.startswith("FEMALE")
        # Non-female drops run down to an outlet 1200 mm above the floor;
        # female drops give the length of their hose, which ends at least a
        # metre above the floor. A recoil hose is a stock length and screws
        # into a reducing bush, so it is smaller than the outlet.
        reach = pipe_height - 1000
        if not female:
            pipe_len, hose = pipe_height - 1200, hoses[counter[0] % 3]
        elif "RECOIL-HOSE" in stack:
            pipe_len, hose = 4000, 6.35
        else:
            pipe_len, hose = min(3000 + (counter[0] % 5) * 1000, reach), hoses[counter[0] % 3]
        outlet = 12.7 if female else (25.0 if run >= 40 else 20.0)
        package = packages[style] if counter[0] % 11 == 0 else ""
        p.drop(point, style, stack, pipe_len, outlet=outlet, hose=hose, package=package)

    for bay in range(6):
        ew = bay * 10000 + 5000
        size = 40.0 if bay % 2 == 0 else 32.0
        for from_north in (True, False):
            start = (1000, ew) if from_north else (29000, ew)
            end = (13500, ew) if from_north else (16500, ew)
            p.spur(start, end, size)
            step = 1000 if from_north else -1000
            p.valve((start[0] + step, ew))
            # A drop every metre along the spur, one per machine station,
            # clear of the valve and the end.
            ns = start[0] + 2 * step
            while (ns < end[0] - 500) if from_north else (ns > end[0] + 500):
                drop_at((ns, ew), 5000, size)
                ns += step
            # An end drain at the far end of each spur.
            p.drain(end, bay % 3 == 0, 4000)

    # Drops along the loop: the north run between the spur starts, and the
    # level parts of the south run (not on the rise over the door).
    for ew in range(2500, 58000, 2500):
        if ew % 10000 != 5000 and ew != 30000:  # spur starts, the valve at 30000
            drop_at((1000, ew), 5000, 63)
    for ew in list(range(3500, 29000, 3000)) + list(range(36000, 58000, 3000)):
        if ew % 10000 != 5000:
            drop_at((29000, ew), 5000, 63)
    for ns in range(5000, 27000, 4000):
        drop_at((ns, 59000), 5000, 63)
    # The west run, clear of the two inlets (NS 8000, 22000) and the valve (15000).
    for ns in (3000, 5000, 11000, 13000, 17000, 19000, 25000, 27000):
        drop_at((ns, 1000), 5000, 63)

    # Vertical drop spurs to the assembly benches along the east wall: each
    # leaves the east run and runs west 2 m lower, ending in a drain short of
    # the bay spur at EW 55000.
    for ns in (4000, 12000, 20000, 26000):
        p.spur((ns, 59000), (ns, 55500), 25.0, vd=2000)
        for ew in (58500, 57750, 57000, 56250):
            drop_at((ns, ew), 3000, 25)
        p.drain((ns, 55500), False, 2500)

    # Low points of the loop: both foot ends of the rise over the door, and the
    # north-east corner at the end of the fall.
    p.drain((29000, 34200), False, 4500)
    p.drain((29000, 29800), False, 4500)
    p.drain((1000, 59000), False, 4500)
    # Sectional valves on the loop, either side of the door and on the runs.
    p.valve((1000, 30000))
    p.valve((29000, 34600))
    p.valve((29000, 29400))
    p.valve((15000, 1000))
    # Two feeds from the compressor house beside the west wall.
    p.inlet((8000, 1000), [("VALVE", "BV-63"), "FILTER"], 3000, 63.0)
    p.inlet((22000, 1000), [("VALVE", "BV-63"), "FILTER"], 3000, 63.0)
    p.notes = ["Ring main 63 mm at 5.0 m; rises to 6.5 m over the loading door.",
               "Bay spurs alternate 40 mm and 32 mm; each has an end drain.",
               "Assembly bench spurs drop to 3.0 m along the east wall.",
               "Two feeds from the compressor house on the west side."]
    return p


def main():
    folder = sys.argv[1] if len(sys.argv) > 1 else os.path.dirname(os.path.abspath(__file__))
    for name, make in (("workshop.plf", workshop), ("factory.plf", factory),
                       ("compressor-house.cph", compressor_house)):
        project = make()
        with open(os.path.join(folder, name), "wb") as f:
            f.write(project.text())
        objects = sum(len(x) for x in (project.elbows, project.features, project.drains,
                                       project.drops, project.valves, project.inlets,
                                       project.spurs))
        print("%s: %d objects" % (name, objects))


if __name__ == "__main__":
    main()
