#!/usr/bin/env python3
"""Reads Google Benchmark JSON results and prints the ratio table of docs/PERFORMANCE.md."""
import json
import sys

# (what is measured, numerator, denominator or None for an absolute limit, limit, unit)
RATIOS = [
    ("Album list fill, 3 columns, 100 000 albums, vs bare engine floor",
     "FillListFromHeader/100000", "FillListFromHeaderFloor/100000", 1.5, "x"),
    ("Find existing name, 100 000 vs 1 000 albums",
     "FindOrAddExistingName/100000", "FindOrAddExistingName/1000", 1.5, "x"),
    ("Add new name, 100 000 vs 1 000 albums",
     "FindOrAddNewName/100000", "FindOrAddNewName/1000", 1.5, "x"),
    ("Add-new on \"SELECT * FROM music\", 100 000 vs 1 000 albums",
     "AddNewAlbumRow/100000", "AddNewAlbumRow/1000", 1.5, "x"),
    ("Artist list editor with use counts, 100 000 albums",
     "FillArtistListEditor/100000", None, 1.0, "s"),
    ("Artist list editor, 100 000 vs 10 000 albums (10x data)",
     "FillArtistListEditor/100000", "FillArtistListEditor/10000", 15.0, "x"),
    ("Album list reload (model fill and layout), 100 000 albums, vs bare engine floor",
     "ListReload/100000", "ListReloadFloor/100000", 2.0, "x"),
    ("Selecting another album shows its page, 100 000 vs 1 000 albums",
     "ShowAlbumPage/100000", "ShowAlbumPage/1000", 1.5, "x"),
    ("Album page, 100 000 vs 1 000 albums",
     "WritePage/100000", "WritePage/1000", 1.5, "x"),
    ("Save album + 12 tracks + 16 names in one transaction, 100 000 vs 1 000 albums",
     "SaveAlbumWithTracks/100000", "SaveAlbumWithTracks/1000", 1.5, "x"),
    ("Album editor opens on 30 tracks, 16 name boxes filled, 100 000 albums",
     "OpenAlbumEditor/100000", None, 0.3, "s"),
    ("Album editor opens, 100 000 albums / 20 000 artists vs 1 000 / 200",
     "OpenAlbumEditor/100000", "OpenAlbumEditor/1000", 1.5, "x"),
    ("List document, 36 columns, 100 000 albums, vs bare engine floor",
     "WriteListTable/100000", "WriteListTableFloor/100000", 1.5, "x"),
]

UNIT_SECONDS = {"ns": 1e-9, "us": 1e-6, "ms": 1e-3, "s": 1.0}


def load(paths):
    times, extra = {}, {}
    for path in paths:
        with open(path) as f:
            data = json.load(f)
        for b in data.get("benchmarks", []):
            # With repetitions, the median stands for the benchmark; single runs stand alone.
            if b.get("run_type") == "aggregate":
                if b.get("aggregate_name") != "median":
                    continue
            elif b.get("repetitions", 1) > 1:
                continue
            name = b.get("run_name", b["name"])
            times[name] = b["real_time"] * UNIT_SECONDS[b.get("time_unit", "ns")]
            extra[name] = {k: v for k, v in b.items() if k.startswith("peak_rss")}
    return times, extra


def main():
    times, extra = load(sys.argv[1:])
    print("| Measure | Result | Limit | Met |")
    print("|---|---|---|---|")
    for label, num, den, limit, unit in RATIOS:
        if num not in times or (den and den not in times):
            continue
        if den:
            value = times[num] / times[den]
            result = f"{value:.2f}x ({times[num]*1e3:.2f} ms / {times[den]*1e3:.2f} ms)"
        else:
            value = times[num]
            result = f"{value:.3f} s"
        memory = next(iter(extra.get(num, {}).values()), None)
        if memory:
            result += f", peak {memory:.0f} MiB"
        met = "yes" if value <= limit else "NO"
        print(f"| {label} | {result} | {limit:g}{unit} | {met} |")


if __name__ == "__main__":
    main()
