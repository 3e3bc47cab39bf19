#!/usr/bin/env python3
"""scripts/ctest-tally on what ctest prints for a small GoogleTest program registered as ours are:
a test that passes, one that GTEST_SKIPs, a disabled one and one that fails.

usage: ctest_tally_test.py SOURCE_ROOT CMAKE CTEST
"""
import os
import subprocess
import sys
import tempfile

PROGRAM = """
#include <gtest/gtest.h>
TEST(Tally, Passes) { EXPECT_TRUE(true); }
TEST(Tally, Skips) { GTEST_SKIP() << "not here"; }
TEST(Tally, DISABLED_IsDisabled) { EXPECT_TRUE(true); }
TEST(Tally, Fails) { EXPECT_TRUE(false); }
"""

PROJECT = """
cmake_minimum_required(VERSION 3.25)
project(tally CXX)
enable_testing()
find_package(GTest REQUIRED)
include(GoogleTest)
add_executable(tally tally.cpp)
target_link_libraries(tally PRIVATE GTest::gtest_main)
gtest_discover_tests(tally PROPERTIES LABELS unit)
"""


def tally(root, ctest, build, *args):
    run = subprocess.run([ctest, "--test-dir", build, "-L", "unit", *args], capture_output=True, text=True)
    counted = subprocess.run([os.path.join(root, "scripts", "ctest-tally")], input=run.stdout,
                             capture_output=True, text=True, check=True)
    return run.returncode, counted.stdout.split()


def main():
    root, cmake, ctest = sys.argv[1:4]
    failures = []
    with tempfile.TemporaryDirectory(prefix="varnis-tally-") as work:
        with open(os.path.join(work, "tally.cpp"), "w") as f:
            f.write(PROGRAM)
        with open(os.path.join(work, "CMakeLists.txt"), "w") as f:
            f.write(PROJECT)
        build = os.path.join(work, "build")
        subprocess.run([cmake, "-S", work, "-B", build], check=True, capture_output=True)
        subprocess.run([cmake, "--build", build], check=True, capture_output=True)

        cases = [
            ("all four", [], ["1", "1", "2"], True),
            ("without the failing one", ["-E", "Fails"], ["1", "0", "2"], False),
            ("none selected", ["-R", "NoSuchTest"], ["0", "0", "0"], False),
        ]
        for name, args, expected, fails in cases:
            status, counted = tally(root, ctest, build, *args)
            if counted != expected:
                failures.append(f"{name}: counted {counted}, expected {expected}")
            if (status != 0) != fails:
                failures.append(f"{name}: ctest exited with {status}")
    for failure in failures:
        print(failure)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
