"""What the release-file tests share: building the files with tools/package,
running commands with a time bound, failing with a reason."""
import os
import re
import subprocess
import sys
from pathlib import Path

TOP = Path(__file__).resolve().parents[2]
# Every command of a test ends within this; none should come near it.
COMMAND_TIMEOUT = 300


class Failure(Exception):
    pass


def fail(reason):
    raise Failure(reason)


def check(condition, reason):
    if not condition:
        fail(reason)


def run(command, env=None, cwd=None, quiet=False, timeout=COMMAND_TIMEOUT):
    """Runs a command and returns its exit code and its output (both streams).
    A quiet one's output goes nowhere: a command that leaves processes behind
    (a server, a program it starts) would keep a pipe open after it ends."""
    output = subprocess.DEVNULL if quiet else subprocess.PIPE
    done = subprocess.run([str(part) for part in command], env=env, cwd=cwd, stdin=subprocess.DEVNULL,
                          stdout=output, stderr=subprocess.STDOUT, timeout=timeout)
    return done.returncode, (done.stdout or b"").decode("utf-8", "replace").replace("\r", "")


def package(build, out, *options, env=None):
    """Builds the release files of BUILD's program into OUT; returns the
    version they carry (from the package's file name) and tools/package's output."""
    code, output = run([TOP / "tools" / "package", *options, build, out], env=env)
    check(code == 0, f"tools/package failed:\n{output}")
    names = [p.name for p in Path(out).glob("NightBroom-*.msi")]
    check(len(names) == 1, f"tools/package made {names} instead of one package")
    return re.fullmatch(r"NightBroom-(.+)\.msi", names[0]).group(1), output


def main(test):
    """Runs test(build folder) and turns a failure into a message and exit code 1."""
    if len(sys.argv) != 2:
        sys.exit(f"usage: {Path(sys.argv[0]).name} BUILD   (a win32 build folder)")
    try:
        test(Path(sys.argv[1]).resolve())
    except Failure as failure:
        print(f"FAILED: {failure}", file=sys.stderr)
        sys.exit(1)
    except subprocess.TimeoutExpired as timeout:
        print(f"FAILED: {timeout}", file=sys.stderr)
        sys.exit(1)
    print("passed")


def with_env(**values):
    env = dict(os.environ)
    env.update(values)
    return env
