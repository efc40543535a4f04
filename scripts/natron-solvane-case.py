# Builds Read -> Solvane -> Write in NatronRenderer for scripts/check-ofx-natron.sh, which runs
#   NatronRenderer -w SolvaneWrite 1-1 natron-solvane-case.py
# with the case in the environment:
#   SOLVANE_CASE_INPUT   the EXR read (its size becomes the project format)
#   SOLVANE_CASE_OUTPUT  the EXR written, float, with no colour conversion either way
#   SOLVANE_CASE_SIZE    "WIDTH HEIGHT" of the input
#   SOLVANE_CASE_PARAMS  the effect's parameters, "name=value" separated by "|": choices by
#                        their option's label, booleans 0 or 1, points as "x y"
#   SOLVANE_CASE_KEYS    keyframes, "name@frame=value" separated by "|" (doubles and points)
#   SOLVANE_CASE_ROD     1: write the effect's region of definition as the EXR data window
#                        (the display window stays the project format); 0: the format only
#   SOLVANE_CASE_ID      the effect's identifier (default com.brindel.solvane)
# Anything that does not go as planned raises, so NatronRenderer exits with an error.
import os
import sys

import NatronEngine


def fail(message):
    sys.stderr.write("natron-solvane-case: %s\n" % message)
    raise RuntimeError(message)


def param(node, name):
    p = node.getParam(name)
    if p is None:
        fail("%s has no parameter '%s'" % (node.getPluginID(), name))
    return p


def set_choice(p, name, *labels):
    # Natron names an option by its identifier where the plug-in gave one ("project"),
    # else by its label: the first of LABELS that is an option is set.
    options = [str(p.getOption(i)) for i in range(p.getNumOptions())]
    for label in labels:
        if label in options:
            p.setValue(options.index(label))
            return
    fail("parameter '%s' has no option %s (options: %s)" % (name, " or ".join(labels), options))


def set_param(node, name, value):
    p = param(node, name)
    if isinstance(p, NatronEngine.ChoiceParam):
        set_choice(p, name, value)
    elif isinstance(p, NatronEngine.BooleanParam):
        if value not in ("0", "1"):
            fail("boolean '%s' takes 0 or 1, not '%s'" % (name, value))
        p.setValue(value == "1")
    elif isinstance(p, NatronEngine.Double2DParam):
        x, y = (float(v) for v in value.split())
        p.set(x, y)
    elif isinstance(p, NatronEngine.IntParam):
        p.setValue(int(value))
    elif isinstance(p, NatronEngine.DoubleParam):
        p.setValue(float(value))
    else:
        fail("parameter '%s' is a %s, which this script cannot set" % (name, type(p).__name__))


def set_key(node, name, frame, value):
    p = param(node, name)
    if isinstance(p, NatronEngine.Double2DParam):
        for dimension, v in enumerate(value.split()):
            p.setValueAtTime(float(v), frame, dimension)
    elif isinstance(p, NatronEngine.DoubleParam):
        p.setValueAtTime(float(value), frame)
    else:
        fail("parameter '%s' is a %s, which this script cannot key" % (name, type(p).__name__))


def set_project_format(width, height):
    spec = "SolvaneCheck %dx%d 1" % (width, height)
    app.addFormat(spec)  # returns nothing: the format is looked for below
    p = app.getProjectParam("outputFormat")
    set_choice(p, "outputFormat", spec.split()[0])


def main():
    env = os.environ
    width, height = (int(v) for v in env["SOLVANE_CASE_SIZE"].split())
    set_project_format(width, height)

    reader = app.createReader(env["SOLVANE_CASE_INPUT"])
    if reader is None:
        fail("no reader for %s (is ReadOIIO loaded?)" % env["SOLVANE_CASE_INPUT"])
    effect_id = env.get("SOLVANE_CASE_ID", "com.brindel.solvane")
    effect = app.createNode(effect_id)
    if effect is None:
        fail("Natron has no plug-in %s (see OFX_PLUGIN_PATH)" % effect_id)
    for setting in filter(None, env.get("SOLVANE_CASE_PARAMS", "").split("|")):
        name, _, value = setting.partition("=")
        set_param(effect, name, value)
    for key in filter(None, env.get("SOLVANE_CASE_KEYS", "").split("|")):
        target, _, value = key.partition("=")
        name, _, frame = target.partition("@")
        set_key(effect, name, int(frame), value)

    writer = app.createWriter(env["SOLVANE_CASE_OUTPUT"])
    if writer is None:
        fail("no writer for %s (is WriteOIIO loaded?)" % env["SOLVANE_CASE_OUTPUT"])
    writer.setScriptName("SolvaneWrite")
    set_choice(param(writer, "formatType"), "formatType", "project", "Project Format")
    set_choice(param(writer, "bitDepth"), "bitDepth", "32f")
    if env.get("SOLVANE_CASE_ROD", "0") == "1":
        param(writer, "clipToRoD").setValue(True)

    if not effect.connectInput(0, reader):
        fail("cannot connect the reader to %s" % effect_id)
    if not writer.connectInput(0, effect):
        fail("cannot connect %s to the writer" % effect_id)
    print("natron-solvane-case: Read -> %s -> Write set up (%dx%d)" % (effect_id, width, height))


main()
