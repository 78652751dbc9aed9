#!/usr/bin/env python3
"""The real program under Xvfb: browse, open, fail, solve, close, restart.

usage: e2e_zendra.py <zendra binary> <make_test_data binary> <artifacts dir>

Runs with its own display, HOME and XDG folders and a data file made for the test, copied beside
a copy of the binary. Clicks with xdotool, screenshots with ImageMagick's import (kept in the
artifacts folder), and finds stones on screen by their pixels.
"""
import os
import resource
import shutil
import signal
import sqlite3
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "common"))
import xvfb_session  # noqa: E402

ZENDRA, MAKE_DATA, ARTIFACTS = sys.argv[1:4]
failures = []


def check(condition, message):
    print(("ok   " if condition else "FAIL ") + message, flush=True)
    if not condition:
        failures.append(message)


def run(*args, **kw):
    return subprocess.run(args, check=True, capture_output=True, text=True, env=ENV, **kw).stdout


class Shot:
    """A screenshot as RGB rows."""

    def __init__(self, name):
        path = os.path.join(ARTIFACTS, name + ".png")
        run("import", "-window", "root", path)
        data = subprocess.run(["convert", path, "-depth", "8", "ppm:-"], check=True,
                              capture_output=True, env=ENV).stdout
        parts = data.split(maxsplit=4)
        self.w, self.h = int(parts[1]), int(parts[2])
        self.px = parts[4]

    def rgb(self, x, y):
        i = 3 * (y * self.w + x)
        return tuple(self.px[i:i + 3])

    def dark(self, x, y):
        return sum(self.rgb(x, y)) < 300  # the stones' highlights included

    def stone_at(self, x, y, step):
        """Most of the square of half-size step / 3 around (x, y) is dark: a stone lies there
        (an empty point has only its two lines, or a star point, in that square)."""
        half = max(2, step // 3)
        cells = [(x + i, y + j) for i in range(-half, half + 1) for j in range(-half, half + 1)]
        return sum(1 for c in cells if self.dark(*c)) > 0.6 * len(cells)

    def stone_core(self, x, y):
        """The 5 x 5 square around (x, y) is black: inside a black stone, not on a line."""
        return all(self.dark(x + i, y + j) for i in range(-2, 3) for j in range(-2, 3))

    def black_stones(self, box=None):
        """Centres and areas of black stones, top to bottom, left to right."""
        x0, y0, x1, y1 = box or (2, 2, self.w - 2, self.h - 2)
        core = {(x, y) for y in range(y0, y1) for x in range(x0, x1) if self.stone_core(x, y)}
        stones = []
        while core:
            todo = [core.pop()]
            blob = []
            while todo:
                x, y = todo.pop()
                blob.append((x, y))
                for n in ((x + 1, y), (x - 1, y), (x, y + 1), (x, y - 1)):
                    if n in core:
                        core.remove(n)
                        todo.append(n)
            xs = [p[0] for p in blob]
            ys = [p[1] for p in blob]
            w, h = max(xs) - min(xs) + 1, max(ys) - min(ys) + 1
            # Stones are round: a square bounding box, well filled (the highlight is left out).
            if w < 4 or w > 80 or abs(w - h) > 3 or len(blob) < 0.35 * w * h:
                continue
            stones.append(((min(ys) + max(ys)) // 2, (min(xs) + max(xs)) // 2, len(blob)))
        stones.sort()
        return [(x, y, area) for y, x, area in stones]

    def differing(self, other, box):
        x0, y0, x1, y1 = box
        return sum(1 for y in range(y0, y1) for x in range(x0, x1)
                   if self.rgb(x, y) != other.rgb(x, y))


def wait_for_window(timeout=20):
    end = time.time() + timeout
    while time.time() < end:
        out = subprocess.run(["xdotool", "search", "--onlyvisible", "--name", "^Zendra$"],
                             capture_output=True, text=True, env=ENV).stdout.split()
        if out:
            return out[-1]
        time.sleep(0.1)
    raise SystemExit("the main window did not appear")


def window_size(wid):
    out = run("xdotool", "getwindowgeometry", wid)
    size = out.split("Geometry:")[1].split()[0]
    w, h = size.split("x")
    return int(w), int(h)


def click(x, y, button=1):
    run("xdotool", "mousemove", str(x), str(y), "click", str(button))
    time.sleep(0.6)


def key(*keys):
    for k in keys:
        run("xdotool", "key", k)
        time.sleep(0.3)


def start(preexec_fn=None):
    proc = subprocess.Popen([os.path.join(BIN, "zendra")], cwd=WORK, env=ENV,
                            stdout=subprocess.PIPE, stderr=subprocess.STDOUT,
                            preexec_fn=preexec_fn)
    wid = wait_for_window()
    # No window manager runs: give the window the keyboard focus ourselves.
    run("xdotool", "windowfocus", "--sync", wid)
    time.sleep(1.5)  # the collection loads right after the first paint
    return proc, wid


def close_by_menu(proc):
    key("alt+f", "Up", "Return")  # File, Exit
    try:
        proc.wait(timeout=10)
    except subprocess.TimeoutExpired:
        proc.kill()
        check(False, "the window closed from File, Exit")
        return
    check(proc.returncode == 0, "the program ended normally (exit code %s)" % proc.returncode)


def end_by_signal(proc):
    """SIGTERM, as at logout, and the wait for the end (killed after 10 s)."""
    proc.send_signal(signal.SIGTERM)
    try:
        proc.wait(timeout=10)
    except subprocess.TimeoutExpired:
        proc.kill()
        proc.wait()


def try_mode(before, dd, c3, step):
    """Try (F9), three moves of both colours, Stop try (F10): the board is as Try found it
    (`before`, a shot of the board before Try)."""
    key("F9")
    points = [(c3[0] + 6 * step, c3[1] + 8 * step), (c3[0] + 7 * step, c3[1] + 8 * step),
              (c3[0] + 8 * step, c3[1] + 8 * step)]
    for p in points:
        click(*p)
    trying = Shot("5a-try-mode")
    # After the solving move white is to move: white, black, white.
    # (beside the centre, where the last move's red square lies)
    whites = [trying.rgb(x - step // 4, y - step // 4) for x, y in (points[0], points[2])]
    check(all(sum(c) > 600 for c in whites) and not trying.stone_at(*points[0], step),
          "Try: the first and third moves are white stones (%s)" % (whites,))
    check(trying.stone_at(*points[1], step), "Try: the second move is a black stone")
    key("F10")
    stopped = Shot("5b-stop-try")
    check(not any(stopped.stone_at(*p, step) for p in points) and stopped.stone_at(*dd, step),
          "Stop try took the three moves away and kept the solving move")
    board_box = (c3[0] - step, c3[1] - step, c3[0] + 9 * step, c3[1] + 9 * step)
    check(stopped.differing(before, board_box) == 0, "the board is drawn as before Try")


def history_row():
    """FailedCount, SolvedCount and FailedCountBeforeSolve of problem 1 (Auto1 16)."""
    path = os.path.join(ENV["XDG_DATA_HOME"], "Tarnwick", "Lattix", "History1.cds")
    if not os.path.exists(path):
        return None
    db = sqlite3.connect(path)
    row = db.execute("SELECT FailedCount, SolvedCount, FailedCountBeforeSolve FROM History "
                     "WHERE Auto1 = 16").fetchone()
    db.close()
    return row


def settings():
    path = os.path.join(ENV["XDG_CONFIG_HOME"], "Tarnwick", "Lattix.conf")
    values = {}
    if os.path.exists(path):
        for line in open(path):
            if "=" in line:
                k, v = line.strip().split("=", 1)
                values[k] = v
    return values


os.makedirs(ARTIFACTS, exist_ok=True)
WORK = tempfile.mkdtemp(prefix="zendra-e2e-")
BIN = os.path.join(WORK, "bin")
os.makedirs(BIN)
shutil.copy(ZENDRA, BIN)
# The modules the program loads after its first window: the sounds and the line to later starts.
for module in ("libzendra_sound_module.so", "libzendra_instance_module.so"):
    if os.path.exists(os.path.join(os.path.dirname(ZENDRA), module)):
        shutil.copy(os.path.join(os.path.dirname(ZENDRA), module), BIN)
subprocess.run([MAKE_DATA, os.path.join(BIN, "Zendra.dgo"), "7"], check=True)
ENV = xvfb_session.fresh_env(WORK)
xvfb = xvfb_session.start_xvfb(ENV)
try:
    # ---- First run: index page, open, fail, solve, close ------------------------------------
    proc, wid = start()
    check(window_size(wid) == (896, 672), "first window is 7/8 of the 1024 x 768 screen: %s"
          % (window_size(wid),))
    index = Shot("1-index")
    thumbs = index.black_stones()
    check(len(thumbs) >= 21, "the index page shows the thumbnails' stones (%d found)" % len(thumbs))
    # The first thumbnail's C3 stone is the topmost, leftmost one; the cell starts 32 px
    # (margin 5, radius 5, two 11-pixel steps) above and left of it.
    cx, cy, _ = thumbs[0]
    cell_x, cell_y = cx - 32, cy - 32
    mark_box = (cell_x + 164 - 5 - 26, cell_y + 5 + 32, cell_x + 164 - 3, cell_y + 5 + 58)

    click(cell_x + 82, cell_y + 82)
    page = Shot("2-problem")
    stones = page.black_stones()
    biggest = max(s[2] for s in stones) if stones else 0
    board = [s for s in stones if s[2] >= biggest // 2]
    check(len(board) == 3, "the problem's three black stones are on the board (%d)" % len(board))
    (c3x, c3y, _), (e3x, _, _) = board[0], board[1]
    step = (e3x - c3x) // 2
    dd = (c3x + step, c3y + step)
    wrong = (c3x + 8 * step, c3y + 8 * step)
    check(not page.stone_at(*dd, step) and not page.stone_at(*wrong, step),
          "D4 and L9 start empty")

    click(*wrong)
    failed = Shot("3-failure")
    check(failed.stone_at(*wrong, step), "the wrong move's stone is on the board")
    key("Escape")  # Solve again
    again = Shot("4-solve-again")
    check(not again.stone_at(*wrong, step), "Solve again removed the wrong move")
    click(*dd)
    solved = Shot("5-solved")
    check(solved.stone_at(*dd, step), "the solving move's stone is on the board")
    try_mode(solved, dd, (c3x, c3y), step)

    key("alt+o", "Return")  # Options, "Computer do not play bad move" off
    run("xdotool", "windowsize", wid, "800", "600")
    time.sleep(0.8)
    close_by_menu(proc)

    row = history_row()
    check(row is not None, "the history file was written")
    check(row == (1, 1, 1), "problem 1 counts one failure and one solve: %s" % (row,))
    s = settings()
    check(s.get("ComputerDoNotPlayBadMove") == "0" and s.get("Width") == "800"
          and s.get("Height") == "600" and s.get("Database") == "2",
          "settings stored: %s" % {k: s.get(k) for k in
                                   ("ComputerDoNotPlayBadMove", "Width", "Height", "Database")})

    # ---- Second run: the solved mark, the options and the size come back ---------------------
    proc, wid = start()
    check(window_size(wid) == (800, 600), "the window size came back: %s" % (window_size(wid),))
    restart = Shot("6-restart")
    # The window moved (it is centred at its new size): find the first thumbnail again.
    cx2, cy2, _ = restart.black_stones()[0]
    dx, dy = cx2 - cx, cy2 - cy
    box2 = (mark_box[0] + dx, mark_box[1] + dy, mark_box[2] + dx, mark_box[3] + dy)
    before = sum(1 for y in range(mark_box[1], mark_box[3]) for x in range(mark_box[0], mark_box[2])
                 if index.rgb(x, y)[1] > 100 and index.rgb(x, y)[0] < 100)
    after = sum(1 for y in range(box2[1], box2[3]) for x in range(box2[0], box2[2])
                if restart.rgb(x, y)[1] > 100 and restart.rgb(x, y)[0] < 100)
    check(after > 15 and before == 0,
          "the solved thumbnail carries its check mark (green pixels %d before, %d after)"
          % (before, after))
    other = (box2[0] + 164, box2[1], box2[2] + 164, box2[3])
    greens = sum(1 for y in range(other[1], other[3]) for x in range(other[0], other[2])
                 if restart.rgb(x, y)[1] > 100 and restart.rgb(x, y)[0] < 100)
    check(greens == 0, "the unsolved second thumbnail has no check mark (%d)" % greens)
    key("alt+o")
    Shot("7-options-menu")
    key("Escape", "Escape")
    close_by_menu(proc)
    check(settings().get("ComputerDoNotPlayBadMove") == "0",
          "the option read back and written again unchanged")

    # ---- A second copy while one runs brings it to the front and ends ------------------------
    # A garbage lock file left behind does not keep the program from starting.
    with open(os.path.join(ENV["XDG_RUNTIME_DIR"], "VexLattixZendra"), "wb") as lock:
        lock.write(b"\x00garbage\n")
    proc, wid = start()
    second = subprocess.run([os.path.join(BIN, "zendra")], cwd=WORK, env=ENV, timeout=20,
                            capture_output=True, text=True)
    check(second.returncode == 0, "a second start reached the running one and ended (%s, %s)"
          % (second.returncode, second.stdout + second.stderr))
    check(proc.poll() is None, "the running one runs on")
    close_by_menu(proc)

    # ---- The system asks the program to end: it closes as File, Exit does -------------------
    proc, wid = start()
    run("xdotool", "windowsize", wid, "820", "610")
    time.sleep(0.8)
    end_by_signal(proc)
    check(proc.returncode == 0, "SIGTERM ended the program normally (exit code %s)"
          % proc.returncode)
    s = settings()
    check(s.get("Width") == "820" and s.get("Height") == "610",
          "SIGTERM saved the settings: %s" % {k: s.get(k) for k in ("Width", "Height")})

    # ---- A file-size limit: progress cannot be saved, the player is told, the play goes on ----
    before = history_row()
    limit = lambda: resource.setrlimit(resource.RLIMIT_FSIZE, (2048, 2048))
    proc, wid = start(preexec_fn=limit)
    key("Down")  # open the first problem
    time.sleep(1.0)
    page = Shot("8-size-limit")
    stones = page.black_stones()
    biggest = max(s[2] for s in stones) if stones else 0
    board = [s for s in stones if s[2] >= biggest // 2]
    if len(board) == 3:
        (c3x, c3y, _), (e3x, _, _) = board[0], board[1]
        step = (e3x - c3x) // 2
        click(c3x + 8 * step, c3y + 8 * step)  # a wrong move: a failure to count
    else:
        check(False, "the problem's stones were found for the wrong move (%d)" % len(board))
    time.sleep(1.0)
    notice = subprocess.run(["xdotool", "search", "--onlyvisible", "--name",
                             "^Progress cannot be saved$"], capture_output=True, text=True,
                            env=ENV).stdout.split()
    check(len(notice) == 1, "the player was told that progress cannot be saved")
    Shot("9-progress-not-saved")
    check(proc.poll() is None, "the program runs on under the file-size limit")
    end_by_signal(proc)
    check(proc.returncode == 0, "it ended normally, not by SIGXFSZ (exit code %s)"
          % proc.returncode)
    check(history_row() == before, "the history file is as it was: %s" % (history_row(),))
finally:
    xvfb.terminate()
    xvfb.wait()
    shutil.rmtree(WORK, ignore_errors=True)

print("screenshots in", ARTIFACTS)
sys.exit(1 if failures else 0)
