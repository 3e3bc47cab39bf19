#!/usr/bin/env python3
"""libvarnis in Ardour, a real third-party VST 2 host, run headless with the Dummy audio backend.

Ardour scans the plug-in, plays a fixed signal through it (the output must equal the input), saves
the session with the plug-in's chunk and loads it again; the chunk saved after the reload must hold
the same state. Sessions whose chunk is damaged must load with a clear error from the plug-in and
leave its state as it was. Everything lives in a temporary folder that is removed afterwards.
"""

import argparse
import base64
import os
import re
import shutil
import subprocess
import sys
import tempfile
import unittest
import xml.etree.ElementTree as ElementTree

HERE = os.path.dirname(os.path.abspath(__file__))
SESSION_NAME = "varnis"
RUN_TIMEOUT = 60
# A fixed whole-second time: Ardour compares the plug-in's time with its scan cache's, which it
# keeps in whole seconds, so a plug-in built within the same second would look newer than its scan.
PLUGIN_MTIME = 1_600_000_000
LOAD_ERROR = "Unable to load settings."

options = argparse.Namespace()


def mask_ids(chunk):
    """Object ids change on every save; the state is everything else."""
    return re.sub(rb'\bid="[^"]*"', b'id="#"', chunk)


def rename_program(chunk, new_name):
    renamed, count = re.subn(rb'(<program number="0" name=")[^"]*(")', rb"\g<1>" + new_name + rb"\g<2>", chunk)
    assert count == 1, "the chunk holds no program 0 line"
    return renamed


class ArdourHost(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        for tool in (options.ardour_lua, options.vst_scanner):
            if not (tool and os.access(tool, os.X_OK)):
                raise RuntimeError(f"Ardour's tool '{tool}' is missing: install the package 'ardour' (scripts/setup)")
        cls.scratch = tempfile.TemporaryDirectory(prefix="varnis-ardour-")
        cls.addClassCleanup(cls.scratch.cleanup)
        root = cls.scratch.name
        cls.home = os.path.join(root, "home")
        cls.plugin_dir = os.path.join(root, "plugins")
        cls.session_dir = os.path.join(root, "session")
        for folder in (cls.home, cls.plugin_dir, os.path.join(root, "tmp"), os.path.join(root, "xdg")):
            os.makedirs(folder)
        cls.plugin = os.path.join(cls.plugin_dir, os.path.basename(options.plugin))
        shutil.copyfile(options.plugin, cls.plugin)
        os.utime(cls.plugin, (PLUGIN_MTIME, PLUGIN_MTIME))
        scripts = os.path.join(cls.home, ".config", "ardour7", "scripts")
        os.makedirs(scripts)
        shutil.copy(os.path.join(HERE, "test_signal.lua"), scripts)
        # Nothing of the user's or the machine's: no display, our own home, config and temporary folders.
        cls.env = {
            "PATH": os.environ.get("PATH", "/usr/bin:/bin"),
            "HOME": cls.home,
            "XDG_CONFIG_HOME": os.path.join(cls.home, ".config"),
            "XDG_CACHE_HOME": os.path.join(cls.home, ".cache"),
            "XDG_DATA_HOME": os.path.join(cls.home, ".local", "share"),
            "XDG_CONFIG_DIRS": os.path.join(root, "xdg"),
            "TMPDIR": os.path.join(root, "tmp"),
            "LXVST_PATH": cls.plugin_dir,
            "LC_ALL": "C",
        }
        cls.scan = cls.run_tool([options.vst_scanner, "-f", cls.plugin],
                               {"LD_LIBRARY_PATH": os.path.dirname(options.vst_scanner)})
        cls.created = cls.run_session("create", cls.session_dir, SESSION_NAME, cls.plugin)

    @classmethod
    def run_tool(cls, command, extra_env=None):
        env = dict(cls.env, **(extra_env or {}))
        return subprocess.run(command, env=env, cwd=cls.scratch.name, capture_output=True, text=True,
                              errors="replace", timeout=RUN_TIMEOUT, check=False)

    @classmethod
    def run_session(cls, *args):
        return cls.run_tool([options.ardour_lua, os.path.join(HERE, "session.lua"), *args])

    def assertRan(self, run, what):
        self.assertEqual(run.returncode, 0, f"{what} failed (exit {run.returncode}):\n{run.stdout}{run.stderr}")
        self.assertIn("varnis-test done=", run.stdout, f"{what} did not finish:\n{run.stdout}{run.stderr}")

    def reports(self, run):
        return dict(re.findall(r"^varnis-test ([\w-]+)=(.*)$", run.stdout, re.MULTILINE))

    def snapshot_path(self, snapshot):
        return os.path.join(self.session_dir, snapshot + ".ardour")

    def chunk_of(self, snapshot):
        """The plug-in's chunk as Ardour stored it in the snapshot, decoded."""
        tree = ElementTree.parse(self.snapshot_path(snapshot))
        chunks = tree.findall(".//Processor[@type='lxvst']/lxvst/chunk")
        self.assertEqual(len(chunks), 1, f"{snapshot}.ardour should hold exactly one VST chunk")
        return base64.b64decode(chunks[0].text)

    def write_snapshot_with_chunk(self, snapshot, chunk):
        """A copy of the saved session whose plug-in chunk is replaced, as another snapshot."""
        with open(self.snapshot_path(SESSION_NAME), encoding="utf-8") as file:
            text = file.read()
        old = base64.b64encode(self.chunk_of(SESSION_NAME)).decode("ascii")
        self.assertEqual(text.count(old), 1)
        with open(self.snapshot_path(snapshot), "w", encoding="utf-8") as file:
            file.write(text.replace(old, base64.b64encode(chunk).decode("ascii")))

    def test_scan_finds_the_plugin(self):
        self.assertEqual(self.scan.returncode, 0, f"the scanner failed:\n{self.scan.stdout}{self.scan.stderr}")
        scan_log = os.path.join(self.home, ".config", "ardour7", "plugin_metadata", "scan_log")
        entries = [entry for entry in ElementTree.parse(scan_log).getroot()
                   if entry.get("type") == "LXVST" and entry.get("path") == self.plugin]
        self.assertEqual(len(entries), 1, "Ardour's scan log has no entry for the plug-in")
        self.assertEqual(entries[0].get("scan-result"), "0", f"scan log entry: {entries[0].attrib}")

    def test_audio_passes_unchanged(self):
        # The create run checks the bounced audio itself; it fails with the first differing sample.
        self.assertRan(self.created, "the session with the plug-in")
        reports = self.reports(self.created)
        self.assertEqual(reports.get("plugin-name"), "KVN Stereo Analyzer (OrbA)")
        self.assertNotIn(LOAD_ERROR, self.created.stderr)

    def test_state_survives_save_and_reload(self):
        self.assertRan(self.created, "the session with the plug-in")
        maker = self.reports(self.created)["plugin-maker"].encode()
        saved = self.chunk_of(SESSION_NAME)
        self.assertIn(b" Program Settings -->", saved)
        self.assertIn(b"</obj_archive>", saved)
        halfway = len(saved.split(b"\0")[0]) // 2
        # (snapshot, chunk Ardour hands the plug-in on load or None for the saved session as it is,
        #  chunk expected at the next save, whether the plug-in reports a load error)
        cases = [
            (SESSION_NAME, None, saved, False),
            ("renamed", rename_program(saved, b"Round Trip"), rename_program(saved, b"Round Trip"), False),
            ("other-maker", saved.replace(maker, b"Elsewhere"), saved, True),
            ("truncated", saved[:halfway], saved, True),
            ("garbage", b"\x01\xffnot settings\n" * 8, saved, True),
        ]
        for snapshot, loaded, expected, error_shown in cases:
            with self.subTest(snapshot=snapshot):
                if loaded is not None:
                    self.write_snapshot_with_chunk(snapshot, loaded)
                resaved = snapshot + "-resaved"
                run = self.run_session("reload", self.session_dir, snapshot, resaved)
                self.assertRan(run, f"reloading snapshot {snapshot}")
                self.assertEqual(mask_ids(self.chunk_of(resaved)), mask_ids(expected))
                self.assertEqual(LOAD_ERROR in run.stderr, error_shown, run.stderr)


def main():
    parser = argparse.ArgumentParser(description=__doc__)
    parser.add_argument("--plugin", required=True, help="the built libvarnis.so")
    parser.add_argument("--ardour-lua", required=True, help="Ardour's headless session tool")
    parser.add_argument("--vst-scanner", required=True, help="Ardour's VST 2 scanner")
    parsed, rest = parser.parse_known_args()
    vars(options).update(vars(parsed))
    unittest.main(argv=[sys.argv[0], "-v", *rest])


if __name__ == "__main__":
    main()
