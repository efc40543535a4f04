#!/usr/bin/python3
# The EXR side of scripts/check-ofx-natron.sh: its input, and how it compares EXR files.
#   natron-exr.py input PICTURE OUT.exr WIDTH HEIGHT   the check's input, premultiplied float
#   natron-exr.py difference A.exr B.exr               the largest difference (see below)
#   natron-exr.py windows FILE.exr                     "data X Y W H display X Y W H"
# The input is PICTURE scaled to WIDTH x HEIGHT with a transparent strip at the left, a ramp
# of alpha after it and a half-transparent band at the bottom, premultiplied as EXR holds
# colour. The difference is that of solvane's float tests: per channel of the premultiplied
# pixels, relative to the larger of 1 and B's value; "inf" where the pixel sizes differ.
# Needs OpenImageIO's and numpy's Python modules (scripts/setup.sh --natron).
import math
import os
import sys

import numpy
import OpenImageIO as oiio


def fail(message):
    sys.stderr.write("natron-exr: %s\n" % message)
    sys.exit(1)


def read(path):
    buf = oiio.ImageBuf(path)
    pixels = buf.get_pixels(oiio.FLOAT)
    if buf.has_error or pixels is None:
        fail("cannot read %s: %s" % (path, buf.geterror()))
    if pixels.shape[2] != 4:
        fail("%s has %d channels, not RGBA" % (path, pixels.shape[2]))
    return buf, pixels


def make_input(picture, out, width, height):
    source = oiio.ImageBuf(picture)
    if source.has_error:
        fail("cannot read %s: %s" % (picture, source.geterror()))
    scaled = oiio.ImageBufAlgo.resize(source, roi=oiio.ROI(0, width, 0, height, 0, 1, 0, 4))
    rgba = scaled.get_pixels(oiio.FLOAT)
    if rgba is None or rgba.shape[2] < 3:
        fail("cannot scale %s to %dx%d: %s" % (picture, width, height, scaled.geterror()))
    x = numpy.arange(width)[None, :]
    y = numpy.arange(height)[:, None]
    alpha = numpy.where(x < 12, 0.0, numpy.where(x < 24, (x - 11) / 13.0,
                                                 numpy.where(y >= height - 10, 0.5, 1.0)))
    alpha = numpy.broadcast_to(alpha, (height, width)).astype(numpy.float32)
    pixels = numpy.empty((height, width, 4), numpy.float32)
    pixels[..., :3] = rgba[..., :3] * alpha[..., None]
    pixels[..., 3] = alpha
    spec = oiio.ImageSpec(width, height, 4, oiio.FLOAT)
    spec.channelnames = ("R", "G", "B", "A")
    spec.alpha_channel = 3
    result = oiio.ImageBuf(spec)
    if not result.set_pixels(oiio.ROI(0, width, 0, height, 0, 1, 0, 4), pixels) or \
            not result.write(out + ".tmp.exr"):
        fail("cannot write %s: %s" % (out, result.geterror()))
    try:
        os.replace(out + ".tmp.exr", out)
    except OSError as e:
        fail("cannot write %s: %s" % (out, e))


def difference(a_path, b_path):
    _, a = read(a_path)
    _, b = read(b_path)
    if a.shape != b.shape:
        return math.inf
    d = numpy.abs(a - b) / numpy.maximum(1.0, numpy.abs(b))
    if numpy.isnan(d).any():
        return math.inf
    return float(d.max())


def windows(path):
    buf = oiio.ImageBuf(path)
    spec = buf.spec()
    if buf.has_error:
        fail("cannot read %s: %s" % (path, buf.geterror()))
    return "data %d %d %d %d display %d %d %d %d" % (
        spec.x, spec.y, spec.width, spec.height,
        spec.full_x, spec.full_y, spec.full_width, spec.full_height)


def main(argv):
    if len(argv) == 6 and argv[1] == "input":
        make_input(argv[2], argv[3], int(argv[4]), int(argv[5]))
    elif len(argv) == 4 and argv[1] == "difference":
        print("%.3g" % difference(argv[2], argv[3]))
    elif len(argv) == 3 and argv[1] == "windows":
        print(windows(argv[2]))
    else:
        sys.stderr.write(open(__file__).read().split("\nimport")[0].split("\n", 1)[1])
        sys.exit(2)


main(sys.argv)
