#!/usr/bin/env python3
"""Writes the crafted WAV files of the reader's regression corpus (tests/fuzz/corpus/wav/).
Each one stands for a kind of bad or odd input; tests/fuzz/WavCorpusTable.h says what each must
give. Run it again after adding a case; the files are committed."""
import os, struct, sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from sounds import fmt_chunk, chunk, tone  # noqa: E402

OUT = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), "..", "tests", "fuzz", "corpus", "wav")

DATA = tone(441, 50 / 11025, 11025, bits=16)            # 100 bytes of 16-bit mono
FMT = fmt_chunk(11025, 16, 1)                           # a plain 16-byte format chunk


def riff(body, size=None):
    """RIFF header around "WAVE" + body; size defaults to the true one."""
    body = b"WAVE" + body
    return b"RIFF" + struct.pack("<I", len(body) if size is None else size) + body


def raw(cid, size, body):
    """A chunk whose size field says size, whatever the body holds."""
    return cid + struct.pack("<I", size & 0xFFFFFFFF) + body


def fmt_tag(tag, bits, channels=1, rate=11025):
    align = max(1, channels * bits // 8)
    return b"fmt " + struct.pack("<IHHIIHH", 16, tag, channels, rate, rate * align, align, bits)


def guid(tag):
    """The sub-format GUID that stands for an old format tag, as it lies in the file."""
    return struct.pack("<IHH", tag, 0, 0x10) + bytes.fromhex("800000aa00389b71")


def fmt_ext(sub, bits, channels=1, rate=11025, valid=None, cbsize=22, sub_guid=None):
    """A 40-byte WAVE_FORMAT_EXTENSIBLE format chunk."""
    align = channels * bits // 8
    ext = struct.pack("<HI", bits if valid is None else valid, 4 if channels == 1 else 3)
    ext += sub_guid if sub_guid is not None else guid(sub)
    body = struct.pack("<HHIIHHH", 0xFFFE, channels, rate, rate * align, align, bits, cbsize) + ext
    return b"fmt " + struct.pack("<I", len(body)) + body


GOOD = riff(FMT + chunk(b"data", DATA))
CASES = {
    "good_pcm16_mono.wav": GOOD,
    "empty.wav": b"",
    "len1.wav": b"R",
    "len4.wav": b"RIFF",
    "len8.wav": GOOD[:8],
    "len11.wav": GOOD[:11],
    "header_only.wav": GOOD[:12],
    "not_riff.wav": b"RIFX" + GOOD[4:],
    "not_wave.wav": GOOD[:8] + b"AVI " + GOOD[12:],
    "fmt_truncated.wav": riff(FMT)[:12 + 8 + 10],
    "data_header_truncated.wav": riff(FMT + b"data\x64\x00"),
    "data_before_fmt.wav": riff(chunk(b"data", DATA) + FMT),
    "data_before_and_after_fmt.wav": riff(chunk(b"data", DATA) + FMT + chunk(b"data", DATA[:60])),
    "odd_chunk_padded.wav": riff(chunk(b"LIST", b"abc", pad=True) + FMT + chunk(b"data", DATA)),
    "odd_chunk_unpadded.wav": riff(chunk(b"LIST", b"abc", pad=False) + FMT + chunk(b"data", DATA)),
    "two_fmt.wav": riff(fmt_chunk(22050, 8, 1) + fmt_chunk(44100, 16, 2) + chunk(b"data", DATA)),
    "fmt16_cbsize.wav": riff(FMT + chunk(b"data", DATA)),   # cbSize is lent by "da" of "data"
    "fmt18.wav": riff(fmt_chunk(11025, 16, 1, extra=b"") + chunk(b"data", DATA)),
    "riff_size_7ffffff8.wav": riff(FMT + chunk(b"data", DATA), 0x7FFFFFF8),
    "riff_size_ffffffff.wav": riff(FMT + chunk(b"data", DATA), 0xFFFFFFFF),
    "riff_size_7ffffff0.wav": riff(FMT + chunk(b"data", DATA), 0x7FFFFFF0),
    "riff_size_short.wav": riff(FMT + chunk(b"data", DATA), 4 + len(FMT)),
    "riff_size_long.wav": riff(FMT + chunk(b"data", DATA), 100000),
    "chunk_size_negative.wav": riff(raw(b"LIST", -16, b"x" * 16) + FMT + chunk(b"data", DATA)),
    "chunk_size_minus8.wav": riff(raw(b"LIST", -8, b"") + FMT + chunk(b"data", DATA)),
    "chunk_size_past_end.wav": riff(raw(b"LIST", 0x10000, b"x" * 4) + FMT + chunk(b"data", DATA)),
    "data_size_past_end.wav": riff(FMT + raw(b"data", 100000, DATA)),
    "data_size_negative.wav": riff(FMT + raw(b"data", -1, DATA)),
    "data_empty.wav": riff(FMT + chunk(b"data", b"")),
    "data_three_bytes.wav": riff(fmt_chunk(44100, 16, 2) + chunk(b"data", DATA[:3], pad=False)),
    "fmt_size_huge.wav": riff(raw(b"fmt ", 0x7FFFFF00, FMT[8:]) + chunk(b"data", DATA)),
    "fmt_at_end.wav": riff(FMT),
    "fmt_overlaps_data.wav": riff(raw(b"fmt ", 0, b"") + raw(b"data", 0, b"")),
    "pcm24.wav": riff(fmt_tag(1, 24) + chunk(b"data", tone(441, 0.01, 11025, bits=24))),
    "pcm32.wav": riff(fmt_tag(1, 32) + chunk(b"data", tone(441, 0.01, 11025, bits=32))),
    "pcm4.wav": riff(fmt_tag(1, 4) + chunk(b"data", DATA)),
    "mulaw.wav": riff(fmt_tag(257, 8) + chunk(b"data", DATA)),
    "alaw.wav": riff(fmt_tag(258, 8) + chunk(b"data", DATA)),
    "adpcm_ibm.wav": riff(fmt_tag(259, 4) + chunk(b"data", DATA)),
    "adpcm_ms.wav": riff(fmt_tag(2, 4) + chunk(b"data", DATA)),
    "ieee_float.wav": riff(fmt_tag(3, 32) + chunk(b"data", DATA)),
    "mp3.wav": riff(fmt_tag(0x55, 0) + chunk(b"data", DATA)),
    "extensible16.wav": riff(fmt_tag(0xFFFE, 16) + chunk(b"data", DATA)),
    # RIFF's pad byte after an odd body: zero or not, before the format or the data.
    "odd_chunk_pad_printable.wav": riff(chunk(b"LIST", b"abc", pad=False) + b"x" + FMT + chunk(b"data", DATA)),
    "odd_chunk_after_fmt.wav": riff(FMT + chunk(b"LIST", b"INFOa", pad=True) + chunk(b"data", DATA)),
    "odd_chunk_data_past_end.wav": riff(chunk(b"LIST", b"abc", pad=True) + FMT + raw(b"data", 100000, DATA)),
    # Formats that play with the HiRes setting on (converted to 16-bit), and some that do not.
    "pcm24_stereo.wav": riff(fmt_tag(1, 24, 2, 48000) + chunk(b"data", tone(441, 0.005, 48000, bits=24, channels=2))),
    "pcm24_odd_data.wav": riff(fmt_tag(1, 24) + chunk(b"data", tone(441, 0.01, 11025, bits=24) + b"\x01")),
    "pcm24_bad_align.wav": riff(fmt_chunk(11025, 24, 1)[:20] + struct.pack("<HH", 4, 24) + chunk(b"data", DATA)),
    "pcm24_3ch.wav": riff(fmt_tag(1, 24, 3) + chunk(b"data", tone(441, 0.01, 11025, bits=24, channels=3))),
    "float64.wav": riff(fmt_tag(3, 64) + chunk(b"data", DATA)),
    "ext_pcm24_stereo.wav": riff(fmt_ext(1, 24, 2) + chunk(b"data", tone(441, 0.01, 11025, bits=24, channels=2))),
    "ext_pcm20_in_24.wav": riff(fmt_ext(1, 24, valid=20) + chunk(b"data", tone(441, 0.01, 11025, bits=24))),
    "ext_pcm8.wav": riff(fmt_ext(1, 8) + chunk(b"data", DATA)),
    "ext_pcm16.wav": riff(fmt_ext(1, 16) + chunk(b"data", DATA)),
    "ext_pcm32.wav": riff(fmt_ext(1, 32) + chunk(b"data", DATA)),
    "ext_float32.wav": riff(fmt_ext(3, 32, 2) + chunk(b"data", DATA)),
    "ext_valid_bits_over.wav": riff(fmt_ext(1, 24, valid=32) + chunk(b"data", DATA[:99])),
    "ext_pcm24_3ch.wav": riff(fmt_ext(1, 24, 3) + chunk(b"data", DATA[:99])),
    "ext_adpcm.wav": riff(fmt_ext(2, 16) + chunk(b"data", DATA)),
    "ext_foreign_guid.wav": riff(fmt_ext(1, 16, sub_guid=b"\x01" + b"\x5a" * 15) + chunk(b"data", DATA)),
    "ext_cbsize_short.wav": riff(fmt_ext(1, 24, cbsize=0) + chunk(b"data", DATA[:99])),
    "ext_fmt_truncated.wav": riff(fmt_ext(1, 24))[:12 + 8 + 30],
    "ext_pcm16_no_data.wav": riff(fmt_ext(1, 16) + chunk(b"data", b"")),
}

os.makedirs(OUT, exist_ok=True)
for name, content in CASES.items():
    with open(os.path.join(OUT, name), "wb") as f:
        f.write(content)
print(f"{len(CASES)} files in {os.path.normpath(OUT)}")
