#!/usr/bin/env python3
"""Writes the stationery templates (Flat ODF text documents) into share/marrowfin/templates/.

Each template is a printable layout at real paper and card sizes. Every picture frame is named
"Picture N" and holds a small placeholder picture; the editor replaces that picture with the
selected object and keeps everything else. Frame sizes follow the aspect of the matching
specialty-crop preset (width and height of the cut, in canvas pixels), so a cut picture fills
its frame exactly. Text boxes hold bracketed placeholder text that a person replaces.

Run it again after changing a layout:  python3 scripts/make-templates.py
"""
import base64
import os
import struct
import zlib
from xml.sax.saxutils import escape

OUT = os.path.join(os.path.dirname(__file__), "..", "share", "marrowfin", "templates")
LETTER = (8.5, 11.0)
LETTER_WIDE = (11.0, 8.5)


def placeholder_png():
    """A 4 x 4 pale grey picture: what an untouched template shows in its frames."""
    raw = b"".join(b"\x00" + b"\xd8\xd8\xd8" * 4 for _ in range(4))

    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)

    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", 4, 4, 8, 2, 0, 0, 0))
            + chunk(b"IDAT", zlib.compress(raw)) + chunk(b"IEND", b""))


PLACEHOLDER = base64.b64encode(placeholder_png()).decode()


def fit(aspect, max_w, max_h):
    """The largest width and height of the given aspect inside max_w x max_h."""
    if max_w / max_h > aspect:
        return round(max_h * aspect, 4), max_h
    return max_w, round(max_w / aspect, 4)


class Layout:
    def __init__(self, page):
        self.page = page
        self.pictures = []  # (page number, x, y, w, h)
        self.texts = []     # (page number, x, y, w, h, [(style, text)])
        self.guides = []    # (page number, kind, x, y, w, h): cut and fold lines
        self.pages = 1

    def picture(self, page, x, y, w, h):
        self.pictures.append((page, x, y, w, h))
        self.pages = max(self.pages, page)

    def text(self, page, x, y, w, h, lines):
        self.texts.append((page, x, y, w, h, lines))
        self.pages = max(self.pages, page)

    def guide(self, page, kind, x, y, w, h):
        self.guides.append((page, kind, x, y, w, h))

    def card(self, page, x, y, w, h, aspect, top, picture_h, lines, fold=False):
        """A card at (x, y) of size w x h: its cut outline, a centred picture from `top` down
        and a text box under it. With fold, the card folds in the middle and the picture sits on
        the right-hand (front) half."""
        self.guide(page, "rect", x, y, w, h)
        panel_x, panel_w = x, w
        if fold:
            self.guide(page, "line", x + w / 2, y, 0, h)
            panel_x, panel_w = x + w / 2, w / 2
        pw, ph = fit(aspect, panel_w - 0.5, picture_h)
        self.picture(page, round(panel_x + (panel_w - pw) / 2, 4), y + top, pw, ph)
        if lines:
            text_top = y + top + ph + 0.1
            self.text(page, panel_x + 0.15, text_top, panel_w - 0.3, max(0.3, y + h - text_top - 0.1), lines)


def n(value):
    return f"{value:.4f}".rstrip("0").rstrip(".") + "in"


def document(layout):
    out = []
    z = 0
    body = []
    for page, kind, x, y, w, h in layout.guides:
        anchor = f'text:anchor-type="page" text:anchor-page-number="{page}" draw:z-index="{z}" draw:style-name="gr1"'
        if kind == "rect":
            body.append(f'<draw:rect {anchor} svg:x="{n(x)}" svg:y="{n(y)}" svg:width="{n(w)}" svg:height="{n(h)}"/>')
        elif kind == "circle":
            body.append(f'<draw:circle {anchor} svg:x="{n(x)}" svg:y="{n(y)}" svg:width="{n(w)}" svg:height="{n(h)}"/>')
        else:
            body.append(f'<draw:line {anchor} svg:x1="{n(x)}" svg:y1="{n(y)}" svg:x2="{n(x + w)}" svg:y2="{n(y + h)}"/>')
        z += 1
    for index, (page, x, y, w, h) in enumerate(layout.pictures, 1):
        body.append(
            f'<draw:frame draw:style-name="fr1" draw:name="Picture {index}" text:anchor-type="page" '
            f'text:anchor-page-number="{page}" svg:x="{n(x)}" svg:y="{n(y)}" svg:width="{n(w)}" '
            f'svg:height="{n(h)}" draw:z-index="{z}"><draw:image><office:binary-data>{PLACEHOLDER}'
            f'</office:binary-data></draw:image></draw:frame>')
        z += 1
    for index, (page, x, y, w, h, lines) in enumerate(layout.texts, 1):
        paragraphs = "".join(f'<text:p text:style-name="{style}">{escape(text)}</text:p>' for style, text in lines)
        body.append(
            f'<draw:frame draw:style-name="fr2" draw:name="Text {index}" text:anchor-type="page" '
            f'text:anchor-page-number="{page}" svg:x="{n(x)}" svg:y="{n(y)}" svg:width="{n(w)}" '
            f'svg:height="{n(h)}" draw:z-index="{z}"><draw:text-box>{paragraphs}</draw:text-box></draw:frame>')
        z += 1
    # One empty paragraph per page, so that frames anchored to later pages have their page.
    paragraphs = '<text:p text:style-name="Standard"/>' + '<text:p text:style-name="PageBreak"/>' * (layout.pages - 1)
    width, height = layout.page
    out.append(f'''<?xml version="1.0" encoding="UTF-8"?>
<office:document xmlns:office="urn:oasis:names:tc:opendocument:xmlns:office:1.0"
 xmlns:style="urn:oasis:names:tc:opendocument:xmlns:style:1.0"
 xmlns:text="urn:oasis:names:tc:opendocument:xmlns:text:1.0"
 xmlns:draw="urn:oasis:names:tc:opendocument:xmlns:drawing:1.0"
 xmlns:fo="urn:oasis:names:tc:opendocument:xmlns:xsl-fo-compatible:1.0"
 xmlns:svg="urn:oasis:names:tc:opendocument:xmlns:svg-compatible:1.0"
 xmlns:xlink="http://www.w3.org/1999/xlink"
 office:version="1.3" office:mimetype="application/vnd.oasis.opendocument.text">
<office:font-face-decls>
<style:font-face style:name="DejaVu Serif" svg:font-family="&apos;DejaVu Serif&apos;" style:font-family-generic="roman"/>
</office:font-face-decls>
<office:styles>
<draw:stroke-dash draw:name="Cut_Line" draw:style="rect" draw:dots1="1" draw:dots1-length="0.06in" draw:distance="0.06in"/>
<style:default-style style:family="paragraph"><style:paragraph-properties fo:text-align="center"/>
<style:text-properties style:font-name="DejaVu Serif" fo:font-size="11pt" fo:language="en" fo:country="US"/></style:default-style>
<style:style style:name="Standard" style:family="paragraph"/>
</office:styles>
<office:automatic-styles>
<style:style style:name="Heading" style:family="paragraph"><style:paragraph-properties fo:margin-bottom="0.06in"/>
<style:text-properties fo:font-size="14pt" fo:font-style="italic"/></style:style>
<style:style style:name="Name" style:family="paragraph"><style:paragraph-properties fo:margin-bottom="0.04in"/>
<style:text-properties fo:font-size="16pt" fo:font-weight="bold"/></style:style>
<style:style style:name="Body" style:family="paragraph"><style:paragraph-properties fo:margin-bottom="0.04in"/>
<style:text-properties fo:font-size="10pt"/></style:style>
<style:style style:name="Small" style:family="paragraph"><style:text-properties fo:font-size="8pt"/></style:style>
<style:page-layout style:name="pm1"><style:page-layout-properties fo:page-width="{n(width)}" fo:page-height="{n(height)}"
 style:print-orientation="{'landscape' if width > height else 'portrait'}" fo:margin-top="0in" fo:margin-bottom="0in" fo:margin-left="0in" fo:margin-right="0in"/></style:page-layout>
<style:style style:name="PageBreak" style:family="paragraph" style:parent-style-name="Standard"><style:paragraph-properties fo:break-before="page"/></style:style>
<style:style style:name="fr1" style:family="graphic"><style:graphic-properties style:wrap="run-through" style:run-through="foreground"
 style:vertical-pos="from-top" style:vertical-rel="page" style:horizontal-pos="from-left" style:horizontal-rel="page"
 fo:padding="0in" fo:border="none" draw:stroke="none" draw:fill="none" style:protect="none"/></style:style>
<style:style style:name="fr2" style:family="graphic"><style:graphic-properties style:wrap="run-through" style:run-through="foreground"
 style:vertical-pos="from-top" style:vertical-rel="page" style:horizontal-pos="from-left" style:horizontal-rel="page"
 fo:padding="0.02in" fo:border="none" draw:stroke="none" draw:fill="none" draw:textarea-vertical-align="top"/></style:style>
<style:style style:name="gr1" style:family="graphic"><style:graphic-properties draw:stroke="dash" draw:stroke-dash="Cut_Line"
 svg:stroke-width="0.01in" svg:stroke-color="#a0a0a0" draw:fill="none" style:wrap="run-through" style:run-through="background"
 style:vertical-pos="from-top" style:vertical-rel="page" style:horizontal-pos="from-left" style:horizontal-rel="page"/></style:style>
</office:automatic-styles>
<office:master-styles><style:master-page style:name="Standard" style:page-layout-name="pm1"/></office:master-styles>
<office:body><office:text>
{chr(10).join(body)}
{paragraphs}
</office:text></office:body>
</office:document>
''')
    return "".join(out)


# Aspects of the specialty-crop presets: cut width / cut height in canvas pixels.
def aspect(half_w, half_h):
    return half_w / half_h


MEMORY = [("Heading", "In Loving Memory"), ("Name", "[Full Name]"), ("Body", "[Month Day, Year] – [Month Day, Year]")]
PRAYER = [("Body", "[A prayer, verse or poem of your choosing goes here. Replace this text with the words "
                    "the family has chosen.]")]


def service_folder_1up():
    a = aspect(504, 384)
    lay = Layout(LETTER_WIDE)
    lay.guide(1, "line", 5.5, 0, 0, 8.5)
    lay.text(1, 5.75, 0.4, 5.0, 0.5, MEMORY[:1])
    w, h = fit(a, 4.6, 4.0)
    lay.picture(1, 5.5 + (5.5 - w) / 2, 1.0, w, h)
    lay.text(1, 5.75, 1.1 + h, 5.0, 2.0, MEMORY[1:] + [("Body", "[Place and time of the service]")])
    lay.text(1, 0.5, 0.6, 4.5, 7.3, [("Heading", "[A poem or verse for the back]"), ("Body", "[Text]"),
                                      ("Small", "[Arrangements by: funeral home name and address]")])
    lay.text(2, 0.5, 0.6, 4.5, 7.3, [("Heading", "Obituary"), ("Body", "[The life story of your loved one.]")])
    lay.text(2, 6.0, 0.6, 4.5, 7.3, [("Heading", "Order of Service"), ("Body", "[Prelude]"), ("Body", "[Welcome]"),
                                      ("Body", "[Readings]"), ("Body", "[Eulogy]"), ("Body", "[Closing]")])
    return lay


def service_folder_2up():
    a = aspect(504, 315)
    lay = Layout(LETTER)
    for top in (0.0, 5.5):
        lay.card(1, 0, top, 8.5, 5.5, a, 0.9, 2.6, MEMORY[1:], fold=True)
        lay.text(1, 4.4, top + 0.35, 3.95, 0.45, MEMORY[:1])
        lay.text(1, 0.3, top + 0.5, 3.65, 4.6, [("Heading", "Order of Service"), ("Body", "[Service details]")])
    return lay


def register_cover():
    lay = Layout(LETTER)
    w, h = fit(aspect(258, 370), 5.2, 7.5)
    lay.text(1, 0.75, 0.45, 7.0, 0.55, MEMORY[:1])
    lay.picture(1, (8.5 - w) / 2, 1.1, w, h)
    lay.text(1, 0.75, 1.2 + h, 7.0, 1.4, MEMORY[1:])
    return lay


def register_page(heading, lines):
    lay = Layout(LETTER)
    w, h = fit(aspect(276, 383), 3.6, 5.2)
    lay.picture(1, (8.5 - w) / 2, 0.8, w, h)
    lay.text(1, 1.0, 1.0 + h, 6.5, 10.4 - h - 1.0, [("Heading", heading)] + [("Body", line) for line in lines])
    return lay


def bookmarks(page, count, width, height, a):
    lay = Layout(page)
    left = (page[0] - count * width) / 2
    top = (page[1] - height) / 2
    for i in range(count):
        lay.card(1, left + i * width, top, width, height, a, 0.25, height - 1.45,
                 [("Name", "[Name]"), ("Small", "[Year] – [Year]")])
        lay.text(2, page[0] - left - (i + 1) * width + 0.15, top + 0.4, width - 0.3, height - 0.8,
                 [("Heading", "[Verse]")] + PRAYER)
    return lay


def thank_you():
    lay = Layout(LETTER)
    for top in (0.0, 5.5):
        lay.card(1, 0, top, 8.5, 5.5, aspect(251, 361), 0.3, 4.4, [("Heading", "Thank You")], fold=True)
        lay.text(2, 4.4, top + 0.8, 3.95, 3.9, [("Body", "The family of [Name] is grateful for your kindness and "
                                                        "sympathy. [Replace with your own words.]")])
    return lay


def prayer_cards(page, columns, rows, a, picture_h, top):
    lay = Layout(page)
    cw, ch = page[0] / columns, page[1] / rows
    for r in range(rows):
        for c in range(columns):
            lay.card(1, c * cw, r * ch, cw, ch, a, top, picture_h, [])
            # The backs mirror the fronts, so that they meet when the sheet is printed on both sides.
            bx = (columns - 1 - c) * cw
            lay.text(2, bx + 0.2, r * ch + 0.3, cw - 0.4, ch - 0.6, MEMORY + PRAYER)
    return lay


def cd_label():
    lay = Layout(LETTER)
    size = 4.625
    for top in (0.6875, 5.6875):
        x = (8.5 - size) / 2
        lay.guide(1, "circle", x, top, size, size)
        lay.picture(1, x, top, size, size)
        lay.text(1, x + 1.0, top + size - 1.2, size - 2.0, 0.7, [("Body", "[Name]"), ("Small", "[Year] – [Year]")])
    return lay


def cd_cover():
    lay = Layout(LETTER)
    x, y, s = 1.875, 0.5, 4.75
    lay.guide(1, "rect", x, y, s, s)
    w, h = fit(aspect(504, 336), s - 0.4, 3.2)
    lay.picture(1, x + (s - w) / 2, y + 0.2, w, h)
    lay.text(1, x + 0.2, y + 0.3 + h, s - 0.4, s - h - 0.5, MEMORY[1:] + [("Body", "A Celebration of Life")])
    lay.guide(1, "rect", 1.297, 5.75, 5.906, 4.625)
    lay.text(1, 1.6, 6.0, 5.3, 4.1, [("Heading", "[Title of the recording]"), ("Body", "1. [First track]"),
                                     ("Body", "2. [Second track]"), ("Body", "3. [Third track]")])
    return lay


TEMPLATES = {
    "Service_Folder_1-Up": service_folder_1up(),
    "Service_Folder_2-Up": service_folder_2up(),
    "Register_Book": register_cover(),
    "Register_Book-In_Memory": register_page("In Memory Of", ["[Full Name]", "Born [date] in [place]",
                                                              "Passed away [date] in [place]"]),
    "Register_Book-Services": register_page("Services", ["Held at [place]", "[Date and time]",
                                                         "Officiating: [name]", "Music: [names]",
                                                         "Pallbearers: [names]"]),
    "Register_Book-Place_of_Rest": register_page("Place of Rest", ["[Cemetery or memorial garden]",
                                                                   "[Town, region]", "Interment on [date]"]),
    "Register_Book-Catholic_Services": register_page("Catholic Services", ["Vigil for the Deceased: [date, place]",
                                                                           "Mass of Christian Burial: [date, church]",
                                                                           "Celebrant: [name]",
                                                                           "Rite of Committal: [cemetery]"]),
    "Bookmark_2-Up": bookmarks(LETTER, 2, 2.75, 8.5, aspect(121, 384)),
    "Bookmark_4-Up": bookmarks(LETTER_WIDE, 4, 2.5, 8.0, aspect(102, 384)),
    "Thank-You_Card_2-Up_(Half)": thank_you(),
    "Prayer_Card_4-Up": prayer_cards(LETTER, 2, 2, aspect(259, 379), 4.9, 0.3),
    "Prayer_Card_8-Up": prayer_cards(LETTER_WIDE, 4, 2, aspect(204, 384), 3.95, 0.15),
    "CD_and_DVD_Label_(Avery)": cd_label(),
    "CD_and_DVD_Cover": cd_cover(),
}

if __name__ == "__main__":
    os.makedirs(OUT, exist_ok=True)
    for name, layout in TEMPLATES.items():
        with open(os.path.join(OUT, name + ".fodt"), "w", encoding="utf-8") as f:
            f.write(document(layout))
    print(f"wrote {len(TEMPLATES)} templates to {os.path.normpath(OUT)}")
