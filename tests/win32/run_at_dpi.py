"""Runs Windows platform tests on a screen of another DPI: in a clone of the template prefix
(the end-to-end harness's) whose LogPixels is set, with its desktop up. Prints the tests' output
and exits with their exit code.

    python3 run_at_dpi.py --dpi 144 --cursor-holder cursor_holder.exe win32_tests.exe [args]

The tests learn the DPI they must find from TAPWISE_EXPECTED_DPI. Python 3 standard library only.
"""

from __future__ import annotations

import argparse
import os
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "e2e"))

import harness  # noqa: E402  (found through the path above)

TEST_SECONDS = 120
POINTER_PARK = (1, 1)


def main() -> int:
    parser = argparse.ArgumentParser()
    parser.add_argument("--dpi", type=int, required=True)
    parser.add_argument("--cursor-holder", required=True)
    parser.add_argument("tests", nargs=argparse.REMAINDER, help="the test program and its arguments")
    options = parser.parse_args()
    if not options.tests:
        parser.error("no test program given")
    program, *arguments = options.tests
    with harness.Prefix() as prefix:
        prefix.set_dpi(options.dpi)
        prefix.hold_cursor(os.path.abspath(options.cursor_holder), *POINTER_PARK)
        code, output = prefix.run(
            [harness.WINE, os.path.abspath(program), *arguments],
            timeout=TEST_SECONDS,
            TAPWISE_EXPECTED_DPI=str(options.dpi),
        )
    sys.stdout.write(output)
    return code


if __name__ == "__main__":
    sys.exit(main())
