"""The recording layouts written out independently with Python's struct module.

make FOLDER   writes a data set of every layout for the readers to read.
check FOLDER  compares the bytes the writers left in FOLDER with the layouts here.
"""
import os
import struct
import sys

NO_VALUE = 0xFF9C


def setup_block(fields, acquisition, repetition):
    block = bytearray(b'\xff' * 500)
    for field, text in fields.items():
        block[11 * field:11 * field + 11] = text.encode('latin-1')[:11].ljust(11, b' ')
    block[484:492] = acquisition.encode('ascii')
    block[492:500] = repetition.encode('ascii')
    return bytes(block)


def time_word(hours, minutes, seconds):
    return ((hours & 15) << 12) | ((minutes & 63) << 6) | (seconds & 63)


def record(word, values):
    return struct.pack('<%dH' % (1 + len(values)), word, *values)


def start_text(text):
    return text.encode('ascii')[:20].ljust(20, b' ')


def octave_values(sample):
    values = [(100 * sample + 10 * band) % 1400 for band in range(12)]
    values[3] = NO_VALUE
    return values


def level_values(sample):
    return [450 + sample, 600 + sample, NO_VALUE, 700 + sample, 800 + sample]


def incomplete_dump_record(level, flags):
    head = b'\x02' + level.encode('ascii')[:2].ljust(2, b' ') + b'@' + bytes([flags])
    body = head + b'DUMP INCOMPLETE'.ljust(60, b'\0')
    return body + b'\xff' + bytes([sum(body) % 256])


def make(folder):
    def write(name, data):
        with open(os.path.join(folder, name), 'wb') as out:
            out.write(data)

    octave = {0: 'QS4160', 6: '2024/03/09', 7: '14:05:07', 13: '20dB', 15: '1s',
              42: 'OCTAVE', 43: '3'}
    labels = bytes([0xBB, 2, 0, 0, 0]) + b'L' * 160
    page_a = labels + setup_block(octave, '00:01:00', '00:10:00') + start_text(
        '2024/03/09 14:05:07')
    page_a += b''.join(record(time_word(14, 5, 7 + s), octave_values(s)) for s in range(3))
    page_b = setup_block(octave, '00:01:00', '00:10:00') + start_text('2024/03/09 14:05:10')
    page_b += b''.join(record(time_word(14, 5, 10 + s), octave_values(3 + s)) for s in range(2))
    write('page_a.rec', page_a)
    write('page_b.rec', page_b)
    write('set.kr9', b'INDEX FILE\r\npage_a.rec\r\n\r\npage_b.rec  \r\n')

    levels = {0: 'QS4060_rn1$1', 13: '10dB', 42: 'SLM', 43: '00000000002'}
    single = setup_block(levels, 'NO SCHED', 'NO SCHED')
    for page, count in enumerate((2, 2, 1)):
        single += start_text('2024/01/31 23:59:5%d' % page)
        single += b''.join(record(time_word(0, 0, 2 * page + s), level_values(2 * page + s))
                           for s in range(count))
    write('single.kr9', single)

    # 0.25 s profile pages of 5 samples keep whole records only: 2 records of 2 samples.
    profile = {0: 'QS4160', 14: '0.25s', 42: 'PROFILE', 43: '5'}
    data = setup_block(profile, 'NO SCHED', 'NO SCHED')
    for page in range(2):
        data += start_text('2024/02/29 12:00:0%d' % page)
        data += b''.join(record(time_word(12, 0, page), [300 + 10 * page + 2 * r,
                                                         301 + 10 * page + 2 * r])
                         for r in range(2))
    write('profile.kr9', data)


def check(folder):
    def read(name):
        with open(os.path.join(folder, name), 'rb') as source:
            return source.read()

    expected = {
        'head.bin': setup_block({0: 'QS4160_L0$1', 1: 'A12345', 42: 'THIRD OCTAV', 43: '00000010000'},
                                '00:01:00', '01:00:00') + start_text('2024/03/09 14:05:07'),
        'unscheduled.bin': setup_block({0: 'QS4060_00$1'}, 'NO SCHED', 'NO SCHED')
        + start_text('2024/12/31 23:59:59'),
        'levels.bin': record(time_word(25, 61, 61), [456, NO_VALUE, 0, 1400, 65535]),
        'octave.bin': record(time_word(1, 2, 3), octave_values(7)),
        'third.bin': record(time_word(23, 59, 59), [10 * band for band in range(33)]),
        'profile.bin': record(time_word(0, 0, 30), [451, 452, NO_VALUE, 454]),
        'incomplete.bin': incomplete_dump_record('12', 0x21),
        'incomplete_first.bin': incomplete_dump_record('0', 0x00),
        'index.kr9': b'INDEX FILE\r\nRecFile_20240309_140507.rec\r\nRecFile_20240309_150000.rec\r\n',
    }
    failed = False
    for name, want in expected.items():
        have = read(name)
        if have != want:
            failed = True
            print('%s differs:\n  have %s\n  want %s' % (name, have.hex(), want.hex()))
    sys.exit(1 if failed else 0)


if __name__ == '__main__':
    {'make': make, 'check': check}[sys.argv[1]](sys.argv[2])
