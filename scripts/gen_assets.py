#!/usr/bin/env python3
"""Generates the demo archive's assets under data/: sound cues, help file, tips, pictures,
update history.

Run once from the repository root: python3 scripts/gen_assets.py
The output is committed; the demo archive generator copies data/ into the demo archive.
Everything is computed, so the files come out the same on every run.
"""
import math
import os
import random
import shutil
import struct
import subprocess
import wave

ROOT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "data")
RATE = 11025


# --- sounds -----------------------------------------------------------------------------

def write_wav(name, samples):
    path = os.path.join(ROOT, "sounds", name + ".wav")
    os.makedirs(os.path.dirname(path), exist_ok=True)
    frames = bytearray()
    for s in samples:
        v = max(-1.0, min(1.0, s))
        frames += struct.pack("<h", int(v * 32000))
    with wave.open(path, "wb") as w:
        w.setnchannels(1)
        w.setsampwidth(2)
        w.setframerate(RATE)
        w.writeframes(bytes(frames))


def tone(freq, secs, decay=6.0, amp=0.6, harmonics=(1.0,)):
    n = int(RATE * secs)
    out = []
    for i in range(n):
        t = i / RATE
        env = math.exp(-decay * t) * min(1.0, i / 40.0)
        s = sum(h * math.sin(2 * math.pi * freq * (k + 1) * t) for k, h in enumerate(harmonics))
        out.append(amp * env * s / sum(harmonics))
    return out


def noise(secs, decay, amp, seed):
    rng = random.Random(seed)
    n = int(RATE * secs)
    return [amp * math.exp(-decay * i / RATE) * (rng.random() * 2 - 1) for i in range(n)]


def silence(secs):
    return [0.0] * int(RATE * secs)


def mix(*parts):
    n = max(len(p) for p in parts)
    return [sum(p[i] for p in parts if i < len(p)) for i in range(n)]


def sounds():
    write_wav("hotclik", mix(noise(0.03, 160, 0.7, 1), tone(2400, 0.03, 120, 0.3)))
    write_wav("click001", mix(noise(0.02, 220, 0.5, 2), tone(3200, 0.02, 200, 0.25)))
    write_wav("click006", noise(0.03, 150, 0.6, 3) + silence(0.04) + noise(0.03, 150, 0.5, 4))
    write_wav("camera1", noise(0.06, 60, 0.8, 5) + silence(0.12) + noise(0.08, 45, 0.7, 6))
    sweep = []
    n = int(RATE * 0.35)
    phase = 0.0
    for i in range(n):
        f = 900 - 700 * i / n
        phase += 2 * math.pi * f / RATE
        sweep.append(0.5 * math.sin(phase) * (1 - i / n))
    write_wav("loesch", sweep)
    write_wav("bell", tone(880, 0.8, 4.5, 0.6, (1.0, 0.5, 0.25, 0.12)))
    harp = []
    for k, f in enumerate((523.25, 659.25, 783.99, 1046.5)):
        harp = mix(harp, silence(0.12 * k) + tone(f, 0.6, 5.0, 0.35, (1.0, 0.3)))
    write_wav("harfe", harp)
    write_wav("next", tone(660, 0.08, 20, 0.5) + tone(990, 0.1, 18, 0.5))
    buzz = []
    for i in range(int(RATE * 0.3)):
        t = i / RATE
        buzz.append(0.35 * (1 if math.sin(2 * math.pi * 220 * t) > 0 else -1) * (1 - t / 0.3))
    write_wav("error", buzz)
    bye = []
    for f in (784.0, 659.25, 523.25):
        bye += tone(f, 0.25, 6.0, 0.5, (1.0, 0.4))
    write_wav("exit", bye)


# --- pictures ---------------------------------------------------------------------------

def write_bmp24(path, w, h, pixel):
    row = (w * 3 + 3) & ~3
    data = bytearray()
    for y in range(h - 1, -1, -1):
        line = bytearray()
        for x in range(w):
            r, g, b = pixel(x, y)
            line += bytes((b, g, r))
        line += b"\0" * (row - w * 3)
        data += line
    header = struct.pack("<2sIHHI", b"BM", 54 + len(data), 0, 0, 54)
    info = struct.pack("<IiiHHIIiiII", 40, w, h, 1, 24, 0, len(data), 2835, 2835, 0, 0)
    with open(path, "wb") as f:
        f.write(header + info + data)


def write_bmp8(path, w, h, palette, index):
    row = (w + 3) & ~3
    data = bytearray()
    for y in range(h - 1, -1, -1):
        line = bytearray(index(x, y) for x in range(w))
        line += b"\0" * (row - w)
        data += line
    pal = b"".join(bytes((b, g, r, 0)) for (r, g, b) in palette)
    off = 54 + len(pal)
    header = struct.pack("<2sIHHI", b"BM", off + len(data), 0, 0, off)
    info = struct.pack("<IiiHHIIiiII", 40, w, h, 1, 8, 0, len(data), 2835, 2835, 256, 0)
    with open(path, "wb") as f:
        f.write(header + info + pal + data)


def background():
    # A dark blue night tone with a soft glow and a loose row of slide mounts.
    w, h = 638, 409
    palette = []
    for i in range(256):
        t = i / 255.0
        palette.append((int(8 + 70 * t ** 1.3), int(10 + 95 * t ** 1.2), int(24 + 150 * t)))
    rng = random.Random(7)
    mounts = [(60 + k * 105 + rng.randint(-8, 8), 250 + rng.randint(-20, 20)) for k in range(5)]

    def index(x, y):
        glow = math.exp(-(((x - 470) / 260.0) ** 2 + ((y - 90) / 190.0) ** 2))
        v = 0.10 + 0.55 * glow + 0.12 * (1 - y / h)
        for (mx, my) in mounts:
            dx, dy = x - mx, y - my
            if 0 <= dx < 74 and 0 <= dy < 74:
                inner = 14 <= dx < 60 and 14 <= dy < 60
                edge = dx in (0, 73) or dy in (0, 73)
                v = v * 0.55 + (0.05 if inner else (0.55 if edge else 0.32))
        v += (rng.random() - 0.5) * 0.03  # a little grain against banding
        return max(0, min(255, int(v * 255)))

    write_bmp8(os.path.join(ROOT, "dia.bmp"), w, h, palette, index)


def landscape(seed):
    rng = random.Random(seed)
    sky_top = (rng.randint(20, 80), rng.randint(60, 140), rng.randint(150, 230))
    sky_low = (rng.randint(200, 255), rng.randint(150, 220), rng.randint(100, 180))
    hill = (rng.randint(20, 80), rng.randint(70, 140), rng.randint(20, 70))
    sun = (rng.randint(30, 130), rng.randint(15, 45))
    peaks = [rng.uniform(0.3, 0.7) for _ in range(4)]

    def pixel(x, y):
        t = y / 120.0
        r, g, b = [int(a + (c - a) * t) for a, c in zip(sky_top, sky_low)]
        if (x - sun[0]) ** 2 + (y - sun[1]) ** 2 < 90:
            r, g, b = 255, 230, 140
        ridge = 120 * (0.55 + 0.12 * sum(math.sin(x / 160.0 * math.pi * (k + 1) + p * 6)
                                            * p for k, p in enumerate(peaks)) / 2)
        if y > ridge:
            d = (y - ridge) / 60.0
            r, g, b = [int(c * (1 - 0.4 * d)) for c in hill]
        return (max(0, min(255, r)), max(0, min(255, g)), max(0, min(255, b)))

    return pixel


def portrait(x, y):
    r, g, b = 60 + y // 3, 70 + y // 3, 90 + y // 3
    if (x - 80) ** 2 + (y - 48) ** 2 < 22 ** 2:
        return (35, 35, 45)
    if y > 78 and (x - 80) ** 2 / 55.0 ** 2 + (y - 125) ** 2 / 48.0 ** 2 < 1:
        return (35, 35, 45)
    return (r, g, b)


def pictures():
    d = os.path.join(ROOT, "bilder")
    os.makedirs(d, exist_ok=True)
    write_bmp24(os.path.join(d, "autor.bmp"), 160, 120, portrait)
    for n in range(1, 6):
        write_bmp24(os.path.join(d, "%d.bmp" % n), 160, 120, landscape(n))
    # 1.jpg: the first landscape once more, compressed.
    ppm = os.path.join(d, "1.ppm")
    pix = landscape(1)
    with open(ppm, "wb") as f:
        f.write(b"P6\n160 120\n255\n")
        for y in range(120):
            f.write(b"".join(bytes(pix(x, y)) for x in range(160)))
    jpg = os.path.join(d, "1.jpg")
    if shutil.which("pnmtojpeg"):
        with open(jpg, "wb") as out:
            subprocess.run(["pnmtojpeg", "--quality=85", ppm], stdout=out, check=True)
    else:
        subprocess.run(["convert", ppm, "-quality", "85", jpg], check=True)
    os.remove(ppm)


# --- texts ------------------------------------------------------------------------------

TIPS = [
    "Mit der rechten Maustaste bewegen Sie den Cursor in einer Schlüsselliste, mit der "
    "linken Maustaste wählen Sie den Schlüssel aus.",
    "Erfassen Sie eine Serie von Dias mit gleichen Schlüsseln? Legen Sie die Schlüssel mit "
    "KEY ABLAGE beiseite und holen Sie sie für das nächste Dia mit derselben Taste zurück.",
    "Die Suche über den Informationstext findet auch Magazinpositionen: Suchen Sie nach "
    "„A05“, um alle Dias an dieser Stelle zu finden.",
    "Gelöschte Dias hinterlassen einen freien Platz. Die Suche nach „Dia wurde entnommen / "
    "Platz frei“ zeigt alle freien Nummern Ihres Archivs.",
    "Jede Trefferliste steht vollständig in der Datei dialiste.txt. Mit TEXT-EDITOR öffnen "
    "Sie sie und können sie ausdrucken.",
    "Schalten Sie in den System-Einstellungen die automatische Sicherung ein, dann legt "
    "Lumoretta beim Beenden jedes Mal ein Backup an.",
    "Bei großen Archiven beschleunigt der FastModus die Suche: das Fenster wird während der "
    "Suche verkleinert.",
    "Ein Missgriff in den Schlüssellisten? „Dienste – Letzte Änderung der Schlüssellisten "
    "revidieren“ stellt den vorigen Stand wieder her.",
]


def wrap(text, width=60):
    lines, line = [], ""
    for word in text.split():
        if line and len(line) + 1 + len(word) > width:
            lines.append(line)
            line = word
        else:
            line = (line + " " + word) if line else word
    lines.append(line)
    return lines


def texts():
    d = os.path.join(ROOT, "tips")
    os.makedirs(d, exist_ok=True)
    for n, tip in enumerate(TIPS, 1):
        with open(os.path.join(d, "%d.tip" % n), "wb") as f:
            f.write(("\r\n".join(wrap(tip)) + "\r\n").encode("cp1252"))
    with open(os.path.join(ROOT, "gen", "help_de.html"), encoding="utf-8") as f:
        html = f.read()
    with open(os.path.join(ROOT, "DIA.HLP"), "wb") as f:
        f.write(html.replace("\n", "\r\n").encode("cp1252"))
    with open(os.path.join(ROOT, "gen", "history_de.txt"), encoding="utf-8") as f:
        history = f.read()
    with open(os.path.join(ROOT, "history.wri"), "wb") as f:
        f.write(history.replace("\n", "\r\n").encode("cp1252"))


if __name__ == "__main__":
    sounds()
    background()
    pictures()
    texts()
