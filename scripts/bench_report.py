#!/usr/bin/env python3
"""Reads Google Benchmark JSON results and prints the ratio table of docs/PERFORMANCE.md."""
import json
import re
import sys

# Start-up is held against the in-process parts it cannot do without: opening the catalogue,
# reloading the album list and filling the artist tree.
def start_up_floor(albums):
    return tuple(f"{name}/{albums}" for name in ("OpenCatalogue", "ListReload", "TreeFill"))


# (what is measured, numerator, denominator (one benchmark or a tuple whose times add up) or
# None for an absolute limit, limit or None when the row is for information, unit)
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
    ("Artist list editor opened (fill, sort, first layout and paint), 20 000 artists, 100 000 albums",
     "OpenArtistListEditor/100000", None, 1.0, "s"),
    ("Artist list editor opened vs the core's fill into a plain container, 100 000 albums",
     "OpenArtistListEditor/100000", "FillArtistListEditor/100000", 1.5, "x"),
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
    ("Start-up to a filled window, 1 000 albums, vs open + list reload + tree fill",
     "StartUp/1000", start_up_floor(1000), None, "x"),
    ("Start-up to a filled window, 10 000 albums, vs open + list reload + tree fill",
     "StartUp/10000", start_up_floor(10000), None, "x"),
    ("Start-up to a filled window, 100 000 albums, vs open + list reload + tree fill",
     "StartUp/100000", start_up_floor(100000), 1.5, "x"),
    ("Start-up to a filled window, 100 000 albums",
     "StartUp/100000", None, 2.0, "s"),
    ("An album and its tracks read in full, 50 000 vs 5 000 tracks (10x data)",
     "ShowLargeAlbum/50000", "ShowLargeAlbum/5000", 15.0, "x"),
    ("Album page, 50 000 vs 5 000 tracks (10x data)",
     "PageOfLargeAlbum/50000", "PageOfLargeAlbum/5000", 15.0, "x"),
    ("Find by artist, list reload, 100 000 albums, vs bare engine floor",
     "FindReload/0", "FindReloadFloor/0", 1.5, "x"),
    ("Find by title LIKE (full scan), list reload, 100 000 albums, vs bare engine floor",
     "FindReload/1", "FindReloadFloor/1", 1.5, "x"),
    ("Print dialog preview, 36 columns, 100 000 albums",
     "PrintDialogPreview/iterations:1", None, 5.0, "s"),
    ("Print dialog preview, 36 columns, 100 000 albums, vs writing and loading the document",
     "PrintDialogPreview/iterations:1", "PrintDialogPreviewFloor/iterations:1", 1.5, "x"),
    ("Discogs collection import, 100 000 rows into an empty catalogue, vs the same inserts "
     "through the bare engine in one transaction",
     "ImportDiscogs/100000/iterations:1", "ImportDiscogsFloor/100000/iterations:1", 2.0, "x"),
    ("Release search answer, 100 candidates (665 KB), mapped into the candidate list",
     "MapSearchAnswer", None, 0.05, "s"),
    ("Release search answer mapped, vs parsing the same bytes into a JSON document",
     "MapSearchAnswer", "MapSearchAnswerFloor", None, "x"),
]

UNIT_SECONDS = {"ns": 1e-9, "us": 1e-6, "ms": 1e-3, "s": 1.0}


def plain_name(name):
    # Benchmarks with their own repetitions or timing carry them in their names:
    # "StartUp/1000/repeats:9/manual_time" is "StartUp/1000" here.
    return re.sub(r"/(repeats:\d+|manual_time|real_time)", "", name)


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
            name = plain_name(b.get("run_name", b["name"]))
            times[name] = b["real_time"] * UNIT_SECONDS[b.get("time_unit", "ns")]
            extra[name] = {k: v for k, v in b.items() if k.startswith("peak_rss")}
    return times, extra


def main():
    times, extra = load(sys.argv[1:])
    print("| Measure | Result | Limit | Met |")
    print("|---|---|---|---|")
    for label, num, den, limit, unit in RATIOS:
        parts = (den,) if isinstance(den, str) else (den or ())
        if num not in times or any(part not in times for part in parts):
            continue
        if parts:
            floor = sum(times[part] for part in parts)
            value = times[num] / floor
            result = f"{value:.2f}x ({times[num]*1e3:.2f} ms / {floor*1e3:.2f} ms)"
        else:
            value = times[num]
            result = f"{value:.3f} s"
        memory = next(iter(extra.get(num, {}).values()), None)
        if memory:
            result += f", peak {memory:.0f} MiB"
        if limit is None:
            print(f"| {label} | {result} | - | - |")
            continue
        met = "yes" if value <= limit else "NO"
        print(f"| {label} | {result} | {limit:g}{unit} | {met} |")

if __name__ == "__main__":
    main()
