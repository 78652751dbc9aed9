"""The fresh desktop both Xvfb-driven tests start the program in: its own HOME, XDG folders and
runtime folder under a work folder, and an Xvfb server on a free display."""

import os
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
        "XDG_RUNTIME_DIR": runtime,
        "QT_QPA_PLATFORM": "xcb",
        "LANG": "C.UTF-8",
    }
    env.update(extra)
    return env


def start_xvfb(env):
    """Starts Xvfb on a free display (it writes the number to a pipe) and sets env["DISPLAY"]."""
    read_fd, write_fd = os.pipe()
    xvfb = subprocess.Popen(["Xvfb", "-displayfd", str(write_fd), "-screen", "0", "1024x768x24",
                             "-nolisten", "tcp"], pass_fds=(write_fd,),
                            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    os.close(write_fd)
    env["DISPLAY"] = ":" + os.read(read_fd, 16).decode().strip()
    os.close(read_fd)
    return xvfb
