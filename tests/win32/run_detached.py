#!/usr/bin/env python3
"""Runs a Windows test program under Wine with its output in a file rather than a pipe.

Some tests start real uninstallers, which may leave a program behind on purpose (one that still
shows its box when its bound has passed). Such a program inherits the test's output; on a pipe it
would keep ctest waiting long after the tests themselves have ended.

    run_detached.py PROGRAM [ARGUMENTS...]
"""

import subprocess
import sys
import tempfile


def main() -> int:
    with tempfile.TemporaryFile() as output:
        status = subprocess.call(["wine", *sys.argv[1:]], stdin=subprocess.DEVNULL,
                                 stdout=output, stderr=subprocess.STDOUT)
        output.seek(0)
        sys.stdout.buffer.write(output.read())
    return status


if __name__ == "__main__":
    sys.exit(main())
