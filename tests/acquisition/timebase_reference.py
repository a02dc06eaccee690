"""Sample time stamps of scheduled recordings, worked out with Python's datetime.

Reads cases from a file, one a line, tab-separated:
  segment text, segment start, acquisition seconds, repetition seconds, interval,
  record seconds, sample index
and prints the time stamp of each ("" when the date leaves years 100-9999).
"""
import datetime
import sys


def samples_per_acquisition(seconds, interval):
    extra = {0.125: 4, 0.25: 2, 0.5: 1}
    if interval in extra:
        return int(seconds / interval + extra[interval])
    return int(seconds / interval) if interval > 0 else 0


def stamp(text, start, acquisition, repetition, interval, record_seconds, index):
    parts = text.split('#')
    count = int(parts[0])
    base_text = parts[2] if index > count and len(parts) > 2 else parts[1]
    base = datetime.datetime.strptime(base_text.strip(), '%Y/%m/%d %H:%M:%S')
    per = samples_per_acquisition(acquisition, interval)
    done = (start + index) // per if per > 0 else 0
    try:
        when = base + datetime.timedelta(seconds=done * repetition + record_seconds)
    except OverflowError:
        return ''
    if when.year < 100:
        return ''
    return '%04d/%02d/%02d %02d:%02d:%02d' % (when.year, when.month, when.day, when.hour,
                                              when.minute, when.second)


with open(sys.argv[1]) as cases:
    for line in cases:
        text, start, acquisition, repetition, interval, record_seconds, index = \
            line.rstrip('\n').split('\t')
        print(stamp(text, int(start), int(acquisition), int(repetition), float(interval),
                    int(record_seconds), int(index)))
