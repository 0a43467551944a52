#!/usr/bin/env python3
"""Makes the payload archives that the archive tests read, with Info-ZIP zip
(the same kind of tool that real payloads are checked against), and writes
them as C++ byte arrays into payload_fixtures.inc beside this script.

  sample.zip    zip -e: a configuration named in capitals, a binary file, an
                empty file, a stored file and names that need making safe
                (drive prefix, leading separators, parent steps), which zip
                itself refuses to store and which are patched in afterwards
  streamed.zip  zip -e writing to a pipe: data descriptors (flag bit 3), so
                the password check byte comes from the DOS time
  plain.zip     zip without a password
  crc.zip       written here (zip cannot do it): encrypted entries without
                data descriptors, so the check byte is the CRC's high byte,
                as in archives written by tools that compress in memory

Run it again only to change the fixtures; the tests hold the texts below.
"""
import os
import random
import struct
import subprocess
import tempfile
import zlib

PASSWORD = "Velmora-fixture-7"
WRONG_PASSWORD = "wrong-password"
MTIME = 1700000000  # fixed, so the DOS times do not change between runs

CONFIG = b"[s.c]\r\nWidth=600\r\nHeight=400\r\nDefaultLang=en-US\r\n"
BINARY = bytes(range(256)) * 4
STORED = b"stored without compression, but enciphered\n"
# 40,000 bytes over several deflate blocks, for reads in small pieces.
BIG = b"".join(b"line %05d of the larger entry\n" % i for i in range(1300))[:40000]

# Placeholder names of the same length as the names patched in.
PATCHED_NAMES = [
    (b"Q_drive.txt", b"C:drive.txt"),
    (b"__lead.txt", b"//lead.txt"),
    (b"a_.._b.txt", b"a\\..\\b.txt"),
    (b"dd_a.txt", b"..\\a.txt"),
    (b"D_____s____t.txt", b"D:/../s/../t.txt"),
]


def write(path, data):
    with open(path, "wb") as f:
        f.write(data)
    os.utime(path, (MTIME, MTIME))


def patch_names(archive):
    for placeholder, name in PATCHED_NAMES:
        assert len(placeholder) == len(name)
        # Once in the local header, once in the central directory.
        assert archive.count(placeholder) == 2, placeholder
        archive = archive.replace(placeholder, name)
    return archive


def wrong_password_rejected(path, entry="PJCFG.INI"):
    """unzip checks the same header byte that the reader checks."""
    result = subprocess.run(["unzip", "-t", "-P", WRONG_PASSWORD, path, entry],
                            capture_output=True, text=True)
    return "incorrect password" in result.stdout + result.stderr


class PkwareKeys:
    def __init__(self, password):
        self.keys = [0x12345678, 0x23456789, 0x34567890]
        for c in password.encode():
            self.update(c)

    @staticmethod
    def crc(value, byte):
        return zlib.crc32(bytes([byte]), value ^ 0xFFFFFFFF) ^ 0xFFFFFFFF

    def update(self, plain):
        k = self.keys
        k[0] = self.crc(k[0], plain)
        k[1] = ((k[1] + (k[0] & 0xFF)) * 134775813 + 1) & 0xFFFFFFFF
        k[2] = self.crc(k[2], k[1] >> 24)

    def encipher(self, data):
        out = bytearray()
        for plain in data:
            temp = (self.keys[2] & 0xFFFF) | 2
            out.append(plain ^ (((temp * (temp ^ 1)) >> 8) & 0xFF))
            self.update(plain)
        return bytes(out)


def write_crc_checked_zip(path, files, seed):
    rng = random.Random(seed)
    dos_time, dos_date = 0x6A00, 0x576E  # 13:16:00, 2023-11-14
    local, central = bytearray(), bytearray()
    for name, data in files:
        crc = zlib.crc32(data)
        packer = zlib.compressobj(9, zlib.DEFLATED, -15)
        deflated = packer.compress(data) + packer.flush()
        header = bytes(rng.randrange(256) for _ in range(11)) + bytes([crc >> 24])
        body = PkwareKeys(PASSWORD).encipher(header + deflated)
        fields = struct.pack("<HHHHHIIIHH", 20, 1, 8, dos_time, dos_date, crc, len(body),
                             len(data), len(name), 0)
        central += b"PK\1\2" + struct.pack("<H", 20) + fields
        central += struct.pack("<HHHII", 0, 0, 0, 0x20, len(local)) + name
        local += b"PK\3\4" + fields + name + body
    end = struct.pack("<4sHHHHIIH", b"PK\5\6", 0, 0, len(files), len(files), len(central),
                      len(local), 0)
    write(path, bytes(local + central + end))


def make(work):
    os.chdir(work)
    write("PJCFG.INI", CONFIG)
    write("7*setup.dat", BINARY)
    write("empty.txt", b"")
    write("plain.sto", STORED)
    for placeholder, _ in PATCHED_NAMES:
        write(placeholder.decode(), placeholder + b" content\n")
    names = ["PJCFG.INI", "7*setup.dat", "empty.txt", "plain.sto"]
    names += [p.decode() for p, _ in PATCHED_NAMES]
    # The random encryption header makes a wrong password pass the one-byte
    # check in 1 of 256 archives; make another one then.
    while True:
        subprocess.run(["zip", "-q", "-X", "-e", "-P", PASSWORD, "-n", ".sto", "sample.zip"] + names,
                       check=True)
        if wrong_password_rejected("sample.zip"):
            break
        os.remove("sample.zip")
    sample = patch_names(open("sample.zip", "rb").read())
    while True:
        streamed = subprocess.run(["zip", "-q", "-X", "-e", "-P", PASSWORD, "-", "PJCFG.INI"],
                                  check=True, capture_output=True).stdout
        write("streamed.zip", streamed)
        if wrong_password_rejected("streamed.zip"):
            break
    subprocess.run(["zip", "-q", "-X", "plain.zip", "PJCFG.INI", "empty.txt"], check=True)
    plain = open("plain.zip", "rb").read()
    seed = 1
    while True:
        write_crc_checked_zip("crc.zip", [(b"pjcfg.ini", CONFIG), (b"3*big.txt", BIG)], seed)
        if wrong_password_rejected("crc.zip", "pjcfg.ini"):
            break
        seed += 1
    test = subprocess.run(["unzip", "-t", "-P", PASSWORD, "crc.zip"], capture_output=True, text=True)
    assert "No errors detected" in test.stdout, test.stdout
    crc = open("crc.zip", "rb").read()
    return {"kSampleZip": sample, "kStreamedZip": streamed, "kPlainZip": plain, "kCrcZip": crc}


def as_array(name, data):
    lines = [f"inline constexpr unsigned char {name}[{len(data)}] = {{"]
    for i in range(0, len(data), 16):
        lines.append("    " + ", ".join(f"0x{b:02x}" for b in data[i:i + 16]) + ",")
    lines.append("};")
    return "\n".join(lines)


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    with tempfile.TemporaryDirectory() as work:
        archives = make(work)
    text = ["// Made by make_payload_fixtures.py with Info-ZIP zip; do not edit.",
            f'inline constexpr char kFixturePassword[] = "{PASSWORD}";',
            f'inline constexpr char kFixtureWrongPassword[] = "{WRONG_PASSWORD}";']
    text += [as_array(name, data) for name, data in archives.items()]
    with open(os.path.join(here, "payload_fixtures.inc"), "w") as f:
        f.write("\n".join(text) + "\n")


if __name__ == "__main__":
    main()
