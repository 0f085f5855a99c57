"""Checks on what the PulseAudio capture recorded (S16LE stereo 44100 Hz): where a source block
lies in it and whether it came out bit for bit, and level, pitch, length and gaps of a sound."""
import array, math, os, time

RATE = 44100
FRAME = 4


class Capture:
    """The recording of the test session: mark a point, read what was played since."""

    def __init__(self, folder=None):
        folder = folder or os.environ.get("SONIDEX_CAPTURE")
        self.path = os.path.join(folder, "cap.raw") if folder else None

    def available(self):
        return bool(self.path) and os.path.exists(self.path)

    def mark(self):
        return os.path.getsize(self.path) // FRAME * FRAME

    def size(self):
        return os.path.getsize(self.path)

    def wait(self, offset, seconds, timeout=None):
        """What was played from offset on, once the capture holds seconds of it (it grows in
        real time); TimeoutError when it stops growing."""
        want = offset + int(seconds * RATE) * FRAME
        end = time.time() + (timeout if timeout is not None else seconds + 10)
        while self.size() < want:
            if time.time() > end:
                raise TimeoutError(f"the capture did not grow to {seconds} s past the mark")
            time.sleep(0.02)
        return self.since(offset)

    def since(self, offset):
        with open(self.path, "rb") as f:
            f.seek(offset)
            data = f.read()
        return data[: len(data) // FRAME * FRAME]


def to_stereo16(data, channels, bits):
    """PCM data of a WAV as the sink records it (stereo 16-bit), for bit-exact comparison of a
    44100 Hz 16-bit stereo source; other formats are converted for level checks only."""
    if channels == 2 and bits == 16:
        return data
    out = array.array("h")
    step = channels * bits // 8
    for i in range(0, len(data) - step + 1, step):
        vals = []
        for c in range(channels):
            if bits == 8:
                vals.append((data[i + c] - 128) << 8)
            else:
                vals.append(int.from_bytes(data[i + 2 * c: i + 2 * c + 2], "little", signed=True))
        if channels == 1:
            vals = vals * 2
        out.extend(vals[:2])
    return out.tobytes()


def find(capture, source, start=0):
    """Byte offset (frame-aligned) of the first frames of source in capture, or -1."""
    key = source[:16]
    pos = capture.find(key, start)
    while pos >= 0 and pos % FRAME:
        pos = capture.find(key, pos + 1)
    return pos


def bit_exact(capture, source):
    """(found, exact, where): whether source lies in capture whole and unchanged."""
    pos = find(capture, source)
    if pos < 0:
        return False, False, -1
    return True, capture[pos: pos + len(source)] == source, pos


def repeats(got, data):
    """How many times data lies whole in got back to back, from its first place. A moment of
    zeros in the middle of a repeat is the sound server running dry on a busy machine, and is
    passed over when the data goes on after it either exactly where it stopped (it came late)
    or where it would have been by then (the server dropped what came too late): nothing was
    added or lost by the player. A gap between repeats is not passed over."""
    at = find(got, data)
    n = 0
    while at >= 0:
        i = 0
        while i < len(data) and at + i < len(got) and got[at + i] == data[i]:
            i += 1
        if i == len(data):
            n, at = n + 1, at + len(data)
            continue
        i -= i % 4                                   # back to the frame where it differs
        z = at + i
        while z < len(got) and got[z] == 0:
            z += 1
        z = at + i + (z - at - i) // 4 * 4
        if i == 0 or z == at + i:
            break
        gap = z - at - i
        if got[z: z + 16] == data[i: i + 16]:
            print(f"(a dropout of {gap // 4} frames inside repeat {n + 1}, the data late)")
            got = got[:at + i] + got[z:]
        elif i + gap < len(data) and got[z: z + 16] == data[i + gap: i + gap + 16]:
            print(f"(a dropout of {gap // 4} frames inside repeat {n + 1}, the data lost by the server)")
            got = got[:at + i] + data[i: i + gap] + got[z:]
        else:
            break
    return n


def channels(data):
    a = array.array("h")
    a.frombytes(data[: len(data) // FRAME * FRAME])
    return a[0::2], a[1::2]


def signal_span(data, threshold=8):
    left, right = channels(data)
    idx = [i for i in range(len(left)) if abs(left[i]) > threshold or abs(right[i]) > threshold]
    return (idx[0], idx[-1] + 1) if idx else (0, 0)


def analyze(data, threshold=8):
    """Level (dB re full scale RMS) per channel, pitch by zero crossings, duration of the
    non-silent span in ms, and gaps of 2 ms or more of silence inside it. Level and pitch are
    of what sounded: the gaps (a sound server run dry on a busy machine) are left out of both."""
    left, right = channels(data)
    s, e = signal_span(data, threshold)
    if e <= s:
        return {"silent": True, "duration_ms": 0.0}
    gaps, spans, run, begin = [], [], 0, s
    for i in range(s, e + 1):
        if i < e and abs(left[i]) <= threshold and abs(right[i]) <= threshold:
            run += 1
            continue
        if run >= RATE // 500:
            gaps.append(((i - run - s) * 1000 / RATE, run * 1000 / RATE))
            spans.append((begin, i - run))
            begin = i
        run = 0
    spans.append((begin, e))
    n = sum(b - a for a, b in spans)

    def level(ch):
        rms = math.sqrt(sum(x * x for a, b in spans for x in ch[a:b]) / n)
        return 20 * math.log10(rms / 32768) if rms > 0 else -200.0
    lo = left if max(abs(x) for x in left[s:e]) >= max(abs(x) for x in right[s:e]) else right
    zc = sum(1 for a, b in spans for i in range(a + 1, b) if (lo[i - 1] < 0) != (lo[i] < 0))
    return {"silent": False, "left_db": level(left), "right_db": level(right),
            "freq": zc / 2 / (n / RATE), "duration_ms": (e - s) * 1000 / RATE,
            "start_ms": s * 1000 / RATE, "gaps": gaps}
