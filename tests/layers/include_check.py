#!/usr/bin/env python3
"""Reads every #include of the tree and fails, naming file and line, on one that runs against the
layer order or on an operating-system header outside platform/, host/ and tests/.

usage: include_check.py SOURCE_ROOT
"""
import os
import re
import sys

# Each folder and the folders it may include besides itself; a folder also reaches everything
# those reach. Folders not listed here have no rule and fail the check until they get one.
LAYERS = {
    "vst2": [],
    "platform": ["vst2"],
    "framework": ["platform"],
    "toolkit": ["framework"],
    "plugin": ["toolkit"],
    "analyser/engine": ["framework"],
    "analyser/dsp": ["framework"],
    "analyser/editor": ["toolkit", "analyser/engine", "analyser/resources"],
    "analyser/resources": ["toolkit"],
    "host": ["vst2"],
    # Test plug-ins and test support.
    "tests/plugins/testproduct": ["plugin"],
    "tests/plugins/recorder": ["vst2"],
    "tests/vsthost": ["vst2"],
    "tests/support": ["framework"],
    # Benchmarks and fuzzers drive the analyser's libraries and the plug-in from outside: never the
    # operating system, and the editor root only in the settings-file fuzzer; the drawing benchmark times the toolkit's raster alone,
    # the scope benchmark the phase scope's model and painter (no frames) with the bitmap ids.
    "bench": ["analyser/engine", "analyser/dsp", "toolkit/drawing", "analyser/editor/scope",
              "analyser/resources/BitmapInventory.h"],
    "fuzz": ["analyser/engine", "analyser/dsp"],
    # The settings-file fuzzer runs the analyser's editor on the headless platform.
    "fuzz/SettingsFileFuzzer.cpp": ["analyser/editor"],
}
# Any other file under tests/ takes the rule of the folder it mirrors (tests/framework/core: framework),
# and every file under tests/, bench/ and fuzz/ may also include the tests/ twins of the folders it
# reaches and these shared test folders.
SHARED_TEST_FOLDERS = ["tests/support", "tests/vsthost", "tests/plugins/recorder"]
# Where a test needs the real boundary, tests/ may include operating-system headers too.
OS_HEADERS_ALLOWED_IN = ["platform", "host", "tests"]
OS_HEADERS = re.compile(
    r"^(X11/|xcb/|pulse/|sys/|linux/|asm/|pthread\.h$|dlfcn\.h$|unistd\.h$|fcntl\.h$|poll\.h$|spawn\.h$|"
    r"signal\.h$|sched\.h$|semaphore\.h$|dirent\.h$|termios\.h$|syslog\.h$|windows\.h$|link\.h$)")
SOURCE_FOLDERS = ["vst2", "platform", "framework", "toolkit", "plugin", "analyser", "host", "tests", "bench",
                  "fuzz"]
DRIVER_FOLDERS = ["tests", "bench", "fuzz"]
PRODUCT_FOLDERS = [folder for folder in LAYERS if folder.split("/")[0] not in DRIVER_FOLDERS]
INCLUDE = re.compile(r'^\s*#\s*include\s*([<"])([^>"]+)[>"]')


def folder_of(path, folders):
    """The longest folder in folders that holds path, or None."""
    best = None
    for folder in folders:
        if (path == folder or path.startswith(folder + "/")) and (best is None or len(folder) > len(best)):
            best = folder
    return best


def reach(layer):
    seen, todo = set(), [layer]
    while todo:
        current = todo.pop()
        if current not in seen:
            seen.add(current)
            todo.extend(LAYERS.get(current, []))
    return seen


def rule_of(path):
    """(folders path may include, whether it may include operating-system headers), or None."""
    own = subject = folder_of(path, LAYERS)
    if own is None and path.startswith("tests/"):
        subject = folder_of(path[len("tests/"):], PRODUCT_FOLDERS)
        own = subject and "tests/" + subject
    if own is None:
        return None
    reached = reach(subject)
    allowed = reached | {own}
    if own.split("/")[0] in DRIVER_FOLDERS:
        allowed |= {"tests/" + folder for folder in reached} | set(SHARED_TEST_FOLDERS)
    return allowed, folder_of(path, OS_HEADERS_ALLOWED_IN) is not None


def check(root):
    faults = []
    for top in SOURCE_FOLDERS:
        for directory, _, names in os.walk(os.path.join(root, top)):
            for name in sorted(names):
                if not name.endswith((".h", ".cpp")):
                    continue
                full = os.path.join(directory, name)
                path = os.path.relpath(full, root).replace(os.sep, "/")
                rule = rule_of(path)
                if rule is None:
                    faults.append(f"{path}: no layer rule for this folder")
                    continue
                allowed, os_allowed = rule
                with open(full, encoding="utf-8", errors="replace") as source:
                    for number, line in enumerate(source, 1):
                        match = INCLUDE.match(line)
                        if not match:
                            continue
                        kind, included = match.groups()
                        if kind == "<":
                            if OS_HEADERS.match(included) and not os_allowed:
                                faults.append(f"{path}:{number}: operating-system header <{included}>")
                            continue
                        if os.path.isfile(os.path.join(directory, included)):
                            included = os.path.relpath(os.path.join(directory, included), root).replace(os.sep, "/")
                        if folder_of(included, allowed) is None:
                            faults.append(f'{path}:{number}: "{included}" is against the layer order')
    return faults


def main():
    if len(sys.argv) != 2:
        print(__doc__.strip(), file=sys.stderr)
        return 2
    faults = check(sys.argv[1])
    for fault in faults:
        print(fault)
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main())
