#!/usr/bin/env python3
"""The meters' 20-symbol text through Python's own base64 with the alphabet translated, to
check the program's encoder and decoder against.

usage: reference_text.py encode FILE   (lines of 30 hex digits -> lines of 20 symbols)
       reference_text.py decode FILE   (lines of 20 symbols -> lines of 30 hex digits)
"""
import base64
import sys

STANDARD = b"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/"
METERS = b"0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ^_abcdefghijklmnopqrstuvwxyz"
TO_METERS = bytes.maketrans(STANDARD, METERS)
TO_STANDARD = bytes.maketrans(METERS, STANDARD)


def main(argv):
    if len(argv) != 3 or argv[1] not in ("encode", "decode"):
        sys.exit(__doc__)
    with open(argv[2], "rb") as lines:
        for line in lines.read().split():
            if argv[1] == "encode":
                print(base64.b64encode(bytes.fromhex(line.decode())).translate(TO_METERS).decode())
            else:
                print(base64.b64decode(line.translate(TO_STANDARD), validate=True).hex().upper())


if __name__ == "__main__":
    main(sys.argv)
