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

# A whole run takes about 45 s; ctest ends the test at 300 s.
BOUND_SECONDS = 100
# Where a hang is also told, when set: a test that passes on its second run shows no output.
HANG_LOG_VARIABLE = "TAPWISE_HANG_LOG"
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
        report = (f"run_detached: attempt {attempt} of {' '.join(sys.argv[1:])} passed "
                  f"{BOUND_SECONDS} s and was ended; the test running: {running_test(output)}")
        print(f"\n{report}", flush=True)
        if os.environ.get(HANG_LOG_VARIABLE):
            with open(os.environ[HANG_LOG_VARIABLE], "a", encoding="utf-8") as log:
                log.write(report + "\n")
    return 1


if __name__ == "__main__":
    sys.exit(main())
