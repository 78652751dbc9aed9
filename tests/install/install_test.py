#!/usr/bin/env python3
"""The installed program: cmake --install into a temporary prefix, the desktop files validated,
the program started from another folder under Xvfb, finding its shipped collection there.

usage: install_test.py <build dir> <artifacts dir>

The program starts twice with its own HOME and XDG folders: with the installed data file its
index page shows the thumbnails' stones; with the data file moved away a second window (the
question offering another data file or an import) appears.
"""
import os
import shutil
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "common"))
import xvfb_session  # noqa: E402

BUILD, ARTIFACTS = sys.argv[1:3]
os.makedirs(ARTIFACTS, exist_ok=True)
failures = []


def check(condition, message):
    print(("ok   " if condition else "FAIL ") + message, flush=True)
    if not condition:
        failures.append(message)


def run(args, **kw):
    return subprocess.run(args, capture_output=True, text=True, **kw)


WORK = tempfile.mkdtemp(prefix="zendra-install-")
PREFIX = os.path.join(WORK, "prefix")
try:
    r = run(["cmake", "--install", BUILD, "--prefix", PREFIX])
    check(r.returncode == 0, "cmake --install into a temporary prefix\n" + r.stdout + r.stderr)

    share = os.path.join(PREFIX, "share")
    desktop = os.path.join(share, "applications", "io.github.zendra.Zendra.desktop")
    metainfo = os.path.join(share, "metainfo", "io.github.zendra.Zendra.metainfo.xml")
    data = os.path.join(share, "zendra", "Zendra.dgo")
    expected = [
        os.path.join(PREFIX, "bin", "zendra"),
        os.path.join(PREFIX, "bin", "zendra-db"),
        data,
        os.path.join(share, "zendra", "Remark.txt"),
        desktop,
        metainfo,
        os.path.join(share, "icons", "hicolor", "scalable", "apps", "zendra.svg"),
    ] + [os.path.join(share, "icons", "hicolor", "%dx%d" % (n, n), "apps", "zendra.png")
         for n in (16, 22, 24, 32, 48, 64, 128, 256)]
    missing = [p for p in expected if not os.path.isfile(p)]
    check(not missing, "installed files in place (missing: %s)" % missing)
    libdirs = [d for d in ("lib", "lib64") if os.path.isdir(os.path.join(PREFIX, d, "zendra"))]
    modules = [f for d in libdirs for f in os.listdir(os.path.join(PREFIX, d, "zendra"))
               if f.endswith(".so")]
    check(sorted(modules) == ["libzendra_instance_module.so", "libzendra_sound_module.so",
                              "libzendra_statistics_module.so"],
          "the sound, instance and statistics modules in lib/zendra: %s" % modules)

    r = run(["desktop-file-validate", desktop])
    check(r.returncode == 0 and not r.stdout.strip(),
          "desktop-file-validate passes\n" + r.stdout + r.stderr)
    r = run(["appstreamcli", "validate", "--no-net", "--pedantic", metainfo])
    check(r.returncode == 0, "appstreamcli validate passes\n" + r.stdout + r.stderr)
    r = run([os.path.join(PREFIX, "bin", "zendra-db"), "check", data])
    check(r.returncode == 0, "the installed data file passes zendra-db check\n" + r.stderr[-2000:])

    # ---- The installed program, started from another folder --------------------------------
    elsewhere = os.path.join(WORK, "elsewhere")
    no_data_dirs = os.path.join(WORK, "no-xdg-data")
    for d in (elsewhere, no_data_dirs):
        os.makedirs(d)
    # No system-wide copy stands in for the installed one.
    env = xvfb_session.fresh_env(WORK, XDG_DATA_DIRS=no_data_dirs)
    xvfb = xvfb_session.start_xvfb(env)

    def start():
        return subprocess.Popen([os.path.join(PREFIX, "bin", "zendra")], cwd=elsewhere, env=env,
                                stdout=subprocess.PIPE, stderr=subprocess.STDOUT)

    def windows(proc, count, timeout=30):
        """The ids of the program's visible windows once there are `count` of them, else []."""
        end = time.time() + timeout
        while time.time() < end:
            out = run(["xdotool", "search", "--onlyvisible", "--pid", str(proc.pid),
                       "--class", "zendra"], env=env).stdout.split()
            if len(out) >= count:
                return out
            time.sleep(0.1)
        return []

    def stop(proc):
        proc.terminate()
        try:
            proc.wait(timeout=10)
        except subprocess.TimeoutExpired:
            proc.kill()
            proc.wait()

    def stone_pixels(wid):
        """Pixels inside black stones below the menu and toolbar of window `wid` (the 5 x 5 square
        around them dark: thin board lines never are)."""
        shot = os.path.join(ARTIFACTS, "installed.png")
        subprocess.run(["import", "-window", wid, shot], check=True, env=env)
        ppm = subprocess.run(["convert", shot, "-depth", "8", "ppm:-"], check=True,
                             capture_output=True).stdout
        parts = ppm.split(maxsplit=4)
        w, h, px = int(parts[1]), int(parts[2]), parts[4]
        dark = [[sum(px[3 * (y * w + x):3 * (y * w + x) + 3]) < 200 for x in range(w)]
                for y in range(h)]
        return sum(1 for y in range(62, h - 2) for x in range(2, w - 2)
                   if all(dark[y + j][x + i] for j in range(-2, 3) for i in range(-2, 3)))

    try:
        proc = start()
        found = windows(proc, 1)
        check(bool(found), "the installed program's window appears")
        if found:
            time.sleep(2)  # the collection loads right after the first paint
            pixels = stone_pixels(found[0])
            check(pixels > 500, "the shipped collection's stones are shown (%d stone pixels)"
                  % pixels)
        stop(proc)

        os.rename(data, data + ".away")
        proc = start()
        check(len(windows(proc, 2)) == 2,
              "without the data file the window offers another data file or an import")
        stop(proc)
        os.rename(data + ".away", data)
    finally:
        xvfb.terminate()
        xvfb.wait()
finally:
    shutil.rmtree(WORK, ignore_errors=True)

sys.exit(1 if failures else 0)
