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


def board_grid(shot):
    """Where the test problem's board lies on `shot`: a function from a point (column, row) to
    its pixel, and the distance between two lines; None when its three black stones (C3, E3,
    C5) are not all found. The thumbnails' smaller stones are left out."""
    stones = shot.black_stones()
    biggest = max(s[2] for s in stones) if stones else 0
    board = [s for s in stones if s[2] >= biggest // 2]
    if len(board) != 3:
        return None, 0
    (c3x, c3y, _), (e3x, _, _) = board[0], board[1]
    step = (e3x - c3x) // 2
    return (lambda p, q: (c3x + (p - 3) * step, c3y + (q - 3) * step)), step


def visible_tips():
    """The window ids of the tip windows on screen."""
    return subprocess.run(["xdotool", "search", "--onlyvisible", "--name", "^Hint$"],
                          capture_output=True, text=True, env=ENV).stdout.split()


def wait_for_window(timeout=60, name="^Zendra$"):
    end = time.time() + timeout
    while time.time() < end:
        out = subprocess.run(["xdotool", "search", "--onlyvisible", "--name", name],
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


def start(preexec_fn=None, name="^Zendra$"):
    proc = subprocess.Popen([os.path.join(BIN, "zendra")], cwd=WORK, env=ENV,
                            stdout=subprocess.PIPE, stderr=subprocess.STDOUT,
                            preexec_fn=preexec_fn)
    wid = wait_for_window(name=name)
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


def history_row(path=None, number=16):
    """FailedCount, SolvedCount and FailedCountBeforeSolve of problem `number` (problem 1 of the
    test data, Auto1 16) in the shipped history, or the history at `path`."""
    path = path or os.path.join(ENV["XDG_DATA_HOME"], "Tarnwick", "Lattix", "History1.cds")
    if not os.path.exists(path):
        return None
    db = sqlite3.connect(path)
    row = db.execute("SELECT FailedCount, SolvedCount, FailedCountBeforeSolve FROM History "
                     "WHERE Auto1 = ?", (number,)).fetchone()
    db.close()
    return row


def check_mark_greens(shot, stone, cells_right=0):
    """Green pixels where the check mark of a thumbnail goes: the thumbnail whose topmost,
    leftmost black stone (its C3) is `stone`, or the one `cells_right` cells to its right. The
    cell starts 32 px (margin 5, radius 5, two 11-pixel steps) above and left of that stone."""
    cell_x, cell_y = stone[0] - 32 + 164 * cells_right, stone[1] - 32
    box = (cell_x + 164 - 5 - 26, cell_y + 5 + 32, cell_x + 164 - 3, cell_y + 5 + 58)
    return sum(1 for y in range(box[1], box[3]) for x in range(box[0], box[2])
               if shot.rgb(x, y)[1] > 100 and shot.rgb(x, y)[0] < 100)


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
    click(cx - 32 + 82, cy - 32 + 82)
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
    # Only a retry is left: tip 2 appears, centred on the screen; its Close button takes it away.
    tips = visible_tips()
    check(len(tips) == 1, "the tip to retry appeared after the wrong move (%d)" % len(tips))
    Shot("3-failure-tip")
    if tips:
        geometry = run("xdotool", "getwindowgeometry", tips[0])
        tx, ty = (int(v) for v in geometry.split("Position:")[1].split()[0].split(","))
        click(tx + 232 + 37, ty + 64 + 12)  # btnClose
    check(not visible_tips(), "its Close button closed the tip")
    failed = Shot("3-failure")
    check(failed.stone_at(*wrong, step), "the wrong move's stone is on the board")
    key("Escape")  # Solve again
    again = Shot("4-solve-again")
    check(not again.stone_at(*wrong, step), "Solve again removed the wrong move")
    click(*dd)
    solved = Shot("5-solved")
    check(solved.stone_at(*dd, step), "the solving move's stone is on the board")
    try_mode(solved, dd, (c3x, c3y), step)

    key("alt+o", "Return")  # Options, "Computer do not play bad move" on (off at a first run)
    run("xdotool", "windowsize", wid, "800", "600")
    time.sleep(0.8)
    close_by_menu(proc)

    row = history_row()
    check(row is not None, "the history file was written")
    check(row == (1, 1, 1), "problem 1 counts one failure and one solve: %s" % (row,))
    s = settings()
    check(s.get("ComputerDoNotPlayBadMove") == "1" and s.get("Width") == "800"
          and s.get("Height") == "600" and s.get("Database") == "2",
          "settings stored: %s" % {k: s.get(k) for k in
                                   ("ComputerDoNotPlayBadMove", "Width", "Height", "Database")})

    # ---- Second run: the solved mark, the options and the size come back ---------------------
    proc, wid = start()
    check(window_size(wid) == (800, 600), "the window size came back: %s" % (window_size(wid),))
    restart = Shot("6-restart")
    # The window moved (it is centred at its new size): find the first thumbnail again.
    first = restart.black_stones()[0]
    before = check_mark_greens(index, thumbs[0])
    after = check_mark_greens(restart, first)
    check(after > 15 and before == 0,
          "the solved thumbnail carries its check mark (green pixels %d before, %d after)"
          % (before, after))
    greens = check_mark_greens(restart, first, cells_right=1)
    check(greens == 0, "the unsolved second thumbnail has no check mark (%d)" % greens)
    key("alt+o")
    Shot("7-options-menu")
    key("Escape", "Escape")
    close_by_menu(proc)
    check(settings().get("ComputerDoNotPlayBadMove") == "1",
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
    at, _ = board_grid(Shot("8-size-limit"))
    check(at is not None, "the problem's stones were found for the wrong move")
    if at:
        click(*at(11, 11))  # a wrong move: a failure to count
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

    # ---- Several computer replies: a tip after the correct answer, then "Solved" ------------
    subprocess.run([MAKE_DATA, os.path.join(BIN, "Zendra.dgo"), "7", "two-replies"], check=True)
    before = history_row()
    proc, wid = start()
    key("Down")  # open the first problem
    time.sleep(1.0)
    at, step = board_grid(Shot("10-two-replies"))
    check(at is not None, "the problem's three black stones are on the board")
    if at:
        click(*at(4, 4))    # the correct move; the computer answers K11
        click(*at(12, 12))  # the correct answer to K11; K12 is still to be met
        time.sleep(0.5)
        tips = visible_tips()
        check(len(tips) == 1, "a tip appeared after the correct answer (%d)" % len(tips))
        Shot("11-tip-after-correct-answer")
        check(history_row()[1] == before[1], "the problem is not counted as solved yet: %s"
              % (history_row(),))
        key("Next")  # PgDn: the other reply
        time.sleep(0.5)
        check(not visible_tips(), "PgDn hid the tip")
        replied = Shot("12-other-reply")
        check(not replied.stone_at(*at(12, 12), step), "the first line was taken back")
        click(*at(12, 13))  # the correct answer to K12
        Shot("13-solved")
        check(history_row()[1] == before[1] + 1, "then the problem counts as solved: %s"
              % (history_row(),))
    close_by_menu(proc)

    # ---- Own problems: a folder imported from the menu, one solved, the mark after a restart --
    sgf = os.path.join(WORK, "My problems")
    os.makedirs(os.path.join(sgf, "deeper"))
    for n in (1, 2):
        with open(os.path.join(sgf, "deeper", "p%d.sgf" % n), "w") as f:
            f.write("(;FF[4]GM[1]SZ[19]CA[UTF-8]AB[cc][ec][ce]AW[fc][fd][fe][ef][df]PL[B]"
                    "C[Answer: lives];B[dd]C[Correct.])")
    with open(os.path.join(sgf, "broken.sgf"), "w") as f:
        f.write("(;GM[1]FF[4]SZ[13];B[cc])")
    proc, wid = start()
    key("alt+f", "Down", "Down", "Down", "Down")  # Basic .. Advanced, then the import
    Shot("20-file-menu")
    key("Return")
    wait_for_window(name="^Import SGF problems$")
    key("Return")  # "Folder…", the default
    time.sleep(1.0)
    run("xdotool", "type", "--delay", "20", sgf)
    key("Return")
    wait_for_window(name="^Import SGF problems$")  # the report
    time.sleep(0.5)
    Shot("21-import-report")
    key("Return")
    time.sleep(1.5)
    title = run("xdotool", "getwindowname", wid).strip()
    check(title.startswith("My problems: 0 / 2 solved"), "the imported collection is open, its "
          "name and progress in the title: %r" % title)
    own = Shot("22-own-collection")
    thumbs = own.black_stones()
    check(len(thumbs) >= 6, "the two imported problems' thumbnails (%d stones)" % len(thumbs))
    if thumbs:
        cx, cy, _ = thumbs[0]
        click(cx - 32 + 82, cy - 32 + 82)
    at, _ = board_grid(Shot("23-own-problem"))
    check(at is not None, "the imported problem's stones are on the board")
    if at:
        click(*at(4, 4))  # D4 solves it
    Shot("24-own-solved")
    title = run("xdotool", "getwindowname", wid).strip()
    check(title.startswith("My problems: 1 / 2 solved"), "the title counts the solve: %r" % title)
    close_by_menu(proc)
    histories = [os.path.join(root, "History1.cds") for root, _, files in
                 os.walk(os.path.join(ENV["XDG_DATA_HOME"], "Tarnwick", "Lattix", "Imported"))
                 if "History1.cds" in files]
    check(len(histories) == 1 and (history_row(histories[0], 1) or (0, 0))[1] == 1,
          "the imported collection's own history counts the solve: %s"
          % [history_row(h, 1) for h in histories])
    check(settings().get("Database") == "2", "the shipped choice is kept: %s"
          % settings().get("Database"))

    proc, wid = start(name="^My problems: 1 / 2 solved")
    again = Shot("25-own-restart")
    first = again.black_stones()[0]
    solved, unsolved = check_mark_greens(again, first), check_mark_greens(again, first, 1)
    check(solved > 15 and unsolved == 0, "after the restart the solved imported problem has its "
          "check mark and the other none (green pixels %d, %d)" % (solved, unsolved))
    close_by_menu(proc)
finally:
    xvfb.terminate()
    xvfb.wait()
    shutil.rmtree(WORK, ignore_errors=True)

print("screenshots in", ARTIFACTS)
sys.exit(1 if failures else 0)
