#!/usr/bin/python3
"""Checks that PNG files read the same in Pillow, libpng (pngcheck) and a browser (headless
Chromium): the CRC-32 of every pixel's red, green and blue, as each decoder sees them.

    tools/bench/png_readers.py picture.png ...

Needs python3-pil, pngcheck and chromium (Debian packages). Exits 1 when any reader differs."""
import base64
import re
import subprocess
import sys
import tempfile
import zlib
from pathlib import Path

from PIL import Image

PAGE = """<html><body><script>
const table = new Uint32Array(256);
for (let n = 0; n < 256; ++n) {
  let c = n;
  for (let k = 0; k < 8; ++k) c = c & 1 ? 0xEDB88320 ^ (c >>> 1) : c >>> 1;
  table[n] = c >>> 0;
}
const img = new Image();
img.onload = () => {
  const canvas = document.createElement('canvas');
  canvas.width = img.width;
  canvas.height = img.height;
  const g = canvas.getContext('2d');
  g.drawImage(img, 0, 0);
  const d = g.getImageData(0, 0, img.width, img.height).data;
  let crc = 0xFFFFFFFF;
  for (let p = 0; p < d.length; p += 4)
    for (let k = 0; k < 3; ++k) crc = table[(crc ^ d[p + k]) & 0xFF] ^ (crc >>> 8);
  document.body.setAttribute('data-crc', ((crc ^ 0xFFFFFFFF) >>> 0) + ' ' + img.width + 'x' + img.height);
};
img.src = 'data:image/png;base64,DATA';
</script></body></html>"""


def browser_crc(png, folder):
    page = Path(folder) / "page.html"
    page.write_text(PAGE.replace("DATA", base64.b64encode(png.read_bytes()).decode()))
    out = subprocess.run(["chromium", "--headless", "--no-sandbox", "--disable-gpu",
                          "--virtual-time-budget=30000", "--dump-dom", page.as_uri()],
                         capture_output=True, text=True).stdout
    m = re.search(r'data-crc="(\d+) (\d+)x(\d+)"', out)
    return (int(m.group(1)), int(m.group(2)), int(m.group(3))) if m else None


def main(paths):
    bad = 0
    with tempfile.TemporaryDirectory() as folder:
        for path in map(Path, paths):
            image = Image.open(path).convert("RGB")
            pillow = (zlib.crc32(image.tobytes()), *image.size)
            libpng = subprocess.run(["pngcheck", "-q", str(path)]).returncode == 0
            browser = browser_crc(path, folder)
            same = libpng and browser == pillow
            bad += not same
            print(f"{path}: Pillow {pillow}, Chromium {browser}, pngcheck {'ok' if libpng else 'FAILED'}"
                  f" -> {'same' if same else 'DIFFERENT'}")
    return 1 if bad else 0


if __name__ == "__main__":
    if len(sys.argv) < 2:
        sys.exit(__doc__)
    sys.exit(main(sys.argv[1:]))
