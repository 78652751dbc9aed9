"""The fresh desktop both Xvfb-driven tests start the program in: its own HOME, XDG folders and
runtime folder under a work folder, and an Xvfb server on a free display."""

import os
import random
import subprocess


def fresh_env(work, **extra):
    """Environment with HOME and the XDG folders under `work` (made here); `extra` adds to it."""
    home = os.path.join(work, "home")
    runtime = os.path.join(work, "runtime")
    os.makedirs(home)
    os.makedirs(runtime, mode=0o700)
    env = {
        "PATH": os.environ.get("PATH", "/usr/bin:/bin"),
        "HOME": home,
        "XDG_CONFIG_HOME": os.path.join(home, ".config"),
        "XDG_DATA_HOME": os.path.join(home, ".local", "share"),
        "XDG_CACHE_HOME": os.path.join(home, ".cache"),
        # The system-wide settings (the study window's place) too, not /etc/xdg.
        "XDG_CONFIG_DIRS": os.path.join(work, "xdg-system"),
        "XDG_RUNTIME_DIR": runtime,
        "QT_QPA_PLATFORM": "xcb",
        "LANG": "C.UTF-8",
    }
    env.update(extra)
    return env


def start_xvfb(env, attempts=20):
    """Starts Xvfb on a free display (it writes the number to a pipe once it listens) and sets
    env["DISPLAY"]. The display is picked at random among high numbers, away from :0 and the
    other low ones a desktop or another machine's test may hold: a display whose lock file is
    free can still be taken (a server in another /tmp holds its socket), and then a server that
    ends at once is replaced by one on another display. -noreset keeps the server as it is when
    its last client leaves (a probe's), so the next client never meets it mid-reset."""
    for _ in range(attempts):
        display = [":%d" % random.randint(100, 30000)]
        read_fd, write_fd = os.pipe()
        xvfb = subprocess.Popen(["Xvfb"] + display + ["-displayfd", str(write_fd), "-screen", "0",
                                                     "1024x768x24", "-nolisten", "tcp",
                                                     "-noreset"],
                                pass_fds=(write_fd,), stdout=subprocess.DEVNULL,
                                stderr=subprocess.DEVNULL)
        os.close(write_fd)
        # The server writes the number and the line's end in separate writes, and ends when
        # the second finds the pipe closed: read the whole line, and close only after the wait.
        text = b""
        while not text.endswith(b"\n"):
            chunk = os.read(read_fd, 16)
            if not chunk:
                break
            text += chunk
        number = text.decode().strip()
        try:
            xvfb.wait(timeout=0.5)  # ended: the display was not its own
        except subprocess.TimeoutExpired:
            os.close(read_fd)
            if number:
                env["DISPLAY"] = ":" + number
                return xvfb
            xvfb.terminate()
            xvfb.wait()
            continue
        os.close(read_fd)
    raise SystemExit("no display for Xvfb")
