#!/usr/bin/python3
"""Lossless size work for the rendered pictures, shared by render-skin.py and
render.sh.

    optimise_png(path)         recompresses a PNG in place with zopflipng:
                               the same pixels (colours under full
                               transparency included), smaller file; a
                               picture of at most 256 colours becomes a
                               palette image with alpha, which GDI+ reads
                               to the same pixels
    palette_bmp(path)          rewrites a 24-bit bitmap of at most 256
                               colours as an 8-bit one with those colours
                               as its palette (uncompressed: LoadImage makes
                               DIB sections of the option bitmaps, and those
                               cannot be run-length encoded)
    write_icon(out, frames)    an .ico whose frames are the given PNG files,
                               stored as PNG (Windows Vista and later read
                               PNG frames of any size): a 32-bit frame as a
                               bitmap with its mask is four to ten times
                               larger

    /usr/bin/python3 pngtools.py icon OUT.ico FRAME.png...
"""
import os
import shutil
import struct
import subprocess
import sys
import tempfile


def optimise_png(path):
    if shutil.which("zopflipng") is None:
        sys.exit("pngtools: zopflipng is missing (Debian package zopfli; scripts/install-deps.sh installs it)")
    with tempfile.TemporaryDirectory() as work:
        out = os.path.join(work, "out.png")
        # -m: more iterations. No --lossy_transparent: colours under
        # transparent pixels stay as drawn. zopflipng keeps the input when
        # it cannot do better.
        subprocess.run(["zopflipng", "-y", "-m", path, out], check=True, stdout=subprocess.DEVNULL)
        if os.path.getsize(out) < os.path.getsize(path):
            shutil.copyfile(out, path)


def palette_bmp(path):
    with open(path, "rb") as f:
        data = f.read()
    offset = struct.unpack_from("<I", data, 10)[0]
    size, width, height, planes, bits, compression = struct.unpack_from("<IiiHHI", data, 14)
    if size != 40 or bits != 24 or compression != 0 or height <= 0:
        return
    stride24 = (width * 3 + 3) // 4 * 4
    rows = [data[offset + y * stride24:offset + y * stride24 + width * 3] for y in range(height)]
    colours = sorted({row[x:x + 3] for row in rows for x in range(0, width * 3, 3)})
    if len(colours) > 256:
        return
    index = {c: i for i, c in enumerate(colours)}
    stride8 = (width + 3) // 4 * 4
    pixels = b"".join(bytes(index[row[x:x + 3]] for x in range(0, width * 3, 3)).ljust(stride8, b"\0")
                      for row in rows)
    palette = b"".join(c + b"\0" for c in colours)  # stored blue, green, red as in the pixels
    header_size = 14 + 40 + len(palette)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 8, 0, len(pixels), 2835, 2835, len(colours),
                       len(colours))
    head = struct.pack("<2sIHHI", b"BM", header_size + len(pixels), 0, 0, header_size)
    with open(path, "wb") as f:
        f.write(head + info + palette + pixels)


def png_size(data):
    if data[:8] != b"\x89PNG\r\n\x1a\n" or data[12:16] != b"IHDR":
        raise ValueError("not a PNG file")
    return struct.unpack(">II", data[16:24])


def write_icon(out, frames):
    images = []
    for frame in frames:
        optimise_png(frame)
        with open(frame, "rb") as f:
            data = f.read()
        images.append((png_size(data), data))
    header = struct.pack("<HHH", 0, 1, len(images))
    offset = len(header) + 16 * len(images)
    entries, blobs = b"", b""
    for (width, height), data in images:
        # 256 is written as 0; a PNG frame names 1 plane and 32 bits, as a
        # bitmap frame with alpha would.
        entries += struct.pack("<BBBBHHII", width % 256, height % 256, 0, 0, 1, 32, len(data), offset)
        blobs += data
        offset += len(data)
    with open(out, "wb") as f:
        f.write(header + entries + blobs)


if __name__ == "__main__":
    if len(sys.argv) >= 4 and sys.argv[1] == "icon":
        write_icon(sys.argv[2], sys.argv[3:])
    else:
        sys.exit("usage: pngtools.py icon OUT.ico FRAME.png...")
