#!/usr/bin/env python3
"""The package end to end under Wine, on a copy of a pristine 64-bit prefix
laid out as a demo machine, with a section choice stored in HKCU:
1. msiexec /i /qn installs it: the program in Program Files (x86), its
   shortcut in the Start menu, its Add/Remove Programs entry (the 32-bit view)
   with name, version, publisher and icon;
2. the program started through the shortcut runs from the installed folder,
   and Analyze finds what the demo machine holds (nb_e2e_drive presses it);
3. a newer package of the same program replaces it: one product is
   registered, with the new version; the older package then refuses to go
   over the newer one;
4. msiexec /x /qn removes the program, its folder, the shortcut and the entry,
   and leaves the section choice alone.

usage: install_test.py BUILD    (a win32 build folder)
NB_PACKAGE_PREFIX picks the prefix (default build/wine/package-win32);
NB_PACKAGE_KEEP=1 keeps it for a look.
"""
import json
import os
import re
import shutil
import subprocess
import tempfile
import time
from pathlib import Path, PureWindowsPath

from release import TOP, check, fail, main, package, run

WINE = "/usr/lib/wine/wine"  # x86 programs: 32-bit processes on 64-bit Windows
WINE64 = "/usr/lib/wine/wine64"
WINESERVER = "/usr/lib/wine/wineserver64" if os.path.exists("/usr/lib/wine/wineserver64") else "wineserver"

INSTALLED = PureWindowsPath(r"C:\Program Files (x86)\Night Broom\NightBroom.exe")
SHORTCUT = "Night Broom.lnk"
UNINSTALL = {
    "32-bit": r"HKLM\Software\Wow6432Node\Microsoft\Windows\CurrentVersion\Uninstall",
    "64-bit": r"HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall",
}
PRODUCTS = r"HKLM\Software\Classes\Installer\Products"
SETTINGS = r"HKCU\SOFTWARE\Quellmark\Nightbroom"
SECTIONS = "1111111111111111"


class Machine:
    """A fresh copy of the pristine prefix, and Wine commands run in it."""

    def __init__(self, prefix):
        self.prefix = prefix
        home = Path(os.environ.get("NB_WINE_HOME", TOP / "build" / "wine" / "package-home"))
        self.env = dict(os.environ, WINEPREFIX=str(prefix), WINEDEBUG="-all", HOME=str(home),
                        NB_WINE_HOME=str(home), WINEDLLOVERRIDES="winemenubuilder.exe=d")
        home.mkdir(parents=True, exist_ok=True)

    def make(self):
        template = Path(f"{self.prefix}-template")
        code, said = run([TOP / "tools" / "wine-prefix", "--unless-ready", template, "null"], env=self.env)
        check(code == 0, f"tools/wine-prefix failed:\n{said}")
        self.stop()
        shutil.rmtree(self.prefix, ignore_errors=True)
        shutil.copytree(template, self.prefix, symlinks=True)
        # A server that stays for the whole test; Wine's services start with the
        # first program and would otherwise hold a later command's output open.
        run([WINESERVER, "-p"], env=self.env, quiet=True)
        run([WINE64, "cmd", "/c", "exit"], env=self.env, quiet=True)

    def stop(self):
        if self.prefix.exists():
            run([WINESERVER, "-k"], env=self.env, quiet=True)
            run([WINESERVER, "-w"], env=self.env, quiet=True)

    def wine(self, *command, loader=WINE64, **options):
        return run([loader, *command], env=self.env, **options)

    def unix(self, path):
        """Where a C: path of the prefix is on the Linux side."""
        return self.prefix / "drive_c" / Path(*PureWindowsPath(path).parts[1:])

    def registry(self, key):
        """KEY and its subkeys, KEY first, each with its values: {key: {name: data}}."""
        code, said = self.wine("reg", "query", key, "/s")
        tree = {}
        values = None
        for line in said.splitlines() if code == 0 else []:
            if line.startswith("HKEY_"):
                values = tree.setdefault(line.strip(), {})
            elif line.startswith("    ") and values is not None:
                name, _, data = (line.strip().split("    ", 2) + ["", ""])[:3]
                values[name] = data
        return tree

    def shortcuts(self):
        """Every Start-menu shortcut of the program: the all-users Start menu,
        where Windows puts a per-machine package's, and the user's own, where
        Wine 8's installer puts it whatever the package's scope."""
        drive = self.prefix / "drive_c"
        menus = [drive / "ProgramData"] + list((drive / "users").glob("*/AppData/Roaming"))
        return [m / "Microsoft/Windows/Start Menu/Programs" / SHORTCUT for m in menus
                if (m / "Microsoft/Windows/Start Menu/Programs" / SHORTCUT).exists()]

    def entries(self):
        """The Add/Remove Programs entries named Night Broom, with their view."""
        return [(view, key, values) for view, root in UNINSTALL.items()
                for key, values in self.registry(root).items() if values.get("DisplayName") == "Night Broom"]

    def products(self):
        return [values for values in self.registry(PRODUCTS).values() if values.get("ProductName") == "Night Broom"]

    def running_installed(self):
        """Process ids of the installed program running in this prefix (Wine
        names a process by its Windows path)."""
        found = []
        for proc in Path("/proc").glob("[0-9]*"):
            try:
                command = (proc / "cmdline").read_bytes().split(b"\0")[0].decode("utf-8", "replace")
                env = (proc / "environ").read_bytes().split(b"\0")
            except OSError:
                continue
            if command == str(INSTALLED) and f"WINEPREFIX={self.prefix}".encode() in env:
                found.append(int(proc.name))
        return found


def msiexec(machine, action, msi):
    return machine.wine("msiexec", action, "Z:" + str(msi).replace("/", "\\"), "/qn")


def check_installed(machine, build, version):
    exe = machine.unix(INSTALLED)
    check(exe.is_file(), f"{INSTALLED} is missing")
    check(exe.read_bytes() == (build / "NightBroom.exe").read_bytes(), f"{INSTALLED} is not the program built")
    check(not machine.unix(r"C:\Program Files\Night Broom").exists(), "the 32-bit program went to Program Files")
    check(len(machine.shortcuts()) == 1, f"Start-menu shortcuts: {machine.shortcuts()}")
    entries = machine.entries()
    check(len(entries) == 1, f"{len(entries)} Add/Remove Programs entries: {[key for _, key, _ in entries]}")
    view, key, values = entries[0]
    check(view == "32-bit", f"the entry is in the {view} view: {key}")
    for name, expected in [("DisplayVersion", version), ("Publisher", "Quellmark")]:
        check(values.get(name) == expected, f"the entry's {name} is {values.get(name)!r}, not {expected!r}")
    products = machine.products()
    check(len(products) == 1, f"{len(products)} products registered")
    icon = products[0].get("ProductIcon", "")
    check(icon and machine.unix(icon).is_file(), f"the product's icon {icon!r} is missing")


def check_runs(machine, build):
    """Starts the program through its shortcut, presses Analyze, closes it."""
    # start.exe waits on an error box when the shortcut leads nowhere.
    try:
        code, _ = machine.wine("start", "/unix", machine.shortcuts()[0], quiet=True, timeout=60)
    except subprocess.TimeoutExpired:
        code = None
    check(code == 0, "the Start-menu shortcut does not start the program")
    code, said = machine.wine(build / "tests" / "nb_e2e_drive.exe", loader=WINE)
    check(code == 0, f"nb_e2e_drive failed:\n{said}")
    check(machine.running_installed(), f"the program running is not {INSTALLED}")
    expected = json.loads((machine.prefix / "expected.json").read_text())["findings"]
    total = sum(len(paths) for paths in expected.values())
    found = re.search(r"Total:(\d+) items found", said)
    check(found and int(found.group(1)) == total, f"Analyze did not find the demo machine's {total} items:\n{said}")
    machine.wine("taskkill", "/im", "NightBroom.exe")
    for _ in range(300):
        if not machine.running_installed():
            return
        time.sleep(0.1)
    fail("the program did not close")


def check_removed(machine):
    check(not machine.unix(INSTALLED.parent).exists(), f"{INSTALLED.parent} is still there")
    check(not machine.shortcuts(), f"shortcuts left: {machine.shortcuts()}")
    check(not machine.entries(), "the Add/Remove Programs entry is still there")
    check(not machine.products(), "the product is still registered")
    sections = next(iter(machine.registry(SETTINGS).values()), {}).get("Sections")
    check(sections == SECTIONS, f"the section choice is {sections!r} after uninstall, not {SECTIONS!r}")


def test(build):
    prefix = Path(os.environ.get("NB_PACKAGE_PREFIX", TOP / "build" / "wine" / "package-win32")).resolve()
    machine = Machine(prefix)
    with tempfile.TemporaryDirectory() as tmp:
        tmp = Path(tmp)
        version, _ = package(build, tmp / "old")
        major, minor = version.split(".")[:2]
        newer, _ = package(build, tmp / "new", "--version", f"{major}.{int(minor) + 1}")
        old_msi = tmp / "old" / f"NightBroom-{version}.msi"
        new_msi = tmp / "new" / f"NightBroom-{newer}.msi"
        try:
            machine.make()
            code, said = run([TOP / "tools" / "demo-machine", prefix, "--arch", "win32",
                              "--expected", prefix / "expected.json"], env=machine.env)
            check(code == 0, f"tools/demo-machine failed:\n{said}")
            code, said = machine.wine("reg", "add", SETTINGS, "/v", "Sections", "/d", SECTIONS, "/f")
            check(code == 0, f"the section choice could not be stored:\n{said}")

            code, said = msiexec(machine, "/i", old_msi)
            check(code == 0, f"installing {old_msi.name} failed ({code}):\n{said}")
            check_installed(machine, build, version)
            check_runs(machine, build)

            code, said = msiexec(machine, "/i", new_msi)
            check(code == 0, f"upgrading to {new_msi.name} failed ({code}):\n{said}")
            check_installed(machine, build, newer)
            code, _ = msiexec(machine, "/i", old_msi)
            check(code != 0, f"{old_msi.name} went over {new_msi.name}")
            check_installed(machine, build, newer)

            code, said = msiexec(machine, "/x", new_msi)
            check(code == 0, f"uninstalling failed ({code}):\n{said}")
            check_removed(machine)
        finally:
            machine.stop()
            if os.environ.get("NB_PACKAGE_KEEP") == "1":
                print(f"kept {prefix}")
            else:
                shutil.rmtree(prefix, ignore_errors=True)


if __name__ == "__main__":
    main(test)
