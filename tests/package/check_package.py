"""Builds the Debian package with CPack, unpacks it into a scratch root and checks what
it installs and what it depends on."""

import glob
import os
import re
import subprocess
import tempfile

import pytest

ENTRY = "usr/share/applications/tovrin.desktop"


def output(*command, check=False):
    return subprocess.run(command, check=check, stdout=subprocess.PIPE,
                          stderr=subprocess.STDOUT, text=True)


@pytest.fixture(scope="module")
def package():
    out = tempfile.mkdtemp(prefix="tovrin-deb-")
    subprocess.run(["cpack", "-G", "DEB", "-B", out], cwd=os.environ["TOVRIN_BUILD_DIR"],
                   check=True, stdout=subprocess.PIPE, stderr=subprocess.STDOUT, timeout=600)
    debs = glob.glob(os.path.join(out, "*.deb"))
    assert len(debs) == 1, debs
    root = tempfile.mkdtemp(prefix="tovrin-root-")
    subprocess.run(["dpkg-deb", "-x", debs[0], root], check=True)
    return debs[0], root


def field(deb, name):
    return output("dpkg-deb", "-f", deb, name, check=True).stdout.strip()


def test_installs_program_menu_entry_icons_and_documents(package):
    _, root = package
    for path in ("usr/bin/tovrin", ENTRY,
                 "usr/share/icons/hicolor/32x32/apps/tovrin.png",
                 "usr/share/icons/hicolor/256x256/apps/tovrin.png",
                 "usr/share/man/man1/tovrin.1.gz",
                 "usr/share/doc/tovrin/copyright",
                 "usr/share/doc/tovrin/changelog.gz"):
        assert os.path.isfile(os.path.join(root, path)), path
    assert os.access(os.path.join(root, "usr/bin/tovrin"), os.X_OK)


def test_menu_entry_names_the_program_in_both_languages(package):
    with open(os.path.join(package[1], ENTRY), encoding="utf-8") as f:
        entry = f.read()
    for needed in ("Exec=tovrin", "Icon=tovrin", "Comment[zh_CN]="):
        assert needed in entry
    assert [l for l in entry.splitlines() if l.startswith("Categories=")] == [
        "Categories=Education;Languages;"]


def test_program_never_turns_the_browser_sandbox_off():
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
            assert setting.search(text) is None, name
            for found in flag.finditer(text):  # only ever looked for
                assert found.group(1).endswith(b".find("), name


def test_passes_the_distributions_checks(package):
    # lintian: no errors and no warnings; AppStream metainfo that software centres
    # accept; a desktop entry without even hints.
    deb, root = package
    lint = output("lintian", "--fail-on", "error,warning", deb)
    assert lint.returncode == 0, lint.stdout
    metainfo = glob.glob(os.path.join(root, "usr/share/metainfo/*.metainfo.xml"))
    assert len(metainfo) == 1, metainfo
    with open(metainfo[0], encoding="utf-8") as f:
        text = f.read()
    for needed in ("<launchable type=\"desktop-id\">tovrin.desktop</launchable>",
                   "<content_rating", "<screenshot", "<name xml:lang=\"zh-CN\">",
                   "<summary xml:lang=\"zh-CN\">"):
        assert needed in text
    appstream = output("appstreamcli", "validate", "--no-net", "--pedantic", metainfo[0])
    assert appstream.returncode == 0, appstream.stdout
    assert "pedantic:" not in appstream.stdout
    entry = output("desktop-file-validate", os.path.join(root, ENTRY))
    assert (entry.returncode, entry.stdout) == (0, "")
    assert "@" in field(deb, "Maintainer")
    assert "not stripped" not in output("file", "-b", os.path.join(root, "usr/bin/tovrin")).stdout


def test_depends_on_the_qt_libraries_it_links(package):
    deb = package[0]
    assert field(deb, "Package") == "tovrin"
    for lib in ("libqt6webenginewidgets6", "libqt6widgets6", "libqt6webenginecore6"):
        assert lib in field(deb, "Depends")
    assert "fonts-noto-cjk" in field(deb, "Recommends")
