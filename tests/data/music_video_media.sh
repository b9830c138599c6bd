#!/bin/sh
# Makes the short media files the music and video tests play. Run it on a developer's machine
# with ffmpeg; the files it writes are checked in, so tests and CI need no encoder.
#   music_tone.ogg        0.6 s of a 440 Hz tone, Ogg Vorbis, mono
#   video_red_green.webm  1 s, 64 x 48 at 25 frames per second: solid red for the first half,
#                         solid green for the second, with a 440 Hz tone (VP8 and Vorbis)
set -eu
cd "$(dirname "$0")"

ffmpeg -hide_banner -loglevel error -y \
  -f lavfi -i "sine=frequency=440:sample_rate=22050:duration=0.6" \
  -ac 1 -c:a libvorbis -q:a 0 -map_metadata -1 -fflags +bitexact music_tone.ogg

ffmpeg -hide_banner -loglevel error -y \
  -f lavfi -i "color=c=red:s=64x48:r=25:d=0.5" \
  -f lavfi -i "color=c=lime:s=64x48:r=25:d=0.5" \
  -f lavfi -i "sine=frequency=440:sample_rate=22050:duration=1" \
  -filter_complex "[0:v][1:v]concat=n=2:v=1:a=0[v]" -map "[v]" -map 2:a \
  -c:v libvpx -b:v 40k -g 25 -c:a libvorbis -q:a 0 -ac 1 \
  -map_metadata -1 -fflags +bitexact video_red_green.webm
