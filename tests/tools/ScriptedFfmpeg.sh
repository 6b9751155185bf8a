#!/bin/sh
# Stands in for ffmpeg: plays the scene that the test put into TUNEMILL_SCENE, with the
# arguments it was given ("$@"; the last one names the file to write).
eval "$TUNEMILL_SCENE"
