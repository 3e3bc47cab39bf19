#!/usr/bin/env python3
"""Tolvaran on a private desktop (Xvfb, trayer, PulseAudio with a null sink), with the recording
test plug-in copied beside it as libvarnis.so, or the real libvarnis for what the window shows.

usage: tolvaran_test.py --tolvaran PATH --recorder PATH --varnis PATH --artefacts DIR
                        --lone-editor PATH --top-panel PATH [unittest names...]
"""

import argparse
import http.server
import mmap
import os
import shutil
import signal
import subprocess
import sys
import threading
import time
import unittest

from desktop import TINT2_HEIGHT, Desktop, wait_for

OPTIONS = None
SCRIPTS_RUN = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "..", "scripts", "run")

ENTRY, DISPATCH, PROCESS_REPLACING = 0, 1, 2
EFF_OPEN, EFF_SET_PROGRAM_BEGIN, EFF_SET_CHUNK, EFF_SET_PROGRAM_END = 0, 67, 24, 68
EFF_SET_SAMPLE_RATE, EFF_SET_BLOCK_SIZE, EFF_MAINS_CHANGED = 10, 11, 12
EFF_EDIT_GET_RECT, EFF_EDIT_OPEN, EFF_EDIT_CLOSE, EFF_EDIT_IDLE = 13, 14, 15, 19
EFF_GET_PLUG_CATEGORY = 35

# The phase scope in the editor: 200 x 200 at (9, 112). Its polar plot is centred 14 px below the
# scope's middle (the empty sector lies there) with a radius of 97, and a ray grows inward from the
# rim by at most 0.73 of the radius. The editor draws in device pixels, whatever the desktop's scale.
SCOPE_CENTRE_IN_EDITOR = (9 + 100, 112 + 100 + 14)
RADIUS = 97
FULL_RAY = int(0.73 * RADIUS)
RAY_COLOUR = (0, 255, 0)
# What the window shows of the editor (x, y, width, height in the editor), and a panel's height.
CROP = (8, 111, 204, 197)
PANEL_HEIGHT = 28
# How many entries up from the tray menu's end each corner is.
LEFT, RIGHT = 3, 2


class RequestCounter:
    """A local HTTP server that counts the requests it gets."""

    def __init__(self):
        self.requests = []
        counter = self

        class Handler(http.server.BaseHTTPRequestHandler):
            def do_GET(self):
                counter.requests.append("GET " + self.path)
                self.send_response(204)
                self.end_headers()

            def log_message(self, *args):
                pass

        self.server = http.server.HTTPServer(("127.0.0.1", 0), Handler)
        self.thread = threading.Thread(target=self.server.serve_forever, daemon=True)
        self.thread.start()

    @property
    def host(self):
        return "127.0.0.1:%d" % self.server.server_address[1]

    def close(self):
        self.server.shutdown()
        self.server.server_close()


class TolvaranTest(unittest.TestCase):
    def desktop(self, plugin=True, pulse_rate=48000, tray=True, library=None):
        d = Desktop(OPTIONS.tolvaran, library or (OPTIONS.recorder if plugin else None))
        self.addCleanup(d.close)
        d.start_x(tray=tray)
        if pulse_rate:
            d.start_pulse(pulse_rate)
        return d

    def start(self, d, extra_env=None):
        process = d.start_tolvaran(extra_env)
        self.addCleanup(lambda: process.poll() is None and process.kill())
        self.assertTrue(wait_for(lambda: d.window("Caldmere"), 10), "the plug-in window appears")
        return process

    def blocks(self, d):
        return [c for c in d.calls() if c["kind"] == PROCESS_REPLACING]

    def finish(self, d, process, how):
        """Ends Tolvaran with how(); checks the exit and the editor's close."""
        asked = time.monotonic()
        how()
        try:
            code = process.wait(3)
        except Exception:
            self.fail("Tolvaran did not end within 3 s")
        self.assertEqual(code, 0)
        self.assertLess(time.monotonic() - asked, 3.0)
        calls = d.calls()
        closes = [i for i, c in enumerate(calls) if c["kind"] == DISPATCH and c["opcode"] == EFF_EDIT_CLOSE]
        self.assertEqual(len(closes), 1, "effEditClose sent once")
        self.assertFalse([c for c in calls[closes[0]:] if c["kind"] == PROCESS_REPLACING],
                         "no processReplacing after effEditClose")
        return process.stdout.read().decode("utf-8", "replace")

    def open_tray_menu(self, d):
        icons = wait_for(d.tray_icons, 5)
        self.assertEqual(len(icons), 1, "one tray icon")
        x, y = icons[0]
        d.xdotool("mousemove", x, y, "click", 3)
        self.assertTrue(wait_for(lambda: d.windows("Tolvaran", '"Tolvaran" "Tolvaran"') and self.menu_open(d), 5))

    def menu_open(self, d):
        return any(w > 60 and h > 100 for _, w, h, _, _ in d.windows("Tolvaran"))

    def choose(self, d, ups):
        """Opens the tray menu and picks the entry that many steps up from its end."""
        self.open_tray_menu(d)
        time.sleep(0.3)
        d.xdotool("key", *(["Up"] * ups + ["Return"]))

    def artefact(self, d, name):
        os.makedirs(OPTIONS.artefacts, exist_ok=True)
        d.screenshot(os.path.join(OPTIONS.artefacts, name))

    # ---------------------------------------------------------------------------------------------
    def test_plugin_set_up_blocks_and_tone_then_quit_from_the_menu(self):
        for rate in (48000, 44100):
            with self.subTest(rate=rate):
                d = self.desktop(pulse_rate=rate)
                with open(os.path.join(d.root, "tessic.conf"), "wb") as f:
                    f.write(b"line one\r\nline two\r\n")
                process = self.start(d)
                tone = d.play_tone(8.0, left=0.5, right=0.0)
                self.assertTrue(wait_for(lambda: len(self.blocks(d)) > 250, 10), "blocks flow")

                calls = d.calls()
                setup = [(c["kind"], c["opcode"]) for c in calls if c["kind"] != PROCESS_REPLACING][:12]
                self.assertEqual(setup[:11], [
                    (ENTRY, 0), (DISPATCH, EFF_OPEN), (DISPATCH, EFF_GET_PLUG_CATEGORY),
                    (DISPATCH, EFF_SET_SAMPLE_RATE), (DISPATCH, EFF_SET_BLOCK_SIZE), (DISPATCH, EFF_MAINS_CHANGED),
                    (DISPATCH, EFF_MAINS_CHANGED), (DISPATCH, EFF_SET_PROGRAM_BEGIN), (DISPATCH, EFF_SET_CHUNK),
                    (DISPATCH, EFF_SET_PROGRAM_END), (DISPATCH, EFF_EDIT_OPEN)])
                dispatched = [c for c in calls if c["kind"] == DISPATCH]
                rate_call = [c for c in dispatched if c["opcode"] == EFF_SET_SAMPLE_RATE][0]
                self.assertEqual(rate_call["opt"], rate)
                self.assertEqual([c for c in dispatched if c["opcode"] == EFF_SET_BLOCK_SIZE][0]["value"], 512)
                self.assertEqual([c["value"] for c in dispatched if c["opcode"] == EFF_MAINS_CHANGED], [0, 1])
                chunk = [c for c in dispatched if c["opcode"] == EFF_SET_CHUNK][0]
                self.assertEqual((chunk["index"], chunk["value"]), (0, 20), "a bank, the file's size")
                edit_open = [c for c in dispatched if c["opcode"] == EFF_EDIT_OPEN][0]
                self.assertEqual((edit_open["index"], edit_open["value"]), (10, 20))
                # The editor's parent is the live display widget inside the plug-in window.
                window = d.window("Caldmere")
                children = d.run(["xwininfo", "-children", "-id", hex(window[0])]).stdout
                self.assertIn(hex(edit_open["ptr"]), children)
                self.assertIn(EFF_EDIT_IDLE, [c["opcode"] for c in dispatched])
                self.assertEqual(window[1:], (204, 197, 0, 0))

                blocks = self.blocks(d)
                self.assertEqual({b["frames"] for b in blocks}, {480})
                # The steady part of the tone: left RMS 0.5 / sqrt(2), right silent.
                loud = [b for b in blocks if b["energy"][0] > 0.1 * 480]
                self.assertGreater(len(loud), 100)
                steady = loud[10:-10]
                left = (sum(b["energy"][0] for b in steady) / (480 * len(steady))) ** 0.5
                right = (sum(b["energy"][1] for b in steady) / (480 * len(steady))) ** 0.5
                self.assertAlmostEqual(left, 0.3536, delta=0.005)
                self.assertLess(right, 1e-4)

                if rate == 48000:
                    self.open_tray_menu(d)
                    time.sleep(0.3)
                    self.artefact(d, "tolvaran-menu.png")
                    d.xdotool("key", "Escape")
                    time.sleep(0.3)
                    self.artefact(d, "tolvaran-window-and-tray.png")
                self.finish(d, process, lambda: self.choose(d, 1))
                tone.terminate()
                d.close()

    def test_signals_end_the_program_like_the_quit_entry(self):
        for number in (signal.SIGTERM, signal.SIGINT, signal.SIGHUP):
            with self.subTest(signal=number):
                d = self.desktop()
                process = self.start(d)
                self.assertTrue(wait_for(lambda: len(self.blocks(d)) > 5, 5))
                self.finish(d, process, lambda: process.send_signal(number))
                d.close()

    def test_a_second_instance_exits_at_once_without_icon_or_request(self):
        server = RequestCounter()
        self.addCleanup(server.close)
        d = self.desktop()
        env = {"TOLVARAN_WEB_SERVICE_HOST": server.host}
        first = self.start(d, env)
        self.assertTrue(wait_for(lambda: server.requests, 5))
        self.assertEqual(len(wait_for(d.tray_icons, 5)), 1)
        second = d.start_tolvaran(env)
        asked = time.monotonic()
        self.assertEqual(second.wait(3), 0)
        self.assertLess(time.monotonic() - asked, 2.0)
        time.sleep(0.5)
        self.assertEqual(len(d.tray_icons()), 1)
        self.assertEqual(len(d.windows("Caldmere")), 1)
        self.assertEqual(server.requests, ["GET /api/util/olvaran"])
        self.finish(d, first, lambda: first.terminate())

    def test_the_top_right_corner_entry_moves_the_window(self):
        d = self.desktop()
        process = self.start(d)
        self.choose(d, 2)
        self.assertTrue(wait_for(lambda: d.window("Caldmere")[3:] == (1920 - 204, 0), 3))
        self.assertEqual(d.window("Caldmere")[1:3], (204, 197))
        self.choose(d, 3)
        self.assertTrue(wait_for(lambda: d.window("Caldmere")[3:] == (0, 0), 3))
        self.finish(d, process, lambda: process.terminate())

    def test_the_about_box_closes_without_ending_the_program(self):
        d = self.desktop()
        process = self.start(d)
        self.choose(d, 4)
        self.assertTrue(wait_for(lambda: d.window(u"\u5173\u4e8e"), 5), "the about box opens")
        time.sleep(0.3)
        self.artefact(d, "tolvaran-about.png")
        d.xdotool("key", "Return")
        self.assertTrue(wait_for(lambda: not d.window(u"\u5173\u4e8e"), 5), "the about box closes")
        time.sleep(0.5)
        self.assertIsNone(process.poll(), "the program goes on")
        self.finish(d, process, lambda: self.choose(d, 1))

    def test_the_raise_never_takes_the_focus(self):
        d = self.desktop()
        process = self.start(d)
        other = d.spawn(["xmessage", "-geometry", "300x80+50+50", "another program"])
        self.assertTrue(wait_for(lambda: d.window("xmessage"), 5))
        other_id = d.window("xmessage")[0]
        d.xdotool("windowfocus", "--sync", other_id)
        time.sleep(1.0)  # twenty raises
        self.assertEqual(int(d.xdotool("getwindowfocus").stdout.strip()), other_id)
        self.finish(d, process, lambda: process.terminate())

    def test_without_a_sound_server_the_window_stays(self):
        d = self.desktop(pulse_rate=None)
        process = self.start(d)
        time.sleep(1.5)
        self.assertIsNone(process.poll())
        self.assertEqual(self.blocks(d), [])
        rate = [c for c in d.calls() if c["kind"] == DISPATCH and c["opcode"] == EFF_SET_SAMPLE_RATE][0]
        self.assertEqual(rate["opt"], 48000.0, "the fallback rate")
        said = self.finish(d, process, lambda: process.terminate())
        self.assertIn("Unable to connect to the sound server: ", said)

    def editor(self, d):
        """The editor's X window inside the plug-in window's display widget, as d.children gives it."""
        window = d.window("Caldmere")
        display = d.children(window[0])
        self.assertEqual(len(display), 1, "the display widget")
        editor = d.children(display[0][0])
        self.assertEqual(len(editor), 1, "the editor's window")
        return editor[0]

    def scope_centre(self, d):
        """Where the scope's centre falls in a picture of the window."""
        _, _, _, x, y = d.window("Caldmere")
        editor = self.editor(d)
        return (editor[5] + SCOPE_CENTRE_IN_EDITOR[0] - x, editor[6] + SCOPE_CENTRE_IN_EDITOR[1] - y)

    def scope_rays(self, picture, centre):
        """Pixels of the rays' colour more than 2 px inside the rim: a silent bin's ray is a dot on
        the rim, and a fading one shrinks back to it."""
        return [(x, y) for x, y in picture.where(RAY_COLOUR)
                if (x - centre[0]) ** 2 + (y - centre[1]) ** 2 < (RADIUS - 2) ** 2]

    @staticmethod
    def mono_ray(centre):
        return [(centre[0], centre[1] - RADIUS + i) for i in range(3, FULL_RAY - 1)]

    @staticmethod
    def left_ray(centre):
        return [(centre[0] - RADIUS + i, centre[1]) for i in range(3, FULL_RAY - 1)]

    @staticmethod
    def on(picture, ray):
        return all(picture.pixel(x, y) == RAY_COLOUR for x, y in ray)

    def show_scope(self, d, name, left, right, shown):
        """Plays the signal, gives the scope a second and then up to ten more until shown(picture)
        holds (on a loaded machine the automatic gain takes seconds to bring a ray out to the rim);
        keeps the last picture of the window."""
        tone = d.play_tone(12.0, left=left, right=right)
        os.makedirs(OPTIONS.artefacts, exist_ok=True)
        path = os.path.join(OPTIONS.artefacts, name)
        window = d.window("Caldmere")[0]
        time.sleep(1.0)

        def shows():
            picture = d.window_picture(window, path)
            return picture if shown(picture) else None

        picture = wait_for(shows, 10, 0.2) or d.window_picture(window, path)
        tone.terminate()
        tone.wait()
        return picture

    def test_the_scope_shows_silence_a_mono_tone_and_a_left_only_tone(self):
        d = self.desktop(library=OPTIONS.varnis)
        process = self.start(d)
        centre = self.scope_centre(d)
        grid = lambda p: p.pixel(*centre) not in (None, (0, 0, 0), RAY_COLOUR)
        mono_ray, left_ray, on = self.mono_ray(centre), self.left_ray(centre), self.on

        silence = self.show_scope(d, "tolvaran-scope-silence.png", 0.0, 0.0, grid)
        mono = self.show_scope(d, "tolvaran-scope-mono.png", 0.5, 0.5, lambda p: on(p, mono_ray))
        # The mono ray takes a second or two to shrink back to the rim.
        along_left = lambda rays: all(x < centre[0] and abs(y - centre[1]) <= 4 for x, y in rays)
        left = self.show_scope(d, "tolvaran-scope-left.png", 0.5, 0.0,
                               lambda p: on(p, left_ray) and along_left(self.scope_rays(p, centre)))

        # The window shows the editor from x 8 and y 111 on.
        self.assertEqual(centre, (101, 115))
        self.assertEqual((silence.width, silence.height), CROP[2:])
        self.assertTrue(grid(silence), "the polar grid's axes cross at the centre")
        self.assertEqual(self.scope_rays(silence, centre), [], "no ray in silence")
        # Mono: one full ray down the vertical axis from the rim toward the centre.
        self.assertTrue(on(mono, mono_ray), "the mono ray from the rim at the top")
        self.assertEqual({x for x, _ in self.scope_rays(mono, centre)}, {centre[0]})
        # Left only: the ray lies along the L axis, left of the centre (the bins on both sides of
        # it may share the signal), and the mono ray has gone.
        self.assertTrue(on(left, left_ray), "the left-only ray from the rim at L")
        rays = self.scope_rays(left, centre)
        self.assertTrue(along_left(rays), rays)
        self.assertFalse([q for q in mono_ray if left.pixel(*q) == RAY_COLOUR])
        self.assertFalse([q for q in left_ray if mono.pixel(*q) == RAY_COLOUR or silence.pixel(*q) == RAY_COLOUR])
        process.terminate()
        self.assertEqual(process.wait(3), 0)

    def place_in_work_area(self, d, corner):
        """The window's geometry at this corner of the work area: the scope's crop of the editor."""
        x, y, width, _ = d.work_area()
        return (CROP[2], CROP[3], x if corner == "left" else x + width - CROP[2], y)

    def check_crop_in_the_work_area(self, wm, scale):
        """Under wm at this scale, with a top panel and then without it, at both corners: the window
        is the scope's crop of the editor, at the corner of the work area and inside it, and shows
        the same pixels as the editor drawn on its own."""
        d = self.desktop(library=OPTIONS.varnis)
        d.start_wm(wm)
        panel = d.start_panel(OPTIONS.top_panel, PANEL_HEIGHT)
        os.makedirs(OPTIONS.artefacts, exist_ok=True)
        name = "tolvaran-%s-scale-%s" % (wm, scale)
        reference = d.lone_editor_picture(OPTIONS.lone_editor, OPTIONS.varnis, CROP,
                                          os.path.join(OPTIONS.artefacts, name + "-editor-alone.png"))
        silence = d.play_silence(120)
        self.addCleanup(silence.kill)
        process = self.start(d, {"QT_SCALE_FACTOR": scale})
        report = []

        def check(corner, panelled):
            case = "%s, %s, %s panel" % (corner, "scale " + scale, "with" if panelled else "without")
            want = self.place_in_work_area(d, corner)
            placed = wait_for(lambda: d.window("Caldmere")[1:] == want, 5)
            got = d.window("Caldmere")[1:]
            self.assertTrue(placed, "%s: %s, not %s" % (case, got, want))
            width, height, x, y = got
            ax, ay, aw, ah = d.work_area()
            self.assertTrue(ax <= x and ay <= y and x + width <= ax + aw and y + height <= ay + ah,
                            "%s: %s outside the work area %s" % (case, got, d.work_area()))
            # The editor sits in the display widget at (-8, -111) of the window.
            window_id = d.window("Caldmere")[0]
            display = d.children(window_id)[0]
            self.assertEqual(display[1:5], (399, 470, -CROP[0], -CROP[1]), case)
            shot = os.path.join(OPTIONS.artefacts, "%s-%s-%s.png" % (name, corner, "panel" if panelled else "bare"))

            def same():
                return d.screenshot(shot).cut(x, y, width, height) == reference

            equal = wait_for(same, 5, 0.3)
            picture = d.screenshot(shot).cut(x, y, width, height) or []
            differ = sum(1 for row_got, row_want in zip(picture, reference)
                         for i in range(0, len(row_got), 3) if row_got[i:i + 3] != row_want[i:i + 3])
            report.append("%s under %s: %dx%d+%d+%d in work area %s, %d pixels differ"
                          % (case, wm, width, height, x, y, d.work_area(), differ))
            self.assertTrue(equal, "%s: %d pixels differ from the editor drawn on its own" % (case, differ))

        check("left", True)
        self.choose(d, 2)
        check("right", True)
        # The panel ends: the window follows the work area without being asked.
        d.stop_panel(panel)
        check("right", False)
        self.choose(d, 3)
        check("left", False)
        with open(os.path.join(OPTIONS.artefacts, name + ".txt"), "w") as f:
            f.write("\n".join(report) + "\n")
        process.terminate()
        self.assertEqual(process.wait(3), 0)

    def at(self, corner, x, y, right):
        """The window's (width, height, x, y) at this corner of an area whose top-left corner is
        (x, y) and whose right edge (exclusive) is right."""
        return (CROP[2], CROP[3], x if corner == "left" else right - CROP[2], y)

    def wait_placed(self, d, want, case, timeout=10):
        placed = wait_for(lambda: (d.window("Caldmere") or (0,))[1:] == want, timeout)
        self.assertTrue(placed, "%s: %s, not %s" % (case, d.window("Caldmere"), want))

    def check_never_lost(self, wm):
        """Under wm with tint2 (a task bar and a tray): the window has no task button, and after
        "show desktop" and a minimize request the tray's corner entries bring it back, mapped, at
        their corner, without the focus, and still without a task button."""
        d = self.desktop(tray=False)
        d.start_wm(wm)
        d.start_tint2()
        self.assertTrue(wait_for(lambda: (d.work_area() or (0, 0))[1] == TINT2_HEIGHT, 10))
        other = d.spawn(["xmessage", "-geometry", "300x80+800+600", "another program"])
        self.assertTrue(wait_for(lambda: d.window("xmessage"), 5))
        other_id = d.window("xmessage")[0]
        process = self.start(d)
        window_id = d.window("Caldmere")[0]
        self.wait_placed(d, self.at("left", 0, TINT2_HEIGHT, 1920), wm)
        d.xdotool("windowactivate", "--sync", other_id)
        shots = os.path.join(OPTIONS.artefacts, "tolvaran-%s-tint2" % wm)
        os.makedirs(OPTIONS.artefacts, exist_ok=True)
        self.assertTrue(wait_for(lambda: d.task_buttons(shots + "-start.png") == 1, 5),
                        "one task button, the other program's")
        report = []
        for hiding, argv, corner in (("show desktop", ["wmctrl", "-k", "on"], "right"),
                                     ("minimize", ["xdotool", "windowminimize", str(window_id)], "left"),
                                     ("minimize", ["xdotool", "windowminimize", str(window_id)], "right")):
            case = "%s, %s, then %s" % (wm, hiding, corner)
            d.run(argv)
            hidden = wait_for(lambda: not d.viewable(window_id), 3)
            report.append("%s: %s" % (case, "hidden" if hidden else "stays shown"))
            self.choose(d, LEFT if corner == "left" else RIGHT)
            self.assertTrue(wait_for(lambda: d.viewable(window_id), 5), "%s: shown again" % case)
            self.wait_placed(d, self.at(corner, 0, TINT2_HEIGHT, 1920), case)
            self.assertNotEqual(d.focus(), window_id, "%s: the window takes no focus" % case)
            self.assertEqual(d.task_buttons("%s-%s-%s.png" % (shots, hiding.replace(" ", "-"), corner)), 1,
                             "%s: still no task button" % case)
        with open(shots + ".txt", "w") as f:
            f.write("\n".join(report) + "\n")
        other.terminate()
        process.terminate()
        self.assertEqual(process.wait(3), 0)

    def check_work_area_steps(self, scale):
        """Without a window manager, the root's _NET_WORKAREA set by hand with its top one device
        pixel lower at each step: at this scale the window's top is the work area's at every step."""
        d = self.desktop(pulse_rate=None, tray=False)

        def set_top(top):
            d.run(["xprop", "-root", "-f", "_NET_WORKAREA", "32c", "-set", "_NET_WORKAREA",
                   "0, %d, 1920, %d" % (top, 1080 - top)])

        set_top(26)
        process = self.start(d, {"QT_SCALE_FACTOR": scale})
        missed = []
        for top in range(26, 45):
            set_top(top)
            want = self.at("left", 0, top, 1920)
            if not wait_for(lambda: d.window("Caldmere")[1:] == want, 3):
                missed.append((top, d.window("Caldmere")[4]))
        self.assertEqual(missed, [], "(work area's top, window's top) at scale %s" % scale)
        process.terminate()
        self.assertEqual(process.wait(3), 0)

    def check_two_monitors(self, wm):
        """Two monitors of different sizes, a tint2 panel on each: the window keeps to the primary
        monitor's own corners while the panels, the primary monitor and the monitors change."""
        d = Desktop(OPTIONS.tolvaran, OPTIONS.recorder)
        self.addCleanup(d.close)
        d.start_two_monitors()
        d.start_wm(wm)
        panel = d.start_tint2(panels=2)
        process = self.start(d)
        os.makedirs(OPTIONS.artefacts, exist_ok=True)
        shots = os.path.join(OPTIONS.artefacts, "tolvaran-two-monitors-%s" % wm)
        report = []
        # The primary monitor DUMMY0 spans x 1920 to 4480 from y 0; DUMMY1 x 0 to 1920 from y 360.
        primary, other = (1920, 0, 4480), (0, 360, 1920)

        def check(case, corner, monitor, panelled):
            x, y, right = monitor
            want = self.at(corner, x, y + (TINT2_HEIGHT if panelled else 0), right)
            placed = wait_for(lambda: (d.window("Caldmere") or (0,))[1:] == want, 10)
            got = d.window("Caldmere")
            report.append("%s under %s: window %s, work area %s, tint2 struts %s"
                          % (case, wm, got[1:] if got else None, d.work_area(), d.struts("tint2")))
            d.screenshot("%s-%s.png" % (shots, case.replace(" ", "-").replace(",", "")))
            with open(shots + ".txt", "w") as f:
                f.write("\n".join(report) + "\n")
            self.assertTrue(placed, "%s: %s, not %s" % (case, got, want))

        check("left", "left", primary, True)
        self.choose(d, RIGHT)
        check("right", "right", primary, True)
        d.stop_process(panel)
        check("right, panel stopped", "right", primary, False)
        panel = d.start_tint2(panels=2)
        check("right, panel started", "right", primary, True)
        d.set_monitors(("DUMMY1", "1920x1080", "0x360", "primary"), ("DUMMY0", "2560x1440", "1920x0"))
        check("right, primary switched", "right", other, True)
        self.choose(d, LEFT)
        check("left, primary switched", "left", other, True)
        d.set_monitors(("DUMMY1", "1920x1080", "0x360"), ("DUMMY0", "2560x1440", "1920x0", "primary"))
        check("left, primary back", "left", primary, True)
        d.set_monitors(("DUMMY1", "1920x1080", "0x360"), ("DUMMY0", "off"))
        # RandR may move the one output left to the top.
        check("left, primary off", "left", d.monitor("DUMMY1"), True)
        d.set_monitors(("DUMMY1", "1920x1080", "0x360"), ("DUMMY0", "2560x1440", "1920x0", "primary"))
        check("left, primary on", "left", primary, True)
        process.terminate()
        self.assertEqual(process.wait(3), 0)

    def test_without_an_x_server_one_line_names_the_display_and_the_exit_is_2(self):
        d = Desktop(OPTIONS.tolvaran, OPTIONS.recorder)
        self.addCleanup(d.close)
        number = next(n for n in range(900, 1000) if not os.path.exists("/tmp/.X11-unix/X%d" % n))
        for display, named in ((":%d" % number, '":%d"' % number), (None, "DISPLAY")):
            with self.subTest(display=display):
                d.env.pop("DISPLAY", None)
                if display:
                    d.env["DISPLAY"] = display
                process = d.start_tolvaran()
                self.assertEqual(process.wait(10), 2)
                said = process.stdout.read().decode("utf-8", "replace").splitlines()
                self.assertEqual(len(said), 1, said)
                self.assertIn(named, said[0])

    def scripts_run_tree(self, d):
        """scripts/run and scripts/build copied into a tree beside a setup, a cmake on PATH and a
        Tolvaran that only leave a mark; answers (run(display), marks(), the built and the installed library)."""
        tree = os.path.join(d.root, "tree")
        stubs = os.path.join(d.root, "stubs")
        for folder in ("scripts", "build/run/host", "build/run/plugin"):
            os.makedirs(os.path.join(tree, folder))
        os.makedirs(stubs)
        shutil.copy2(SCRIPTS_RUN, os.path.join(tree, "scripts", "run"))
        shutil.copy2(os.path.join(os.path.dirname(SCRIPTS_RUN), "build"), os.path.join(tree, "scripts", "build"))
        marks = os.path.join(d.root, "marks")
        for stub in ("scripts/setup", "build/run/host/Tolvaran", "cmake"):
            path = os.path.join(stubs if stub == "cmake" else tree, stub)
            with open(path, "w") as f:
                f.write('#!/bin/sh\necho "%s $*" >> %s\n' % (os.path.basename(stub), marks))
            os.chmod(path, 0o755)
        built = os.path.join(tree, "build", "run", "plugin", "libvarnis.so")
        installed = os.path.join(tree, "build", "run", "host", "libvarnis.so")

        def run(display):
            if os.path.exists(marks):
                os.remove(marks)
            env = dict(d.env, DISPLAY=display, PATH=stubs + ":" + d.env["PATH"], JOBS="3")
            return subprocess.run([os.path.join(tree, "scripts", "run")], env=env, capture_output=True,
                                  text=True, timeout=30)

        def done():
            return open(marks).read().splitlines() if os.path.exists(marks) else []

        return run, done, built, installed

    def test_scripts_run_looks_for_a_display_before_it_builds_and_builds_only_the_program(self):
        d = self.desktop(plugin=False, pulse_rate=None, tray=False)
        run, done, built, _ = self.scripts_run_tree(d)
        open(built, "w").close()
        number = next(n for n in range(900, 1000) if not os.path.exists("/tmp/.X11-unix/X%d" % n))
        for display in ("", ":%d" % number):
            with self.subTest(display=display):
                result = run(display)
                self.assertEqual((result.returncode, done()), (2, []))
                self.assertIn("no desktop", result.stderr)
        result = run(d.display)
        self.assertEqual(result.returncode, 0, result.stderr)
        setup, configure, build, tolvaran = done()
        self.assertEqual(setup, "setup run")
        self.assertIn("-DBUILD_TESTING=OFF", configure.split())
        self.assertEqual(build.split()[-3:], ["--target", "varnis", "Tolvaran"])
        self.assertEqual(tolvaran, "Tolvaran ")

    def test_scripts_run_leaves_the_library_a_running_tolvaran_has_mapped_intact(self):
        """A second scripts/run, with a rebuilt and with an unchanged library, while the first
        copy's library is mapped."""
        d = self.desktop(plugin=False, pulse_rate=None, tray=False)
        run, _, built, installed = self.scripts_run_tree(d)
        old = bytes(range(256)) * 64
        with open(built, "wb") as f:
            f.write(old)
        self.assertEqual(run(d.display).returncode, 0)
        with open(installed, "rb") as f:
            mapped = mmap.mmap(f.fileno(), 0, prot=mmap.PROT_READ)
        self.addCleanup(mapped.close)
        first = os.stat(installed).st_ino
        self.assertEqual(run(d.display).returncode, 0)
        self.assertEqual(os.stat(installed).st_ino, first, "an unchanged library is not copied again")
        new = b"rebuilt"
        with open(built, "wb") as f:
            f.write(new)
        result = run(d.display)
        self.assertEqual(result.returncode, 0, result.stderr)
        # Rewriting the mapped file in place would shrink it under the mapping: reading it would
        # then raise SIGBUS here.
        self.assertEqual(mapped[:], old)
        self.assertEqual(open(installed, "rb").read(), new)
        self.assertEqual(sorted(os.listdir(os.path.dirname(installed))), ["Tolvaran", "libvarnis.so"])

    def test_without_a_plugin_the_program_runs_and_quits(self):
        d = self.desktop(plugin=False)
        process = self.start(d)
        self.assertEqual(len(wait_for(d.tray_icons, 5)), 1)
        time.sleep(0.5)
        self.assertIsNone(process.poll())
        process.terminate()
        self.assertEqual(process.wait(3), 0)



# Window managers and scales for the crop: openbox leaves windows where they ask to be, metacity
# and xfwm4 keep them inside the work area.
for _wm in ("openbox", "metacity", "xfwm4"):
    for _scale in ("1", "1.5", "2"):
        setattr(TolvaranTest, "test_the_crop_in_the_work_area_under_%s_at_scale_%s" % (_wm, _scale.replace(".", "_")),
                lambda self, wm=_wm, scale=_scale: self.check_crop_in_the_work_area(wm, scale))

for _wm in ("openbox", "metacity", "xfwm4"):
    setattr(TolvaranTest, "test_the_window_is_never_lost_under_%s" % _wm,
            lambda self, wm=_wm: self.check_never_lost(wm))
for _wm in ("openbox", "metacity", "xfwm4"):
    setattr(TolvaranTest, "test_the_window_keeps_to_the_primary_monitors_corner_under_%s" % _wm,
            lambda self, wm=_wm: self.check_two_monitors(wm))
for _scale in ("1.25", "1.5"):
    setattr(TolvaranTest, "test_the_window_follows_each_pixel_of_the_work_area_at_scale_%s" % _scale.replace(".", "_"),
            lambda self, scale=_scale: self.check_work_area_steps(scale))


def main():
    global OPTIONS
    parser = argparse.ArgumentParser()
    parser.add_argument("--tolvaran", required=True)
    parser.add_argument("--recorder", required=True)
    parser.add_argument("--varnis", required=True)
    parser.add_argument("--artefacts", required=True)
    parser.add_argument("--lone-editor", required=True)
    parser.add_argument("--top-panel", required=True)
    OPTIONS, rest = parser.parse_known_args()
    unittest.main(argv=[sys.argv[0], "-v"] + rest)


if __name__ == "__main__":
    main()
