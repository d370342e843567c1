#!/usr/bin/env python3
"""Signing the release files: a throwaway self-signed certificate, in a
password-protected .pfx whose password tools/package reads from
NB_SIGN_PASSWORD, signs the program and the package.
- osslsigncode verify, with that certificate as the trusted root, accepts the
  package, the program inside it and the program in the zip;
- it refuses them without that root, and refuses each once one byte of its
  content has changed.

usage: signing_test.py BUILD    (a win32 build folder)
"""
import tempfile
import zipfile
from pathlib import Path

from release import check, main, package, run, with_env

PASSWORD = "throwaway-signing-test"


def make_certificate(folder):
    """A self-signed code-signing certificate: cert.pem, and signer.pfx with its key."""
    env = with_env(NB_SIGN_PASSWORD=PASSWORD)
    for command in [
        ["openssl", "req", "-x509", "-newkey", "rsa:2048", "-nodes", "-days", "2",
         "-subj", "/CN=Night Broom signing test", "-addext", "extendedKeyUsage=codeSigning",
         "-keyout", folder / "key.pem", "-out", folder / "cert.pem"],
        ["openssl", "pkcs12", "-export", "-inkey", folder / "key.pem", "-in", folder / "cert.pem",
         "-out", folder / "signer.pfx", "-passout", "env:NB_SIGN_PASSWORD"],
    ]:
        code, said = run(command, env=env)
        check(code == 0, f"openssl failed:\n{said}")
    return folder / "cert.pem", folder / "signer.pfx"


def verify(file, root=None):
    command = ["osslsigncode", "verify", "-in", file]
    if root:
        command += ["-CAfile", root]
    return run(command)


def test(build):
    with tempfile.TemporaryDirectory() as tmp:
        tmp = Path(tmp)
        root, pfx = make_certificate(tmp)
        out = tmp / "release"
        version, said = package(build, out, "--sign", pfx, env=with_env(NB_SIGN_PASSWORD=PASSWORD))
        check("unsigned" not in said, f"tools/package says the files are unsigned:\n{said}")

        msi = out / f"NightBroom-{version}.msi"
        from_msi = tmp / "from-msi"
        code, said = run(["msiextract", "-C", from_msi, msi])
        check(code == 0, f"msiextract failed:\n{said}")
        installed = list(from_msi.rglob("NightBroom.exe"))
        check(len(installed) == 1, f"the package holds {len(installed)} NightBroom.exe")
        from_zip = tmp / "from-zip.exe"
        with zipfile.ZipFile(out / f"NightBroom-{version}-portable.zip") as z:
            from_zip.write_bytes(z.read("NightBroom.exe"))

        for file in [msi, installed[0], from_zip]:
            code, said = verify(file, root)
            check(code == 0, f"{file.name}: the signature does not verify:\n{said}")
            code, said = verify(file)
            check(code != 0, f"{file.name}: verified without the test certificate as a trusted root")
            tampered = tmp / f"tampered-{file.name}"
            data = bytearray(file.read_bytes())
            data[len(data) // 2] ^= 0xFF
            tampered.write_bytes(data)
            code, said = verify(tampered, root)
            check(code != 0, f"{file.name}: verified with a byte of its content changed")


if __name__ == "__main__":
    main(test)
