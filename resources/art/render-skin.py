#!/usr/bin/python3
"""Renders the pictures of the resource library from the drawings in skin/.

    /usr/bin/python3 resources/art/render-skin.py

writes resources/art/png/<id>.png (PNG resources), resources/art/ico/<id>.ico
(check-box icons) and resources/art/bmp/<id>.bmp (option bitmaps). The
outputs are committed, so a build never needs this script: run it after
editing a drawing or the tables below and commit both.

The look: white surfaces, the product blue RGB(22,93,255), soft shadows
through the PNG alpha, rounded corners. Pictures carry no text: every text
comes from the string table and is drawn by the controls.

ImageMagick's own SVG renderer (MSVG) draws flat fills and strokes but no
gradients or opacity, so the drawings stay flat and the shadows are made
here with ImageMagick's shadow operator.

Every output is as small as a lossless encoding gets it (pngtools.py): the
PNG resources are recompressed with zopflipng, the check-box icons hold PNG
frames, the option bitmaps have a palette when their colours fit one. The
pixels stay those rendered.
"""
import os
import subprocess
import tempfile

from pngtools import optimise_png, palette_bmp, write_icon

HERE = os.path.dirname(os.path.abspath(__file__))
SKIN = os.path.join(HERE, "skin")
BLUE = "#165DFF"

# Motifs drawn over the page backgrounds (coordinates of a 748 x 530 canvas).
WIREFRAME = ('<g fill="none" stroke="#5C8EFF" stroke-width="2" stroke-linejoin="round">'
             '<path d="M 560 40 L 640 80 L 640 140 L 560 180 L 480 140 L 480 80 Z"/>'
             '<path d="M 480 80 L 560 120 L 640 80 M 560 120 L 560 180"/>'
             '<path d="M 600 30 L 700 30 M 700 30 L 700 60" stroke="#8AADFF"/>'
             '<circle cx="420" cy="150" r="18"/><path d="M 402 150 L 438 150 M 420 132 L 420 168" stroke="#8AADFF"/>'
             '</g>')
CHECK_BIG = ('<circle cx="374" cy="150" r="44" fill="#E8F0FF" stroke="none"/>'
             '<circle cx="374" cy="150" r="32" fill="' + BLUE + '" stroke="none"/>'
             '<path d="M 358 151 L 370 163 L 391 140" fill="none" stroke="#FFFFFF" stroke-width="6" '
             'stroke-linecap="round" stroke-linejoin="round"/>')
SLIDE_MOTIFS = {
    # 1 performance: a gauge
    1: ('<g fill="none" stroke="#FFFFFF" stroke-width="6" stroke-linecap="round">'
        '<path d="M 274 230 A 100 100 0 0 1 474 230"/><path d="M 374 230 L 430 170"/></g>'
        '<circle cx="374" cy="230" r="10" fill="#FFFFFF"/>'),
    # 2 compatibility: two linked sheets
    2: ('<g fill="none" stroke="#FFFFFF" stroke-width="5" stroke-linejoin="round">'
        '<rect x="270" y="90" width="110" height="140" rx="8"/><rect x="368" y="110" width="110" height="140" rx="8"/>'
        '<path d="M 292 130 L 356 130 M 292 160 L 340 160 M 390 150 L 456 150 M 390 180 L 440 180"/></g>'),
    # 3 API: braces
    3: ('<g fill="none" stroke="#FFFFFF" stroke-width="7" stroke-linecap="round" stroke-linejoin="round">'
        '<path d="M 330 90 Q 300 90 300 120 L 300 150 Q 300 170 280 170 Q 300 170 300 190 L 300 220 Q 300 250 330 250"/>'
        '<path d="M 418 90 Q 448 90 448 120 L 448 150 Q 448 170 468 170 Q 448 170 448 190 L 448 220 Q 448 250 418 250"/>'
        '<path d="M 350 200 L 398 140"/></g>'),
    # 4 innovation: a spark
    4: ('<path d="M 374 80 L 396 150 L 466 170 L 396 190 L 374 260 L 352 190 L 282 170 L 352 150 Z" fill="#FFFFFF"/>'),
    # 5 collaboration: three connected nodes
    5: ('<g fill="none" stroke="#FFFFFF" stroke-width="5"><path d="M 300 220 L 374 110 L 448 220 Z"/></g>'
        '<circle cx="374" cy="110" r="26" fill="#FFFFFF"/><circle cx="300" cy="220" r="26" fill="#FFFFFF"/>'
        '<circle cx="448" cy="220" r="26" fill="#FFFFFF"/>'),
    # 6 licensing: a key
    6: ('<g fill="none" stroke="#FFFFFF" stroke-width="8" stroke-linecap="round">'
        '<circle cx="310" cy="170" r="40"/><path d="M 350 170 L 470 170 M 440 170 L 440 205 M 410 170 L 410 195"/></g>'),
}

OPTION_ART = {
    "modify": '<path d="M 60 40 L 60 80 M 90 40 L 90 80 M 120 40 L 120 80"/>'
              '<circle cx="60" cy="52" r="6" fill="{FILL}"/><circle cx="90" cy="68" r="6" fill="{FILL}"/>'
              '<circle cx="120" cy="48" r="6" fill="{FILL}"/>',
    "repair": '<path d="M 70 82 L 104 48"/><circle cx="112" cy="40" r="12"/>'
              '<path d="M 62 90 L 74 78"/>',
    "uninstall": '<path d="M 64 40 L 116 40 M 82 40 L 82 32 L 98 32 L 98 40"/>'
                 '<path d="M 70 46 L 74 88 L 106 88 L 110 46 Z"/><path d="M 84 56 L 84 78 M 96 56 L 96 78"/>',
}
WORKSPACE_ART = {
    "drafting": '<path d="M 40 100 L 90 40 L 150 40 L 180 100 Z"/><circle cx="120" cy="72" r="16"/>'
                '<path d="M 40 108 L 180 108" stroke="#8AADFF"/>',
    "classic": '<rect x="30" y="28" width="160" height="14" fill="#D5E2FF" stroke="none"/>'
               '<rect x="30" y="46" width="18" height="66" fill="#D5E2FF" stroke="none"/>'
               '<path d="M 70 100 L 110 60 L 150 100 Z"/><circle cx="150" cy="62" r="10"/>',
}
BADGE = ('<circle cx="196" cy="24" r="14" fill="' + BLUE + '"/>'
         '<path d="M 189 24 L 194 29 L 203 19" fill="none" stroke="#FFFFFF" stroke-width="3" '
         'stroke-linecap="round" stroke-linejoin="round"/>')

# Button looks: (fill, border) per state; None where the state has no picture.
PRIMARY = {"normal": (BLUE, BLUE), "pressed": ("#0E42C4", "#0E42C4"),
           "hover": ("#3C7BFF", "#3C7BFF"), "disabled": ("#AFC4F5", "#AFC4F5")}
SLATE = {"normal": ("#4E5969", "#4E5969"), "pressed": ("#333A45", "#333A45"),
         "hover": ("#69778C", "#69778C"), "disabled": ("#BFC6D1", "#BFC6D1")}
SECONDARY = {"normal": ("#FFFFFF", "#C9CDD4"), "pressed": ("#E5E8EF", "#AEB4BE"),
             "hover": ("#F2F5FA", "#8AADFF")}
STATES = ("normal", "pressed", "hover", "disabled")

# id: (drawing, width, height, values) for the push buttons, in the state
# order normal, pressed, hover, disabled.
BUTTONS = [
    # tip dialog OK/Retry, Cancel, Force closed
    ((295, 296, 297), PRIMARY, 96, 32),
    ((291, 292, 293), SECONDARY, 96, 32),
    ((288, 289, 290), SECONDARY, 110, 32),
    # pages
    ((248, 250, 249, 251), PRIMARY, 120, 36),  # Install: normal, pressed, hover, disabled
    ((305, 306, 307, 308), PRIMARY, 110, 36),  # Next
    ((299, 300, 301), PRIMARY, 110, 36),       # Finish
    ((278, 279, 280, 281), SLATE, 110, 36),    # Back
    ((302, 303, 304), SECONDARY, 110, 36),     # Cancel of the feature and maintenance pages
    ((275, 276, 277), SECONDARY, 110, 36),     # Exit, copy-progress Cancel
]


def convert(*args):
    subprocess.run(["convert", *args], check=True)


def svg(name, **values):
    with open(os.path.join(SKIN, name), encoding="utf-8") as f:
        text = f.read()
    # Drop the leading comment: MSVG does not need it.
    if text.startswith("<!--"):
        text = text[text.index("-->") + 3:]
    for key, value in values.items():
        text = text.replace("{" + key + "}", str(value))
    return text


def rasterise(text, out, shadow=None):
    """SVG text to a 32-bit PNG; shadow: (opacity, sigma, dy) under the shapes."""
    with tempfile.TemporaryDirectory() as work:
        src = os.path.join(work, "in.svg")
        with open(src, "w", encoding="utf-8") as f:
            f.write(text)
        flat = os.path.join(work, "flat.png")
        convert("-background", "none", "MSVG:" + src, "PNG32:" + flat)
        if shadow is None:
            convert(flat, "-strip", "PNG32:" + out)
            optimise_png(out)
            return
        opacity, sigma, dy = shadow
        # The shadow is the shapes' alpha, blurred, tinted dark blue and put
        # under the shapes on the same canvas (no growth of the picture).
        convert(flat, "(", "+clone", "-alpha", "extract", "-blur", f"0x{sigma}",
                "-roll", f"+0+{dy}", "-evaluate", "multiply", str(opacity / 100.0), ")",
                "(", "+clone", "-fill", "#0B1E4A", "-colorize", "100", ")", "+swap",
                "-delete", "0", "-compose", "CopyOpacity", "-composite",
                flat, "-compose", "Over", "-composite",
                # The faint tail of the blur is cut to fully clear: a display
                # without composition shows any non-zero alpha as dark.
                "-channel", "A", "-black-threshold", "6%", "+channel", "-strip", "PNG32:" + out)
        optimise_png(out)


def card(out, width, height, margin, band=0, art="", shadow=(28, 4, 2)):
    cw, ch = width - 2 * margin, height - 2 * margin
    band_shape = ""
    if band:
        # The band's top corners follow the card's; its bottom edge is square.
        band_shape = (f'<rect x="{margin}" y="{margin}" width="{cw}" height="{band}" rx="12" ry="12" fill="{BLUE}" stroke="none"/>'
                      f'<rect x="{margin}" y="{margin + band - 14}" width="{cw}" height="14" fill="{BLUE}" stroke="none"/>')
    rasterise(svg("card.svg", W=width, H=height, M=margin, CW=cw, CH=ch, BANDSHAPE=band_shape, ART=art),
              out, shadow)


def main():
    png = os.path.join(HERE, "png")
    ico = os.path.join(HERE, "ico")
    bmp = os.path.join(HERE, "bmp")
    for d in (png, ico, bmp):
        os.makedirs(d, exist_ok=True)
    p = lambda n: os.path.join(png, f"{n}.png")

    # Page backgrounds: the pages stand 10 pixels inside them.
    card(p(252), 748, 530, 10, 170, WIREFRAME)
    card(p(253), 748, 530, 10, 170, WIREFRAME +
         '<rect x="40" y="330" width="668" height="150" rx="8" ry="8" fill="#F5F7FA" stroke="none"/>')
    card(p(255), 748, 530, 10, 76)
    card(p(256), 748, 530, 10, 76)
    card(p(258), 748, 530, 10, 170, WIREFRAME)
    card(p(272), 748, 530, 10, 0, CHECK_BIG)
    card(p(309), 748, 530, 10, 76)
    for n, motif in SLIDE_MOTIFS.items():
        card(p(260 + n), 748, 530, 10, 320, motif)
    # The tip dialog's background: the dialog stands 40 pixels inside it.
    card(p(254), 490, 280, 40, 0, "", shadow=(30, 3, 2))

    rasterise(svg("tip-picture.svg"), p(294))
    for ids, look, w, h in BUTTONS:
        for state, n in zip(STATES, ids):
            fill, stroke = look[state]
            rasterise(svg("button.svg", W=w, H=h, IW=w - 2, IH=h - 2, FILL=fill, STROKE=stroke), p(n))
    for ids, path in (((282, 283, 284), "M 76 10 L 81 15 L 86 10"), ((285, 286, 287), "M 76 15 L 81 10 L 86 15")):
        for n, colour in zip(ids, (BLUE, "#8AADFF", "#5C8EFF")):
            rasterise(svg("chevron.svg", W=92, H=24, PATH=path, FILL=colour), p(n))
    for n, (fill, stroke) in zip((247, 273, 274), ((BLUE, "#3C7BFF"), ("#0E42C4", "#165DFF"),
                                                   ("#3C7BFF", "#5C8EFF"))):
        rasterise(svg("folder.svg", FILL=fill, STROKE=stroke), p(n))
    for name, chosen, unchosen in (("drafting", 310, 311), ("classic", 312, 313)):
        art = WORKSPACE_ART[name]
        rasterise(svg("workspace.svg", STROKE=BLUE, SW=2, ART=art, BADGE=BADGE, CAPTION=BLUE), p(chosen),
                  (20, 3, 2))
        rasterise(svg("workspace.svg", STROKE="#D5DCE8", SW=1, ART=art, BADGE="", CAPTION="#8A96AA"),
                  p(unchosen), (14, 3, 2))

    # Check-box icons, several sizes so 16 pixels and its DPI scalings stay crisp.
    boxes = {131: (BLUE, BLUE, "#FFFFFF"), 132: ("#FFFFFF", "#AEB4BE", "none"),
             240: ("#C9CDD4", "#C9CDD4", "#FFFFFF"), 230: ("#F2F3F5", "#D5D8DE", "none")}
    for n, (fill, stroke, mark) in boxes.items():
        with tempfile.TemporaryDirectory() as work:
            big = os.path.join(work, "box.png")
            rasterise(svg("checkbox.svg", FILL=fill, STROKE=stroke, MARK=mark), big)
            frames = []
            for size in (16, 20, 24, 32):
                frame = os.path.join(work, f"{size}.png")
                convert(big, "-resize", f"{size}x{size}!", "PNG32:" + frame)
                frames.append(frame)
            write_icon(os.path.join(ico, f"{n}.ico"), frames)

    # Option bitmaps of the maintenance page: normal, hover, pressed (chosen).
    looks = {"normal": ("#FFFFFF", "#D5DCE8", 1, "#4E5969"), "hover": ("#F2F6FF", "#8AADFF", 1.5, "#3C7BFF"),
             "pressed": ("#E8F0FF", BLUE, 3, BLUE)}
    ids = {"modify": (3028, 3031, 3034), "uninstall": (3029, 3032, 3035), "repair": (3030, 3033, 3036)}
    for name, (normal, hover, pressed) in ids.items():
        for state, n in (("normal", normal), ("hover", hover), ("pressed", pressed)):
            fill, stroke, width, mark = looks[state]
            art = OPTION_ART[name].replace("{FILL}", fill)
            out = os.path.join(bmp, f"{n}.bmp")
            with tempfile.TemporaryDirectory() as work:
                flat = os.path.join(work, "o.png")
                rasterise(svg("option.svg", FILL=fill, STROKE=stroke, SW=width, MARK=mark, ART=art), flat)
                convert(flat, "-background", "#FFFFFF", "-flatten", "-type", "TrueColor", "BMP3:" + out)
                palette_bmp(out)
    print("render-skin.py: pictures written under", HERE)


if __name__ == "__main__":
    main()
