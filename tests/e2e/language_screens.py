#!/usr/bin/env python3
"""Screenshots of the real program in each interface language, to look at: the index page, the
Solve menu open, a problem page and the level message box, under LANG=C.UTF-8, zh_CN.UTF-8 and
zh_TW.UTF-8 (the language comes from the locale, as on a user's desktop).

usage: language_screens.py <zendra binary> <data file> <artifacts dir>

Each language runs with its own Xvfb display, HOME and XDG folders; the shots are
<artifacts>/<lang>-<page>.png. The script checks that the program starts and that the menu bar
of a Chinese interface differs from the English one; whether glyphs are boxes, garbled or clipped
is for the eye.
"""
import os
import shutil
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "common"))
import xvfb_session  # noqa: E402

ZENDRA, DATA, ARTIFACTS = sys.argv[1:4]
LANGS = ["C.UTF-8", "zh_CN.UTF-8", "zh_TW.UTF-8"]


def shoot(env, wid, path):
    subprocess.run(["import", "-window", "root", path], check=True, env=env)


def menu_bar_bytes(env, path):
    """The pixels of the window's top 50 rows (menu bar and toolbar)."""
    return subprocess.run(["convert", path, "-crop", "640x50+0+0", "-depth", "8", "rgb:-"],
                          check=True, capture_output=True, env=env).stdout


def start_display(env):
    """An Xvfb server that answers; another test starting one at the same moment can take the
    display number it was given, so a server that does not answer within 10 s is replaced."""
    for _ in range(5):
        xvfb = xvfb_session.start_xvfb(env)
        end = time.time() + 10
        while time.time() < end and xvfb.poll() is None:
            if subprocess.run(["xdotool", "getdisplaygeometry"], env=env,
                              capture_output=True).returncode == 0:
                return xvfb
            time.sleep(0.25)
        xvfb.terminate()
        xvfb.wait()
    raise SystemExit("no Xvfb display could be started")


def start_program(lang, env, bin_dir, work):
    """The program on a display of its own and its main window's id. A program that ends
    before its window appears because it could not reach the display (a server on the same
    number elsewhere went away under it) is started again on a new display."""
    for attempt in range(3):
        xvfb = start_display(env)
        proc = subprocess.Popen([os.path.join(bin_dir, "zendra")], cwd=work, env=env,
                                stdout=subprocess.PIPE, stderr=subprocess.STDOUT)
        wid = None
        end = time.time() + 60
        while time.time() < end and not wid and proc.poll() is None:
            out = subprocess.run(["xdotool", "search", "--onlyvisible", "--name", "^Zendra$"],
                                 capture_output=True, text=True, env=env).stdout.split()
            wid = out[-1] if out else None
            time.sleep(0.1)
        if wid:
            return xvfb, proc, wid
        if proc.poll() is None:
            proc.kill()
        output = proc.communicate()[0].decode(errors="replace")
        xvfb.terminate()
        xvfb.wait()
        if "could not connect to display" not in output or attempt == 2:
            raise SystemExit(f"{lang}: the main window did not appear\n" + output)
        print(f"{lang}: {env['DISPLAY']} went away before the program reached it; again")


def run_language(lang):
    work = tempfile.mkdtemp(prefix="zendra-lang-")
    env = xvfb_session.fresh_env(work, LANG=lang)
    bin_dir = os.path.join(work, "bin")
    os.makedirs(bin_dir)
    shutil.copy(ZENDRA, bin_dir)
    shutil.copy(DATA, os.path.join(bin_dir, "Zendra.dgo"))
    remarks = os.path.join(os.path.dirname(DATA), "Remark.txt")
    if os.path.exists(remarks):
        shutil.copy(remarks, bin_dir)
    xvfb, proc, wid = start_program(lang, env, bin_dir, work)
    name = lang.split(".")[0]
    shots = {}
    try:
        subprocess.run(["xdotool", "windowmove", wid, "0", "0"], env=env)
        subprocess.run(["xdotool", "windowfocus", "--sync", wid], check=True, env=env)
        time.sleep(1.5)

        def shot(page):
            path = os.path.join(ARTIFACTS, f"{name}-{page}.png")
            shoot(env, wid, path)
            shots[page] = path

        def key(*keys):
            for k in keys:
                subprocess.run(["xdotool", "key", k], check=True, env=env)
                time.sleep(0.5)

        shot("index")
        key("alt+s")  # the Solve menu (its accelerator is S in every language)
        shot("solve-menu")
        key("Escape", "Escape")  # the menu, then the menu bar
        # The first thumbnail: the first problem on the board.
        subprocess.run(["xdotool", "mousemove", "85", "140", "click", "1"], check=True, env=env)
        time.sleep(1.0)
        shot("problem")
        key("alt+v")  # the View menu on the problem page
        shot("view-menu")
        key("Escape", "Escape")
        key("alt+s", "Up", "Return")  # What level I'm at, the last entry of the Solve menu
        time.sleep(0.5)
        shot("level-box")
        key("Return")
        return shots, env
    finally:
        proc.terminate()
        try:
            proc.wait(timeout=10)
        except subprocess.TimeoutExpired:
            proc.kill()
        xvfb.terminate()
        xvfb.wait()


def main():
    os.makedirs(ARTIFACTS, exist_ok=True)
    results = {lang: run_language(lang) for lang in LANGS}
    english, env = results["C.UTF-8"]
    failed = False
    for lang in LANGS[1:]:
        shots, _ = results[lang]
        same = menu_bar_bytes(env, shots["index"]) == menu_bar_bytes(env, english["index"])
        print(("FAIL " if same else "ok   ") + f"{lang}: the menu bar differs from English")
        failed = failed or same
    print("screenshots in", ARTIFACTS)
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
