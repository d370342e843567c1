#!/usr/bin/env python3
"""The release files as tools/package leaves them, unsigned:
- it says that they are unsigned;
- the folder holds the package, the portable zip and SHA256SUMS, whose lines
  sha256sum accepts, and refuses once a byte of the zip has changed;
- the zip holds the program as it was built, README.txt and LICENSE.txt;
- the package, the program's version resource and its manifest carry the
  one version of the project.

usage: files_test.py BUILD    (a win32 build folder)
"""
import re
import tempfile
import zipfile
from pathlib import Path

from release import check, main, package, run


def version_resource(exe):
    """The ProductVersion string of the program's version resource."""
    data = exe.read_bytes()
    key = "ProductVersion\0".encode("utf-16-le")
    at = data.find(key)
    check(at >= 0, f"{exe} has no ProductVersion")
    at += len(key)
    while data[at] == 0:  # the padding to the value's 32-bit boundary
        at += 1
    end = at
    while data[end:end + 2] != b"\0\0":
        end += 2
    return data[at:end].decode("utf-16-le")


def manifest_version(exe):
    found = re.search(rb'name="Quellmark\.NightBroom" version="([0-9.]+)"', exe.read_bytes())
    check(found, f"{exe} has no manifest naming Quellmark.NightBroom")
    return found.group(1).decode()


def msi_property(msi, name):
    code, table = run(["msiinfo", "export", msi, "Property"])
    check(code == 0, f"msiinfo cannot read {msi}:\n{table}")
    for line in table.splitlines():
        if line.startswith(name + "\t"):
            return line.split("\t", 1)[1]
    return None


def test(build):
    exe = build / "NightBroom.exe"
    with tempfile.TemporaryDirectory() as tmp:
        out = Path(tmp) / "release"
        version, said = package(build, out)
        check("unsigned" in said, f"tools/package did not say that the files are unsigned:\n{said}")
        msi = f"NightBroom-{version}.msi"
        portable = f"NightBroom-{version}-portable.zip"
        check(sorted(p.name for p in out.iterdir()) == sorted([msi, portable, "SHA256SUMS"]),
              f"{out} holds {sorted(p.name for p in out.iterdir())}")

        listed = [line.split()[1] for line in (out / "SHA256SUMS").read_text().splitlines()]
        check(sorted(listed) == sorted([msi, portable]), f"SHA256SUMS lists {listed}")
        code, said = run(["sha256sum", "-c", "SHA256SUMS"], cwd=out)
        check(code == 0, f"the files do not match SHA256SUMS:\n{said}")
        zipped = out / portable
        data = bytearray(zipped.read_bytes())
        data[len(data) // 2] ^= 0xFF
        zipped.write_bytes(data)
        code, said = run(["sha256sum", "-c", "SHA256SUMS"], cwd=out)
        check(code != 0, "sha256sum accepted a zip with a byte changed")
        data[len(data) // 2] ^= 0xFF
        zipped.write_bytes(data)

        with zipfile.ZipFile(zipped) as z:
            check(sorted(z.namelist()) == ["LICENSE.txt", "NightBroom.exe", "README.txt"],
                  f"the zip holds {z.namelist()}")
            check(z.read("NightBroom.exe") == exe.read_bytes(), "the zip's NightBroom.exe is not the one built")

        numbers = version.split(".")
        quad = ".".join(numbers + ["0"] * (4 - len(numbers)))
        for what, found, expected in [
            ("the package's ProductVersion", msi_property(out / msi, "ProductVersion"), version),
            ("the version resource's ProductVersion", version_resource(exe), version),
            ("the manifest's assembly version", manifest_version(exe), quad),
        ]:
            check(found == expected, f"{what} is {found}, not {expected}")


if __name__ == "__main__":
    main(test)
