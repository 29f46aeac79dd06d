#!/usr/bin/env python3
"""The layer check on small trees: each kind of upward dependency is named with file:line; the
drawing of the layers follows the includes."""
import pathlib
import subprocess
import sys
import tempfile
import unittest

SCRIPT = pathlib.Path(__file__).resolve().parents[2] / "scripts" / "check_layers.py"

CMAKE = """quillon_library(quillon_json json)
target_link_libraries(quillon_json PUBLIC quillon_platform)
quillon_library(quillon_print print)
target_link_libraries(quillon_print PUBLIC quillon_json)
quillon_library(quillon_link link)
target_link_libraries(quillon_link PUBLIC
                      quillon_json)
"""


class SmallTree(unittest.TestCase):
    """A tree whose includes all point down; each test breaks or reads it."""

    def setUp(self):
        self.folder = tempfile.TemporaryDirectory()
        self.root = pathlib.Path(self.folder.name)
        self.write("src/CMakeLists.txt", CMAKE)
        self.write("src/platform/text.h", "#pragma once\n#include <string>\n")
        self.write("src/json/value.h", '#pragma once\n#include "platform/text.h"\n')
        self.write("src/print/engine.h", '#pragma once\n#include "json/value.h"\n')
        self.write("src/print/engine.cpp", '#include "print/engine.h"\n#include "local.h"\n')
        self.write("src/print/local.h", "#pragma once\n")
        self.write("src/link/intake.h", '#pragma once\n#include "json/value.h"\n')
        self.write("src/shell/qt/window.cpp", '#include <QWidget>\n#include "link/intake.h"\n')
        self.write("tests/shell/qt/window_test.cpp", "#include <QTest>\n")
        self.write("tests/cups_integration/driver.cpp", "#include <cups/cups.h>\n")

    def tearDown(self):
        self.folder.cleanup()

    def write(self, relative, text):
        path = self.root / relative
        path.parent.mkdir(parents=True, exist_ok=True)
        path.write_text(text)

    def run_check(self, *options):
        done = subprocess.run([sys.executable, str(SCRIPT), *options, str(self.root)],
                              capture_output=True, text=True)
        return done.returncode, done.stdout.splitlines()


class LayerCheck(SmallTree):
    def test_a_tree_that_points_down_passes(self):
        self.assertEqual(self.run_check(), (0, []))

    def test_includes_that_point_up_are_named_with_file_and_line(self):
        self.write("src/json/value.h",
                   '#pragma once\n#include "platform/text.h"\n#include "print/engine.h"\n')
        self.write("src/link/intake.h", '#pragma once\n\n#include "documents/order.h"\n')
        self.write("src/adapters/qt/socket.cpp", '#include "print/engine.h"\n')
        code, lines = self.run_check()
        self.assertEqual(code, 1)
        self.assertEqual(lines[:3], [
            'src/adapters/qt/socket.cpp:1: #include "print/engine.h": adapters/qt may not '
            'include print (it may include: platform)',
            'src/json/value.h:3: #include "print/engine.h": json may not include print '
            '(it may include: platform)',
            'src/link/intake.h:3: #include "documents/order.h": link may not include documents '
            '(it may include: json, platform)',
        ])

    def test_toolkits_only_where_they_belong(self):
        self.write("src/print/engine.cpp", '#include "print/engine.h"\n#include <QString>\n')
        self.write("src/shell/qt/window.cpp", "#include <cups/cups.h>\n")
        self.write("src/json/case.cpp", "#include <unicode/uchar.h>\n")
        self.write("tests/print/engine_test.cpp", "#include <QtCore/QObject>\n")
        self.write("tools/server/main.cpp", "#include <QTcpServer>\n")
        code, lines = self.run_check()
        self.assertEqual(code, 1)
        self.assertEqual(lines[:-1], [
            "src/json/case.cpp:1: #include <unicode/uchar.h>: json may not use ICU",
            "src/print/engine.cpp:2: #include <QString>: print may not use Qt",
            "src/shell/qt/window.cpp:1: #include <cups/cups.h>: shell/qt may not use CUPS",
            "tests/print/engine_test.cpp:1: #include <QtCore/QObject>: print may not use Qt",
            "tools/server/main.cpp:1: #include <QTcpServer>: core code may not use Qt",
        ])

    def test_unknown_headers_and_folders_fail(self):
        self.write("src/print/engine.cpp", '#include "engine_state.h"\n')
        self.write("src/extras/helper.cpp", "\n")
        code, lines = self.run_check()
        self.assertEqual(code, 1)
        self.assertIn("src/extras/helper.cpp:1: outside every layer folder", lines)
        self.assertIn('src/print/engine.cpp:1: #include "engine_state.h": not a header of the layers',
                      lines)

    def test_link_lines_that_point_up_fail(self):
        self.write("src/CMakeLists.txt", CMAKE.replace(
            "quillon_link PUBLIC\n", "quillon_link PUBLIC quillon_print Qt6::Network\n"))
        code, lines = self.run_check()
        self.assertEqual(code, 1)
        self.assertEqual(lines[:-1], [
            "src/CMakeLists.txt:6: quillon_link (link) may not link quillon_print (print)",
            "src/CMakeLists.txt:6: quillon_link (link) may not link Qt6::Network",
        ])


class LayerDrawing(SmallTree):
    """The drawing printed from the includes, and the check that a pasted copy still matches."""
    DRAWN = [
        "3  shell/qt",
        "2  link  print",
        "1  json",
        "0  platform",
        "",
        "shell/qt  on link; uses Qt",
        "link      on json",
        "print     on json",
        "json      on platform",
        "platform  on nothing",
    ]

    def test_layers_by_height_with_their_direct_includes(self):
        self.write("src/shell/qt/window.cpp",
                   '#include <QWidget>\n#include "link/intake.h"\n#include "platform/text.h"\n')
        self.assertEqual(self.run_check("--drawing"), (0, self.DRAWN))

    def test_a_pasted_drawing_must_match_the_includes(self):
        pasted = "\n".join(self.DRAWN)
        self.write("NOTES.md", f"Printed by check_layers.py --drawing:\n\n```\n{pasted}\n```\n")
        self.assertEqual(self.run_check("--drawing-matches", str(self.root / "NOTES.md"))[0], 0)
        self.write("src/link/intake.h", '#pragma once\n#include "print/engine.h"\n')
        code, lines = self.run_check("--drawing-matches", str(self.root / "NOTES.md"))
        self.assertEqual(code, 1)
        self.assertIn("the layers' drawing differs from the includes", lines[0])


if __name__ == "__main__":
    unittest.main()
