#!/usr/bin/env python3
"""One start-up measurement of a desktop program, and the summary of several.

  startup_probe.py run NAME WORKDIR [--cwd DIR] -- COMMAND...   prints one JSON line
  startup_probe.py summary RESULTS.jsonl            prints the table of medians and the raw runs

`run` gives the program a fresh HOME and fresh XDG folders under WORKDIR, takes the monotonic
time, starts COMMAND (in its own process group) and waits for the first top-level window of the
program's process tree to be mapped on the X display ($DISPLAY, a local display without a window
manager, so mapped means visible). It listens to the display itself (MapNotify events of the
root window, over the X11 protocol) instead of polling, so the time is exact to the event and
the waiting costs the program no processor time; xdotool then confirms the window is visible.
Two seconds later it reads VmRSS of the process owning that window (and the sum over the whole
process tree), then stops the group. The program runs in DIR (default: its fresh HOME).
"""
import json
import os
import select
import socket
import struct
import signal
import statistics
import subprocess
import sys
import time

WINDOW_TIMEOUT_S = 180.0
SETTLE_S = 2.0


class Display:
    """A minimal X11 client: the root window's structure events and window properties."""

    MAP_NOTIFY = 19
    SUBSTRUCTURE_NOTIFY = 0x80000

    def __init__(self, name):
        number = name.split(":")[1].split(".")[0]
        self.sock = socket.socket(socket.AF_UNIX, socket.SOCK_STREAM)
        self.sock.connect("/tmp/.X11-unix/X" + number)
        self.buffer = b""
        self.events = []
        self.sock.sendall(struct.pack("<BxHHHHxx", 0x6C, 11, 0, 0, 0))
        head = self._read(8)
        if head[0] != 1:
            raise RuntimeError("the X server refused the connection")
        body = self._read(struct.unpack_from("<H", head, 6)[0] * 4)
        vendor_len, = struct.unpack_from("<H", body, 16)
        formats = body[21]
        screen = 32 + (vendor_len + 3) // 4 * 4 + 8 * formats
        self.root, = struct.unpack_from("<I", body, screen)
        # ChangeWindowAttributes(root, event-mask = SubstructureNotify).
        self.sock.sendall(struct.pack("<BxHIII", 2, 4, self.root, 0x800, self.SUBSTRUCTURE_NOTIFY))
        self.atoms = {}

    def _read(self, n):
        while len(self.buffer) < n:
            chunk = self.sock.recv(65536)
            if not chunk:
                raise RuntimeError("the X server closed the connection")
            self.buffer += chunk
        data, self.buffer = self.buffer[:n], self.buffer[n:]
        return data

    def _message(self):
        """The next reply, event or error, 32 bytes or more."""
        data = self._read(32)
        if data[0] == 1:
            data += self._read(struct.unpack_from("<I", data, 4)[0] * 4)
        return data

    def _reply(self):
        while True:
            data = self._message()
            if data[0] == 1:
                return data
            if data[0] == 0:
                return None  # an error: the window is gone, say
            self.events.append((time.monotonic(), data))

    def next_map(self, timeout):
        """(monotonic time, window) of the next top-level window mapped (override-redirect
        windows such as menus left out), or None after timeout seconds."""
        deadline = time.monotonic() + timeout
        while True:
            while self.events:
                when, data = self.events.pop(0)
                if data[0] & 0x7F == self.MAP_NOTIFY and not data[12]:
                    return when, struct.unpack_from("<I", data, 8)[0]
            if not self.buffer:
                left = deadline - time.monotonic()
                if left <= 0 or not select.select([self.sock], [], [], left)[0]:
                    return None
            data = self._message()
            if data[0] > 1:
                self.events.append((time.monotonic(), data))

    def atom(self, name):
        if name not in self.atoms:
            raw = name.encode()
            pad = (4 - len(raw) % 4) % 4
            self.sock.sendall(struct.pack("<BBHHxx", 16, 0, 2 + (len(raw) + pad) // 4, len(raw))
                              + raw + b"\0" * pad)
            reply = self._reply()
            self.atoms[name] = struct.unpack_from("<I", reply, 8)[0] if reply else 0
        return self.atoms[name]

    def property(self, window, name, length=64):
        """The bytes of property `name` of `window` (any type), b"" when it has none."""
        self.sock.sendall(struct.pack("<BBHIIIII", 20, 0, 6, window, self.atom(name), 0, 0,
                                      length))
        reply = self._reply()
        if not reply or reply[1] == 0:
            return b""
        count, = struct.unpack_from("<I", reply, 16)
        return reply[32:32 + count * reply[1] // 8]

    def pid(self, window):
        value = self.property(window, "_NET_WM_PID", 1)
        return struct.unpack("<I", value)[0] if len(value) == 4 else None

    def name(self, window):
        value = self.property(window, "_NET_WM_NAME") or self.property(window, "WM_NAME")
        return value.decode("utf-8", "replace")



def descendants(root):
    """The pids of root and every process below it, read from /proc."""
    children = {}
    for entry in os.listdir("/proc"):
        if not entry.isdigit():
            continue
        try:
            with open(f"/proc/{entry}/stat") as f:
                stat = f.read()
        except OSError:
            continue
        # The command name is in parentheses and may hold spaces: the fields follow the last ')'.
        ppid = int(stat[stat.rindex(")") + 2:].split()[1])
        children.setdefault(ppid, []).append(int(entry))
    found, todo = [], [root]
    while todo:
        pid = todo.pop()
        found.append(pid)
        todo.extend(children.get(pid, []))
    return found


def rss_kb(pid):
    try:
        with open(f"/proc/{pid}/status") as f:
            for line in f:
                if line.startswith("VmRSS:"):
                    return int(line.split()[1])
    except OSError:
        pass
    return 0


def cpu_ms(pids):
    """Processor time the processes have used so far, from the scheduler's counts (ns)."""
    total = 0
    for pid in pids:
        try:
            tasks = os.listdir(f"/proc/{pid}/task")
        except OSError:
            continue
        for task in tasks:
            try:
                with open(f"/proc/{pid}/task/{task}/schedstat") as f:
                    total += int(f.read().split()[0])
            except (OSError, ValueError, IndexError):
                pass
    return total / 1e6


def comm(pid):
    try:
        with open(f"/proc/{pid}/comm") as f:
            return f.read().strip()
    except OSError:
        return "?"


def xdotool_visible(window, pid):
    """True when xdotool, too, lists the window among the visible windows of the process."""
    r = subprocess.run(["xdotool", "search", "--onlyvisible", "--pid", str(pid)],
                       capture_output=True, text=True)
    return str(window) in r.stdout.split()


def fresh_environment(workdir):
    home = os.path.join(workdir, "home")
    env = dict(os.environ)
    env["HOME"] = home
    for var, sub in (("XDG_CONFIG_HOME", ".config"), ("XDG_DATA_HOME", ".local/share"),
                     ("XDG_CACHE_HOME", ".cache"), ("XDG_STATE_HOME", ".local/state"),
                     ("XDG_RUNTIME_DIR", "runtime")):
        env[var] = os.path.join(home, sub)
        os.makedirs(env[var], mode=0o700, exist_ok=True)
    env.pop("XDG_CONFIG_DIRS", None)
    env.pop("XDG_DATA_DIRS", None)
    env.pop("DBUS_SESSION_BUS_ADDRESS", None)
    return env


def run(name, workdir, cwd, command):
    env = fresh_environment(workdir)
    display = Display(os.environ["DISPLAY"])
    log = open(os.path.join(workdir, "output.log"), "w")
    start = time.monotonic()
    proc = subprocess.Popen(command, env=env, cwd=cwd or env["HOME"], stdout=log, stderr=log,
                            start_new_session=True)
    result = {"program": name, "command": " ".join(command)}
    try:
        found = None
        maps = 0
        while found is None and time.monotonic() - start < WINDOW_TIMEOUT_S:
            if proc.poll() is not None:
                break
            mapped = display.next_map(0.5)
            if mapped is None:
                continue
            maps += 1
            when, window = mapped
            owner = display.pid(window)
            tree = descendants(proc.pid)
            if owner is not None and owner in tree:
                found = when, window, owner
                result["cpu_ms_to_window"] = round(cpu_ms(tree), 1)
        if found is None:
            result["error"] = ("exited with %s" % proc.returncode if proc.poll() is not None
                               else "no visible window")
            return result
        shown, window, owner = found
        time.sleep(SETTLE_S)
        tree = descendants(proc.pid)
        result.update({
            "ms_to_window": round((shown - start) * 1000.0, 1),
            "maps": maps,
            "window_name": display.name(window),
            "xdotool_visible": xdotool_visible(window, owner),
            "window_process": comm(owner),
            "rss_mb": round(rss_kb(owner) / 1024.0, 1),
            "tree_rss_mb": round(sum(rss_kb(p) for p in tree) / 1024.0, 1),
            "tree": sorted(comm(p) for p in tree),
        })
        shot = os.environ.get("STARTUP_SCREENSHOT")
        if shot:
            subprocess.run(["import", "-window", "root", shot], capture_output=True)
        return result
    finally:
        try:
            os.killpg(proc.pid, signal.SIGTERM)
        except ProcessLookupError:
            pass
        try:
            proc.wait(timeout=10)
        except subprocess.TimeoutExpired:
            os.killpg(proc.pid, signal.SIGKILL)
            proc.wait()
        log.close()


def summary(path):
    runs = [json.loads(line) for line in open(path) if line.strip()]
    names = list(dict.fromkeys(r["program"] for r in runs))
    print("%-8s %5s %20s %16s %14s %21s" % ("program", "runs", "median ms to window",
                                               "(CPU ms by then)", "median RSS MB",
                                               "(whole tree RSS MB)"))
    for name in names:
        ok = [r for r in runs if r["program"] == name and "error" not in r]
        if not ok:
            print("%-8s %5d %20s %16s %14s %21s" % (name, 0, "-", "-", "-", "-"))
            continue
        print("%-8s %5d %20.0f %16.0f %14.1f %21.1f" % (
            name, len(ok), statistics.median(r["ms_to_window"] for r in ok),
            statistics.median(r["cpu_ms_to_window"] for r in ok),
            statistics.median(r["rss_mb"] for r in ok),
            statistics.median(r["tree_rss_mb"] for r in ok)))
    print()
    print("raw runs:")
    for r in runs:
        if "error" in r:
            print("  %-8s ERROR %s" % (r["program"], r["error"]))
        else:
            print("  %-8s %7.1f ms (CPU %6.1f ms) %6.1f MB (tree %6.1f MB)  window %r of %s%s" % (
                r["program"], r["ms_to_window"], r["cpu_ms_to_window"], r["rss_mb"],
                r["tree_rss_mb"],
                r["window_name"], r["window_process"],
                "" if r["xdotool_visible"] else " (xdotool: NOT visible)"))


def main(argv):
    if len(argv) >= 5 and argv[1] == "run":
        rest, cwd = argv[4:], None
        if len(rest) >= 2 and rest[0] == "--cwd":
            cwd, rest = rest[1], rest[2:]
        if rest and rest[0] == "--" and len(rest) > 1:
            print(json.dumps(run(argv[2], argv[3], cwd, rest[1:])), flush=True)
            return 0
    if len(argv) == 3 and argv[1] == "summary":
        summary(argv[2])
        return 0
    print(__doc__, file=sys.stderr)
    return 2


if __name__ == "__main__":
    sys.exit(main(sys.argv))
