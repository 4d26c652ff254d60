#!/usr/bin/python3
"""Compares midiinfo's view of MIDI files with one computed from mido's parse.

Writes a set of files with mido (format 0 and 1, running status), adds the
files of the given corpus folders, runs midiinfo on all of them and rebuilds
each pattern from mido's messages by the pattern list's rules. Exits 1 on any
difference, or when a writer's set has no files.
"""
import argparse
import json
import os
import subprocess
import sys

import mido


def write_mido_files(out):
    os.makedirs(out, exist_ok=True)
    paths = []

    def save(mf, name):
        path = os.path.join(out, name)
        mf.save(path)
        paths.append(path)

    # Format 1: conductor, then two note tracks (the last one is the pattern).
    mf = mido.MidiFile(type=1, ticks_per_beat=480)
    cond = mido.MidiTrack()
    cond.append(mido.MetaMessage('set_tempo', tempo=652174))
    cond.append(mido.MetaMessage('time_signature', numerator=7, denominator=8))
    cond.append(mido.MetaMessage('set_tempo', tempo=300000, time=960))  # only the first counts
    mf.tracks.append(cond)
    for base, channel in ((36, 1), (52, 2)):
        t = mido.MidiTrack()
        t.append(mido.MetaMessage('track_name', name='Part/%d' % base))
        for i in range(24):
            t.append(mido.Message('note_on', channel=channel, note=base + i % 12, velocity=90,
                                  time=0 if i == 0 else 60))
            t.append(mido.Message('note_off', channel=channel, note=base + i % 12, time=100 + i))
            t.append(mido.Message('control_change', channel=channel, control=1, value=i, time=0))
        t.append(mido.Message('pitchwheel', channel=channel, pitch=8191, time=30))
        mf.tracks.append(t)
    save(mf, 'mido_format1_three_tracks.mid')

    # Format 0, 6/8 at 96: overlapping same pitch, velocity-0 note-offs,
    # notes left open, pressure, program change and system exclusive.
    mf = mido.MidiFile(type=0, ticks_per_beat=96)
    t = mido.MidiTrack()
    mf.tracks.append(t)
    t.append(mido.MetaMessage('time_signature', numerator=6, denominator=8))
    t.append(mido.MetaMessage('set_tempo', tempo=500000))
    t.append(mido.Message('program_change', program=27))
    t.append(mido.Message('sysex', data=[0x7E, 0x7F, 0x09, 0x01]))
    for i in range(40):
        note = 48 + (i * 7) % 30
        t.append(mido.Message('note_on', note=note, velocity=1 + i * 3, time=12))
        t.append(mido.Message('note_on', note=note, velocity=70, time=5))  # same pitch again
        t.append(mido.Message('note_on', note=note, velocity=0, time=20))
        if i % 3:
            t.append(mido.Message('note_on', note=note, velocity=0, time=7))
        t.append(mido.Message('aftertouch', value=i, time=1))
        t.append(mido.Message('polytouch', note=note, value=i, time=0))
    t.append(mido.Message('note_on', note=100, velocity=64, channel=15, time=500))
    save(mf, 'mido_format0_overlaps.mid')

    # Format 1 whose notes sit in the first chunk only; lyrics as names.
    mf = mido.MidiFile(type=1, ticks_per_beat=240)
    t = mido.MidiTrack()
    t.append(mido.MetaMessage('time_signature', numerator=5, denominator=4))
    t.append(mido.MetaMessage('lyrics', text='la/la'))
    for i in range(10):
        t.append(mido.Message('note_on', note=60 + i, velocity=64, time=240))
        t.append(mido.Message('note_off', note=60 + i, time=240))
    mf.tracks.append(t)
    t = mido.MidiTrack()
    t.append(mido.Message('control_change', control=64, value=127, time=2000))
    mf.tracks.append(t)
    save(mf, 'mido_format1_notes_first.mid')

    # Format 0 with no tempo or time signature, a long gap, controllers only at the end.
    mf = mido.MidiFile(type=0, ticks_per_beat=1000)
    t = mido.MidiTrack()
    mf.tracks.append(t)
    t.append(mido.Message('note_on', note=0, velocity=127))
    t.append(mido.Message('note_on', note=127, velocity=127, time=1))
    t.append(mido.Message('note_off', note=0, time=100000))
    t.append(mido.Message('control_change', control=10, value=5, time=5000000))
    save(mf, 'mido_format0_long.mid')
    return paths


def first_chunk_meta(track):
    """First time signature and tempo of a chunk, up to End of Track."""
    num, dd, tempo = 4, 2, 500000
    have_sig = have_tempo = False
    for msg in track:
        if msg.type == 'end_of_track':
            break
        if msg.type == 'time_signature' and not have_sig:
            have_sig = True
            num, dd = msg.numerator, msg.denominator.bit_length() - 1
        elif msg.type == 'set_tempo' and not have_tempo:
            have_tempo = True
            tempo = msg.tempo
    return num, 1 << dd, tempo


def until_end(track):
    for msg in track:
        if msg.type == 'end_of_track':
            return
        yield msg


def is_note(msg):
    return msg.type in ('note_on', 'note_off')


def expected(path):
    try:
        mf = mido.MidiFile(path)
    except Exception as e:  # mido refuses the file
        return {'ok': False, 'mido': str(e)}
    tracks = mf.tracks
    if not tracks:
        return {'ok': False, 'mido': 'no tracks'}
    num, den, tempo = first_chunk_meta(tracks[0])
    chosen = 0
    for i in range(1, len(tracks)):
        if any(is_note(m) for m in until_end(tracks[i])):
            chosen = i

    events = []  # [time, is_note, note, duration]
    open_notes = {}
    tick = 0
    for msg in until_end(tracks[chosen]):
        tick += msg.time
        if msg.type == 'note_on' and msg.velocity > 0:
            ev = [tick, True, msg.note, -1]
            events.append(ev)
            open_notes.setdefault((msg.channel, msg.note), []).append(ev)
        elif is_note(msg):
            queue = open_notes.get((msg.channel, msg.note))
            if queue:
                ev = queue.pop(0)
                ev[3] = tick - ev[0]
        elif msg.type in ('polytouch', 'control_change', 'aftertouch', 'pitchwheel'):
            events.append([tick, False, None, 0])

    last, used = -1, set()
    for time, note, number, duration in events:
        end = time + duration if note and duration != -1 else time
        if note:
            used.add(number)
        last = max(last, end)
    division = mf.ticks_per_beat
    per_bar = max(1, num * division * 4 // den)
    bars = 0 if last < 0 else (last + per_bar - 1) // per_bar
    return {'ok': True, 'division': division, 'tempo': tempo, 'timeSigNumerator': num,
            'timeSigDenominator': den, 'events': len(events), 'noteCount': len(used),
            'lowestNote': min(used) if used else 127, 'highestNote': max(used) if used else 0,
            'lastTick': last, 'bars': bars}


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument('--midiinfo', required=True)
    ap.add_argument('--work', required=True)
    ap.add_argument('corpus', nargs='*', help='folders of .mid files, each one writer\'s set')
    args = ap.parse_args()

    sets = {'mido': write_mido_files(os.path.join(args.work, 'mido'))}
    for folder in args.corpus:
        sets[folder] = sorted(os.path.join(folder, f) for f in os.listdir(folder) if f.endswith('.mid'))
    files = [f for paths in sets.values() for f in paths]
    empty = [name for name, paths in sets.items() if not paths]

    run = subprocess.run([args.midiinfo] + files, stdout=subprocess.PIPE, check=False)
    if run.returncode != 0:
        print('midiinfo exited with %d' % run.returncode)
        return 1
    lines = run.stdout.decode().splitlines()
    if len(lines) != len(files):
        print('midiinfo printed %d lines for %d files' % (len(lines), len(files)))
        return 1

    bad = 0
    for path, line in zip(files, lines):
        got = json.loads(line)
        want = expected(path)
        if got.get('file') != path:
            print('%s: line is for %s' % (path, got.get('file')))
            bad += 1
            continue
        keys = ['ok'] if not want['ok'] else list(want)
        diff = {k: (got.get(k), want[k]) for k in keys if got.get(k) != want[k]}
        if diff:
            bad += 1
            print('%s: differs (midiinfo, mido): %s' % (path, diff))
        else:
            print('%s: same, %s' % (path, line))
    for name in empty:
        print('no files in %s' % name)
    print('%d files compared, %d differ' % (len(files), bad))
    return 1 if bad or empty else 0


if __name__ == '__main__':
    sys.exit(main())
