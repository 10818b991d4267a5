#!/usr/bin/env python3
"""Writes the particle effect files data/effects/<name>.par.

Every key is written in one fixed order. The game finds a key by searching the file for its
text, and "rot=" is also the tail of "drot=" (as "rotdev=" is of "drotdev="), so "rot=" and
"rotdev=" must come first or the rotation would be read from the rotation speed.

Frames of "particles.tga" used here: 1 hot dot, 2 glowing ring, 4 soft star, 12 round glow,
17 bright spark, 25 flame, 28 shard, 34 shock ring, 35 double ring, 37 diamond glow, 49 heart glow,
50 small star, 51 six-point star, 53 golden star (drawn in its own colours), 55 puff (likewise).

Run from the source root:   python3 tools/levels/make_effects.py
"""
import os
import sys

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))

ORDER = ["externeffect1", "externeffect2", "externeffect3", "externeffect4", "externeffect5",
         "externeffect6", "externeffect7", "externeffect8",
         "parfrequency", "color0", "color0dev", "color1", "color1dev", "radius0", "radius0dev",
         "radius1", "radius1dev", "partime", "partimedev", "positiondev", "speed", "speeddev",
         "gravity", "gravitydev", "blendtype", "numparticle", "rot", "rotdev", "drot", "drotdev",
         "effecttime", "polarpar", "polarpardev", "lissparx", "lisspary", "polar", "polardev",
         "lissx", "lissy", "simetria", "simetriapar"]

# Defaults written into every file so that each effect reads completely on its own.
BASE = dict(parfrequency=10, color0=(1, 1, 1, 1), color0dev=(0, 0, 0, 0), color1=(1, 1, 1, 0),
            color1dev=(0, 0, 0, 0), radius0=10, radius0dev=0, radius1=10, radius1dev=0, partime=600,
            partimedev=0, positiondev=(0, 0, 0), speed=(0, 0, 0), speeddev=(0, 0, 0), gravity=0,
            gravitydev=0, blendtype=0, numparticle=13, rot=0, rotdev=0, drot=0, drotdev=0, effecttime=0,
            polarpar=(0, 0, 0, 0), polarpardev=(0, 0, 0, 0), lissparx=(0, 0, 0), lisspary=(0, 0, 0),
            polar=(0, 0, 0, 0), polardev=(0, 0, 0, 0), lissx=(0, 0, 0), lissy=(0, 0, 0), simetria=0,
            simetriapar=0)

EFFECTS = {
    # A ball pops: bright sparks burst out and fall. Added light here is warm: it carries little blue, so
    # however many sparks and glows pile up on the pale tiles they burn orange and gold, never white.
    "ball1": dict(externeffect1="ball3", parfrequency=14, color0=(1, 0.8, 0, 1), color0dev=(0, 0.1, 0, 0),
                  color1=(1, 0.5, 0, 0), radius0=20, radius0dev=4, radius1=5, partime=760, partimedev=160,
                  positiondev=(8, 8, 0), speeddev=(50, 40, 0), speed=(0, 70, 0), gravity=300, numparticle=17,
                  rotdev=180, drotdev=360, polarpar=(6, 230, 0, 0), polarpardev=(3, 90, 180, 0)),
    # ... round a warm ring of light that opens and fades. The tiles are dark enough now that a ring
    # this bright stays a ring instead of burning into a white disc.
    "ball2": dict(parfrequency=1, color0=(1, 0.72, 0.05, 0.8), color1=(1, 0.45, 0, 0), radius0=14, radius1=46,
                  partime=420, numparticle=2),
    # ... and a few golden stars drawn in their own colours, which additive light cannot be over a
    # bright sky: they read on any landscape.
    "ball3": dict(parfrequency=4, color0=(1, 1, 1, 1), color1=(1, 1, 1, 0), radius0=19, radius0dev=4, radius1=9,
                  partime=850, partimedev=150, speed=(0, 120, 0), speeddev=(90, 50, 0), gravity=330,
                  blendtype=1, numparticle=53, rotdev=180, drotdev=400),
    # Triple bomb: a fiery burst (flames add no blue: a blast glows like fire instead of flashing white) ...
    "bomb1": dict(externeffect1="bomb3", parfrequency=48, color0=(1, 0.62, 0, 0.85), color0dev=(0, 0.12, 0, 0),
                  color1=(0.9, 0.2, 0, 0), radius0=24, radius0dev=6, radius1=54, radius1dev=10, partime=850,
                  partimedev=250, positiondev=(10, 10, 0), speeddev=(60, 60, 0), gravity=-40, numparticle=25,
                  rotdev=180, drotdev=200, polarpar=(8, 260, 0, 0), polarpardev=(5, 120, 180, 0)),
    # ... a shock ring that sweeps the blast area ...
    "bomb2": dict(parfrequency=1, color0=(1, 0.75, 0.05, 0.9), color1=(1, 0.45, 0, 0), radius0=16, radius1=150,
                  partime=520, numparticle=34, rotdev=180),
    # ... and dark smoke rolling out under the fire, so the blast has a body on a pale sky.
    "bomb3": dict(parfrequency=10, color0=(0.35, 0.3, 0.28, 0.75), color0dev=(0.05, 0.05, 0.05, 0.1),
                  color1=(0.5, 0.45, 0.42, 0), radius0=22, radius0dev=5, radius1=58, radius1dev=10, partime=1100,
                  partimedev=250, positiondev=(14, 14, 0), speed=(0, 30, 0), speeddev=(70, 60, 0), blendtype=1,
                  numparticle=55, rotdev=180, drotdev=90),
    # Quadro bomb: the same, bigger and redder.
    "dbomb1": dict(externeffect1="bomb3", parfrequency=64, color0=(1, 0.55, 0, 0.85), color0dev=(0, 0.12, 0, 0),
                   color1=(0.8, 0.1, 0.05, 0), radius0=28, radius0dev=8, radius1=66, radius1dev=12, partime=1000,
                   partimedev=250, positiondev=(14, 14, 0), speeddev=(70, 70, 0), gravity=-60, numparticle=25,
                   rotdev=180, drotdev=240, polarpar=(10, 330, 0, 0), polarpardev=(6, 140, 180, 0)),
    "dbomb2": dict(parfrequency=1, color0=(1, 0.65, 0.05, 0.9), color1=(1, 0.3, 0, 0), radius0=18, radius1=200,
                   partime=620, numparticle=35, rotdev=180, externeffect1="bomb2"),
    # Diamond: cold stars spinning out (their light adds no red, so it turns the tiles icy blue, not white) ...
    "diamond1": dict(externeffect1="ball3", parfrequency=24, color0=(0, 0.75, 1, 0.9), color0dev=(0, 0.1, 0, 0),
                     color1=(0, 0.45, 1, 0), radius0=20, radius0dev=5, radius1=6, partime=950, partimedev=200,
                     speeddev=(30, 30, 0), numparticle=51, rotdev=180, drot=0, drotdev=420,
                     polarpar=(6, 220, 0, 90), polarpardev=(3, 90, 180, 60)),
    # ... and a blue glint.
    "diamond2": dict(parfrequency=1, color0=(0, 0.7, 1, 0.85), color1=(0, 0.4, 1, 0), radius0=26, radius1=84,
                     partime=560, numparticle=37, rotdev=45),
    # A chain breaks: grey shards drop ...
    "chain1": dict(parfrequency=9, color0=(0.85, 0.85, 0.9, 1), color0dev=(0.1, 0.1, 0.1, 0),
                   color1=(0.5, 0.5, 0.55, 0), radius0=8, radius0dev=2, radius1=6, partime=700, partimedev=150,
                   positiondev=(10, 10, 0), speed=(0, 110, 0), speeddev=(130, 70, 0), gravity=520,
                   numparticle=28, rotdev=180, drotdev=540),
    # ... with a yellow spark where the link snapped.
    "chain2": dict(parfrequency=7, color0=(1, 1, 0.6, 1), color1=(1, 0.6, 0.1, 0), radius0=15, radius1=4,
                   partime=300, partimedev=80, speeddev=(15, 15, 0), numparticle=17, rotdev=180,
                   polarpar=(2, 100, 0, 0), polarpardev=(1, 40, 180, 0)),
    # A tile layer washes away: dust puffs ...
    "square1": dict(parfrequency=7, color0=(0.75, 0.7, 0.55, 0.8), color0dev=(0.05, 0.05, 0.05, 0),
                    color1=(0.6, 0.55, 0.45, 0), radius0=12, radius0dev=3, radius1=24, partime=650,
                    partimedev=150, positiondev=(14, 14, 0), speeddev=(40, 40, 0), speed=(0, 20, 0),
                    blendtype=1, numparticle=55, rotdev=180, drotdev=90),
    # ... and a green ring of light (green indeed: a little red and blue would whiten the pale tile).
    "square2": dict(parfrequency=1, color0=(0.15, 1, 0.25, 0.8), color1=(0.1, 1, 0.2, 0), radius0=14, radius1=30,
                    partime=420, numparticle=2),
    # The hammer strikes: stars spray from the blow.
    "hammer": dict(externeffect1="ball2", parfrequency=18, color0=(1, 0.95, 0.5, 1), color0dev=(0, 0.05, 0.3, 0),
                   color1=(1, 0.5, 0.1, 0), radius0=14, radius0dev=3, radius1=5, partime=650, partimedev=150,
                   speed=(0, 80, 0), speeddev=(50, 40, 0), gravity=420, numparticle=4, rotdev=180,
                   drotdev=600, polarpar=(4, 180, 0, 0), polarpardev=(2, 80, 180, 0)),
    # A quadro bomb arrives: embers spiral in to its cell.
    "addbomb2": dict(parfrequency=70, color0=(1, 0.7, 0.25, 1), color1=(1, 0.3, 0.1, 0), radius0=7, radius1=2,
                     partime=400, partimedev=80, numparticle=1, effecttime=650, polar=(46, -60, 0, 900),
                     simetria=3),
    # A combo: golden stars leap up around the text.
    "combox": dict(parfrequency=14, color0=(1, 0.9, 0.3, 1), color0dev=(0, 0.1, 0.2, 0), color1=(1, 0.6, 0.2, 0),
                   radius0=11, radius0dev=3, radius1=3, partime=900, partimedev=200, positiondev=(40, 6, 0),
                   speed=(0, 150, 0), speeddev=(70, 40, 0), gravity=160, numparticle=50, rotdev=180, drotdev=300),
    # An extra life: rosy glows swirl upward for a moment.
    "gottalife": dict(parfrequency=45, color0=(1, 0.45, 0.6, 1), color0dev=(0, 0.15, 0.15, 0),
                      color1=(1, 0.8, 0.9, 0), radius0=12, radius0dev=3, radius1=4, partime=900, partimedev=200,
                      positiondev=(30, 6, 0), speed=(0, 70, 0), speeddev=(30, 20, 0), numparticle=49,
                      effecttime=1200, lissx=(40, 2, 0), lissparx=(10, 3, 0)),
    # A new record on the results page: a short fountain of stars.
    "scorewow": dict(parfrequency=22, color0=(1, 1, 1, 1), color1=(1, 1, 1, 0),
                     radius0=11, radius0dev=3, radius1=3, partime=800, partimedev=200, positiondev=(50, 4, 0),
                     speed=(0, 110, 0), speeddev=(60, 50, 0), gravity=200, blendtype=1, numparticle=53, rotdev=180,
                     drotdev=360),
}


def value_text(v):
    if isinstance(v, str):
        return v
    if isinstance(v, tuple):
        return "(" + ", ".join(num(x) for x in v) + ")"
    return num(v)


def num(x):
    if isinstance(x, int) or float(x).is_integer():
        return str(int(x))
    return ("%.3f" % x).rstrip("0").rstrip(".")


def effect_text(spec):
    values = dict(BASE)
    values.update(spec)
    unknown = set(values) - set(ORDER)
    assert not unknown, unknown
    lines = ["%s=%s" % (key, value_text(values[key])) for key in ORDER if key in values]
    return "\r\n".join(lines) + "\r\n"


def main():
    out = os.path.join(ROOT, "data", "effects")
    os.makedirs(out, exist_ok=True)
    for name, spec in sorted(EFFECTS.items()):
        with open(os.path.join(out, name + ".par"), "wb") as f:
            f.write(effect_text(spec).encode("latin-1"))
    print("wrote %d effects" % len(EFFECTS))
    return 0


if __name__ == "__main__":
    sys.exit(main())
