"""Builds the Debian package with CPack, unpacks it into a scratch root and checks what
it installs and what it depends on."""

import glob
import os
import re
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

    def test_installs_program_menu_entry_icons_and_documents(self):
        for path in ("usr/bin/tovrin",
                     "usr/share/applications/tovrin.desktop",
                     "usr/share/icons/hicolor/32x32/apps/tovrin.png",
                     "usr/share/icons/hicolor/256x256/apps/tovrin.png",
                     "usr/share/man/man1/tovrin.1.gz",
                     "usr/share/doc/tovrin/copyright",
                     "usr/share/doc/tovrin/changelog.gz"):
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
        self.assertEqual(categories, "Categories=Education;Languages;")

    def test_program_never_turns_the_browser_sandbox_off(self):
        # The program reads whether the person starting it turned the sandbox off, but
        # sets neither the engine's variables nor a flag that turns it off. (That the
        # engine runs with its sandbox is checked end to end, as an ordinary user.)
        setting = re.compile(rb"(qputenv|setenv|putenv)\s*\(\s*\"QTWEBENGINE_")
        flag = re.compile(rb"(.{0,6})\"--(no|disable)-sandbox\"")
        source = os.path.join(os.path.dirname(__file__), "..", "..", "src")
        for root, _, files in os.walk(source):
            for name in files:
                with open(os.path.join(root, name), "rb") as f:
                    text = f.read()
                self.assertIsNone(setting.search(text), name)
                for found in flag.finditer(text):  # only ever looked for
                    self.assertTrue(found.group(1).endswith(b".find("), name)

    def test_passes_the_distributions_checks(self):
        # lintian: no errors and no warnings; AppStream metainfo that software centres
        # accept; a desktop entry without even hints.
        lint = subprocess.run(["lintian", "--fail-on", "error,warning", self.deb],
                              stdout=subprocess.PIPE, stderr=subprocess.STDOUT, text=True)
        self.assertEqual(lint.returncode, 0, lint.stdout)
        metainfo = glob.glob(os.path.join(self.root, "usr/share/metainfo/*.metainfo.xml"))
        self.assertEqual(len(metainfo), 1, metainfo)
        with open(metainfo[0], encoding="utf-8") as f:
            text = f.read()
        for needed in ("<launchable type=\"desktop-id\">tovrin.desktop</launchable>",
                       "<content_rating", "<screenshot", "<name xml:lang=\"zh-CN\">",
                       "<summary xml:lang=\"zh-CN\">"):
            self.assertIn(needed, text)
        appstream = subprocess.run(["appstreamcli", "validate", "--no-net", "--pedantic",
                                    metainfo[0]], stdout=subprocess.PIPE,
                                   stderr=subprocess.STDOUT, text=True)
        self.assertEqual(appstream.returncode, 0, appstream.stdout)
        self.assertNotIn("pedantic:", appstream.stdout)
        entry = subprocess.run(
            ["desktop-file-validate",
             os.path.join(self.root, "usr/share/applications/tovrin.desktop")],
            stdout=subprocess.PIPE, stderr=subprocess.STDOUT, text=True)
        self.assertEqual((entry.returncode, entry.stdout), (0, ""))
        self.assertIn("@", self.field("Maintainer"))
        self.assertEqual(subprocess.run(["file", "-b", os.path.join(self.root, "usr/bin/tovrin")],
                                        stdout=subprocess.PIPE, text=True).stdout.count(
                                            "not stripped"), 0)

    def test_depends_on_the_qt_libraries_it_links(self):
        self.assertEqual(self.field("Package"), "tovrin")
        depends = self.field("Depends")
        for lib in ("libqt6webenginewidgets6", "libqt6widgets6", "libqt6webenginecore6"):
            self.assertIn(lib, depends)
        self.assertIn("fonts-noto-cjk", self.field("Recommends"))


if __name__ == "__main__":
    unittest.main(verbosity=2)
