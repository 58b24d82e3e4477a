#!/usr/bin/env python3
"""End-to-end tests: the real program in a real window under Xvfb, driven by real X key
events (xdotool) and checked on screenshots of its window.

    e2e.py --app build/fogloom --close-tool build/tests/e2e/send_close SCENARIO
"""
import argparse
import os
import struct
import subprocess
import sys
import time

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
TITLE = "QEV\u2019s Fogloom \u2014 3"
WIDTH, HEIGHT = 272, 480
DESKTOP = (1024, 768)

# The frame's nine colours as the window shows them.
FRAME_COLOURS = {
    (0xFF, 0xFF, 0xFF), (0xFF, 0xE6, 0xEE), (0xFF, 0xA1, 0xD2), (0xFA, 0x50, 0xA1), (0xE2, 0x69, 0x6D),
    (0xC6, 0xA1, 0x44), (0xA5, 0xEA, 0x18), (0xC6, 0xFF, 0x6D), (0xE6, 0xFF, 0xC2),
}


class Failure(Exception):
    pass


def check(condition, message):
    if not condition:
        raise Failure(message)


def load_font():
    glyphs = {}
    with open(os.path.join(ROOT, "surface", "data", "cp437-8x8.txt"), encoding="ascii") as f:
        for line in f:
            parts = line.split()
            if len(parts) == 9 and parts[0].isdigit():
                glyphs[int(parts[0])] = [int(p, 16) for p in parts[1:]]
    return glyphs


FONT = load_font()


def wait_for(predicate, timeout, what, interval=0.05):
    deadline = time.monotonic() + timeout
    while True:
        value = predicate()
        if value:
            return value
        if time.monotonic() > deadline:
            raise Failure(f"timed out waiting for {what}")
        time.sleep(interval)


def start_xvfb():
    """An X server on a free display, answering clients; returns (process, display number).

    -noreset keeps the server from resetting whenever its last client leaves, which would
    turn away a client that connects at that moment."""
    read_fd, write_fd = os.pipe()
    server = subprocess.Popen(
        ["Xvfb", "-displayfd", str(write_fd), "-screen", "0", f"{DESKTOP[0]}x{DESKTOP[1]}x24",
         "-nolisten", "tcp", "-noreset"],
        pass_fds=(write_fd,), stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    os.close(write_fd)
    with os.fdopen(read_fd) as f:
        number = f.readline().strip()
    check(number.isdigit(), "Xvfb did not start")
    return server, number


class Session:
    """An Xvfb server with the program running in it."""

    def __init__(self, app, close_tool, extra_env=None):
        self.close_tool = close_tool
        self.xvfb, number = start_xvfb()
        self.env = dict(os.environ, DISPLAY=f":{number}", **(extra_env or {}))
        self.app = subprocess.Popen([app], env=self.env, stdout=subprocess.PIPE, stderr=subprocess.PIPE)

    def close(self):
        if self.app.poll() is None:
            self.app.kill()
            self.app.wait()
        if self.xvfb.poll() is None:
            self.xvfb.terminate()
            self.xvfb.wait()

    def run(self, *args, check_rc=True):
        result = subprocess.run(args, env=self.env, capture_output=True, text=True, timeout=20)
        if check_rc and result.returncode != 0:
            raise Failure(f"{' '.join(args)} failed: {result.stderr.strip()}")
        return result.stdout

    def windows(self):
        out = self.run("xdotool", "search", "--onlyvisible", "--name", "Fogloom", check_rc=False)
        return [int(w) for w in out.split()]

    def window(self, timeout=10):
        """The program's one visible window."""
        def find():
            check(self.app.poll() is None, f"the program ended early: {self.app.poll()} on {self.env['DISPLAY']}")
            found = self.windows()
            return found[-1] if len(found) == 1 else None
        return wait_for(find, timeout, "the window")

    def new_window(self, old, timeout=10):
        def find():
            check(self.app.poll() is None, "the program ended early")
            found = self.windows()
            return found[-1] if len(found) == 1 and found[-1] != old else None
        return wait_for(find, timeout, "a new window")

    def geometry(self, window):
        info = self.run("xwininfo", "-id", str(window))
        fields = {}
        for line in info.splitlines():
            if ":" in line:
                key, _, value = line.strip().partition(":")
                fields[key.strip()] = value.strip()
        return (int(fields["Absolute upper-left X"]), int(fields["Absolute upper-left Y"]),
                int(fields["Width"]), int(fields["Height"]))

    def title(self, window):
        return self.run("xdotool", "getwindowname", str(window)).strip()

    def shot(self, window):
        """The window's pixels as a function (x, y) -> (r, g, b), read with xwd; None while the
        window can't be read (not mapped yet, or gone)."""
        try:
            result = subprocess.run(["xwd", "-id", str(window), "-silent"], env=self.env,
                                    capture_output=True, timeout=10)
        except subprocess.TimeoutExpired:
            return None
        if result.returncode != 0 or not result.stdout:
            return None
        return parse_xwd(result.stdout)

    def key(self, *keys):
        for k in keys:
            self.run("xdotool", "key", "--clearmodifiers", k)
            time.sleep(0.05)

    def request_close(self, window):
        self.run(self.close_tool, str(window))


def parse_xwd(data):
    """Reads a 24- or 32-bit ZPixmap window dump as a function (x, y) -> (r, g, b)."""
    check(len(data) >= 100, f"window dump of {len(data)} bytes")
    fields = struct.unpack(">25I", data[:100])
    header_size, _, pixmap_format, _, width, height = fields[:6]
    byte_order, bits_per_pixel, bytes_per_line = fields[7], fields[11], fields[12]
    red_mask, green_mask, blue_mask = fields[14:17]
    colours = fields[19]
    check(pixmap_format == 2 and bits_per_pixel == 32, f"window dump format {pixmap_format}/{bits_per_pixel}")
    check((width, height) == (WIDTH, HEIGHT), f"window dump of {width}x{height}")
    pixels = data[header_size + 12 * colours:]
    check(len(pixels) >= bytes_per_line * height, "window dump cut short")
    order = "<" if byte_order == 0 else ">"

    def shift(mask):
        return (mask & -mask).bit_length() - 1

    shifts = [(red_mask, shift(red_mask)), (green_mask, shift(green_mask)), (blue_mask, shift(blue_mask))]

    def pixel(x, y):
        (value,) = struct.unpack_from(order + "I", pixels, y * bytes_per_line + 4 * x)
        return tuple((value & mask) >> at for mask, at in shifts)

    return pixel


def cell_matches(shot, row, column, code, foreground):
    """Whether the text cell shows the glyph in `foreground` on black."""
    glyph = FONT[code]
    for y in range(8):
        for x in range(8):
            pixel = shot(8 * (column - 1) + x, 8 * (row - 1) + y)
            lit = glyph[y] & (0x80 >> x)
            if lit and (foreground is not None and pixel != foreground):
                return False
            if lit and foreground is None and pixel not in FRAME_COLOURS:
                return False
            if not lit and pixel != (0, 0, 0):
                return False
    return True


def text_matches(shot, row, column, text, foreground=(255, 255, 255)):
    return all(cell_matches(shot, row, column + i, ord(ch), foreground) for i, ch in enumerate(text))


def on_shape_menu(session, window):
    shot = session.shot(window)
    return shot is not None and text_matches(shot, 2, 4, "Please Choose The Shape Type:") and text_matches(shot, 12, 2, "7. I think")


def on_layer_menu(session, window):
    shot = session.shot(window)
    return shot is not None and text_matches(shot, 2, 7, "How many shape layers?") and text_matches(shot, 3, 8, "(50 is the normal.)")


def choose_picture(session, window, kind, layers):
    """Picks a kind and a layer count on the menus of `window`; returns the picture's window."""
    wait_for(lambda: on_shape_menu(session, window), 10, "the shape menu")
    session.key(kind)
    wait_for(lambda: on_layer_menu(session, window), 10, "the layer menu")
    session.key(layers)
    return session.new_window(window)


def picture_finished(session, window):
    """Waits until the picture stops changing; returns its screenshot."""
    last = None
    stable_since = time.monotonic()
    deadline = time.monotonic() + 30
    while time.monotonic() < deadline:
        shot = session.shot(window)
        if shot is None:
            time.sleep(0.1)
            continue
        pixels = bytes(v for y in range(0, HEIGHT, 4) for x in range(0, WIDTH, 4) for v in shot(x, y))
        if pixels != last:
            last, stable_since = pixels, time.monotonic()
        elif time.monotonic() - stable_since > 0.8 and any(pixels):
            return shot
        time.sleep(0.1)
    raise Failure("the picture never settled")


def scenario_window_and_turns(session):
    """Title, size and place of the window; a picture; a key begins the next turn."""
    window = session.window()
    check(session.title(window) == TITLE, f"title {session.title(window)!r}")
    x, y, w, h = session.geometry(window)
    check((w, h) == (WIDTH, HEIGHT), f"client area {w}x{h}")
    check((x, y) == ((DESKTOP[0] - WIDTH) // 2, (DESKTOP[1] - HEIGHT) // 2), f"window at {x},{y}, not centred")
    picture = choose_picture(session, window, "3", "1")
    check(session.title(picture) == TITLE, "the picture's window keeps the title")
    check(session.geometry(picture)[2:] == (WIDTH, HEIGHT), "the picture's window is 272 x 480")
    shot = picture_finished(session, picture)
    greys = {shot(x, y) for y in range(0, HEIGHT, 2) for x in range(0, WIDTH, 2)}
    check(all(r == g == b for r, g, b in greys), "every picture pixel is a neutral grey")
    check((255, 255, 255) in greys or len(greys) > 10, "the picture shows shapes")

    session.key("space")
    menu = session.new_window(picture)
    wait_for(lambda: on_shape_menu(session, menu), 10, "the next turn's shape menu")


def scenario_frame_moves(session):
    """The frame's colours run around the edges while the menu waits; closing changes nothing."""
    window = session.window()
    wait_for(lambda: on_shape_menu(session, window), 10, "the shape menu")
    first = session.shot(window)
    check(first is not None, "the menu's window can be read")
    corners = [(1, 1, 201), (1, 34, 187), (58, 34, 188), (58, 1, 200), (2, 1, 186), (30, 34, 186)]
    for row, column, code in corners:
        check(cell_matches(first, row, column, code, None), f"frame glyph {code} at row {row}, column {column}")
    check(text_matches(first, 57, 4, "Made by Nils Orvant - 2017. \x01"), "the credit line")
    check(first(0, 8 * 58 + 2) == (0, 0, 0), "rows 59 and 60 lie outside the frame")

    def corner_colour(shot):
        return shot(2, 2)  # a lit pixel of the top-left corner glyph

    colours = set()
    deadline = time.monotonic() + 3
    while time.monotonic() < deadline and len(colours) < 4:
        shot = session.shot(window)
        check(shot is not None, "the menu's window can be read")
        colours.add(corner_colour(shot))
        time.sleep(0.03)
    check(len(colours) >= 4, f"the corner's colour moved through only {len(colours)} colours")
    check(colours <= FRAME_COLOURS, "the corner shows only frame colours")

    session.request_close(window)
    session.key("alt+F4")
    session.key("a", "Up", "8")
    time.sleep(0.5)
    check(session.app.poll() is None, "the program still runs after a close request on the menu")
    check(session.windows() == [window], "the window stays open")
    check(on_shape_menu(session, window), "the shape menu stays")


def scenario_quit(session):
    """Item 7 ends the program with status 0."""
    window = session.window()
    wait_for(lambda: on_shape_menu(session, window), 10, "the shape menu")
    session.key("7")
    rc = session.app.wait(timeout=10)
    check(rc == 0, f"exit status {rc}")


def scenario_close_during_picture(session):
    """Closing the window during a picture ends the wait after it: the next turn begins."""
    picture = choose_picture(session, session.window(), "1", "5")
    time.sleep(0.2)
    session.request_close(picture)
    menu = session.new_window(picture, timeout=30)
    wait_for(lambda: on_shape_menu(session, menu), 10, "the shape menu after the picture")
    session.key("7")
    rc = session.app.wait(timeout=10)
    check(rc == 0, f"exit status {rc}")


def scenario_no_sound(session):
    """Without a sound device each picture still ends with the tone's pause; one notice says so."""
    window = session.window()
    for _ in range(2):
        picture = choose_picture(session, window, "3", "1")
        picture_finished(session, picture)
        session.key("Return")
        window = session.new_window(picture)
    wait_for(lambda: on_shape_menu(session, window), 10, "the shape menu")
    session.key("7")
    rc = session.app.wait(timeout=10)
    check(rc == 0, f"exit status {rc}")
    err = session.app.stderr.read().decode(errors="replace")
    session.app.stderr = None
    notices = [line for line in err.splitlines() if line.startswith("fogloom: no sound")]
    check(len(notices) == 1, f"{len(notices)} notices about the missing sound device: {err!r}")


def scenario_display_lost(session):
    """When the X server goes away the program ends with a clear message instead of spinning."""
    window = session.window()
    wait_for(lambda: on_shape_menu(session, window), 10, "the shape menu")
    session.xvfb.terminate()
    session.xvfb.wait()
    rc = session.app.wait(timeout=10)
    check(rc == 1, f"exit status {rc}")
    err = session.app.stderr.read().decode(errors="replace")
    session.app.stderr = None
    check("the connection to the display was lost" in err, f"message {err!r}")


def scenario_no_display(app):
    """Without a display the program says so and ends with status 1."""
    env = {k: v for k, v in os.environ.items() if k not in ("DISPLAY", "WAYLAND_DISPLAY")}
    result = subprocess.run([app], env=env, capture_output=True, text=True, timeout=20)
    check(result.returncode == 1, f"exit status {result.returncode}")
    check("cannot open a window" in result.stderr, f"message {result.stderr!r}")


SCENARIOS = {
    "window-and-turns": scenario_window_and_turns,
    "frame-moves": scenario_frame_moves,
    "quit": scenario_quit,
    "close-during-picture": scenario_close_during_picture,
    "no-sound": scenario_no_sound,
    "display-lost": scenario_display_lost,
}
# Scenarios that need their environment changed.
EXTRA_ENV = {"no-sound": {"SDL_AUDIODRIVER": "no-such-driver"}}


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--app", required=True)
    parser.add_argument("--close-tool", required=True)
    parser.add_argument("scenario", choices=sorted(SCENARIOS) + ["no-display"])
    args = parser.parse_args()
    try:
        if args.scenario == "no-display":
            scenario_no_display(args.app)
        else:
            session = Session(args.app, args.close_tool, EXTRA_ENV.get(args.scenario))
            try:
                SCENARIOS[args.scenario](session)
            finally:
                session.close()
                err = session.app.stderr.read().decode(errors="replace") if session.app.stderr else ""
                if err.strip():
                    print("program's stderr:\n" + err, file=sys.stderr)
    except Failure as failure:
        print(f"FAILED {args.scenario}: {failure}", file=sys.stderr)
        return 1
    print(f"passed {args.scenario}")
    return 0


if __name__ == "__main__":
    sys.exit(main())
