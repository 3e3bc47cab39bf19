"""A private desktop for Tolvaran's integration tests: Xvfb with trayer as the system tray, or Xorg
with the dummy video driver for two monitors of different sizes, a window manager, a top panel or
tint2 (a task bar on each monitor, a tray on the primary) where a test asks for them, a PulseAudio user daemon
with a null sink in a private runtime directory (never autospawned, also as root), a tone played
with pacat, and Tolvaran started from a copy beside a chosen plug-in."""

import math
import re
import os
import shutil
import signal
import struct
import subprocess
import tempfile
import time


# Xorg's dummy video driver: RandR outputs DUMMY0 to DUMMY15, of which only DUMMY0 is connected
# at the start; here it is the 2560x1440 primary monitor at (1920, 0), so that the screen is
# 4480x1440 from the start (the server keeps the pointer within the screen it started with). No
# input devices but XTEST's.
XORG_DUMMY_CONFIG = """Section "ServerFlags"
  Option "AutoAddDevices" "false"
  Option "AutoEnableDevices" "false"
  Option "AutoAddGPU" "false"
  Option "DontVTSwitch" "true"
EndSection
Section "Device"
  Identifier "card"
  Driver "dummy"
  VideoRam 65536
  Option "Monitor-DUMMY0" "primary"
EndSection
Section "Monitor"
  Identifier "primary"
  HorizSync 5.0 - 1000.0
  VertRefresh 5.0 - 200.0
  Modeline "2560x1440" 311.83 2560 2744 3024 3488 1440 1441 1444 1490 -HSync +Vsync
  Option "PreferredMode" "2560x1440"
  Option "Position" "1920 0"
  Option "Primary" "true"
EndSection
Section "Screen"
  Identifier "screen"
  Device "card"
  Monitor "primary"
  DefaultDepth 24
  SubSection "Display"
    Depth 24
    Virtual 4480 1440
  EndSubSection
EndSection
"""

TINT2_HEIGHT = 30
TINT2_ICON_SIZE = 24
TASK_COLOUR = (192, 0, 192)
TINT2_CONFIG = """rounded = 0
border_width = 0
background_color = #303030 100
border_color = #303030 100
rounded = 0
border_width = 0
background_color = #c000c0 100
border_color = #c000c0 100
panel_items = TS
panel_size = 100%% %(height)d
panel_margin = 0 0
panel_padding = 0 0 0
panel_background_id = 1
panel_position = top center horizontal
panel_layer = top
panel_monitor = all
strut_policy = follow_size
panel_dock = 0
wm_menu = 0
autohide = 0
taskbar_mode = single_desktop
taskbar_padding = 0 0 4
taskbar_background_id = 1
task_text = 1
task_icon = 0
task_centered = 0
task_maximum_size = 160 %(height)d
task_padding = 4 4
task_background_id = 2
task_active_background_id = 2
task_urgent_background_id = 2
task_iconified_background_id = 2
font_shadow = 0
task_font_color = #ffffff 100
task_active_font_color = #ffffff 100
task_iconified_font_color = #ffffff 100
systray_padding = 0 3 2
systray_background_id = 1
systray_sort = ascending
systray_icon_size = %(icon)d
systray_monitor = primary
"""


def wait_for(predicate, timeout, step=0.05):
    deadline = time.monotonic() + timeout
    while time.monotonic() < deadline:
        value = predicate()
        if value:
            return value
        time.sleep(step)
    return predicate()


class Picture:
    """The pixels of a PNG, read back through ImageMagick."""

    def __init__(self, path):
        size = subprocess.run(["identify", "-format", "%w %h", path], capture_output=True, text=True).stdout
        self.width, self.height = (int(v) for v in size.split()) if size.strip() else (0, 0)
        self.rgb = subprocess.run(["convert", path, "-depth", "8", "rgb:-"], capture_output=True).stdout

    def pixel(self, x, y):
        if not (0 <= x < self.width and 0 <= y < self.height):
            return None
        i = 3 * (y * self.width + x)
        return tuple(self.rgb[i:i + 3])

    def cut(self, x, y, width, height):
        """The rows of this part as bytes, or None where it runs past the picture."""
        if x < 0 or y < 0 or x + width > self.width or y + height > self.height:
            return None
        return [self.rgb[3 * ((y + row) * self.width + x):3 * ((y + row) * self.width + x + width)]
                for row in range(height)]

    def where(self, colour):
        """Every (x, y) of exactly this colour."""
        return [(x, y) for y in range(self.height) for x in range(self.width) if self.pixel(x, y) == colour]


class Desktop:
    """Starts what a test asks for and stops all of it, whatever happens."""

    def __init__(self, tolvaran, plugin=None, width=1920, height=1080):
        self.root = tempfile.mkdtemp(prefix="tolvaran-it-")
        self.runtime = os.path.join(self.root, "run")
        os.makedirs(self.runtime, mode=0o700)
        os.makedirs(os.path.join(self.root, "home"))
        self.app_dir = os.path.join(self.root, "app")
        os.makedirs(self.app_dir)
        self.tolvaran = os.path.join(self.app_dir, "Tolvaran")
        shutil.copy2(tolvaran, self.tolvaran)
        if plugin:
            shutil.copy2(plugin, os.path.join(self.app_dir, "libvarnis.so"))
        self.log_path = os.path.join(self.root, "recorder.log")
        self.size = (width, height)
        self.processes = []
        client_conf = os.path.join(self.root, "client.conf")
        with open(client_conf, "w") as f:
            f.write("autospawn = no\n")
        self.env = {
            "PATH": os.environ.get("PATH", "/usr/bin:/bin"),
            "HOME": os.path.join(self.root, "home"),
            "XDG_RUNTIME_DIR": self.runtime,
            "PULSE_RUNTIME_PATH": os.path.join(self.runtime, "pulse"),
            "PULSE_CLIENTCONFIG": client_conf,
            "RECORDER_LOG": self.log_path,
            "LANG": "C.UTF-8",
        }
        self.display = None
        # trayer makes the icons it docks 22 pixels high, tint2 as its configuration says.
        self.tray_icon_height = 22

    # -- lifetime -------------------------------------------------------------------------------
    def __enter__(self):
        return self

    def __exit__(self, *exc):
        self.close()
        return False

    def close(self):
        for process in reversed(self.processes):
            if process.poll() is None:
                process.terminate()
                try:
                    process.wait(3)
                except subprocess.TimeoutExpired:
                    process.kill()
                    process.wait()
            if process.stdout:
                process.stdout.close()
        self.processes = []
        shutil.rmtree(self.root, ignore_errors=True)

    def spawn(self, argv, extra_env=None, **kwargs):
        kwargs.setdefault("stdout", subprocess.DEVNULL)
        kwargs.setdefault("stderr", subprocess.DEVNULL)
        process = subprocess.Popen(argv, env=dict(self.env, **(extra_env or {})), cwd=self.root, **kwargs)
        self.processes.append(process)
        return process

    def run(self, argv, **kwargs):
        return subprocess.run(argv, env=self.env, cwd=self.root, capture_output=True, text=True, **kwargs)

    # -- X server and tray ----------------------------------------------------------------------
    def start_server(self, argv, name, timeout=10):
        """Starts an X server that writes its display number to -displayfd and takes it as DISPLAY."""
        read_end, write_end = os.pipe()
        self.spawn(argv + ["-displayfd", str(write_end), "-nolisten", "tcp", "-noreset"], pass_fds=(write_end,))
        os.close(write_end)
        number = b""
        deadline = time.monotonic() + timeout
        while not number.endswith(b"\n") and time.monotonic() < deadline:
            chunk = os.read(read_end, 16)
            if not chunk:
                break
            number += chunk
        os.close(read_end)
        if not number.strip():
            raise RuntimeError("%s did not start" % name)
        self.display = ":" + number.decode().strip()
        self.env["DISPLAY"] = self.display

    def start_x(self, tray=True):
        self.start_server(["Xvfb", "-screen", "0", "%dx%dx24" % self.size], "Xvfb")
        if tray:
            self.spawn(["trayer", "--edge", "bottom", "--align", "right", "--widthtype", "request",
                        "--height", "24", "--transparent", "false", "--tint", "0x303030"])
            if not wait_for(lambda: self.tray_panel() is not None, 10):
                raise RuntimeError("trayer did not start")

    def start_two_monitors(self):
        """Xorg with the dummy driver on a 4480x1440 screen: the primary monitor DUMMY0, 2560x1440
        at (1920, 0), and DUMMY1, 1920x1080 at (0, 360). Xorg runs without a terminal or input
        devices (it needs root); Xvfb cannot place monitors that Qt sees."""
        config = os.path.join(self.root, "xorg.conf")
        with open(config, "w") as f:
            f.write(XORG_DUMMY_CONFIG)
        self.start_server(["Xorg", "-config", config, "-logfile", os.path.join(self.root, "xorg.log"),
                           "-novtswitch", "-sharevts", "-keeptty"], "Xorg", timeout=20)
        self.size = (4480, 1440)
        self.xrandr("--addmode", "DUMMY1", "1920x1080")
        self.set_monitors(("DUMMY0", "2560x1440", "1920x0", "primary"), ("DUMMY1", "1920x1080", "0x360"))

    def monitor(self, name):
        """(x, y, right edge) of the output so named as RandR lists it, or None."""
        for line in self.run(["xrandr", "--listmonitors"]).stdout.splitlines():
            m = re.search(r"(\d+)/\d+x(\d+)/\d+\+(\d+)\+(\d+)\s+%s$" % re.escape(name), line.strip())
            if m:
                width, _, x, y = (int(v) for v in m.groups())
                return (x, y, x + width)
        return None

    def xrandr(self, *args):
        result = self.run(["xrandr"] + list(args))
        if result.returncode != 0:
            raise RuntimeError("xrandr %s: %s" % (" ".join(args), result.stderr.strip()))

    def set_monitors(self, *outputs):
        """Each output as (name, mode, position[, "primary"]) or (name, "off"), on a 4480x1440 screen."""
        args = ["--fb", "4480x1440"]
        for output in outputs:
            args += ["--output", output[0]]
            args += ["--off"] if output[1] == "off" else ["--mode", output[1], "--pos", output[2]]
            args += ["--primary"] if output[-1] == "primary" else []
        self.xrandr(*args)
        # The dummy driver's server tells clients that read its current configuration (as Qt does)
        # of the change only once a client has polled the outputs.
        self.xrandr("-q")

    # -- window managers, panels, the editor on its own ------------------------------------------
    def start_wm(self, name):
        """openbox, or metacity or xfwm4, which keep windows inside the work area; none of them
        composites, so windows show opaque. Waits until the work area is published."""
        if name == "xfwm4":
            self.start_session_bus()
            argv = ["xfwm4", "--compositor=off", "--sm-client-disable"]
        elif name == "metacity":
            self.env["GSETTINGS_BACKEND"] = "memory"
            argv = ["metacity", "--no-composite", "--sm-disable"]
        else:
            argv = ["openbox", "--sm-disable"]
        # Event sounds of the window manager would reach the null sink and show on the scope.
        self.spawn(argv, {"PULSE_SERVER": "unix:" + os.path.join(self.root, "no-sound-server")})
        if not wait_for(lambda: self.work_area() is not None, 10):
            raise RuntimeError("%s did not start" % name)

    def start_session_bus(self):
        read_end, write_end = os.pipe()
        self.spawn(["dbus-daemon", "--session", "--nofork", "--print-address=%d" % write_end],
                   pass_fds=(write_end,))
        os.close(write_end)
        with os.fdopen(read_end) as f:
            address = f.readline().strip()
        if not address:
            raise RuntimeError("dbus-daemon did not start")
        self.env["DBUS_SESSION_BUS_ADDRESS"] = address

    def work_area(self):
        """The current desktop's _NET_WORKAREA as (x, y, width, height), or None."""
        said = self.run(["xprop", "-root", "-notype", "_NET_WORKAREA", "_NET_CURRENT_DESKTOP"]).stdout
        areas = re.search(r"_NET_WORKAREA = ([\d, ]+)", said)
        desktop = re.search(r"_NET_CURRENT_DESKTOP = (\d+)", said)
        if not areas:
            return None
        values = [int(v) for v in areas.group(1).split(",")]
        at = 4 * int(desktop.group(1)) if desktop else 0
        return tuple(values[at:at + 4]) if len(values) >= at + 4 else tuple(values[:4])

    def start_panel(self, program, height):
        """A dock across the top of the screen that reserves height pixels; waits until the window
        manager has taken it out of the work area."""
        panel = self.spawn([program, str(height)])
        if not wait_for(lambda: (self.work_area() or (0, 0))[1] == height, 10):
            raise RuntimeError("the work area did not make room for the panel")
        return panel

    def stop_panel(self, panel):
        panel.terminate()
        panel.wait(3)
        if not wait_for(lambda: (self.work_area() or (0, 1))[1] == 0, 10):
            raise RuntimeError("the work area did not grow back")

    def start_tint2(self, panels=1):
        """tint2 with a private configuration: a 30 px panel at the top of each monitor with a task
        bar whose buttons have TASK_COLOUR as background, and a tray on the primary monitor; waits
        until all panels say what they reserve."""
        config = os.path.join(self.root, "tint2rc")
        with open(config, "w") as f:
            f.write(TINT2_CONFIG % {"height": TINT2_HEIGHT, "icon": TINT2_ICON_SIZE})
        panel = self.spawn(["tint2", "-c", config])
        self.tray_icon_height = TINT2_ICON_SIZE
        if not wait_for(lambda: len(self.struts("tint2")) == panels, 10):
            raise RuntimeError("tint2 did not reserve its strips")
        return panel

    def stop_process(self, process):
        process.terminate()
        process.wait(3)

    def struts(self, name):
        """_NET_WM_STRUT_PARTIAL of each top-level window so named, as tuples of twelve values."""
        found = []
        for window in self.windows(name):
            said = self.run(["xprop", "-id", hex(window[0]), "-notype", "_NET_WM_STRUT_PARTIAL"]).stdout
            m = re.search(r"_NET_WM_STRUT_PARTIAL = ([\d, ]+)", said)
            if m:
                found.append(tuple(int(v) for v in m.group(1).split(",")))
        return found

    def task_buttons(self, path, row=1):
        """How many task buttons the task bars show: runs of TASK_COLOUR along a row of the panels
        (the buttons' text starts below it), in a screenshot kept at path."""
        picture = self.screenshot(path)
        runs, inside = 0, False
        for x in range(picture.width):
            here = picture.pixel(x, row) == TASK_COLOUR
            runs += here and not inside
            inside = here
        return runs

    def lone_editor_picture(self, program, plugin, crop, path, settle=3.0):
        """The plug-in's editor drawn on its own at (0, 0) over silence, after settle seconds, cut
        to crop (x, y, width, height); the whole editor is kept at path."""
        process = self.spawn([program, plugin, "0", "0"], stdout=subprocess.PIPE)
        window = int(process.stdout.readline().decode().strip() or "0", 16)
        if not window:
            raise RuntimeError("the editor on its own did not open")
        time.sleep(settle)
        picture = self.window_picture(window, path)
        process.terminate()
        process.wait(3)
        return picture.cut(*crop)

    def tree(self):
        return self.run(["xwininfo", "-root", "-tree"]).stdout

    def tray_panel(self):
        for line in self.tree().splitlines():
            if '"panel": ("panel" "trayer")' in line:
                return line
        return None

    def windows(self, name, klass=None):
        """(id, width, height, x, y) of each window so named (x, y on the screen)."""
        pattern = re.compile(r'^\s*(0x[0-9a-f]+) "%s": \((.*?)\)\s+(\d+)x(\d+)\+-?\d+\+-?\d+\s+\+(-?\d+)\+(-?\d+)'
                             % re.escape(name))
        found = []
        for line in self.tree().splitlines():
            m = pattern.match(line)
            if m and (klass is None or klass in m.group(2)):
                found.append((int(m.group(1), 16), int(m.group(3)), int(m.group(4)), int(m.group(5)),
                              int(m.group(6))))
        return found

    def children(self, window_id):
        """(id, width, height, x, y, screen x, screen y) of each child of the window, but the 1x1
        window Qt adds where the window manager takes _NET_WM_USER_TIME_WINDOW."""
        pattern = re.compile(r'^\s*(0x[0-9a-f]+) .*?\s(\d+)x(\d+)\+(-?\d+)\+(-?\d+)\s+\+(-?\d+)\+(-?\d+)\s*$')
        found = []
        for line in self.run(["xwininfo", "-children", "-id", hex(window_id)]).stdout.splitlines():
            m = pattern.match(line)
            if m and "Qt NET_WM User Time Window" not in line:
                found.append((int(m.group(1), 16),) + tuple(int(m.group(i)) for i in range(2, 8)))
        return found

    def window(self, name):
        found = self.windows(name)
        return found[0] if found else None

    def tray_icons(self):
        """Centres of Tolvaran's icons docked in the tray (Qt asks for more width on a scaled desktop)."""
        return [(x + w // 2, y + h // 2) for _, w, h, x, y in self.windows("Tolvaran", '"Tolvaran" "Tolvaran"')
                if h == self.tray_icon_height and w >= h]

    def viewable(self, window_id):
        return "IsViewable" in self.run(["xwininfo", "-id", hex(window_id)]).stdout

    def focus(self):
        said = self.xdotool("getwindowfocus").stdout.strip()
        return int(said) if said.isdigit() else None

    def screenshot(self, path):
        self.run(["import", "-window", "root", path])
        return Picture(path)

    def window_picture(self, window_id, path):
        """Writes the window's part on the screen as a PNG and answers it as a Picture."""
        self.run(["import", "-window", hex(window_id), path])
        return Picture(path)

    def xdotool(self, *args):
        return self.run(["xdotool"] + [str(a) for a in args])

    # -- sound server ---------------------------------------------------------------------------
    def start_pulse(self, rate=48000):
        socket = os.path.join(self.env["PULSE_RUNTIME_PATH"], "native")
        self.rate = rate
        self.spawn(["pulseaudio", "--daemonize=no", "--system=no", "--exit-idle-time=-1",
                    "--disallow-exit", "-n", "--use-pid-file=no", "--disable-shm=yes",
                    "--load=module-native-protocol-unix socket=%s auth-anonymous=1" % socket,
                    "--load=module-null-sink sink_name=tvnull format=float32le channels=2 rate=%d" % rate])
        if not wait_for(lambda: self.run(["pactl", "info"]).returncode == 0, 10):
            raise RuntimeError("PulseAudio did not start")

    def play_silence(self, seconds):
        path = os.path.join(self.root, "silence.raw")
        with open(path, "wb") as f:
            f.write(bytes(8 * int(seconds * self.rate)))
        with open(path, "rb") as stdin:
            return self.spawn(["pacat", "--playback", "--raw", "--format=float32le", "--channels=2",
                               "--rate=%d" % self.rate, "--latency-msec=40"], stdin=stdin)

    def play_tone(self, seconds, frequency=1000.0, left=0.5, right=0.0):
        """Plays a sine of these amplitudes per channel into the null sink with pacat."""
        path = os.path.join(self.root, "tone.raw")
        frames = int(seconds * self.rate)
        step = 2 * math.pi * frequency / self.rate
        with open(path, "wb") as f:
            chunk = []
            for i in range(frames):
                s = math.sin(step * i)
                chunk.append(struct.pack("<ff", left * s, right * s))
                if len(chunk) == 4096:
                    f.write(b"".join(chunk))
                    chunk = []
            f.write(b"".join(chunk))
        with open(path, "rb") as stdin:
            return self.spawn(["pacat", "--playback", "--raw", "--format=float32le", "--channels=2",
                               "--rate=%d" % self.rate, "--latency-msec=40"], stdin=stdin)

    # -- Tolvaran -------------------------------------------------------------------------------
    def start_tolvaran(self, extra_env=None):
        env = dict(self.env)
        env.update(extra_env or {})
        process = subprocess.Popen([self.tolvaran], env=env, cwd=self.root, stdout=subprocess.PIPE,
                                   stderr=subprocess.STDOUT)
        self.processes.append(process)
        return process

    def calls(self):
        """The recorder's log: dicts per call, in order."""
        if not os.path.exists(self.log_path):
            return []
        calls = []
        with open(self.log_path) as f:
            for line in f:
                v = line.split()
                if len(v) < 10:
                    continue
                calls.append({"kind": int(v[0]), "opcode": int(v[1]), "index": int(v[2]),
                              "value": int(v[3]), "opt": float(v[4]), "frames": int(v[5]),
                              "energy": (float(v[6]), float(v[7])), "time_ns": int(v[8]),
                              "ptr": int(v[9])})
        return calls
