#!/usr/bin/env python3
"""The build's LZNT1 coder and its check of compressed pictures (scripts/lznt1.py)."""

import os
import subprocess
import sys
import tempfile
import unittest

SCRIPTS = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "scripts")
ASSETS = os.path.join(SCRIPTS, "..", "assets")
sys.path.insert(0, SCRIPTS)
import lznt1  # noqa: E402


def noise(size):
    """Bytes that do not compress, the same every run."""
    state, out = 1, bytearray()
    for _ in range(size):
        state = (state * 1103515245 + 12345) & 0x7FFFFFFF
        out.append(state >> 16 & 0xFF)
    return bytes(out)


class Coder(unittest.TestCase):
    def test_what_it_compresses_decompresses_to_the_same_bytes(self):
        rows = bytes(range(256)) * 40  # matches at every distance the chunk allows
        cases = {
            "empty": b"",
            "one byte": b"x",
            "shorter than a match": b"ab",
            "one full chunk of a byte": b"\0" * 4096,
            "a byte more than a chunk": b"\0" * 4097,
            "rows over several chunks": rows,
            "noise, stored as it is": noise(5000),
            "noise between runs": b"\1" * 100 + noise(3000) + b"\2" * 5000 + noise(20),
        }
        for name, data in cases.items():
            with self.subTest(name):
                self.assertEqual(lznt1.decompress(lznt1.compress(data)), data)
        # Stored chunks: each only a header longer than its data.
        self.assertEqual(len(lznt1.compress(noise(5000))), 5000 + 2 * 2)

    def test_the_decoder_refuses_what_windows_would_read_otherwise_or_not_at_all(self):
        good = lznt1.compress(b"\0" * 5000)
        short_first = lznt1.compress(b"\0" * 100) + lznt1.compress(b"\0" * 100)
        reaching_back = bytes((0x02, 0xB0, 0x01, 0x00, 0x00))  # a reference before any byte
        for name, data in {
            "cut short": good[:-1],
            "a header cut in half": good + b"\0",
            "a first chunk of fewer than 4096 bytes": short_first,
            "a reference before the chunk's start": reaching_back,
        }.items():
            with self.subTest(name):
                with self.assertRaises(lznt1.Lznt1Error):
                    lznt1.decompress(data)


class PictureCheck(unittest.TestCase):
    def check(self, data, width, height):
        with tempfile.TemporaryDirectory() as folder:
            path = os.path.join(folder, "picture.bmp.lznt1")
            with open(path, "wb") as f:
                f.write(data)
            run = subprocess.run([sys.executable, os.path.join(SCRIPTS, "lznt1.py"),
                                  "--check-bmp", path, str(width), str(height)],
                                 capture_output=True, text=True)
            return run.returncode, run.stderr.replace(path, "<file>")

    def test_passes_the_committed_pictures_and_fails_naming_a_wrong_one(self):
        with open(os.path.join(ASSETS, "buttons.bmp.lznt1"), "rb") as f:
            strip = f.read()
        self.assertEqual(self.check(strip, 65, 26), (0, ""))
        for name, data, width, height in [
            ("truncated", strip[:-1], 65, 26),
            ("claimed a row shorter", strip, 65, 25),
            ("claimed the same file size with another header", strip, 34, 49),
        ]:
            with self.subTest(name):
                status, message = self.check(data, width, height)
                self.assertNotEqual(status, 0)
                self.assertIn("<file>: not the compressed", message)


if __name__ == "__main__":
    unittest.main()
