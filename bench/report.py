#!/usr/bin/env python3
"""Runs every benchmark of a Release build and prints each figure as a ratio to the baseline
measured in the same program run (medians of several repetitions, real time), then the sizes of
the PNG files and the resident memory of a large open, each from its own program run.

Usage: bench/report.py [build-dir [program...]]   (configure it with -DCMAKE_BUILD_TYPE=Release)
With programs named, only their figures are measured and printed.
"""
import json
import os
import subprocess
import sys
import tempfile

# Each action on a 4096 x 4096 document, against one frame at 60 Hz.
FRAME = 16e-3
ACTIONS = [
    ("pen_stroke_bench", "PressAt/4096", "a press with the pen"),
    ("pen_stroke_bench", "PlotAt/4096", "a plot (a held move into a cell)"),
    ("transforms_bench", "Command/Fill", "a fill of the whole document"),
    ("transforms_bench", "Command/ShiftUp", "Shift Up"),
    ("transforms_bench", "Command/ShiftRight", "Shift Right"),
    ("transforms_bench", "Command/ShiftDown", "Shift Down"),
    ("transforms_bench", "Command/ShiftLeft", "Shift Left"),
    ("transforms_bench", "Command/MirrorVertical", "Mirror Virtical"),
    ("transforms_bench", "Command/MirrorHorizontal", "Mirror Horizontal"),
    ("transforms_bench", "Command/Rotate", "Rotate"),
    ("transforms_bench", "Command/RotateFirst/iterations:1", "the first Rotate, on new memory"),
    ("transforms_bench", "Command/UndoAfterRotate", "Undo after Rotate (everything back)"),
    ("transforms_bench", "Command/UndoAfterPress", "Undo after a press"),
]

# program, benchmark, baseline, aim
PAIRS = [
    ("bmp_codec_bench", "BM_Decode/24", "BM_Memcpy/24", "within 2x"),
    ("bmp_codec_bench", "BM_Encode/24", "BM_Memcpy/24", "within 2x"),
    ("bmp_codec_bench", "BM_Decode/8", "BM_Memcpy/8", "within 2x"),
    ("bmp_codec_bench", "BM_Encode/8", "BM_Memcpy/8", "within 2x"),
    ("bmp_codec_bench", "BM_Decode/24", "BM_MemcpySurface/24", "(surface-sized copy)"),
    ("bmp_codec_bench", "BM_Encode/24", "BM_MemcpySurface/24", "(surface-sized copy)"),
    ("bmp_codec_bench", "BM_Decode/8", "BM_MemcpySurface/8", "(surface-sized copy)"),
    ("bmp_codec_bench", "BM_Encode/8", "BM_MemcpySurface/8", "(surface-sized copy)"),
    ("surface_bench", "FloodOpen/1024", "FillBaseline/1024", "within 3x"),
    ("surface_bench", "FloodOpen/4096", "FillBaseline/4096", "within 3x"),
    ("surface_bench", "FloodMaze/4096", "FloodMaze/1024", "about 16x"),
    ("surface_bench", "FloodMaze/1024", "FillBaseline/1024", "(per byte)"),
    ("surface_bench", "FloodMaze/4096", "FillBaseline/4096", "(per byte)"),
    ("surface_bench", "FloodSingle/4096", "FloodSingle/1024", "about 1x, well under 1 us"),
    ("surface_bench", "FillSquares", "FillSquaresBaseline", "within 2x"),
    ("grid_view_bench", "RedrawGridAt/defaults", "FillGridAt/defaults", "within 2x"),
    ("grid_view_bench", "RedrawGridAt/window64_dot16", "FillGridAt/window64_dot16", "within 2x"),
    ("grid_view_bench", "DragStep", "FillGridAt/defaults", "well under 1 ms"),
    ("pen_stroke_bench", "PlotAt/4096", "PlotAt/32", "within 1.5x"),
    ("pen_stroke_bench", "PressAt/4096", "PressAt/32", "within 1.5x"),
    ("pen_stroke_bench", "PenStrokeAcrossRow", "HeldMovesWithinOneCell", "one plot per cell"),
    ("pen_stroke_bench", "PenStrokeAcrossRow", "FillGridSurface", "(per move event)"),
    ("transforms_bench", "ShiftUp", "Memcpy", "within 3x"),
    ("transforms_bench", "ShiftRight", "Memcpy", "within 3x"),
    ("transforms_bench", "ShiftDown", "Memcpy", "within 3x"),
    ("transforms_bench", "ShiftLeft", "Memcpy", "within 3x"),
    ("transforms_bench", "MirrorVertical", "Memcpy", "within 6x"),
    ("transforms_bench", "MirrorHorizontal", "Memcpy", "within 6x"),
    ("transforms_bench", "Rotate", "Memcpy", "within 6x"),
    ("transforms_bench", "Command/ShiftUp", "Memcpy", "(whole command)"),
    ("transforms_bench", "Command/ShiftRight", "Memcpy", "(whole command)"),
    ("transforms_bench", "Command/ShiftDown", "Memcpy", "(whole command)"),
    ("transforms_bench", "Command/ShiftLeft", "Memcpy", "(whole command)"),
    ("transforms_bench", "Command/MirrorVertical", "Memcpy", "(whole command)"),
    ("transforms_bench", "Command/MirrorHorizontal", "Memcpy", "(whole command)"),
    ("transforms_bench", "Command/Rotate", "Memcpy", "(whole command)"),
    ("transforms_bench", "Command/Fill", "Memcpy", "(whole command)"),
    ("transforms_bench", "Command/RotateFirst/iterations:1", "Memcpy", "(whole command)"),
    ("transforms_bench", "Command/UndoAfterRotate", "Memcpy", "(whole command)"),
    ("transforms_bench", "Command/UndoAfterPress", "Memcpy", "(whole command)"),
    ("document_files_bench", "Open/24bit_1024", "ReadBaseline/24bit_1024", "(plain read)"),
    ("document_files_bench", "Save/24bit_1024", "WriteBaseline/24bit_1024", "(plain write)"),
    ("document_files_bench", "ExportPng/24bit_1024", "WriteBaseline/24bit_1024", "(plain write)"),
    ("document_files_bench", "Open/8bit_128", "ReadBaseline/8bit_128", "(plain read)"),
    ("document_files_bench", "Save/8bit_128", "WriteBaseline/8bit_128", "(plain write)"),
    ("document_files_bench", "ExportPng/8bit_128", "WriteBaseline/8bit_128", "(plain write)"),
    ("png_export_bench", "Export/sprite24", "LibpngDefaults/sprite24", "within 1.5x"),
    ("png_export_bench", "Export/sprite8", "LibpngDefaults/sprite8", "within 1.5x"),
    ("png_export_bench", "Export/palette24", "LibpngDefaults/palette24", "within 1.5x"),
    ("png_export_bench", "Export/palette8", "LibpngDefaults/palette8", "within 1.5x"),
    ("png_export_bench", "Export/tiles24", "LibpngDefaults/tiles24", "within 1.5x"),
    ("png_export_bench", "Export/tiles8", "LibpngDefaults/tiles8", "within 1.5x"),
    ("series_menu_bench", "BM_RebuildSeriesMenu", "BM_BareListing", "within 3x"),
    ("series_menu_bench", "BM_RebuildSeriesMenuWindow", "BM_BareListing", "within 3x, under 1 s"),
]


def benchmarks(build, program, repetitions):
    env = dict(os.environ, QT_QPA_PLATFORM="offscreen")
    with tempfile.NamedTemporaryFile(suffix=".json") as out:
        subprocess.run(
            [os.path.join(build, "bench", program), "--benchmark_out=" + out.name,
             "--benchmark_out_format=json", f"--benchmark_repetitions={repetitions}",
             "--benchmark_report_aggregates_only=true"],
            check=True, capture_output=True, text=True, env=env)
        return json.load(out)["benchmarks"]


def run(build, program):
    medians = {}
    for b in benchmarks(build, program, 5):
        if b.get("aggregate_name") == "median":
            scale = {"ns": 1e-9, "us": 1e-6, "ms": 1e-3, "s": 1.0}[b["time_unit"]]
            medians[b["run_name"]] = b["real_time"] * scale
    return medians


def shown(seconds):
    return f"{seconds * 1e3:.1f} ms" if seconds >= 1e-3 else f"{seconds * 1e6:.1f} us"


def main():
    build = sys.argv[1] if len(sys.argv) > 1 else "build-release"
    chosen = set(sys.argv[2:]) or {p for p, *_ in PAIRS} | {"png_export_bench",
                                                             "document_memory_bench"}
    results = {}
    print("| Program | Measured | Baseline (same run) | Time | Ratio | Aim |")
    print("|---|---|---|---|---|---|")
    for program, name, base, aim in PAIRS:
        if program not in chosen:
            continue
        if program not in results:
            results[program] = run(build, program)
        m = results[program]
        t, b = m[name], m[base]
        print(f"| {program} | {name} | {base} | {shown(t)} | {t / b:.2f}x | {aim} |")

    print()
    print("| Action at 4096 x 4096 | Time | Share of a 16 ms frame |")
    print("|---|---|---|")
    for program, name, what in ACTIONS:
        if program not in results:
            continue
        t = results[program][name]
        print(f"| {what} | {shown(t)} | {t / FRAME:.2f} |")

    if "png_export_bench" in chosen:
        png_sizes(build)
    if "document_memory_bench" in chosen:
        memory(build)


def png_sizes(build):
    print()
    print("| PNG picture | Our file | libpng's defaults | Size ratio | Aim |")
    print("|---|---|---|---|---|")
    sizes = {b["run_name"]: b["bytes"] for b in benchmarks(build, "png_export_bench", 1)
             if "bytes" in b}
    for name in sorted(n.split("/")[1] for n in sizes if n.startswith("Export/")):
        ours, theirs = sizes["Export/" + name], sizes["LibpngDefaults/" + name]
        print(f"| {name} | {ours:.0f} B | {theirs:.0f} B | {ours / theirs:.2f}x | no larger |")


def memory(build):
    print()
    print("| Resident memory, 16384 x 4096 8-bit file | Growth | Pixel bytes | Ratio | Aim |")
    print("|---|---|---|---|---|")
    m = benchmarks(build, "document_memory_bench", 1)[0]
    for what, grown, base, ratio in (
            ("after Open", m["opened_MiB"] - m["before_MiB"], m["pixels_MiB"], m["open_ratio"]),
            ("after the first pen stroke", m["edited_MiB"] - m["before_MiB"], m["pixels_MiB"],
             m["edit_ratio"])):
        print(f"| {what} (window before: {m['before_MiB']:.1f} MiB) | {grown:.1f} MiB | "
              f"{base:.0f} MiB | {ratio:.3f}x | within 1.1x |")


if __name__ == "__main__":
    main()
