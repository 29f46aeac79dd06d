#!/usr/bin/env python3
"""Runs clang-tidy on every source of the tree that the build compiles, JOBS at a time; any
finding fails. A source found clean is remembered under the cache folder by a key of everything
its result depends on (clang-tidy's version, .clang-tidy, the compile command, the source and
every header it includes, as the build's dependency list has them), so a second run checks only
what changed. Given FILEs, only those of them that the build compiles are checked.
Usage: clang_tidy_run.py BUILD_DIR JOBS CACHE_DIR [FILE...]"""
import concurrent.futures
import hashlib
import json
import os
import re
import subprocess
import sys

TIDY = "clang-tidy-14"
GENERATED = re.compile(r"^[0-9]+ warnings? generated\.$")
FOLDERS = ("src", "tests", "tools", "bench", "fuzz")


def header_lists(build):
    """Source file -> the files it includes, from ninja's dependency log."""
    output = subprocess.run(["ninja", "-C", build, "-t", "deps"], capture_output=True, text=True,
                            check=True).stdout
    by_object, current = {}, None
    for line in output.splitlines():
        if line and not line.startswith(" "):
            current = line.split(":", 1)[0]
            by_object[current] = []
        elif line.strip() and current is not None:
            by_object[current].append(os.path.normpath(os.path.join(build, line.strip())))
    return by_object


def main():
    build, jobs, cache = sys.argv[1], int(sys.argv[2]), sys.argv[3]
    root = os.getcwd()
    chosen = {os.path.abspath(name) for name in sys.argv[4:]}
    entries = {}
    for entry in json.load(open(os.path.join(build, "compile_commands.json"))):
        name = os.path.normpath(os.path.join(entry["directory"], entry["file"]))
        relative = os.path.relpath(name, root)
        if relative.split(os.sep, 1)[0] in FOLDERS and (not chosen or name in chosen):
            entries.setdefault(name, entry)
    headers = header_lists(build)
    version = subprocess.run([TIDY, "--version"], capture_output=True, text=True).stdout
    config = open(".clang-tidy", "rb").read()
    digests = {}

    def digest(path):
        if path not in digests:
            try:
                digests[path] = hashlib.sha256(open(path, "rb").read()).hexdigest()
            except OSError:
                digests[path] = "missing"
        return digests[path]

    def key(name, entry):
        output = entry.get("output") or entry["command"].split(" -o ", 1)[1].split()[0]
        included = headers.get(output)
        if included is None:
            return None  # not built yet: nothing to key it by
        parts = [version, config.hex(), entry.get("command", " ".join(entry.get("arguments", []))),
                 digest(name)] + [p + digest(p) for p in sorted(set(included))]
        # Keyed without the checkout's own path, so that another clone shares what was found.
        text = "\n".join(parts).replace(root, "<checkout>")
        return hashlib.sha256(text.encode()).hexdigest()

    os.makedirs(cache, exist_ok=True)
    keys = {name: key(name, entry) for name, entry in sorted(entries.items())}
    todo = [n for n, k in keys.items() if k is None or not os.path.exists(os.path.join(cache, k))]
    print(f"clang-tidy on {len(todo)} of {len(keys)} files (the others unchanged since found clean)",
          flush=True)

    def check(name):
        result = subprocess.run(
            [TIDY, "-p", build, "--quiet", f"--header-filter=^{root}/({'|'.join(FOLDERS)})/",
             # The build compiles with GCC: its warning options unknown to clang are no findings.
             "--extra-arg=-Wno-unknown-warning-option", name],
            capture_output=True, text=True)
        text = "\n".join(line for line in (result.stdout + result.stderr).splitlines()
                         if not GENERATED.match(line))
        return name, result.returncode, text.strip()

    failed = 0
    with concurrent.futures.ThreadPoolExecutor(jobs) as pool:
        for name, status, text in pool.map(check, todo):
            if status == 0 and not text:
                if keys[name] is not None:
                    open(os.path.join(cache, keys[name]), "w").close()
            else:
                failed += 1
                print(text or f"{name}: clang-tidy ended with status {status}", flush=True)
    if failed:
        print(f"clang-tidy: findings in {failed} files")
        return 1
    print("clang-tidy: no findings")
    return 0


if __name__ == "__main__":
    sys.exit(main())
