#!/usr/bin/env python3
"""The meters' keystream generator, written from its description and nothing else, to check
the program's generator against.

usage: reference_keystream.py (--key TEXT | --state HEX) COUNT...

--key loads the state with the RC4 key schedule of TEXT; --state takes 256 state bytes as hex
(any byte values, not only permutations). For each COUNT in turn the generator advances by
that many cycles and the keystream (30 hex digits) is printed; the final state (512 hex
digits) is printed last.
"""
import sys


def rc4_key_schedule(key):
    s = list(range(256))
    j = 0
    for i in range(256):
        j = (j + s[i] + key[i % len(key)]) % 256
        s[i], s[j] = s[j], s[i]
    return s


def advance(state, keystream, count):
    for _ in range(count):
        j = 0
        for i in range(1, 16):
            j = (j + state[i]) % 256
            state[i], state[j] = state[j], state[i]
            keystream[i - 1] = state[(state[i] + state[j]) % 256]


def main(argv):
    if len(argv) < 3 or argv[1] not in ("--key", "--state"):
        sys.exit(__doc__)
    if argv[1] == "--key":
        state = rc4_key_schedule(argv[2].encode("latin-1"))
    else:
        state = list(bytes.fromhex(argv[2]))
        if len(state) != 256:
            sys.exit("the state needs 256 bytes")
    keystream = [0] * 15
    for count in argv[3:]:
        advance(state, keystream, int(count))
        print(bytes(keystream).hex().upper())
    print(bytes(state).hex().upper())


if __name__ == "__main__":
    main(sys.argv)
