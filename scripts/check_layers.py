#!/usr/bin/env python3
"""Fails when an #include or a CMake link line points up the layers.

Layers, low to high: platform <- json <- print <- documents; link sees jobs only as value trees
(platform, json); archive (zip files) sees platform alone; the adapters sit above print; the shell's decisions sit above documents and
link; the shell's Qt and Win32 views above the shell and their toolkit's adapters; the program
wires them all. Only the Qt views, the Qt and CUPS adapters and the program include Qt; only the
CUPS adapter and the program include CUPS; only platform includes ICU; Windows' own headers only
in the Win32 and winspool adapters, the Win32 views, the program and platform's *_win32 sources. Tests, tools, benchmarks and fuzz targets
follow the toolkit rules of the layer they exercise (core tests need no display).

Prints every offending line as file:line and exits 1 when there is one.
With --drawing, prints instead the layers as the includes of src/ actually have them: each
layer at its height (the longest chain of includes below it), what it includes directly (leaving
out what it reaches through those) and the toolkits it uses. With --drawing-matches FILE, fails
unless the code block that follows the line naming "check_layers.py --drawing" in FILE is that
drawing.
Usage: check_layers.py [--drawing | --drawing-matches FILE] [ROOT]
       (ROOT: the source tree, by default this script's parent folder)
"""
import pathlib
import re
import sys

CORE = ("platform", "json", "print", "documents")
# Each layer and the layers its sources may include (itself always).
ALLOWED = {
    "platform": set(),
    "json": {"platform"},
    "print": {"platform", "json"},
    "archive": {"platform"},
    "documents": {"platform", "json", "print"},
    "link": {"platform", "json"},
    "adapters/spool": {"platform", "json", "print"},
    "adapters/cups": {"platform", "json", "print"},
    "adapters/network_printer": {"platform", "json", "print"},
    "adapters/qt": {"platform"},
    "adapters/win32": {"platform"},
    "adapters/winspool": {"platform", "json", "print", "adapters/win32"},
    "shell": {"platform", "json", "print", "documents", "link"},
    "shell/qt": {"platform", "json", "print", "documents", "link", "shell", "adapters/qt"},
    "shell/win32": {"platform", "json", "print", "documents", "link", "shell", "adapters/win32"},
    "app": {"platform", "json", "print", "archive", "documents", "link", "shell", "shell/qt",
            "shell/win32", "adapters/spool", "adapters/cups", "adapters/network_printer",
            "adapters/qt", "adapters/win32", "adapters/winspool"},
}
# Outside libraries only some layers may use, by the first folder of the include.
TOOLKITS = {
    "Qt": {"adapters/cups", "adapters/qt", "shell/qt", "app"},
    "CUPS": {"adapters/cups", "app"},
    "ICU": {"platform"},
    "Win32": {"platform", "adapters/win32", "adapters/winspool", "shell/win32", "app"},
}
# Windows' own headers.
WIN32_HEADERS = {"windows.h", "winsock2.h", "ws2tcpip.h", "winspool.h", "shellapi.h", "commctrl.h",
                 "commdlg.h", "wincodec.h", "objbase.h", "shlobj.h"}
# Test folders that exercise a layer under another name; other test folders, tools, bench and
# fuzz count as core code (no toolkit).
TEST_FOLDERS = {"cups_integration": "adapters/cups"}
SOURCE_SUFFIXES = {".h", ".hpp", ".cpp", ".cc"}
INCLUDE = re.compile(r'^\s*#\s*include\s*([<"])([^>"]+)[>"]')


def layer_of(relative):
    """The layer a path inside src/ (or a quoted include) belongs to, or None."""
    parts = pathlib.PurePosixPath(relative).parts
    for depth in (2, 1):
        name = "/".join(parts[:depth])
        if len(parts) > depth and name in ALLOWED:
            return name
    return None


def toolkit_of(header):
    first = header.split("/", 1)[0]
    if re.fullmatch(r"Q[A-Za-z0-9]*", first) or first.startswith("Qt"):
        return "Qt"
    if first == "cups":
        return "CUPS"
    if first == "unicode":
        return "ICU"
    if header.lower() in WIN32_HEADERS:
        return "Win32"
    return None


def check_includes(root, path, layer, check_layers):
    problems = []
    text = path.read_text(encoding="utf-8", errors="replace")
    where = path.relative_to(root).as_posix()
    for number, line in enumerate(text.splitlines(), 1):
        match = INCLUDE.match(line)
        if not match:
            continue
        quote, header = match.groups()
        shown = f"{quote}{header}{'>' if quote == '<' else chr(34)}"
        toolkit = toolkit_of(header)
        if toolkit and layer not in TOOLKITS[toolkit]:
            problems.append(f"{where}:{number}: #include {shown}: {layer or 'core code'} "
                            f"may not use {toolkit}")
        if not check_layers or quote == "<":
            continue
        target = layer_of(header)
        if target is None:
            if not (path.parent / header).exists():
                problems.append(f"{where}:{number}: #include {shown}: not a header of the layers")
        elif target != layer and target not in ALLOWED[layer]:
            problems.append(f"{where}:{number}: #include {shown}: {layer} may not include "
                            f"{target} (it may include: {', '.join(sorted(ALLOWED[layer])) or 'nothing'})")
    return problems


def sources(folder):
    if not folder.is_dir():
        return []
    return sorted(p for p in folder.rglob("*") if p.suffix in SOURCE_SUFFIXES and p.is_file())


LIBRARY = re.compile(r"quillon_library\(\s*(\S+)\s+(\S+)\s*\)")
ADD_LIBRARY = re.compile(r"add_(?:library|executable)\(\s*(\S+)")
LINK = re.compile(r"target_link_libraries\(\s*(\S+)([^)]*)\)", re.S)


def check_link_lines(root):
    """Each CMake library of src/ takes the layer of its folder; its link line may name only
    libraries of the layers it may include, and Qt or CUPS only where it may use them."""
    src = root / "src"
    lists = sorted(src.rglob("CMakeLists.txt"))
    layers = {}
    for cmake in lists:
        folder = cmake.parent.relative_to(src).as_posix()
        text = cmake.read_text(encoding="utf-8")
        for name, directory in LIBRARY.findall(text):
            path = (pathlib.PurePosixPath(folder) / directory).as_posix() if folder != "." else directory
            layers[name] = layer_of(path + "/x") or "app"
        for name in ADD_LIBRARY.findall(text):
            layers.setdefault(name, layer_of(folder + "/x") or "app")
    problems = []
    for cmake in lists:
        text = cmake.read_text(encoding="utf-8")
        where = cmake.relative_to(root).as_posix()
        for match in LINK.finditer(text):
            name = match.group(1)
            layer = layers.get(name)
            if layer is None:
                continue
            number = text.count("\n", 0, match.start()) + 1
            for item in match.group(2).split():
                target = layers.get(item)
                if item.startswith("Qt6::"):
                    toolkit = "Qt"
                elif item.startswith("Cups::"):
                    toolkit = "CUPS"
                elif item.startswith("ICU::"):
                    toolkit = "ICU"
                else:
                    toolkit = None
                if toolkit and layer not in TOOLKITS[toolkit]:
                    problems.append(f"{where}:{number}: {name} ({layer}) may not link {item}")
                if target and target != layer and target not in ALLOWED[layer]:
                    problems.append(f"{where}:{number}: {name} ({layer}) may not link {item} "
                                    f"({target})")
    return problems


def included_layers(root):
    """Layer -> (the other layers its sources include, the toolkits they include)."""
    layers = {}
    for path in sources(root / "src"):
        layer = layer_of(path.relative_to(root / "src").as_posix())
        if layer is None:
            continue
        used, toolkits = layers.setdefault(layer, (set(), set()))
        for line in path.read_text(encoding="utf-8", errors="replace").splitlines():
            match = INCLUDE.match(line)
            if not match:
                continue
            quote, header = match.groups()
            toolkit = toolkit_of(header)
            if toolkit:
                toolkits.add(toolkit)
            target = layer_of(header) if quote == '"' else None
            if target and target != layer:
                used.add(target)
    for used, _ in list(layers.values()):
        for target in used:
            layers.setdefault(target, (set(), set()))
    return layers


def drawing(root):
    """The layers' drawing as lines of text, highest layer first."""
    layers = included_layers(root)
    heights = {}

    def height(layer, chain=()):
        if layer in chain:  # a cycle is no layering: the check names its includes
            return 0
        if layer not in heights:
            below = [height(t, chain + (layer,)) + 1 for t in layers[layer][0]]
            heights[layer] = max(below, default=0)
        return heights[layer]

    def reached(layer):
        found, todo = set(), list(layers[layer][0])
        while todo:
            target = todo.pop()
            if target not in found:
                found.add(target)
                todo += layers[target][0]
        return found

    order = sorted(layers, key=lambda name: (-height(name), name))
    width = max(len(name) for name in order) + 2
    lines = []
    for level in range(height(order[0]), -1, -1):
        lines.append(f"{level}  " + "  ".join(n for n in order if heights[n] == level))
    lines.append("")
    for name in order:
        used, toolkits = layers[name]
        direct = [t for t in used if not any(t in reached(o) for o in used if o != t)]
        direct.sort(key=lambda t: (-heights[t], t))
        words = ["on"] + [t + "," for t in direct[:-1]] + direct[-1:] if direct else ["on nothing"]
        if toolkits:
            words[-1] += ";"
            words += ["uses"] + [t + "," for t in sorted(toolkits)[:-1]] + sorted(toolkits)[-1:]
        text = name.ljust(width)
        for word in words:  # lines of 100 characters at most
            if len(text) + 1 + len(word) > 100 and text.strip():
                lines.append(text)
                text = " " * width + word
            else:
                text += ("" if text.endswith(" ") else " ") + word
        lines.append(text)
    return lines


def drawing_in(document):
    """The code block after the line that names the drawing's command, as lines."""
    lines = document.read_text(encoding="utf-8").splitlines()
    for number, line in enumerate(lines):
        if "check_layers.py --drawing" in line:
            start = next((i for i in range(number + 1, len(lines)) if lines[i].startswith("```")),
                         None)
            if start is None:
                break
            end = next((i for i in range(start + 1, len(lines)) if lines[i].startswith("```")),
                       len(lines))
            return lines[start + 1:end]
    return None


def main():
    arguments = sys.argv[1:]
    mode, document = None, None
    if arguments and arguments[0] == "--drawing":
        mode, arguments = "drawing", arguments[1:]
    elif len(arguments) >= 2 and arguments[0] == "--drawing-matches":
        mode, document, arguments = "matches", pathlib.Path(arguments[1]), arguments[2:]
    root = pathlib.Path(arguments[0] if arguments else pathlib.Path(__file__).parent.parent)
    root = root.resolve()
    if mode == "drawing":
        print("\n".join(drawing(root)))
        return 0
    if mode == "matches":
        pasted = drawing_in(document)
        if pasted is None:
            print(f"{document}: no code block after a line naming check_layers.py --drawing")
            return 1
        if pasted != drawing(root):
            print(f"{document}: the layers' drawing differs from the includes; paste the output "
                  "of scripts/check_layers.py --drawing")
            return 1
        return 0
    problems = []
    for path in sources(root / "src"):
        layer = layer_of(path.relative_to(root / "src").as_posix())
        if layer is None:
            problems.append(f"{path.relative_to(root).as_posix()}:1: outside every layer folder")
            continue
        problems += check_includes(root, path, layer, check_layers=True)
    for path in sources(root / "tests"):
        relative = path.relative_to(root / "tests").as_posix()
        first = relative.split("/", 1)[0]
        layer = TEST_FOLDERS.get(first) or layer_of(relative)
        problems += check_includes(root, path, layer, check_layers=False)
    for folder in ("tools", "bench", "fuzz"):
        for path in sources(root / folder):
            problems += check_includes(root, path, None, check_layers=False)
    problems += check_link_lines(root)
    for problem in problems:
        print(problem)
    if problems:
        print(f"{len(problems)} dependencies point up the layers")
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
