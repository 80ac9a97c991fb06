#!/usr/bin/env python3
"""Writes the fuzzer's seed corpus: small archives that reach every branch of
the zip reader. Run it again after changing it; the seeds are kept in git."""
import io
import os
import struct
import zipfile
import zlib

HERE = os.path.dirname(os.path.abspath(__file__))
CORPUS = os.path.join(HERE, "corpus")
DATE = (1980, 1, 1, 0, 0, 0)


def tool_archive(method, files):
    out = io.BytesIO()
    with zipfile.ZipFile(out, "w", method) as archive:
        for name, data in files:
            archive.writestr(zipfile.ZipInfo(name, DATE), data, compress_type=method)
    return out.getvalue()


def local_entry(name, data, method=8, flags=0, crc=None, size=None, zip64=False):
    """zip64: markers in the header and the sizes in a zip64 extra field;
    "bare": the markers alone."""
    payload = zlib.compress(data, 9)[2:-4] if method == 8 else data
    crc = zlib.crc32(data) if crc is None else crc
    size = len(data) if size is None else size
    sizes, extra = (len(payload), size), b""
    if zip64:
        if zip64 != "bare":
            extra = struct.pack("<HHQQ", 1, 16, size, len(payload))
        sizes = (0xFFFFFFFF, 0xFFFFFFFF)
    header = struct.pack("<IHHHHHIIIHH", 0x04034B50, 20, flags, method, 0, 0x21, crc, *sizes,
                         len(name), len(extra))
    return header + name + extra + payload


TEXT = b"wall door maze chunk light pillar secret\n" * 20
SEEDS = {
    "stored.zip": tool_archive(zipfile.ZIP_STORED, [("a.txt", b"hello\n"), ("d/", b""),
                                                    ("d/e/f.bin", bytes(range(64)))]),
    "deflated.zip": tool_archive(zipfile.ZIP_DEFLATED, [("Drevix-Q--main/", b""),
                                                        ("Drevix-Q--main/build/raycaster.exe",
                                                         b"MZ" + TEXT)]),
    "empty_file.zip": tool_archive(zipfile.ZIP_DEFLATED, [("empty", b"")]),
    "parent_step.zip": local_entry(b"../up.txt", b"x") + local_entry(b"ok.txt", b"ok"),
    "absolute.zip": local_entry(b"/tmp/abs.txt", b"x") + local_entry(b"C:\\x.txt", b"x"),
    "backslash.zip": local_entry(b"dir\\sub\\file.txt", TEXT),
    "bad_crc.zip": local_entry(b"bad.txt", TEXT, crc=1) + local_entry(b"next.txt", b"n"),
    "short_size.zip": local_entry(b"short.txt", TEXT, size=len(TEXT) + 5),
    "method12.zip": local_entry(b"bz.bin", TEXT, method=12) + local_entry(b"n.txt", b"n", 0),
    "descriptor.zip": local_entry(b"streamed.txt", TEXT, flags=8),
    "long_name.zip": local_entry(b"n" * 600, b"x") + local_entry(b"after.txt", b"a"),
    # Sizes from the zip64 field, one inflating past its claim, one without.
    "zip64.zip": local_entry(b"z64.txt", TEXT, zip64=True)
    + local_entry(b"liar.bin", bytes(70000), size=100, zip64=True)
    + local_entry(b"unsized.txt", b"u", method=0, zip64="bare"),
    "not_zip.zip": b"<html><body>404 Not Found</body></html>\n",
}

os.makedirs(CORPUS, exist_ok=True)
for name, data in SEEDS.items():
    with open(os.path.join(CORPUS, name), "wb") as seed:
        seed.write(data)
