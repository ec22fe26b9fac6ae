#!/usr/bin/env bash
# The INI engine against Python's configparser on the same generated text of
# 100 000 sections of ten keys (about 20 MB): both parse it and look up every
# key by name. Prints our parse rate, lookup rate and time, Python's time, and
# the ratio. Usage: bench/ini_vs_python.sh [build dir]
# (default $PIPELOOP_BUILD_DIR, else build/). Needs the ini_bench target built.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-${PIPELOOP_BUILD_DIR:-$root/build}}
bench=$build/bench/ini_bench
[ -x "$bench" ] || { echo "ini_vs_python: $bench not built" >&2; exit 1; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$bench" --ini_dump="$work/text.ini"
"$bench" --benchmark_filter='^BM_IniParse/100000$|^BM_IniFindEveryKey/100000$|^BM_IniLookupEveryKey/100000$|^BM_IniParseAndLookUpEveryKey$' \
  --benchmark_repetitions=3 --benchmark_format=json >"$work/ours.json" 2>/dev/null

python3 - "$work/text.ini" "$work/ours.json" <<'PYTHON'
import configparser
import gc
import json
import sys
import time

path, ours_path = sys.argv[1], sys.argv[2]
with open(path, "rb") as f:
    raw = f.read()
# Windows-1252, byte-preserving like ours: latin-1 maps every byte.
text = raw.decode("latin-1")

def parse():
    # No interpolation of "%", repeated names allowed; keys are case-insensitive
    # (lower-cased by optionxform) and sections keep their spelling.
    parser = configparser.ConfigParser(interpolation=None, strict=False)
    parser.read_string(text)
    return parser

# The names to look up, from a plain scan (the generated text is regular).
names = []
for line in text.split("\r\n"):
    if line.startswith("["):
        section = line[1:-1]
    elif "=" in line:
        names.append((section, line.split("=", 1)[0]))

def timed_run():
    # CPU time of the process, as Google Benchmark reports ours.
    start = time.process_time()
    parser = parse()
    parsed = time.process_time()
    get = parser.get
    for section, key in names:
        get(section, key)
    return parsed - start, time.process_time() - start

# One run each (a run takes tens of seconds): as configparser is normally used,
# and with the cyclic garbage collector off, which otherwise makes it slower
# than linear on a text this size.
python_parse, python_total = timed_run()
gc.disable()
nogc_parse, nogc_total = timed_run()
gc.enable()

with open(ours_path) as f:
    runs = json.load(f)["benchmarks"]

def ours(name, field):
    # The fastest CPU time of the repetitions, as for Python; Google Benchmark's
    # rates are per CPU second.
    values = [r for r in runs if r["run_name"] == name and r.get("run_type") == "iteration"]
    best = min(values, key=lambda r: r["cpu_time"])
    return best[field], best["cpu_time"] / 1e3  # ms -> s

parse_rate, ours_parse = ours("BM_IniParse/100000", "bytes_per_second")
find_rate, _ = ours("BM_IniFindEveryKey/100000", "items_per_second")
lookup_rate, _ = ours("BM_IniLookupEveryKey/100000", "items_per_second")
_, ours_total = ours("BM_IniParseAndLookUpEveryKey", "bytes_per_second")

mb = len(raw) / 1e6
print(f"text: {mb:.1f} MB, {len(names)} keys in {len(set(s for s, _ in names))} sections")
print(f"ours:   parse {parse_rate / 1e6:.0f} MB/s ({ours_parse * 1e3:.0f} ms), "
      f"lookup {find_rate / 1e6:.1f} M/s found, {lookup_rate / 1e6:.1f} M/s with the value decoded, "
      f"parse + every lookup {ours_total * 1e3:.0f} ms")
for label, p, t in (("python", python_parse, python_total),
                    ("  no gc", nogc_parse, nogc_total)):
    print(f"{label}: parse {mb / p:.1f} MB/s ({p * 1e3:.0f} ms), "
          f"parse + every lookup {t * 1e3:.0f} ms; "
          f"ratio {p / ours_parse:.0f}x parse, {t / ours_total:.0f}x parse + every lookup")
PYTHON
