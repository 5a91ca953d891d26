#!/usr/bin/env python3
"""Runs a Windows test program under Wine with its output in a file rather than a pipe.

Some tests start real uninstallers, which may leave a program behind on purpose (one that still
shows its box when its bound has passed). Such a program inherits the test's output; on a pipe it
would keep ctest waiting long after the tests themselves have ended.

A run that has not ended within its bound is ended, with everything it started, and its output
so far is printed with the test that was running: runs have hung, rarely, with no output to
tell where. It is then run once more, and the second run decides.

    run_detached.py PROGRAM [ARGUMENTS...]
"""

import os
import signal
import subprocess
import sys
import tempfile

# A whole run takes about 40 s; ctest ends the test at 300 s.
BOUND_SECONDS = 130
ATTEMPTS = 2


def run_once(arguments: list[str]) -> tuple[int | None, bytes]:
    """The exit status, or None when the run passed its bound, and the output."""
    with tempfile.TemporaryFile() as output:
        process = subprocess.Popen(["wine", *arguments], stdin=subprocess.DEVNULL, stdout=output,
                                   stderr=subprocess.STDOUT, start_new_session=True)
        try:
            status = process.wait(timeout=BOUND_SECONDS)
        except subprocess.TimeoutExpired:
            os.killpg(process.pid, signal.SIGKILL)
            process.wait()
            status = None
        output.seek(0)
        return status, output.read()


def running_test(output: bytes) -> str:
    started = [line for line in output.splitlines() if line.startswith(b"[ RUN")]
    ended = [line for line in output.splitlines() if line.startswith((b"[       OK", b"[  FAILED"))]
    if not started or len(ended) >= len(started):
        return "none: it hung outside the tests"
    return started[-1].decode("utf-8", "replace")


def main() -> int:
    for attempt in range(1, ATTEMPTS + 1):
        status, output = run_once(sys.argv[1:])
        sys.stdout.buffer.write(output)
        if status is not None:
            return status
        print(f"\nrun_detached: attempt {attempt} passed {BOUND_SECONDS} s and was ended; "
              f"the test running: {running_test(output)}", flush=True)
    return 1


if __name__ == "__main__":
    sys.exit(main())
