#include "toolkit/drawing/EmbeddedFont.h"

// VARNIS_EMBEDDED_FONT is the font file's path, given by the build.
__asm__(
    ".pushsection .rodata\n"
    ".balign 16\n"
    ".globl varnis_embedded_font_begin\n"
    ".hidden varnis_embedded_font_begin\n"
    ".globl varnis_embedded_font_end\n"
    ".hidden varnis_embedded_font_end\n"
    "varnis_embedded_font_begin:\n"
    ".incbin \"" VARNIS_EMBEDDED_FONT
    "\"\n"
    "varnis_embedded_font_end:\n"
    ".popsection\n");

extern "C" __attribute__((visibility("hidden"))) const unsigned char varnis_embedded_font_begin[];
extern "C" __attribute__((visibility("hidden"))) const unsigned char varnis_embedded_font_end[];

EmbeddedFontData GetEmbeddedFont() {
  return EmbeddedFontData{varnis_embedded_font_begin,
                          size_t(varnis_embedded_font_end - varnis_embedded_font_begin)};
}
