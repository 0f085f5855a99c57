"""Writes the sound files that the demo library and the tests use: PCM WAV files of any format,
crafted (malformed) WAV files, and small standard MIDI files."""
import math, random, struct


def tone(freq, seconds, rate, bits=16, channels=1, amp=0.5, decay=0.0, seed=None):
    """PCM data bytes: a sine (freq > 0) or noise (freq 0) with an optional exponential decay."""
    n = int(seconds * rate)
    rnd = random.Random(seed if seed is not None else int(freq * 1000 + rate))
    out = bytearray()
    for i in range(n):
        t = i / rate
        env = amp * math.exp(-decay * t)
        v = math.sin(2 * math.pi * freq * t) if freq > 0 else rnd.uniform(-1, 1)
        for c in range(channels):
            s = v * env * (1.0 if c == 0 else 0.8)
            if bits == 8:
                out.append(max(0, min(255, int(128 + s * 127))))
            elif bits == 16:
                out += struct.pack("<h", max(-32768, min(32767, int(s * 32767))))
            elif bits == 24:
                out += struct.pack("<i", max(-8388608, min(8388607, int(s * 8388607))))[:3]
            else:
                out += struct.pack("<i", int(s * 2147483647))
    return bytes(out)


def fmt_chunk(rate, bits, channels, tag=1, extra=None):
    align = channels * bits // 8
    body = struct.pack("<HHIIHH", tag, channels, rate, rate * align, align, bits)
    if extra is not None:
        body += struct.pack("<H", len(extra)) + extra
    return b"fmt " + struct.pack("<I", len(body)) + body


def chunk(cid, body, pad=True):
    data = cid + struct.pack("<I", len(body)) + body
    if pad and len(body) % 2:
        data += b"\0"
    return data


def wav(data, rate, bits=16, channels=1, tag=1, extra_chunks=b""):
    body = b"WAVE" + fmt_chunk(rate, bits, channels, tag) + extra_chunks + chunk(b"data", data)
    return b"RIFF" + struct.pack("<I", len(body)) + body


def write(path, content):
    with open(path, "wb") as f:
        f.write(content)


def midi(notes, tempo_us=500000, division=96):
    """A format-0 standard MIDI file playing notes: a list of (note, ticks) one after another."""
    track = bytearray()
    track += b"\x00\xff\x51\x03" + tempo_us.to_bytes(3, "big")
    track += b"\x00\xc0\x00"                      # piano
    for note, ticks in notes:
        track += b"\x00" + bytes((0x90, note, 100))
        track += varlen(ticks) + bytes((0x80, note, 64))
    track += b"\x00\xff\x2f\x00"
    head = b"MThd" + struct.pack(">IHHH", 6, 0, 1, division)
    return head + b"MTrk" + struct.pack(">I", len(track)) + bytes(track)


def varlen(v):
    out = [v & 0x7F]
    v >>= 7
    while v:
        out.insert(0, 0x80 | (v & 0x7F))
        v >>= 7
    return bytes(out)
