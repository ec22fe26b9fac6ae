#!/usr/bin/env python3
"""Writes the demo catalogue PARTS.PLDBI and its demo price list demo.ppl.

Everything here is invented for PipeLoop's demonstration vendor ZAVOZA: the part
numbers, descriptions, pages and prices belong to no real catalogue. The range
is full enough to exercise every selection rule of the parts list generator
:

- pipes blue and grey, 20 to 110 mm, 4 m and 6 m;
- 90 and 45 degree elbows (the 110 mm one is written as a 135 degree bend),
  straight connectors (90040) and end caps (90610), equal tees, every pipe
  reducer and reducing bushes down to the hose sizes;
- outlet tees, saddle outlets and female outlets (BSP 1/2", 3/4", 1") in plain,
  saddle and quick forms, plain first so that a request without attributes
  gets the plain one;
- ball valves (pipe ends, female ends, threaded male/female), a 110 mm
  butterfly valve;
- manifolds with 1, 2, 3 and 4 ports, two-port variants 90602, 90642, 90660,
  90662 and 90664, an NPT four-port listed before the BSP one;
- male and female BSP adapters (25 to 3/4" and to 1/2" among them);
- steel and technopolymer clips for every size (technopolymer sold in tens);
- air hoses 1/4", 9.25 mm and 1/2" in 10 m and 20 m, recoil hoses, couplings;
- packages (drop kits) with PTS and SYM, end-of-line parts, catalogue codes and
  pages.

Files are Windows-1252 with CR LF line ends, as the program's text files are.
Run it from anywhere: it writes beside itself.
"""

import datetime
import pathlib

HERE = pathlib.Path(__file__).resolve().parent

PIPE_SIZES = [20, 25, 32, 40, 50, 63, 80, 110]
THREADS = {"12": ('1/2"', 12.7), "34": ('3/4"', 19.05), "1": ('1"', 25.4)}
# Hose sizes: (text in descriptions, OD text, size). 9.25 mm shows as 3/8".
HOSES = {"06": ('1/4"', '1/4"', 6.35), "09": ('3/8"', "9.25", 9.25), "12": ('1/2"', '1/2"', 12.7)}

parts = []  # (key, {KEY: value}) in catalogue order


def size_text(size):
    """OD text as the catalogue writes it."""
    return f"{size:g}"


def money(value):
    return f"{value:.2f}"


def add(key, typ, dsc, od1, prc, page, **more):
    record = {"TYP": typ, "DSC": dsc, "OD1": od1}
    record.update({k: v for k, v in more.items() if v is not None})
    record["PRC"] = money(prc)
    record["CPN"] = str(page)
    assert all(key != existing for existing, _ in parts), key
    parts.append((key, record))


def size_factor(size):
    return size / 20.0


# --- pipes -----------------------------------------------------------------
PIPE_FAMILIES = [
    ("90000", "BLUE", 4000), ("90001", "BLUE", 6000),
    ("90002", "GREY", 4000), ("90003", "GREY", 6000),
]
for base, colour, length in PIPE_FAMILIES:
    for size in PIPE_SIZES:
        metres = length // 1000
        add(f"{base}-{size}", "PIPE",
            f"{colour.title()} aluminium air pipe {size}mm x {metres}m",
            size_text(size), (4.2 + 3.1 * size_factor(size) ** 1.6) * metres, 10,
            ATR=f"{colour} ALUMINIUM", LEN=str(length),
            COD=f"ZP{size:03d}{colour[0]}{metres}")

# --- elbows, connectors, tees, end caps ----------------------------------------
for size in PIPE_SIZES:
    add(f"90010-{size}", "CONNECTOR", f"90 degree elbow {size}mm", size_text(size),
        2.1 + 2.4 * size_factor(size) ** 1.5, 14, ATR="ELBOW", ANG="90")
for size in (20, 25):
    add(f"90011-{size}", "CONNECTOR", f"Quick-fit 90 degree elbow {size}mm", size_text(size),
        3.4 + 2.4 * size_factor(size), 14, ATR="ELBOW, QUICK", ANG="90",
        EOL="1" if size == 20 else None)
for size in PIPE_SIZES:
    # The 110 mm bend is catalogued by its inside angle, 135 degrees.
    angle = "135" if size == 110 else "45"
    add(f"90015-{size}", "CONNECTOR", f"45 degree elbow {size}mm", size_text(size),
        2.0 + 2.2 * size_factor(size) ** 1.5, 15, ATR="ELBOW", ANG=angle)
for size in PIPE_SIZES:
    add(f"90040-{size}", "CONNECTOR", f"Straight connector {size}mm", size_text(size),
        1.6 + 1.8 * size_factor(size) ** 1.5, 16)
for size in PIPE_SIZES:
    add(f"90020-{size}", "TEE", f"Equal tee {size}mm", size_text(size),
        2.9 + 2.9 * size_factor(size) ** 1.5, 17)
for size in PIPE_SIZES:
    add(f"90610-{size}", "ENDCAP", f"End cap {size}mm", size_text(size),
        1.1 + 1.2 * size_factor(size) ** 1.4, 18)

# --- reducers and bushes ------------------------------------------------------
for big in PIPE_SIZES:
    for small in PIPE_SIZES:
        if small < big:
            add(f"90030-{big}-{small}", "REDUCER", f"Pipe reducer {big}mm to {small}mm",
                size_text(big), 2.4 + 1.9 * size_factor(big) ** 1.4, 19, OD2=size_text(small))
for big, small in zip(PIPE_SIZES[1:], PIPE_SIZES):
    add(f"90035-{big}-{small}", "REDUCER", f"Reducing bush {big}mm to {small}mm",
        size_text(big), 1.5 + 1.2 * size_factor(big) ** 1.3, 19, ATR="BUSH", OD2=size_text(small))
BUSH_OUTLETS = [("12", '1/2"', 12.7), ("34", '3/4"', 19.05), ("20", "20", 20), ("25", "25", 25)]
for code, text, outlet in BUSH_OUTLETS:
    for hose_code, (hose_text, hose_od, hose) in HOSES.items():
        if hose < outlet:
            shown = text if code in ("12", "34") else f"{text}mm"
            add(f"90036-{code}-{hose_code}", "REDUCER",
                f"Reducing bush {shown} to {hose_text} hose", text, 1.9, 20,
                ATR="BUSH STAINLESS", OD2=hose_od,
                AT1="MALE BSP" if code in ("12", "34") else None, AT2="FEMALE BSP")

# --- outlets ------------------------------------------------------------------
for run in PIPE_SIZES:
    for outlet in (20, 25):
        if outlet <= run:
            add(f"90100-{run}-{outlet}", "OUTLET-TEE", f"Outlet tee {run}mm with {outlet}mm drop",
                size_text(run), 3.1 + 2.6 * size_factor(run) ** 1.4, 21, OD2=size_text(outlet))
for run in PIPE_SIZES[2:]:
    for outlet in (20, 25):
        add(f"90200-{run}-{outlet}", "SADDLE-OUTLET",
            f"Saddle outlet {run}mm with {outlet}mm drop", size_text(run),
            4.0 + 1.8 * size_factor(run), 22, OD2=size_text(outlet))
for run in PIPE_SIZES:
    for code in ("12", "34", "1"):
        text, thread = THREADS[code]
        if code == "1" and run < 32:
            continue
        add(f"90300-{run}-{code}", "FEMALE-OUTLET",
            f"Threaded outlet tee {run}mm x {text} BSP female", size_text(run),
            3.3 + 2.5 * size_factor(run) ** 1.4, 23, OD2=text, AT2="FEMALE BSP")
for run in PIPE_SIZES[2:]:
    for code in ("12", "34", "1"):
        text, _ = THREADS[code]
        add(f"90310-{run}-{code}", "FEMALE-OUTLET",
            f"Saddle outlet {run}mm x {text} BSP female", size_text(run),
            4.4 + 1.9 * size_factor(run), 24, OD2=text, ATR="SADDLE", AT2="FEMALE BSP")
for run in (20, 25, 32):
    add(f"90320-{run}-12", "FEMALE-OUTLET", f"Quick outlet {run}mm x 1/2\" BSP female",
        size_text(run), 4.9 + 1.1 * size_factor(run), 24, OD2='1/2"', ATR="QUICK",
        AT2="FEMALE BSP", EOL="1" if run == 32 else None)

# --- valves -------------------------------------------------------------------
for size in PIPE_SIZES[:-1]:
    add(f"90400-{size}", "VALVE", f"Ball valve {size}mm pipe ends", size_text(size),
        9.5 + 8.5 * size_factor(size) ** 1.6, 30, ATR="BALL")
add("90410-20", "VALVE", 'Ball valve 20mm x 1/2" BSP female', "20", 11.2, 30,
    ATR="BALL", OD2='1/2"', AT2="FEMALE BSP")
add("90410-25", "VALVE", 'Ball valve 25mm x 3/4" BSP female', "25", 13.6, 30,
    ATR="BALL", OD2='3/4"', AT2="FEMALE BSP")
add("90415-25", "VALVE", 'Ball valve 25mm x 3/4" BSP male', "25", 13.1, 30,
    ATR="BALL", OD2='3/4"', AT2="MALE BSP")
for code in ("12", "34", "1"):
    text, _ = THREADS[code]
    add(f"90420-{code}", "VALVE", f"Ball valve {text} BSP female x female", text,
        6.8 + 4 * THREADS[code][1] / 12.7, 31, ATR="BALL STAINLESS", AT1="FEMALE BSP",
        AT2="FEMALE BSP")
    add(f"90430-{code}", "VALVE", f"Ball valve {text} BSP female x male", text,
        6.9 + 4 * THREADS[code][1] / 12.7, 31, ATR="BALL STAINLESS", AT1="FEMALE BSP",
        AT2="MALE BSP")
add("90450-110", "VALVE", "Butterfly valve 110mm", "110", 168.0, 32, ATR="BUTTERFLY")

# --- manifolds ----------------------------------------------------------------
for size in (20, 25, 32):
    add(f"90601-{size}", "MANIFOLD", f"One-port outlet {size}mm x 1/2\" BSP", size_text(size),
        6.2 + size_factor(size), 40, OD2='1/2"', NPO="1", AT2="FEMALE BSP")
for code in ("12", "34"):
    text, _ = THREADS[code]
    add(f"90601-{code}", "MANIFOLD", f"One-port outlet {text} BSP male", text, 5.8, 40,
        NPO="1", AT1="MALE BSP", AT2="FEMALE BSP")
TWO_PORT_ON_PIPE = {"90602": "Two-port outlet", "90660": "Two-port outlet, quick",
                    "90664": "Two-port outlet, with gauge port"}
for base, name in TWO_PORT_ON_PIPE.items():
    for size in (20, 25, 32):
        add(f"{base}-{size}", "MANIFOLD", f"{name} {size}mm x 1/2\" BSP", size_text(size),
            9.4 + size_factor(size) + (1.3 if base != "90602" else 0), 41, OD2='1/2"',
            NPO="2", AT2="FEMALE BSP", ATR="QUICK" if base == "90660" else None,
            COD=f"ZM2-{base[-2:]}-{size}")
TWO_PORT_THREADED = {"90642": "Two-port manifold", "90662": "Two-port manifold, quick"}
for base, name in TWO_PORT_THREADED.items():
    for code in ("12", "34"):
        text, _ = THREADS[code]
        add(f"{base}-{code}", "MANIFOLD", f"{name} {text} BSP male inlet", text,
            8.7 + (1.2 if code == "34" else 0), 42, OD2='1/2"', NPO="2", AT1="MALE BSP",
            AT2="FEMALE BSP", ATR="QUICK" if base == "90662" else None)
for size in (20, 25):
    add(f"90603-{size}", "MANIFOLD", f"Three-port outlet {size}mm x 1/2\" BSP", size_text(size),
        13.9 + size_factor(size), -1, OD2='1/2"', NPO="3", AT2="FEMALE BSP")
add("90604-12N", "MANIFOLD", '4-port manifold 1/2" NPT male inlet', '1/2"', 17.5, 43,
    OD2='1/2"', NPO="4", AT1="MALE NPT", AT2="FEMALE NPT")
for code in ("12", "34"):
    text, _ = THREADS[code]
    add(f"90604-{code}", "MANIFOLD", f"4-port manifold {text} BSP male inlet", text,
        16.4 + (1.5 if code == "34" else 0), 43, OD2='1/2"', NPO="4", AT1="MALE BSP",
        AT2="FEMALE BSP")

# --- adapters -----------------------------------------------------------------
MALE_ADAPTERS = [(20, "12"), (25, "34"), (25, "12"), (32, "34"), (32, "12"), (32, "1"),
                 (40, "1"), (40, "12"), (50, "1"), (50, "12"), (63, "1"), (63, "12"),
                 (80, "12"), (110, "12")]
for size, code in MALE_ADAPTERS:
    text, _ = THREADS[code]
    add(f"90500-{size}-{code}", "ADAPTER", f"Male adapter {size}mm x {text} BSP", size_text(size),
        2.6 + 1.6 * size_factor(size), 50, OD2=text, AT2="MALE BSP")
FEMALE_ADAPTERS = [(20, "12"), (25, "34"), (25, "12"), (32, "1"), (32, "34"), (40, "1")]
for size, code in FEMALE_ADAPTERS:
    text, _ = THREADS[code]
    add(f"90510-{size}-{code}", "ADAPTER", f"Female adapter {size}mm x {text} BSP",
        size_text(size), 2.8 + 1.6 * size_factor(size), 50, OD2=text, AT2="FEMALE BSP")
add("90520-34-12", "ADAPTER", '3/4" male to 1/2" female reducing nipple', '3/4"', 2.2, 51,
    OD2='1/2"', AT1="MALE BSP", AT2="FEMALE BSP")
add("90520-12-12", "ADAPTER", '1/2" hex nipple male x male', '1/2"', 1.7, 51,
    AT1="MALE BSP", AT2="MALE BSP")
add("90520-12-06", "ADAPTER", '1/2" male to 1/4" female reducing nipple', '1/2"', 1.9, 51,
    OD2='1/4"', AT1="MALE BSP", AT2="FEMALE BSP", EOL="1")

# --- clips ----------------------------------------------------------------------
for size in PIPE_SIZES:
    add(f"90800-{size}", "PIPE-CLIP", f"Steel pipe clip {size}mm", size_text(size),
        0.9 + 0.5 * size_factor(size), 60, ATR="STEEL")
for size in PIPE_SIZES:
    add(f"90810-{size}", "PIPE-CLIP", f"Technopolymer pipe clip {size}mm (pack of 10)",
        size_text(size), 4.5 + 2.5 * size_factor(size), 60, ATR="TECHNOPOLYMERIC", UPP="10")

# --- hoses and couplings -----------------------------------------------------------
for code, (text, od, _) in HOSES.items():
    for metres in (10, 20):
        add(f"91000-{code}-{metres}", "HOSE", f"Air hose {text} x {metres}m", od,
            7.5 * metres / 10 + 2.0 * (int(code) / 6), 70, LEN=str(metres * 1000),
            ATR="POLYMER", APN=f"ZH{code}{metres:02d}")
RECOILS = [("06", 4), ("06", 6), ("06", 8), ("09", 6), ("09", 8), ("12", 6)]
for code, metres in RECOILS:
    text, od, _ = HOSES[code]
    add(f"91050-{code}-{metres}", "HOSE", f"Recoil hose {text} x {metres}m with swivel", od,
        12.0 + 1.5 * metres + int(code) / 3, 71, LEN=str(metres * 1000),
        ATR="RECOIL POLYMER", APN=f"ZR{code}{metres:02d}")
COUPLING_SIZES = [("06", '1/4"', '1/4"'), ("09", '3/8"', "9.25"), ("12", '1/2"', '1/2"'),
                  ("34", '3/4"', '3/4"')]
for code, text, od in COUPLING_SIZES:
    add(f"91100-{code}-M", "COUPLING", f"Quick coupling {text} male BSP", od, 3.2, 72,
        AT2="MALE BSP")
    add(f"91100-{code}-F", "COUPLING", f"Quick coupling {text} female BSP", od, 3.4, 72,
        AT2="FEMALE BSP")
for code, text, od in COUPLING_SIZES[:3]:
    add(f"91110-{code}", "COUPLING", f"Hose tail coupling {text} barbed", od, 2.1, 72,
        AT1="FEMALE", AT2="MALE BSP")

# --- packages -------------------------------------------------------------------
packages = [
    ("KIT-T25-FRL", {
        "TYP": "PACKAGE", "DSC": "Drop kit: 25mm outlet tee, 1.5m drop, 4-port manifold",
        "CON": "25", "LEN": "1500", "FEM": "0",
        "PTS": "90100-25-25 90001-25 90010-25 90500-25-34 90604-34 90810-25",
        "SYM": "MALE_ADAPTOR 4-PORT-OUTLET FRL"}),
    ("KIT-F20-HOSE", {
        "TYP": "PACKAGE", "DSC": "Hose drop kit: 1/2\" threaded outlet, valve, 10m air hose",
        "CON": "20", "LEN": "10000", "FEM": "1", "HOS": '1/4"',
        "PTS": "90300-20-12 90420-12 91100-12-M 91100-06-F 91000-06-10",
        "SYM": "VALVE  COUPLER AIR-HOSE COUPLER"}),
    ("KIT-S40-TWIN", {
        "TYP": "PACKAGE", "DSC": "Twin outlet kit: 40mm saddle, 2-port outlet, ball valve",
        "CON": "40", "LEN": "1200", "FEM": "0",
        "PTS": "90200-40-20 90003-20 90010-20 90400-20 90602-20 90800-20 90800-20",
        "SYM": "2-PORT-OUTLET VALVE FILTER REGULATOR"}),
    ("KIT-F32-RECOIL", {
        "TYP": "PACKAGE", "DSC": "Recoil hose kit: 32mm threaded outlet, 6m recoil hose",
        "CON": "32", "LEN": "6000", "FEM": "1", "HOS": '1/4"',
        "PTS": "90300-32-12 90036-12-06 91050-06-6 91100-06-F",
        "SYM": "FILTER_AUTO COUPLER RECOIL-HOSE COUPLER"}),
]

HEADER = {
    "SUP": "ZAVOZA",
    "MAK": "ZAVOZA",
    "DSC": "ZAVOZA demonstration catalogue - invented parts and prices for trying PipeLoop",
    "EML": "orders@zavoza.example",
    "EXP": "31-12-2099",
}


def section(name, record):
    lines = [f"[{name}]"] + [f"{key}={value}" for key, value in record.items()] + [""]
    return lines


def write(path, lines):
    text = "\r\n".join(lines) + "\r\n"
    path.write_bytes(text.encode("cp1252"))


def main():
    keys = {key for key, _ in parts}
    for name, record in packages:
        missing = [k for k in record["PTS"].split() if k not in keys]
        assert not missing, (name, missing)

    lines = ["; ZAVOZA demonstration parts catalogue for PipeLoop.",
             "; Invented data: no real vendor's numbers or prices.",
             "; Written by make_demo_catalogue.py; edit the script, not this file.", ""]
    lines += section("CATALOGUE", HEADER)
    for key, record in parts:
        lines += section(key, record)
    for name, record in packages:
        lines += section(name, record)
    write(HERE / "PARTS.PLDBI", lines)

    # The demo price list: net prices (the list price less 12 %) in pounds,
    # until the end of 2099. Hoses are priced under their part numbers (APN),
    # so the part-number fallback of the price-list reader is used.
    expires = (datetime.date(2099, 12, 31) - datetime.date(1899, 12, 30)).days
    ppl = ["[PARTS-RRICE-LIST-FILE]", "Version=1", f"Expires={expires}", "Currency=\u00a3", ""]
    for key, record in parts:
        net = float(record["PRC"]) * 0.88
        units = record.get("UPP", "1")
        name = record.get("APN", key) if record["TYP"] == "HOSE" else key
        ppl += [f"[{name}]", f"PRC=\u00a3{net:.2f}", f"UPP={units}", ""]
    write(HERE / "demo.ppl", ppl)
    print(f"{len(parts)} parts, {len(packages)} packages")


if __name__ == "__main__":
    main()
