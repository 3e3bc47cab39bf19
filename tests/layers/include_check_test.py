#!/usr/bin/env python3
"""The include check on a small tree: it names each fault by file and line and passes the rest."""
import os
import subprocess
import sys
import tempfile

CHECK = os.path.join(os.path.dirname(os.path.abspath(__file__)), "include_check.py")

TREE = {
    "framework/core/Core.h": '#include "platform/Clock.h"\n#include "vst2/Vst2Interface.h"\n',
    "framework/core/Up.cpp": '#include <vector>\n#include "toolkit/frames/Frame.h"\n',
    "framework/core/Os.cpp": "#include <cstdio>\n#include <X11/Xlib.h>\n",
    "platform/linux/Mutex.cpp": "#include <pthread.h>\n#include <sys/file.h>\n",
    "analyser/engine/services/Service.h": '#include "framework/core/Core.h"\n#include "analyser/dsp/Fft.h"\n',
    "analyser/editor/Scope.h": '#include "analyser/engine/services/Service.h"\n#include "toolkit/frames/Frame.h"\n',
    "analyser/resources/Bitmaps.cpp": '#include "toolkit/drawing/Surface.h"\n#include "analyser/editor/Scope.h"\n',
    "host/vst/Loader.cpp": '#include <dlfcn.h>\n#include "vst2/Vst2Interface.h"\n#include "framework/core/Core.h"\n',
    "tests/framework/core/CoreTest.cpp":
        '#include <unistd.h>\n#include "tests/support/Text.h"\n#include "framework/core/Core.h"\n',
    "tests/analyser/engine/services/ServiceTest.cpp":
        '#include "Local.h"\n#include "tests/framework/core/Fixture.h"\n#include "toolkit/frames/Frame.h"\n',
    "tests/analyser/engine/services/Local.h": "",
    "bench/ServiceBench.cpp": '#include "tests/vsthost/VstHost.h"\n#include <unistd.h>\n',
    "analyser/widgets/Widget.cpp": "",
    "tests/gadgets/GadgetTest.cpp": "",
}

FAULTS = [
    "analyser/widgets/Widget.cpp: no layer rule for this folder",
    "tests/gadgets/GadgetTest.cpp: no layer rule for this folder",
    'analyser/engine/services/Service.h:2: "analyser/dsp/Fft.h" is against the layer order',
    'analyser/resources/Bitmaps.cpp:2: "analyser/editor/Scope.h" is against the layer order',
    "bench/ServiceBench.cpp:2: operating-system header <unistd.h>",
    'framework/core/Up.cpp:2: "toolkit/frames/Frame.h" is against the layer order',
    "framework/core/Os.cpp:2: operating-system header <X11/Xlib.h>",
    'host/vst/Loader.cpp:3: "framework/core/Core.h" is against the layer order',
    'tests/analyser/engine/services/ServiceTest.cpp:3: "toolkit/frames/Frame.h" is against the layer order',
]


def main():
    with tempfile.TemporaryDirectory() as root:
        for path, text in TREE.items():
            os.makedirs(os.path.join(root, os.path.dirname(path)), exist_ok=True)
            with open(os.path.join(root, path), "w") as out:
                out.write(text)
        result = subprocess.run([sys.executable, CHECK, root], capture_output=True, text=True)
    got = sorted(result.stdout.splitlines())
    if result.returncode != 1 or got != sorted(FAULTS):
        print("exit status", result.returncode)
        print("expected:\n  " + "\n  ".join(sorted(FAULTS)))
        print("got:\n  " + "\n  ".join(got))
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
