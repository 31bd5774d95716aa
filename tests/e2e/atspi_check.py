#!/usr/bin/python3
"""The game's main window as assistive tools hear it over the accessibility bus.

Before a game: the clock, the move counter, the start button, the hidden win text and the
board with its tiles in order and its bare cell, each named and placed. Then a new game
by the button's press action, and a move by the press action of a tile beside the bare
cell. A screen reader that keeps its own copy of the window must be told of every change:
the places of the moved tile and of the bare cell, and the hint with the tile it shows.
Then a second move and the assembled layout, from the game menu: a screen reader is told
the places each changed, and no other.
The hint is told on a line of the window that screen readers take for a notification,
and speak as it shows. Exits non-zero with a message at the first difference.

With --hint, only a new game and a hint asked for by the board's own action "Подсказка",
as on a desktop where no key can be sent (Wayland): the hint's line shows it, inside the
window.

usage: atspi_check.py [--hint] PID   (the process id of the running game)
"""
import re
import sys
import time
import warnings

import gi

gi.require_version("Atspi", "2.0")
from gi.repository import Atspi, GLib  # noqa: E402

TITLE = "Плитон"
CLOCK = "Время игры: "
COUNTER = "Сделано ходов: "
BOARD = "Игровое поле"
BARE = "Пустая клетка"
WIN = "Вы выиграли!!!"
HINTED = r"Плитка (\d+)\. Осталось ходов: \d+"
NOTIFIED = "shown as a notification"
PLACE = r"ряд ([1-4]), столбец ([1-4])"
ORDERED = [(str(k), ((k - 1) // 4 + 1, (k - 1) % 4 + 1)) for k in range(1, 16)]


def fail(message):
    print(f"FAIL: {message}", file=sys.stderr)
    sys.exit(1)


def wait_for(what, read, accept, seconds=5.0):
    """Reads every 50 ms until `accept` takes what was read; returns it. Events heard
    meanwhile are taken in."""
    deadline = time.monotonic() + seconds
    while True:
        while GLib.MainContext.default().iteration(False):
            pass
        try:
            seen = read()
            if accept(seen):
                return seen
        except (GLib.Error, LookupError) as error:
            seen = f"error: {error}"
        if time.monotonic() > deadline:
            fail(f"timed out after {seconds:g} s waiting for {what}; last seen: {seen}")
        time.sleep(0.05)


def main_window(pid):
    """The game's frame on the bus, once it has registered."""
    desktop = Atspi.get_desktop(0)
    for app in (desktop.get_child_at_index(i) for i in range(desktop.get_child_count())):
        if app and app.get_process_id() == pid:
            app.set_cache_mask(Atspi.Cache.NONE)
            for window in (app.get_child_at_index(i) for i in range(app.get_child_count())):
                if window.get_role() == Atspi.Role.FRAME and window.get_name() == TITLE:
                    return window
    return None


def descendants(node):
    for child in (node.get_child_at_index(i) for i in range(node.get_child_count())):
        yield child
        yield from descendants(child)


def place(node):
    """(row, column) from a description "ряд R, столбец C", or what the description is."""
    description = node.get_description()
    match = re.fullmatch(PLACE, description)
    return (int(match[1]), int(match[2])) if match else description


def has(node, state):
    return node.get_state_set().contains(state)


class View:
    """What the window's controls say at one moment."""

    def __init__(self, window):
        window.clear_cache()
        nodes = list(descendants(window))
        self.labels = {}
        for node in nodes:
            if node.get_role() == Atspi.Role.LABEL:
                self.labels.setdefault(node.get_name().split(": ")[0], []).append(node)
        boards = [n for n in nodes if n.get_name() == BOARD]
        if len(boards) != 1:
            raise LookupError(f"{len(boards)} controls named \"{BOARD}\"")
        self.cells = [boards[0].get_child_at_index(i) for i in range(boards[0].get_child_count())]
        if len(self.cells) != 16:
            raise LookupError(f"the board has {len(self.cells)} children: {[c.get_name() for c in self.cells]}")
        self.tiles, self.bare = self.cells[:-1], self.cells[-1]
        self.buttons = [n for n in nodes if n.get_role() == Atspi.Role.PUSH_BUTTON and n not in self.cells]
        self.clock = self.label(CLOCK)
        self.counter = self.label(COUNTER)
        self.arrangement = [(t.get_name(), place(t)) for t in self.tiles]
        self.bare_place = place(self.bare)

    def label(self, prefix):
        found = self.labels.get(prefix.removesuffix(": "), [])
        return found[0].get_name() if len(found) == 1 else f"{len(found)} labels named \"{prefix}…\""

    def button(self):
        return self.buttons[0].get_name() if len(self.buttons) == 1 else f"{len(self.buttons)} buttons"

    def tile(self, name):
        found = [t for t in self.tiles if t.get_name() == name]
        if len(found) != 1:
            raise LookupError(f"{len(found)} tiles named \"{name}\"; the window says: {self}")
        return found[0]

    def __str__(self):
        return (f"clock {self.clock!r}, counter {self.counter!r}, button {self.button()!r}, "
                f"tiles {self.arrangement}, bare cell {self.bare.get_name()!r} at {self.bare_place}")


class Listener:
    """What a screen reader is told: each description and name change, as the source says
    it when the event comes, and each notification that shows, (its name, NOTIFIED)."""

    def __init__(self):
        self.heard = []
        self.listener = Atspi.EventListener.new(self.hear)
        self.listener.register("object:property-change:accessible-description")
        self.listener.register("object:property-change:accessible-name")
        self.listener.register("object:state-changed:showing")

    def hear(self, event):
        if event.type.startswith("object:state-changed"):
            if event.detail1 and event.source.get_role() == Atspi.Role.NOTIFICATION:
                self.heard.append((event.source.get_name(), NOTIFIED))
            return
        said = event.source.get_description() if event.type.endswith("description") else event.source.get_name()
        self.heard.append((event.source.get_name(), said))

    def hint(self):
        """The hint's text, once a notification showed one; else None."""
        return next((n for n, s in self.heard if s == NOTIFIED and re.fullmatch(HINTED, n)), None)


def expect(condition, message, view):
    if not condition:
        fail(f"{message}; the window says: {view}")


def press(node, action="Press"):
    with warnings.catch_warnings():
        # Its replacement is hidden in Python behind the accessible's own get_name.
        warnings.simplefilter("ignore", DeprecationWarning)
        names = [node.get_action_name(i) for i in range(node.get_n_actions())]
    if action not in names:
        fail(f"\"{node.get_name()}\" has no action \"{action}\", only {names}")
    node.do_action(names.index(action))


def settled(read):
    """`read` as a reader that gives what it read only when it read the same board twice in a
    row, else None: a view takes each tile's name and place in calls of their own, and one
    taken while the board is being redrawn can mix the old board with the new."""
    last = []

    def again():
        view = read()
        same = bool(last) and (last[0].arrangement, last[0].bare_place) == (view.arrangement, view.bare_place)
        last[:] = [view]
        return view if same else None
    return again


def moved(before, after):
    """What a screen reader must be told between two views: each tile and the bare cell
    that stands elsewhere, named as it is now, with its new place."""
    cells = zip(before.arrangement + [(BARE, before.bare_place)], after.arrangement + [(BARE, after.bare_place)])
    return {(name, "ряд {}, столбец {}".format(*p)) for (_, was), (name, p) in cells if p != was}


def take_in(window):
    """Takes in every event the game sent before now: it answers a read after them."""
    View(window)
    while GLib.MainContext.default().iteration(False):
        pass


def expect_told(listener, window, told, what):
    """Waits for a screen reader to be told `told`, then checks that it was told no other place."""
    wait_for(f"a screen reader to be told {sorted(told)}", lambda: listener.heard, lambda h: told <= set(h))
    take_in(window)
    heard = sorted(h for h in listener.heard if re.fullmatch(PLACE, h[1]))
    if heard != sorted(told):
        fail(f"after {what} a screen reader was told {heard}, not just {sorted(told)}")
    listener.heard.clear()


def is_dealt(view):
    """Tiles 1..15 and the bare cell cover the 16 cells, in another order than the start."""
    places = [p for _, p in view.arrangement] + [view.bare_place]
    return (sorted(n for n, _ in view.arrangement) == sorted(n for n, _ in ORDERED)
            and all(isinstance(p, tuple) for p in places) and len(set(places)) == 16
            and view.arrangement != ORDERED)


def main():
    pid = int(sys.argv[1])
    window = wait_for(f"a window \"{TITLE}\" of process {pid} on the accessibility bus",
                      lambda: main_window(pid), lambda w: w is not None, seconds=10)
    listener = Listener()

    print("-- before a game")
    view = wait_for("the board", lambda: View(window), lambda v: True)
    expect(view.clock == CLOCK + "00:00:00", "the clock", view)
    expect(view.counter == COUNTER + "00000", "the move counter", view)
    expect(view.button() == "Начать игру", "the start button", view)
    wins = view.labels.get(WIN, [])
    expect(len(wins) == 1 and not has(wins[0], Atspi.StateType.SHOWING), f"\"{WIN}\" is not there hidden", view)
    expect(view.arrangement == ORDERED, "the tiles do not stand in order", view)
    expect(all(t.get_role() == Atspi.Role.PUSH_BUTTON for t in view.tiles), "a tile is not a push button", view)
    expect(not any(has(t, Atspi.StateType.SENSITIVE) for t in view.tiles), "a tile takes presses before a game", view)
    expect(view.bare.get_name() == BARE and view.bare_place == (4, 4), "the bare cell", view)

    print("-- a new game")
    press(view.buttons[0])
    view = wait_for("a dealt board, read the same twice", settled(lambda: View(window)),
                    lambda v: v is not None and v.button() == "Начать заново" and is_dealt(v))
    expect(view.counter == COUNTER + "00000", "the move counter", view)
    expect(re.fullmatch(CLOCK + r"\d\d:\d\d:\d\d", view.clock), "the clock", view)
    expect(all(has(t, Atspi.StateType.SENSITIVE) for t in view.tiles), "a tile takes no presses", view)

    print("-- a move")
    bare = view.bare_place
    name, was = next((n, p) for n, p in view.arrangement if abs(p[0] - bare[0]) + abs(p[1] - bare[1]) == 1)
    listener.heard.clear()
    press(view.tile(name))
    view = wait_for(f"tile {name} to move from {was} to {bare} and the counter to count it", lambda: View(window),
                    lambda v: v.counter == COUNTER + "00001" and place(v.tile(name)) == bare and v.bare_place == was)
    told = {(name, "ряд {}, столбец {}".format(*bare)), (BARE, "ряд {}, столбец {}".format(*was))}
    wait_for(f"a screen reader to be told {sorted(told)}", lambda: listener.heard, lambda heard: told <= set(heard))
    print(f"-- tile {name} moved from {was} to {bare}; heard: {listener.heard}")

    print("-- a hint, by the key H")
    # A client's copy may lag a moment behind the move for the tiles that did not move.
    view = wait_for("every tile's place", lambda: View(window),
                    lambda v: all(isinstance(p, tuple) for _, p in v.arrangement))
    beside = {n for n, p in view.arrangement if abs(p[0] - was[0]) + abs(p[1] - was[1]) == 1}
    Atspi.generate_keyboard_event(ord("h"), None, Atspi.KeySynthType.SYM)
    said = wait_for(f"a notification of the hint, naming one of the tiles {sorted(beside)}", listener.hint,
                    lambda hint: hint is not None)
    expect(re.fullmatch(HINTED, said)[1] in beside, f"the hint names no tile beside the bare cell: {said}", view)
    print(f"-- heard: {said}")

    print("-- a second move: a screen reader is told only what changed since the first")
    before = wait_for("the board, read the same twice", settled(lambda: View(window)), lambda v: v and is_dealt(v))
    bare = before.bare_place
    other = next(n for n, p in before.arrangement if n != name and abs(p[0] - bare[0]) + abs(p[1] - bare[1]) == 1)
    take_in(window)
    listener.heard.clear()
    press(before.tile(other))
    after = wait_for(f"tile {other} to move", settled(lambda: View(window)),
                     lambda v: v and v.counter == COUNTER + "00002" and is_dealt(v))
    expect_told(listener, window, moved(before, after), f"tile {other}'s move")

    print("-- the assembled layout, from the game menu")
    press(next(n for n in descendants(window) if n.get_name() == "Собранный расклад"))
    ordered = wait_for("the tiles in order", settled(lambda: View(window)), lambda v: v and v.arrangement == ORDERED)
    expect_told(listener, window, moved(after, ordered), "the assembled layout")


def hint_only():
    """A new game, then a hint asked for by the board's action: the line tells it, inside the
    window."""
    pid = int(sys.argv[2])
    window = wait_for(f"a window \"{TITLE}\" of process {pid} on the accessibility bus",
                      lambda: main_window(pid), lambda w: w is not None, seconds=20)
    listener = Listener()
    view = wait_for("the board", lambda: View(window), lambda v: True)
    press(view.buttons[0])
    wait_for("a dealt board", lambda: View(window), lambda v: v.button() == "Начать заново" and is_dealt(v))
    board = next(n for n in descendants(window) if n.get_name() == BOARD)
    press(board, "Подсказка")
    said = wait_for("a notification of the hint", listener.hint, lambda hint: hint is not None)
    line = next(n for n in descendants(window) if n.get_role() == Atspi.Role.NOTIFICATION)
    shown = line.get_extents(Atspi.CoordType.WINDOW)
    frame = window.get_extents(Atspi.CoordType.WINDOW)
    inside = (0 <= shown.x and shown.x + shown.width <= frame.width and 0 <= shown.y
              and shown.y + shown.height <= frame.height and shown.width > 0 and shown.height > 0)
    if line.get_name() != said or not has(line, Atspi.StateType.SHOWING) or not inside:
        fail(f"the hint's line \"{line.get_name()}\" at {shown.x},{shown.y} {shown.width}x{shown.height} "
             f"of a window {frame.width}x{frame.height}, heard \"{said}\"")
    print(f"-- the line tells \"{said}\" at {shown.x},{shown.y} {shown.width}x{shown.height} "
          f"of a window {frame.width}x{frame.height}")


if sys.argv[1] == "--hint":
    hint_only()
else:
    main()
