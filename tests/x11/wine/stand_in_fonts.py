#!/usr/bin/python3
"""Writes the stand-ins Wine uses for the dialog templates' two Japanese faces: copies of the IPA
Gothic faces whose vertical metrics give the cell of the faces they stand for, one em tall with
an ascent of 220/256 em (12 pixels, ascent 10, at 9 point), as our own layer lays them out. The
IPA faces' own metrics give a cell of 13 pixels, which moves every control of a dialog.

usage: stand_in_fonts.py OUTPUT_DIRECTORY"""
import sys
from pathlib import Path

from fontTools.ttLib import TTFont

SOURCES = "/usr/share/fonts/opentype/ipafont-gothic"
# (source file, family of the stand-in)
FACES = [("ipag.ttf", "IPAGothic Dialog"), ("ipagp.ttf", "IPAPGothic Dialog")]
ASCENT_PER_EM = 220 / 256


def write_stand_in(source: Path, family: str, output: Path) -> None:
    font = TTFont(source)
    em = font["head"].unitsPerEm
    ascent = round(em * ASCENT_PER_EM)
    descent = em - ascent
    os2, hhea = font["OS/2"], font["hhea"]
    os2.usWinAscent, os2.usWinDescent = ascent, descent
    os2.sTypoAscender, os2.sTypoDescender, os2.sTypoLineGap = ascent, -descent, 0
    hhea.ascent, hhea.descent, hhea.lineGap = ascent, -descent, 0
    # A family of its own, in every language the name table speaks, so that the copy never
    # stands in the original's place under the original's name.
    names = font["name"]
    for record in names.names:
        if record.nameID in (1, 4, 6, 16):
            text = family.replace(" ", "-") if record.nameID == 6 else family
            names.setName(text, record.nameID, record.platformID, record.platEncID, record.langID)
        elif record.nameID == 3:
            names.setName(family + " stand-in", 3, record.platformID, record.platEncID,
                          record.langID)
    font.save(output)


def main() -> int:
    if len(sys.argv) != 2:
        print(__doc__, file=sys.stderr)
        return 2
    directory = Path(sys.argv[1])
    directory.mkdir(parents=True, exist_ok=True)
    for file_name, family in FACES:
        write_stand_in(Path(SOURCES) / file_name, family,
                       directory / (family.replace(" ", "") + ".ttf"))
    return 0


if __name__ == "__main__":
    sys.exit(main())
