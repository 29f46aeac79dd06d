#!/usr/bin/env python3
"""The parser table from one run of bench_json_parse: MB/s of every parser at every job size and
the ratio of RapidJSON's time to each one's (above 1: faster than RapidJSON), from the medians of
the repetitions, in processor time as the rates are.

usage: parser_table.py BENCH_JSON_PARSE [more benchmark flags]"""
import json
import subprocess
import sys

ORDER = ["QuillonWire1252", "QuillonWireUtf8", "QuillonText", "RapidJsonDom", "NlohmannJson",
         "SimdJsonDom"]


def main():
    run = subprocess.run(sys.argv[1:] + ["--benchmark_format=json"], check=True,
                         capture_output=True, text=True)
    medians = {}
    for row in json.loads(run.stdout)["benchmarks"]:
        if row.get("aggregate_name") != "median":
            continue
        name, size = row["run_name"].split("/")
        medians.setdefault(name, {})[int(size)] = row
    sizes = sorted(medians["RapidJsonDom"])
    print("| parser | " + " | ".join(f"{size >> 10} KB" for size in sizes) + " |")
    print("|---|" + "---|" * len(sizes))
    for name, rows in sorted(medians.items(), key=lambda item: ORDER.index(item[0])):
        cells = []
        for size in sizes:
            row = rows[size]
            ratio = medians["RapidJsonDom"][size]["cpu_time"] / row["cpu_time"]
            cells.append(f"{row['bytes_per_second'] / 1e6:.0f} MB/s ({ratio:.2f})")
        print(f"| {name} | " + " | ".join(cells) + " |")


if __name__ == "__main__":
    main()
