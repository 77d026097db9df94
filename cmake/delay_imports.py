#!/usr/bin/env python3
"""delay_imports.py --fill BINARY MAP: run after each link of a program. GNU ld
links the delay-load libraries (dlltool -y) without filling the image's Delay
Import Directory (data directory 13): the descriptors are in the image, but no
tool can find them. This finds them by the linker's map (the
__DELAY_IMPORT_DESCRIPTOR_<library> symbols, which lie one after the other,
ended by the zero descriptor toolkit/checked_libraries.cpp places after them)
and writes the directory entry. Windows' loader does not read it; the program's
delay-load helper is handed each descriptor by the calls themselves.

delay_imports.py --list BINARY: prints each delay import, a line of library,
a tab and the function's name (empty for one by ordinal)."""
import re
import struct
import sys

DESCRIPTOR = 32  # ImgDelayDescr: attributes and seven addresses
DELAY_DIRECTORY = 13


def fail(text):
    sys.exit("delay_imports: " + text)


class Image:
    def __init__(self, data):
        if data[:2] != b"MZ":
            fail("not a program image")
        pe = struct.unpack_from("<I", data, 0x3C)[0]
        if data[pe:pe + 4] != b"PE\0\0" or struct.unpack_from("<H", data, pe + 24)[0] != 0x10B:
            fail("not a 32-bit PE image")
        count, optional_size = struct.unpack_from("<H", data, pe + 6)[0], struct.unpack_from("<H", data, pe + 20)[0]
        self.data = data
        self.optional = pe + 24
        self.base = struct.unpack_from("<I", data, self.optional + 28)[0]
        table = self.optional + optional_size
        self.sections = [struct.unpack_from("<IIII", data, table + 40 * i + 8) for i in range(count)]

    def offset(self, rva):
        for _, address, raw_size, raw in self.sections:
            if address <= rva < address + raw_size:
                return raw + rva - address
        fail("address 0x%x lies in no section's data" % rva)

    def u32(self, rva):
        return struct.unpack_from("<I", self.data, self.offset(rva))[0]

    def text(self, rva):
        at = self.offset(rva)
        return self.data[at:self.data.index(b"\0", at)].decode("ascii")

    def directory_at(self):
        return self.optional + 96 + 8 * DELAY_DIRECTORY

    def descriptors(self, rva):
        """The descriptors from rva on, up to the zero one."""
        found = []
        while True:
            fields = struct.unpack_from("<8I", self.data, self.offset(rva))
            if not any(fields):
                return found
            if fields[0] != 1:
                fail("the delay descriptor at 0x%x does not hold addresses relative to the image" % rva)
            found.append(fields)
            rva += DESCRIPTOR


def fill(binary, map_file):
    with open(map_file) as f:
        symbols = re.findall(r"^\s+0x([0-9a-f]+)\s+_+DELAY_IMPORT_DESCRIPTOR_\S+$", f.read(), re.M)
    with open(binary, "rb") as f:
        image = Image(bytearray(f.read()))
    if not symbols:
        fail("%s: the map %s names no delay descriptor" % (binary, map_file))
    addresses = sorted(int(s, 16) - image.base for s in symbols)
    first = addresses[0]
    if addresses != [first + DESCRIPTOR * i for i in range(len(addresses))]:
        fail("%s: the delay descriptors do not lie one after the other" % binary)
    found = image.descriptors(first)
    if len(found) != len(addresses):
        fail("%s: %d delay descriptors, %d read before the zero one" % (binary, len(addresses), len(found)))
    for fields in found:
        if not image.text(fields[1]).lower().endswith(".dll"):
            fail("%s: a delay descriptor names no library" % binary)
    struct.pack_into("<II", image.data, image.directory_at(), first, DESCRIPTOR * (len(found) + 1))
    with open(binary, "wb") as f:
        f.write(image.data)


def list_imports(binary):
    with open(binary, "rb") as f:
        image = Image(f.read())
    rva, size = struct.unpack_from("<II", image.data, image.directory_at())
    if not size:
        return
    for fields in image.descriptors(rva):
        library, names = image.text(fields[1]), fields[4]
        while True:
            thunk = image.u32(names)
            if not thunk:
                break
            print("%s\t%s" % (library, "" if thunk & 0x80000000 else image.text(thunk + 2)))
            names += 4


if len(sys.argv) == 4 and sys.argv[1] == "--fill":
    fill(sys.argv[2], sys.argv[3])
elif len(sys.argv) == 3 and sys.argv[1] == "--list":
    list_imports(sys.argv[2])
else:
    sys.exit(__doc__)
