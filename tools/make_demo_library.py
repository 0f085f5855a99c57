#!/usr/bin/env python3
"""make_demo_library.py DIR: a small sample library to browse at once: subfolders, 8-bit and
16-bit PCM WAV files in mono and stereo at several rates, short hits and a few seconds of pad,
some MIDI files, one 24-bit WAV (the player refuses it) and one corrupt WAV."""
import os, sys
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from sounds import tone, wav, write, midi

root = sys.argv[1]
for sub in ("", "Drums", "Drums/Kicks", "Pads", "Loops", "MIDI", "Odd"):
    os.makedirs(os.path.join(root, sub), exist_ok=True)
def put(rel, content):
    write(os.path.join(root, rel), content)

put("Welcome.wav", wav(tone(523.25, 0.6, 22050, 16, 1, 0.5, decay=3), 22050, 16, 1))
put("Drums/Kicks/Kick 808.wav", wav(tone(55, 0.5, 44100, 16, 1, 0.9, decay=8), 44100, 16, 1))
put("Drums/Kicks/Kick Lo-Fi.wav", wav(tone(60, 0.4, 11025, 8, 1, 0.9, decay=9), 11025, 8, 1))
put("Drums/Snare.wav", wav(tone(0, 0.25, 44100, 16, 2, 0.6, decay=18), 44100, 16, 2))
put("Drums/Hat Closed.wav", wav(tone(0, 0.08, 22050, 8, 1, 0.4, decay=40, seed=7), 22050, 8, 1))
put("Drums/Hat Open.wav", wav(tone(0, 0.4, 22050, 16, 2, 0.4, decay=8, seed=8), 22050, 16, 2))
put("Pads/Warm Pad A.wav", wav(tone(220, 4.0, 44100, 16, 2, 0.35), 44100, 16, 2))
put("Pads/Glass Pad E.wav", wav(tone(329.63, 3.0, 32000, 16, 1, 0.3), 32000, 16, 1))
put("Pads/Old Organ.wav", wav(tone(261.63, 2.5, 8000, 8, 1, 0.4), 8000, 8, 1))
put("Loops/Sine Loop 440.wav", wav(tone(440, 1.0, 44100, 16, 2, 0.4), 44100, 16, 2))
put("Loops/Bass Loop 110.wav", wav(tone(110, 2.0, 22050, 16, 1, 0.6), 22050, 16, 1))
put("MIDI/Scale.mid", midi([(60 + i, 48) for i in (0, 2, 4, 5, 7, 9, 11, 12)]))
put("MIDI/Arpeggio.mid", midi([(n, 24) for n in (48, 52, 55, 60, 64, 67, 72)] * 2))
put("Chime.mid", midi([(72, 96), (67, 96), (76, 192)]))
put("Odd/Studio 24-bit.wav", wav(tone(440, 0.5, 48000, 24, 2, 0.5), 48000, 24, 2))
put("Odd/Broken.wav", b"RIFF\x10\x00\x00\x00WAVEfmt \x10\x00\x00\x00\x01\x00")
open(os.path.join(root, ".stamp"), "w").close()
