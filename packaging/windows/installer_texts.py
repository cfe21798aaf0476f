#!/usr/bin/env python3
# Prints the texts of an NSIS installer's pages and of its uninstaller's, one a line: the UTF-16
# strings of the installer's header and of the uninstaller's that the installer holds. Both are
# solid LZMA streams after their "first header", as makensis writes a /SOLID lzma installer.
#   installer_texts.py INSTALLER
import lzma, re, struct, sys

FIRST_HEADER = b'\xef\xbe\xad\xdeNullsoftInst'

def texts(data):
    at = data.find(FIRST_HEADER)
    raw = data[at + len(FIRST_HEADER) + 8:]
    # The stream has no size: LZMA's "alone" format takes an unknown one.
    stream = lzma.LZMADecompressor(format=lzma.FORMAT_ALONE).decompress(
        raw[:5] + b'\xff' * 8 + raw[5:])
    found = []
    p = 0
    while p + 4 <= len(stream):
        size = struct.unpack('<I', stream[p:p + 4])[0] & 0x7fffffff
        block = stream[p + 4:p + 4 + size]
        if p == 0:
            found += re.findall(r'[^\x00-\x1f\ue000-\uffff]{2,}',
                                block.decode('utf-16-le', errors='replace'))
        elif block.find(FIRST_HEADER) == 4:
            found += texts(block)
        p += 4 + size
    return found

print('\n'.join(texts(open(sys.argv[1], 'rb').read())))
