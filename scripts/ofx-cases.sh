# The cases the real-host checks of the OpenFX plug-in (check-ofx-melt.sh,
# check-ofx-natron.sh) render, sourced by both so that every host meets the same ones. Each
# is a name, then the parameters the host sets (the OpenFX names, choices by their labels),
# then after "--" solvane-render's. Position is set in canonical pixels, y up from the bottom
# (solvane-render counts y down from the top), on a 160 x 90 frame, so that the cases do not
# depend on how a host converts the normalised default; the default has a case of its own.
# shellcheck disable=SC2034  # used by the scripts that source this file
ofx_cases=(
  "zoom|mode=Zoom|position=48 36|length=1000|threshold=20|--|Mode=Zoom|Position=48,54|Length=1000|Threshold=20"
  "spin-aberration|mode=Spin|position=80 45|spinAmount=45|aberrationAmount=50|channels=Red & Green|quality=Draft|--|Mode=Spin|Style/Amount=45|Chromatic Aberration/Amount=50|Channels=Red & Green|Quality/Quality=Draft"
  "input-processed|position=80 45|view=Input (Processed)|thresholdMode=Chroma|threshold=40|--|View=Input (Processed)|Threshold Mode=Chroma|Threshold=40"
  "rays-solo-in-out|position=80 45|view=Rays Solo|direction=In & Out|unmult=0|--|View=Rays Solo|Direction=In & Out|Unmult=off"
  "add-partial-opacity|position=80 45|blendMode=Add|inputOpacity=60|exposure=2|--|Blend Mode=Add|Input Opacity=60|Exposure=2"
  "custom-quality|position=80 45|decay=0.5|quality=Custom|samples=32|noise=50|repeatEdges=0|--|Decay=0.5|Quality/Quality=Custom|Samples=32|Noise=50|Repeat Edges=off"
)
# An effect added as an editor adds it, with no position: the rays must start at the centre.
ofx_default_position_case="default-position|mode=Zoom|--|Mode=Zoom"
