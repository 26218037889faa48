"""Builds the Debian package with CPack, unpacks it into a scratch root and checks what
it installs and what it depends on."""

import glob
import os
import subprocess
import sys
import tempfile
import unittest

BUILD = os.environ["TOVRIN_BUILD_DIR"]


class DebianPackage(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.out = tempfile.mkdtemp(prefix="tovrin-deb-")
        subprocess.run(["cpack", "-G", "DEB", "-B", cls.out], cwd=BUILD, check=True,
                       stdout=subprocess.PIPE, stderr=subprocess.STDOUT, timeout=600)
        debs = glob.glob(os.path.join(cls.out, "*.deb"))
        assert len(debs) == 1, debs
        cls.deb = debs[0]
        cls.root = tempfile.mkdtemp(prefix="tovrin-root-")
        subprocess.run(["dpkg-deb", "-x", cls.deb, cls.root], check=True)

    def field(self, name):
        return subprocess.run(["dpkg-deb", "-f", self.deb, name], check=True,
                              stdout=subprocess.PIPE, text=True).stdout.strip()

    def test_installs_program_menu_entry_and_icons(self):
        for path in ("usr/bin/tovrin",
                     "usr/share/applications/tovrin.desktop",
                     "usr/share/icons/hicolor/32x32/apps/tovrin.png",
                     "usr/share/icons/hicolor/256x256/apps/tovrin.png"):
            self.assertTrue(os.path.isfile(os.path.join(self.root, path)), path)
        self.assertTrue(os.access(os.path.join(self.root, "usr/bin/tovrin"), os.X_OK))

    def test_menu_entry_names_the_program_in_both_languages(self):
        with open(os.path.join(self.root, "usr/share/applications/tovrin.desktop"),
                  encoding="utf-8") as f:
            entry = f.read()
        self.assertIn("Exec=tovrin", entry)
        self.assertIn("Icon=tovrin", entry)
        self.assertIn("Comment[zh_CN]=", entry)
        categories = [l for l in entry.splitlines() if l.startswith("Categories=")][0]
        self.assertIn("Education", categories)
        self.assertIn("Dictionary", categories)

    def test_program_never_turns_the_browser_sandbox_off(self):
        with open(os.path.join(self.root, "usr/bin/tovrin"), "rb") as f:
            binary = f.read()
        for needle in (b"QTWEBENGINE_DISABLE_SANDBOX", b"no-sandbox", b"disable-sandbox"):
            self.assertNotIn(needle, binary)
        source = os.path.join(os.path.dirname(__file__), "..", "..", "src")
        for root, _, files in os.walk(source):
            for name in files:
                with open(os.path.join(root, name), "rb") as f:
                    text = f.read()
                self.assertNotIn(b"DISABLE_SANDBOX", text, name)
                self.assertNotIn(b"no-sandbox", text, name)

    def test_depends_on_the_qt_libraries_it_links(self):
        self.assertEqual(self.field("Package"), "tovrin")
        depends = self.field("Depends")
        for lib in ("libqt6webenginewidgets6", "libqt6widgets6", "libqt6webenginecore6"):
            self.assertIn(lib, depends)
        self.assertIn("fonts-noto-cjk", self.field("Recommends"))


if __name__ == "__main__":
    unittest.main(verbosity=2)
