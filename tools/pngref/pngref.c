/* pngref IN.png OUT.raw: the reference decoder of the conformance corpus.
 * Reads the image with libpng and writes it in pngdecode's format (width,
 * height as little-endian 32 bit, then unpadded rows of B, G, R or B, G, R, A
 * with colour premultiplied by alpha). Kept out of the build: it is compiled
 * and run by make-reference, and only its output is committed. */
#include <png.h>
#include <stdio.h>
#include <stdlib.h>

static void put32(FILE* f, unsigned v) {
    for (int i = 0; i < 4; ++i) fputc((v >> (8 * i)) & 255, f);
}

int main(int argc, char** argv) {
    if (argc != 3) { fprintf(stderr, "usage: pngref IN.png OUT.raw\n"); return 1; }
    FILE* in = fopen(argv[1], "rb");
    if (!in) { fprintf(stderr, "pngref: cannot open %s\n", argv[1]); return 1; }
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, NULL, NULL, NULL);
    png_infop info = png_create_info_struct(png);
    if (setjmp(png_jmpbuf(png))) { fprintf(stderr, "pngref: libpng failed on %s\n", argv[1]); return 1; }
    png_init_io(png, in);
    png_read_info(png, info);
    png_uint_32 w = png_get_image_width(png, info), h = png_get_image_height(png, info);
    int depth = png_get_bit_depth(png, info), type = png_get_color_type(png, info);
    if (png_get_interlace_type(png, info) != PNG_INTERLACE_NONE) { fprintf(stderr, "pngref: interlaced\n"); return 1; }
    /* Samples as stored; sub-byte grey scaled to 8 bits, sub-byte indices unpacked. */
    if (type == PNG_COLOR_TYPE_GRAY && depth < 8) png_set_expand_gray_1_2_4_to_8(png);
    if (type == PNG_COLOR_TYPE_PALETTE && depth < 8) png_set_packing(png);
    png_read_update_info(png, info);
    png_colorp pal = NULL; int npal = 0;
    if (type == PNG_COLOR_TYPE_PALETTE) png_get_PLTE(png, info, &pal, &npal);
    size_t rowbytes = png_get_rowbytes(png, info);
    png_bytep* rows = malloc(sizeof(png_bytep) * h);
    for (png_uint_32 y = 0; y < h; ++y) rows[y] = malloc(rowbytes);
    png_read_image(png, rows);
    png_read_end(png, NULL);
    fclose(in);

    FILE* out = fopen(argv[2], "wb");
    if (!out) { fprintf(stderr, "pngref: cannot write %s\n", argv[2]); return 1; }
    put32(out, w); put32(out, h);
    int wide = depth == 16;
    for (png_uint_32 y = 0; y < h; ++y) {
        png_bytep s = rows[y];
        for (png_uint_32 x = 0; x < w; ++x) {
            unsigned r, g, b, a = 0, v, A;
            int alpha = 0;
            switch (type) {
            case PNG_COLOR_TYPE_GRAY:
                v = wide ? s[2 * x] : s[x]; r = g = b = v; break;
            case PNG_COLOR_TYPE_RGB:
                if (wide) { r = s[6 * x]; g = s[6 * x + 2]; b = s[6 * x + 4]; }
                else { r = s[3 * x]; g = s[3 * x + 1]; b = s[3 * x + 2]; }
                break;
            case PNG_COLOR_TYPE_PALETTE:
                if (s[x] < npal) { r = pal[s[x]].red; g = pal[s[x]].green; b = pal[s[x]].blue; }
                else r = g = b = 0;
                break;
            case PNG_COLOR_TYPE_GRAY_ALPHA:
                alpha = 1;
                if (wide) {
                    v = (s[4 * x] << 8) | s[4 * x + 1]; A = (s[4 * x + 2] << 8) | s[4 * x + 3];
                    r = g = b = (unsigned)(((unsigned long)v * A / 65535) >> 8); a = A >> 8;
                } else {
                    v = s[2 * x]; a = s[2 * x + 1]; r = g = b = v * a / 255;
                }
                break;
            default: /* RGBA */
                alpha = 1;
                if (wide) {
                    png_bytep p = s + 8 * x;
                    A = (p[6] << 8) | p[7]; a = A >> 8;
                    r = (unsigned)(((unsigned long)((p[0] << 8) | p[1]) * A / 65535) >> 8);
                    g = (unsigned)(((unsigned long)((p[2] << 8) | p[3]) * A / 65535) >> 8);
                    b = (unsigned)(((unsigned long)((p[4] << 8) | p[5]) * A / 65535) >> 8);
                } else {
                    png_bytep p = s + 4 * x;
                    a = p[3]; r = p[0] * a / 255; g = p[1] * a / 255; b = p[2] * a / 255;
                }
                break;
            }
            fputc(b, out); fputc(g, out); fputc(r, out);
            if (alpha) fputc(a, out);
        }
    }
    fclose(out);
    return 0;
}
