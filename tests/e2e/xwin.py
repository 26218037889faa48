"""What an X server says about its windows, asked through python-xlib: names, classes,
map and window-manager states, geometry, frame extents, the active window and the tray."""

from Xlib import X, XK, Xatom, Xutil, display, error
from Xlib.ext import xtest

MAP_STATES = {X.IsUnmapped: "IsUnMapped", X.IsUnviewable: "IsUnviewable",
              X.IsViewable: "IsViewable"}
WM_STATES = {0: "Withdrawn", 1: "Normal", 3: "Iconic"}


class XScreen:
    def __init__(self, name):
        self.display = display.Display(name)
        self.root = self.display.screen().root.id

    def close(self):
        self.display.close()

    def bind_characters(self, text):
        """Gives each character of text outside the keymap a spare key code of its own, kept
        for the desktop's life: xdotool then types it as it types ASCII, instead of mapping a
        key for it and back again while a busy program has yet to read the key. True when a
        key was bound, which the program takes as a keymap change."""
        low, high = self.display.display.info.min_keycode, self.display.display.info.max_keycode
        rows = self.display.get_keyboard_mapping(low, high - low + 1)
        have = {keysym for row in rows for keysym in row}
        wanted = sorted({0x1000000 | ord(c) for c in text if ord(c) > 0x7F} - have)
        spare = [low + i for i, row in enumerate(rows) if not any(row)]
        assert len(spare) >= len(wanted), "no spare key codes left"
        for keysym, code in zip(wanted, spare):
            self.display.change_keyboard_mapping(code, [(keysym,) * len(rows[0])])
        self.display.sync()
        return bool(wanted)

    def press(self, key):
        """Presses and releases a key through XTEST on this connection: input as real as
        xdotool's, without a process started for it (what timings want)."""
        code = self.display.keysym_to_keycode(XK.string_to_keysym(key))
        xtest.fake_input(self.display, X.KeyPress, code)
        xtest.fake_input(self.display, X.KeyRelease, code)
        self.display.sync()

    def _window(self, wid):
        if not isinstance(wid, int):
            return wid
        return self.display.create_resource_object("window", wid)

    def _property(self, wid, name, kind=X.AnyPropertyType):
        try:
            prop = self._window(wid).get_full_property(self.display.intern_atom(name), kind)
        except error.XError:
            return None
        return prop.value if prop else None

    def windows(self):
        """Every window below the root, the root's own children first."""
        found = [self._window(self.root)]
        for window in found:
            try:
                found += window.query_tree().children
            except error.XError:
                pass
        return [w.id for w in found[1:]]

    def name(self, wid):
        value = self._property(wid, "_NET_WM_NAME") or self._property(wid, "WM_NAME")
        if isinstance(value, bytes):
            return value.decode("utf-8", "replace")
        return value

    def utf8_property(self, wid, name):
        value = self._property(wid, name)
        return value.decode("utf-8", "replace") if isinstance(value, bytes) else None

    def wm_class(self, wid):
        value = self._property(wid, "WM_CLASS", Xatom.STRING)
        return value.decode("latin-1").split("\0")[:2] if value else []

    def map_state(self, wid):
        try:
            return MAP_STATES[self._window(wid).get_attributes().map_state]
        except error.XError:
            return None

    def find(self, name=None, wm_class=None, viewable=True):
        """The windows with that exact name, or whose class names contain wm_class, mapped
        on the screen."""
        return [w for w in self.windows()
                if (name is None or self.name(w) == name)
                and (wm_class is None or any(wm_class in c for c in self.wm_class(w)))
                and (not viewable or self.map_state(w) == "IsViewable")]

    def wm_state(self, wid):
        value = self._property(wid, "WM_STATE")
        return WM_STATES.get(value[0], str(value[0])) if value is not None and len(value) else "Withdrawn"

    def net_wm_state(self, wid):
        return {self.display.get_atom_name(a) for a in self._property(wid, "_NET_WM_STATE") or []}

    def geometry(self, wid):
        """Position on the screen and size of a window's inside: (x, y, width, height)."""
        window = self._window(wid)
        g = window.get_geometry()
        at = window.translate_coords(self._window(self.root), 0, 0)
        return -at.x, -at.y, g.width, g.height

    def frame_extents(self, wid):
        value = self._property(wid, "_NET_FRAME_EXTENTS")
        return tuple(value) if value is not None and len(value) == 4 else (0, 0, 0, 0)

    def frame_geometry(self, wid):
        """A client window with the window manager's frame: (x, y, width, height)."""
        x, y, w, h = self.geometry(wid)
        left, right, top, bottom = self.frame_extents(wid)
        return x - left, y - top, w + left + right, h + top + bottom

    def outer_size(self, wid):
        """A client window's size with the window manager's frame."""
        return self.frame_geometry(wid)[2:]

    def work_area(self):
        """The part of the screen that panels leave to windows: (x, y, width, height)."""
        value = self._property(self.root, "_NET_WORKAREA")
        return tuple(value[:4])

    def active_window(self):
        value = self._property(self.root, "_NET_ACTIVE_WINDOW")
        return value[0] if value is not None and len(value) else None

    def root_has(self, name):
        return self._property(self.root, name) is not None

    def selection_owned(self, name):
        return self.display.get_selection_owner(self.display.intern_atom(name)) != X.NONE

    def tray_icons(self, wm_class="tovrin"):
        """The program's icons docked in a notification area: small mapped windows of its
        class."""
        return [w for w in self.find(wm_class=wm_class) if max(self.geometry(w)[2:]) <= 48]

    def open_window(self, name="another program"):
        """A plain window of the test's own: another X client to give the activation to."""
        screen = self.display.screen()
        window = self._window(self.root).create_window(
            0, 0, 300, 200, 0, screen.root_depth, X.InputOutput, X.CopyFromParent,
            background_pixel=screen.white_pixel)
        window.set_wm_name(name)
        window.set_wm_hints(flags=Xutil.InputHint, input=1)
        window.map()
        self.display.sync()
        return window.id
