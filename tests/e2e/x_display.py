"""A very small X11 client in plain Python: connects to a local X server and reads pixels.

The end-to-end tests look at what the player sees by reading the root window with GetImage, which
is far quicker than starting a screenshot program for every look. Only what the tests need is
here: the connection set-up, the root window's size and GetImage in ZPixmap format on a 24-bit
TrueColor screen with 32 bits per pixel (what Xvfb gives with -screen 0 WxHx24).
"""

import socket
import struct
import zlib

OPCODE_GET_IMAGE = 73
FORMAT_Z_PIXMAP = 2


class XError(Exception):
    pass


def _pad(length):
    return (4 - length % 4) % 4


class Image:
    """Pixels of a rectangle of the screen, 4 bytes a pixel (blue, green, red, unused)."""

    def __init__(self, width, height, data):
        self.width = width
        self.height = height
        self.data = data

    @classmethod
    def from_rgb(cls, width, height, rgb):
        """An image of 3 bytes a pixel (red, green, blue), as ImageMagick's rgb: output gives."""
        bgrx = bytearray(len(rgb) // 3 * 4)
        bgrx[0::4] = rgb[2::3]
        bgrx[1::4] = rgb[1::3]
        bgrx[2::4] = rgb[0::3]
        return cls(width, height, bytes(bgrx))

    @classmethod
    def from_rgba(cls, width, height, rgba):
        """An image of 4 bytes a pixel (red, green, blue, alpha), as a browser's canvas gives."""
        bgrx = bytearray(rgba)
        bgrx[0::4], bgrx[2::4] = bgrx[2::4], bgrx[0::4]
        return cls(width, height, bytes(bgrx))

    def pixel(self, x, y):
        offset = (y * self.width + x) * 4
        blue, green, red = self.data[offset], self.data[offset + 1], self.data[offset + 2]
        return red, green, blue

    def sampled(self, step):
        """Every step-th pixel of every step-th row: a screen step times larger seen at the size of
        the drawing space."""
        if step == 1:
            return self
        pixels = memoryview(self.data).cast("I")
        rows = [pixels[row * self.width:(row + 1) * self.width:step].tobytes()
                for row in range(0, self.height, step)]
        return Image(len(range(0, self.width, step)), len(rows), b"".join(rows))

    def resized(self, width, height):
        """The image stretched or shrunk to width x height, each pixel the nearest one's."""
        pixels = memoryview(self.data).cast("I")
        columns = [x * self.width // width for x in range(width)]
        rows = []
        for y in range(height):
            row = pixels[(y * self.height // height) * self.width:][:self.width]
            rows.append(memoryview(bytearray(4 * width)).cast("I"))
            for x, column in enumerate(columns):
                rows[-1][x] = row[column]
        return Image(width, height, b"".join(row.tobytes() for row in rows))

    def crop(self, x, y, width, height):
        rows = []
        for row in range(y, y + height):
            start = (row * self.width + x) * 4
            rows.append(self.data[start:start + width * 4])
        return Image(width, height, b"".join(rows))

    def same_as(self, other):
        return self.width == other.width and self.height == other.height and self.data == other.data

    def mean_difference(self, other, step=1):
        """Mean absolute difference per colour channel (0..255), over every step-th pixel."""
        assert self.width == other.width and self.height == other.height
        total = 0
        count = 0
        for y in range(0, self.height, step):
            base = y * self.width * 4
            for x in range(0, self.width, step):
                offset = base + x * 4
                for channel in range(3):
                    total += abs(self.data[offset + channel] - other.data[offset + channel])
                count += 3
        return total / count if count else 0.0

    def is_black(self, step=8):
        for y in range(0, self.height, step):
            base = y * self.width * 4
            for x in range(0, self.width, step):
                offset = base + x * 4
                if self.data[offset] > 16 or self.data[offset + 1] > 16 or self.data[offset + 2] > 16:
                    return False
        return True

    def write_png(self, path):
        raw = bytearray()
        for y in range(self.height):
            raw.append(0)  # no filter on this row
            row = self.data[y * self.width * 4:(y + 1) * self.width * 4]
            rgb = bytearray(self.width * 3)
            rgb[0::3] = row[2::4]
            rgb[1::3] = row[1::4]
            rgb[2::3] = row[0::4]
            raw += rgb

        def chunk(kind, body):
            return (struct.pack(">I", len(body)) + kind + body +
                    struct.pack(">I", zlib.crc32(kind + body) & 0xFFFFFFFF))

        header = struct.pack(">IIBBBBB", self.width, self.height, 8, 2, 0, 0, 0)
        with open(path, "wb") as png:
            png.write(b"\x89PNG\r\n\x1a\n")
            png.write(chunk(b"IHDR", header))
            png.write(chunk(b"IDAT", zlib.compress(bytes(raw), 6)))
            png.write(chunk(b"IEND", b""))


class XDisplay:
    """One connection to the X server of display :number, over its local socket."""

    def __init__(self, number):
        self.sock = socket.socket(socket.AF_UNIX, socket.SOCK_STREAM)
        self.sock.connect("/tmp/.X11-unix/X%d" % number)
        self.sock.sendall(struct.pack("<BxHHHHxx", 0x6C, 11, 0, 0, 0))
        prefix = self._read(8)
        status, _, _, _, extra = struct.unpack("<BBHHH", prefix)
        body = self._read(extra * 4)
        if status != 1:
            raise XError("the X server refused the connection: %r" % body[:prefix[1]])
        vendor_length, = struct.unpack_from("<H", body, 16)
        screen_count, format_count = struct.unpack_from("<BB", body, 20)
        if screen_count < 1:
            raise XError("the X server has no screen")
        offset = 32 + vendor_length + _pad(vendor_length)
        self.bits_per_pixel = {}
        for index in range(format_count):
            depth, bpp = struct.unpack_from("<BB", body, offset + index * 8)
            self.bits_per_pixel[depth] = bpp
        offset += format_count * 8
        self.root, = struct.unpack_from("<I", body, offset)
        self.width, self.height = struct.unpack_from("<HH", body, offset + 20)
        self.root_depth, = struct.unpack_from("<B", body, offset + 38)
        if self.root_depth != 24 or self.bits_per_pixel.get(24) != 32:
            raise XError("expected a 24-bit screen stored in 32 bits a pixel")
        self.sequence = 0

    def close(self):
        self.sock.close()

    def _read(self, length):
        chunks = []
        while length > 0:
            chunk = self.sock.recv(min(length, 1 << 20))
            if not chunk:
                raise XError("the X server closed the connection")
            chunks.append(chunk)
            length -= len(chunk)
        return b"".join(chunks)

    def grab(self, x=0, y=0, width=None, height=None):
        """The root window's pixels in the rectangle, clipped to the screen."""
        width = self.width - x if width is None else width
        height = self.height - y if height is None else height
        request = struct.pack("<BBHIhhHHI", OPCODE_GET_IMAGE, FORMAT_Z_PIXMAP, 5, self.root, x, y,
                              width, height, 0xFFFFFFFF)
        self.sock.sendall(request)
        self.sequence = (self.sequence + 1) & 0xFFFF
        while True:
            header = self._read(32)
            kind = header[0]
            if kind == 0:
                raise XError("GetImage failed with X error %d" % header[1])
            if kind == 1:
                length, = struct.unpack_from("<I", header, 4)
                return Image(width, height, self._read(length * 4)[:width * height * 4])
            # An event: the tests select none, but skip whatever comes.
