#!/usr/bin/env python3
"""Checks that a file holds one ESC/POS document as the agent writes it and prints its text:
the printed lines decoded from Windows-1252, "<logo>" where a raster image is printed.
With EXPECTED (a spool printer's .txt of the same ticket) the text must match it line for line;
the empty lines a spool ticket keeps under its logo are taken by the raster on paper.
Usage: escpos_text.py FILE [EXPECTED]   (exit status 1 with a message when anything differs)"""
import difflib
import sys


def document_lines(data):
    if not data.startswith(b"\x1b@\x1bt\x10"):
        raise ValueError("no empieza con ESC @ ESC t 16")
    lines, current, i, cuts = [], bytearray(), 5, 0
    while i < len(data):
        b = data[i]
        if cuts:
            raise ValueError("hay datos despues del corte")
        if b == 0x1B and data[i + 1:i + 2] == b"E" and data[i + 2] in (0, 1):
            i += 3
        elif b == 0x1D and data[i + 1:i + 2] == b"!" and data[i + 2] in (0x00, 0x01, 0x11):
            i += 3
        elif b == 0x1D and data[i + 1:i + 4] == b"v0\x00":
            if current:
                raise ValueError("imagen en medio de una linea")
            width, height = data[i + 4] + 256 * data[i + 5], data[i + 6] + 256 * data[i + 7]
            if width == 0 or height == 0 or width > 72:
                raise ValueError("imagen de %d x %d bytes" % (width, height))
            i += 8 + width * height
            lines.append("<logo>")
        elif b == 0x1D and data[i + 1:i + 3] == b"VB":
            i += 4
            cuts += 1
        elif b == 0x0A:
            lines.append(current.decode("cp1252", errors="replace"))
            current = bytearray()
            i += 1
        elif b < 0x20 or b == 0x7F:
            raise ValueError("orden desconocida en el byte %d: %r" % (i, data[i:i + 4]))
        else:
            current.append(b)
            i += 1
    if cuts != 1 or current:
        raise ValueError("el documento no termina con un corte")
    return lines


def without_room_for_logo(lines, at):
    while at < len(lines) and lines[at] == "":
        del lines[at]
    return lines


def main():
    try:
        with open(sys.argv[1], "rb") as f:
            printed = document_lines(f.read())
    except (ValueError, IndexError) as error:
        print("%s: %s" % (sys.argv[1], error), file=sys.stderr)
        return 1
    if len(sys.argv) < 3:
        print("\n".join(printed))
        return 0
    with open(sys.argv[2], encoding="utf-8") as f:
        expected = f.read().split("\n")
    if expected and expected[-1] == "":
        expected.pop()
    while "<logo>" in printed:
        at = printed.index("<logo>")
        del printed[at]
        without_room_for_logo(printed, at)
        without_room_for_logo(expected, at)
    if printed != expected:
        sys.stderr.writelines(difflib.unified_diff(
            [l + "\n" for l in expected], [l + "\n" for l in printed], sys.argv[2], sys.argv[1]))
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
