#!/usr/bin/env bash
# make_media.sh - synthesises all of the program's own media from scratch: the sounds
# in Sound/ (welcome jingle, the Stretch3..6 interface cues as MP3, and the drum roll,
# Christmas drummer and New Year fireworks effects as WAV) are made with sox `synth`
# (tones, sweeps and filtered noise); the animated pictures in Pics/ (turning globe,
# New Year fireworks) and the skin pictures in Resources/skin/ (menu background, button
# plates, window boxes, tool icons, message-window frame, about logo, ...) are drawn with
# ImageMagick from shapes, gradients, seeded noise and text in the DejaVu fonts, and the
# script also writes the Qt resource file Resources/skin.qrc that lists the skin.
# Nothing is taken from any other program or from the internet. The outputs are
# committed to the repository, so the build needs neither sox nor ImageMagick; run this
# script again (it always produces the same files) only when the media are to change.
# Needs: sox, libsox-fmt-mp3, imagemagick (bash tools/setup.sh --dev installs them).
set -euo pipefail
export LC_ALL=C

ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
IM=/usr/bin/convert-im6.q16
[ -x "$IM" ] || IM=convert
# One thread: seeded noise stays identical from run to run.
export MAGICK_THREAD_LIMIT=1
FONTB=/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf

command -v sox >/dev/null || { echo "make_media.sh: sox is missing (bash tools/setup.sh --dev)" >&2; exit 1; }
command -v "$IM" >/dev/null || { echo "make_media.sh: ImageMagick is missing (bash tools/setup.sh --dev)" >&2; exit 1; }

TMP=$(mktemp -d)
trap 'rm -rf "$TMP"' EXIT

mkdir -p "$ROOT/Sound" "$ROOT/Pics" "$ROOT/Resources/skin"
SND=$ROOT/Sound
PIC=$ROOT/Pics
SKIN=$ROOT/Resources/skin

calc() { awk "BEGIN{printf \"%.4f\", $*}"; }

# ---------------------------------------------------------------- sounds --
RATE=22050
# -R: repeatable noise and dither; no comment so the files carry no free text.
SOXG=(sox -R -V1)
gen() { "${SOXG[@]}" -n -r $RATE -c 1 -b 16 "$@"; }   # gen OUT synth ... [effects]

# note OUT FREQ DUR [VOL]: a soft bell-like note: plucked string + sine body + a
# quickly decaying octave shimmer.
note() {
  local out=$1 f=$2 d=$3 v=${4:-1}
  "${SOXG[@]}" -m \
    -v 0.55 "|sox -R -n -r $RATE -c 1 -p synth $d pluck $f lowpass 4000" \
    -v 0.45 "|sox -R -n -r $RATE -c 1 -p synth $d sine $f fade q 0.008 $d $(calc "$d*0.85")" \
    -v 0.20 "|sox -R -n -r $RATE -c 1 -p synth $d sine $(calc "$f*2") fade l 0.004 $d $d" \
    -r $RATE -c 1 -b 16 "$out" vol "$v"
}
# bass OUT FREQ DUR: a soft low tone
bass() { gen "$1" synth "$3" sine "$2" fade h 0.02 "$3" "$(calc "$3*0.8")"; }

# place IN OUT START: shift a sound to start later
place() { "${SOXG[@]}" "$1" -b 16 "$2" pad "$3"; }

# mixdown OUT [effects...] -- IN...: mix sounds, then apply effects
mixdown() {
  local out=$1; shift
  local eff=()
  while [ "$1" != "--" ]; do eff+=("$1"); shift; done
  shift
  if [ $# -eq 1 ]; then
    "${SOXG[@]}" "$1" -r $RATE -c 1 -b 16 "$out" "${eff[@]}"
  else
    "${SOXG[@]}" -m "$@" -r $RATE -c 1 -b 16 "$out" "${eff[@]}"
  fi
}

# seq_notes PREFIX "start freq dur [vol]" ... -> files PREFIX_N.wav; echoes their names
seq_notes() {
  local prefix=$1; shift
  local i=0 item s f d v
  for item in "$@"; do
    read -r s f d v <<<"$item"
    note "$TMP/${prefix}_n$i.wav" "$f" "$d" "${v:-1}"
    place "$TMP/${prefix}_n$i.wav" "$TMP/${prefix}_$i.wav" "$s"
    echo "$TMP/${prefix}_$i.wav"
    i=$((i+1))
  done
}

# Note frequencies (equal temperament)
G4=392.00; C5=523.25; E5=659.25; G5=783.99; A5=880.00; B5=987.77
C6=1046.50; D6=1174.66; E6=1318.51; G6=1567.98

# -- Welcome.mp3: cheerful ~3 s jingle in C major
mapfile -t parts < <(seq_notes wel \
  "0.00 $C5 0.40" "0.18 $E5 0.40" "0.36 $G5 0.40" "0.54 $C6 0.55" \
  "0.90 $A5 0.35 0.8" "1.08 $C6 0.35 0.8" "1.26 $E6 0.45 0.8" \
  "1.50 $C5 1.50 0.7" "1.50 $E5 1.50 0.7" "1.50 $G5 1.50 0.7" "1.50 $C6 1.50 0.8" "1.56 $E6 1.44 0.6")
bass "$TMP/wel_b1.wav" 130.81 0.85; place "$TMP/wel_b1.wav" "$TMP/wel_b1p.wav" 0
bass "$TMP/wel_b2.wav" 174.61 0.55; place "$TMP/wel_b2.wav" "$TMP/wel_b2p.wav" 0.90
bass "$TMP/wel_b3.wav" 130.81 1.50; place "$TMP/wel_b3.wav" "$TMP/wel_b3p.wav" 1.50
mixdown "$TMP/welcome.wav" reverb 20 50 40 norm -1 trim 0 3.0 fade q 0.005 3.0 0.5 -- \
  "${parts[@]}" "$TMP/wel_b1p.wav" "$TMP/wel_b2p.wav" "$TMP/wel_b3p.wav"
"${SOXG[@]}" "$TMP/welcome.wav" -C 48 "$SND/Welcome.mp3"

# -- Stretch3.mp3: ~1 s rising arpeggio (a tool opens)
mapfile -t parts < <(seq_notes st3 "0.00 $C5 0.75" "0.10 $E5 0.75" "0.20 $G5 0.75" "0.30 $C6 0.70")
mixdown "$TMP/st3.wav" reverb 15 50 30 norm -2 trim 0 1.0 fade q 0.005 1.0 0.25 -- "${parts[@]}"
"${SOXG[@]}" "$TMP/st3.wav" -C 48 "$SND/Stretch3.mp3"

# -- Stretch4.mp3: ~1 s falling arpeggio (back to the menu)
mapfile -t parts < <(seq_notes st4 "0.00 $C6 0.75" "0.10 $G5 0.75" "0.20 $E5 0.75" "0.30 $C5 0.70")
mixdown "$TMP/st4.wav" reverb 15 50 30 norm -2 trim 0 1.0 fade q 0.005 1.0 0.25 -- "${parts[@]}"
"${SOXG[@]}" "$TMP/st4.wav" -C 48 "$SND/Stretch4.mp3"

# -- Stretch5.mp3: ~1.5 s, messenger opens: upward whoosh, two notes, a bright chord
gen "$TMP/st5_sw.wav" synth 0.40 sine 350/1200 fade h 0.15 0.40 0.15 vol 0.5
mapfile -t parts < <(seq_notes st5 "0.35 $G5 0.50" "0.52 $D6 0.50" \
  "0.72 $G5 0.78 0.7" "0.72 $B5 0.78 0.7" "0.72 $D6 0.78 0.7" "0.72 $G6 0.78 0.4")
mixdown "$TMP/st5.wav" reverb 20 50 40 norm -2 trim 0 1.5 fade q 0.005 1.5 0.3 -- \
  "$TMP/st5_sw.wav" "${parts[@]}"
"${SOXG[@]}" "$TMP/st5.wav" -C 48 "$SND/Stretch5.mp3"

# -- Stretch6.mp3: ~1.5 s, messenger closes: falling notes, downward whoosh, soft low note
mapfile -t parts < <(seq_notes st6 "0.00 $D6 0.45" "0.17 $B5 0.45" "0.34 $G5 0.50" "0.90 $G4 0.60 0.8")
gen "$TMP/st6_sw0.wav" synth 0.40 sine 1000/300 fade h 0.10 0.40 0.20 vol 0.5
place "$TMP/st6_sw0.wav" "$TMP/st6_sw.wav" 0.55
mixdown "$TMP/st6.wav" reverb 20 50 40 norm -2 trim 0 1.5 fade q 0.005 1.5 0.3 -- \
  "$TMP/st6_sw.wav" "${parts[@]}"
"${SOXG[@]}" "$TMP/st6.wav" -C 48 "$SND/Stretch6.mp3"

# Drum voices ------------------------------------------------------------
gen "$TMP/noise.wav" synth 2 pinknoise
gen "$TMP/wnoise.wav" synth 2 whitenoise
# snare OUT NOISE_OFFSET LEN
snare() {
  "${SOXG[@]}" -m \
    -v 0.8 "|sox -R $TMP/noise.wav -p trim $2 $3 highpass 350 lowpass 7000 fade l 0.001 $3 $3" \
    -v 0.5 "|sox -R -n -r $RATE -c 1 -p synth $3 sine 200/160 fade l 0.001 $3 $3" \
    -r $RATE -c 1 -b 16 "$1"
}
kick()  { gen "$1" synth 0.35 sine 130/42 fade l 0.002 0.35 0.35; }
hat()   { "${SOXG[@]}" "$TMP/wnoise.wav" -b 16 "$1" trim "$2" 0.06 highpass 6500 fade l 0.001 0.06 0.06; }
crash() { "${SOXG[@]}" "$TMP/wnoise.wav" -b 16 "$1" trim 0.5 0.9 highpass 3500 lowpass 11000 fade l 0.001 0.9 0.9; }
bell()  {  # little sleigh/jingle bell
  "${SOXG[@]}" -m \
    -v 0.5 "|sox -R -n -r $RATE -c 1 -p synth 0.25 sine 2637 fade l 0.002 0.25 0.25" \
    -v 0.4 "|sox -R -n -r $RATE -c 1 -p synth 0.25 sine 3951 fade l 0.002 0.25 0.2" \
    -v 0.3 "|sox -R $TMP/wnoise.wav -p trim 1.2 0.1 highpass 5000 fade l 0.001 0.1 0.1" \
    -r $RATE -c 1 -b 16 "$1"
}

# events PREFIX "time file [vol]" ... -> placed copies; echoes their names
events() {
  local prefix=$1; shift
  local i=0 item t f v
  for item in "$@"; do
    read -r t f v <<<"$item"
    "${SOXG[@]}" "$f" -b 16 "$TMP/${prefix}_$i.wav" vol "${v:-1}" pad "$t"
    echo "$TMP/${prefix}_$i.wav"
    i=$((i+1))
  done
}

# -- Drumroll.wav: ~2 s roll of filtered noise strokes growing louder, then a hit
for k in 0 1 2 3; do snare "$TMP/roll_h$k.wav" "$(calc "0.1+$k*0.23")" 0.045; done
"${SOXG[@]}" "$TMP/roll_h0.wav" "$TMP/roll_h1.wav" "$TMP/roll_h2.wav" "$TMP/roll_h3.wav" \
  -b 16 "$TMP/roll_cell.wav"
"${SOXG[@]}" "$TMP/roll_cell.wav" -b 16 "$TMP/roll.wav" repeat 8   # 9 x 0.18 s = 1.62 s
"${SOXG[@]}" -m -v 0.35 "$TMP/roll.wav" -v 0.65 "|sox -R $TMP/roll.wav -p fade t 1.62" \
  -b 16 "$TMP/roll_cresc.wav"
snare "$TMP/roll_last.wav" 1.4 0.30
kick "$TMP/roll_kick.wav"
crash "$TMP/roll_crash.wav"
mapfile -t parts < <(events dr "1.62 $TMP/roll_last.wav" "1.62 $TMP/roll_kick.wav 1.2" "1.62 $TMP/roll_crash.wav 0.6")
mixdown "$SND/Drumroll.wav" reverb 10 50 30 norm -1 trim 0 2.2 fade q 0.002 2.2 0.4 -- \
  "$TMP/roll_cresc.wav" "${parts[@]}"

# -- Drummer.wav: ~2 s little drum pattern with jingle bells (Christmas)
snare "$TMP/dm_s.wav" 0.3 0.16
snare "$TMP/dm_g.wav" 0.7 0.08
kick "$TMP/dm_k.wav"
hat "$TMP/dm_h.wav" 0.2
bell "$TMP/dm_b.wav"
mapfile -t parts < <(events dm \
  "0.000 $TMP/dm_k.wav" "0.000 $TMP/dm_b.wav 0.7" "0.250 $TMP/dm_h.wav 0.6" \
  "0.500 $TMP/dm_s.wav" "0.500 $TMP/dm_b.wav 0.5" "0.625 $TMP/dm_g.wav 0.5" "0.750 $TMP/dm_s.wav 0.8" \
  "1.000 $TMP/dm_k.wav" "1.000 $TMP/dm_b.wav 0.7" "1.125 $TMP/dm_h.wav 0.5" "1.250 $TMP/dm_k.wav 0.8" \
  "1.500 $TMP/dm_s.wav" "1.500 $TMP/dm_b.wav 0.5" "1.625 $TMP/dm_g.wav 0.5" "1.750 $TMP/dm_g.wav 0.6" \
  "1.875 $TMP/dm_g.wav 0.7" "2.000 $TMP/dm_s.wav" "2.000 $TMP/dm_k.wav" "2.000 $TMP/dm_b.wav 0.8")
mixdown "$SND/Drummer.wav" reverb 15 50 35 norm -1 trim 0 2.35 fade q 0.002 2.35 0.3 -- "${parts[@]}"

# -- Fireworks.wav: ~2.5 s whistle, pops and crackles (New Year)
gen "$TMP/fw_whistle.wav" synth 0.55 sine 900/2300 fade h 0.05 0.55 0.2 tremolo 18 30 vol 0.25
# pop OUT DUR LOWPASS: a thump plus a noise blast
pop() {
  "${SOXG[@]}" -m \
    -v 0.9 "|sox -R -n -r $RATE -c 1 -p synth $2 sine 90/35 fade l 0.002 $2 $2" \
    -v 0.8 "|sox -R $TMP/noise.wav -p trim 0.6 $2 lowpass $3 fade l 0.001 $2 $2" \
    -r $RATE -c 1 -b 16 "$1"
}
pop "$TMP/fw_pop1.wav" 0.45 2500
pop "$TMP/fw_pop2.wav" 0.40 1500
pop "$TMP/fw_pop3.wav" 0.30 1200
for k in 0 1 2 3 4 5; do
  "${SOXG[@]}" "$TMP/wnoise.wav" -b 16 "$TMP/fw_c$k.wav" trim "$(calc "0.05+$k*0.013")" 0.006 \
    highpass $((1500 + k*500)) fade l 0.0005 0.006 0.005
done
# crackle: clicks at pseudo-random (fixed-seed LCG) times after each burst
crackle_items() {  # START END COUNT SEED VOLUME
  awk -v s="$1" -v e="$2" -v n="$3" -v seed="$4" -v vol="$5" -v dir="$TMP" 'BEGIN{
    x = seed
    for (i = 0; i < n; i++) {
      x = (x * 1103515245 + 12345) % 2147483648; r1 = x / 2147483648
      x = (x * 1103515245 + 12345) % 2147483648; r2 = x / 2147483648
      t = s + (e - s) * (r1 ^ 1.6)
      v = vol * (1 - 0.7 * (t - s) / (e - s)) * (0.5 + 0.5 * r2)
      printf "%.4f %s/fw_c%d.wav %.3f\n", t, dir, i % 6, v
    }}'
}
mapfile -t items < <(crackle_items 0.62 1.60 40 7 0.6; crackle_items 1.18 2.20 36 11 0.45; crackle_items 1.70 2.35 16 5 0.35)
mapfile -t parts < <(events fw "0.00 $TMP/fw_whistle.wav" "0.55 $TMP/fw_pop1.wav" \
  "1.10 $TMP/fw_pop2.wav 0.7" "1.62 $TMP/fw_pop3.wav 0.5" "${items[@]}")
mixdown "$SND/Fireworks.wav" reverb 35 50 70 norm -1 trim 0 2.5 fade q 0.002 2.5 0.4 -- "${parts[@]}"

# -------------------------------------------------------------- pictures --
# PNGs without time stamps or other ancillary chunks, so reruns give identical files.
# shellcheck disable=SC2054  # the commas belong to the ImageMagick option
PNGOPTS=(-strip -define png:exclude-chunks=bKGD,cHRM,gAMA,iCCP,sRGB,tEXt,zTXt,iTXt,date,time,vpAg)
savepng() { "$IM" "$@" "${PNGOPTS[@]}" "PNG32:${OUT:?}"; }   # savepng ARGS... (output in $OUT)
# An opaque picture without an alpha channel: a quarter less to inflate, read at every start.
saveopaque() { "$IM" "$@" "${PNGOPTS[@]}" "PNG24:${OUT:?}"; }

# Theme colours (shared by the menu, the message window and the buttons)
NAVY='#0c1f4d'; TEAL='#0e6670'; BORDER='#a6dcea'; LINE='#6fb9cf'

# -- Globe texture: seeded, horizontally tileable noise -> continents, ice caps
"$IM" \( -size 192x96 xc: -seed 4242 +noise Random -colorspace gray \
       -virtual-pixel tile -blur 0x7 -auto-level \) \
     \( -size 192x96 xc: -seed 99 +noise Random -colorspace gray \
       -virtual-pixel tile -blur 0x2 -auto-level \) \
  -compose blend -define compose:args=22,78 -composite -auto-level \
  \( -size 192x96 xc: -fx '1-0.5*pow(abs(2*j/h-1),3)' \) -compose Multiply -composite \
  -threshold 58% "$TMP/land_mask.png"
"$IM" -size 192x96 xc: -seed 977 +noise Random -colorspace gray \
  -virtual-pixel tile -blur 0x4 -auto-level "$TMP/tint_noise.png"
# ocean and land colours with a little variation, ice caps at the top and bottom
"$IM" -size 192x96 gradient:'#2f7fd0'-'#1d5fb0' "$TMP/ocean.png"
"$IM" "$TMP/tint_noise.png" +level-colors '#2e8b3a','#8fc25a' "$TMP/landcol.png"
"$IM" "$TMP/tint_noise.png" -fx 'aa=min(j,h-1-j); (1-aa/8)+0.6*(u-0.5)>0.5' "$TMP/ice_mask.png"
"$IM" "$TMP/ocean.png" "$TMP/landcol.png" "$TMP/land_mask.png" -composite \
  \( -size 192x96 xc:'#eef4fa' \) "$TMP/ice_mask.png" -composite "$TMP/map.png"

# render_globe OUT SIZE RADIUS PHASE: shaded sphere showing the map turned by PHASE (0..1),
# seen from 20 degrees above the equator
render_globe() {
  local out=$1 size=$2 rad=$3 phase=$4
  local c; c=$(calc "($size-1)/2")
  "$IM" -size "${size}x${size}" xc:black "$TMP/map.png" -virtual-pixel tile -interpolate bilinear \
    -channel RGB -fx "
      nx=(i-$c)/$rad; ny=(j-$c)/$rad; dd=min(1,nx*nx+ny*ny); nz=sqrt(1-dd);
      gy=-ny*0.9397+nz*0.3420; gz=nz*0.9397+ny*0.3420;
      la=asin(max(-1,min(1,gy))); lo=atan2(nx,gz);
      uu=mod(lo/(2*pi)+$phase+4,1)*v.w; vv=(0.5-la/pi)*v.h;
      lt=max(0,-0.42*nx-0.5*ny+0.76*nz);
      v.p{uu,vv}*(0.18+0.95*lt)+0.45*pow(lt,24)" +channel \
    \( -size "${size}x${size}" xc:black -fill white \
       -draw "circle $c,$c $c,$(calc "$c-$rad")" \) \
    -alpha off -compose CopyOpacity -composite "$out"
}

# -- Pics/Globe.gif: 30 frames, 96x96, turning globe
NGLOBE=30
for ((k = 0; k < NGLOBE; k++)); do
  render_globe "$TMP/globe_$(printf %02d $k).png" 96 45 "$(calc "$k/$NGLOBE")"
done
# one common palette for all frames, hard-edged transparency
"$IM" "$TMP"/globe_??.png -background black -alpha remove -append +dither -colors 127 \
  -unique-colors \( -size 1x1 xc:none \) +append "$TMP/globe_pal.png"
"$IM" -delay 10 -loop 0 -dispose Background "$TMP"/globe_??.png \
  -channel A -threshold 50% +channel +dither -remap "$TMP/globe_pal.png" \
  "$PIC/Globe.gif"

# -- Pics/Silvester.gif: 32 frames, 96x96, fireworks over a night town (New Year's Eve)
NFW=32
# static night: sky gradient and a dark skyline with a few lit windows
awk 'BEGIN{
  x = 0; seed = 3
  while (x < 96) {
    seed = (seed * 1103515245 + 12345) % 2147483648; w = 7 + int(seed / 2147483648 * 9)
    seed = (seed * 1103515245 + 12345) % 2147483648; hgt = 8 + int(seed / 2147483648 * 18)
    top = 95 - hgt
    printf "fill #060a18 rectangle %d,%d %d,95\n", x, top, x + w - 1
    for (yy = top + 3; yy < 93; yy += 4)
      for (xx = x + 2; xx < x + w - 2; xx += 3) {
        seed = (seed * 1103515245 + 12345) % 2147483648
        if (seed / 2147483648 < 0.3) printf "fill #e8c15a point %d,%d\n", xx, yy
      }
    x += w
  }}' >"$TMP/town.mvg"
"$IM" -size 96x96 gradient:'#020720'-'#123470' -draw "$(cat "$TMP/town.mvg")" "$TMP/night.png"

# frame K: twinkling stars, rockets and bursts (burst: x y r g b start rays radius angle)
fw_frame_mvg() {
  awk -v k="$1" -v n="$NFW" 'BEGIN{
    pi = 3.14159265
    seed = 17
    for (s = 0; s < 28; s++) {          # stars
      seed = (seed * 1103515245 + 12345) % 2147483648; sx = seed / 2147483648 * 95
      seed = (seed * 1103515245 + 12345) % 2147483648; sy = seed / 2147483648 * 62
      b = ((k + 3 * s) % 8 < 6) ? 0.85 : 0.3
      if (s % 3 == 0) b *= 0.6
      printf "fill rgba(230,236,255,%.2f) point %d,%d\n", b, sx, sy
    }
    nb = split("30 29 255 205 70 0 14 25 0.0|68 25 255 90 130 8 12 23 0.2|48 42 120 255 140 16 16 21 0.1|73 48 110 190 255 23 12 20 0.3", B, "|")
    life = 14
    for (q = 1; q <= nb; q++) {
      split(B[q], f, " ")
      cx = f[1]; cy = f[2]; cr = f[3]; cg = f[4]; cb = f[5]; st = f[6]; nr = f[7]; rm = f[8]; a0 = f[9]
      age = (k - st + 2 * n) % n
      if (age >= n - 4) {               # rocket rising to the burst point
        t = (age - (n - 4) + 1) / 4
        ry = 92 - (92 - cy) * t
        printf "stroke rgba(255,220,160,0.35) stroke-width 1 line %.1f,%.1f %.1f,%.1f\n", cx, ry + 2, cx, ry + 8
        printf "stroke none fill rgba(255,240,200,0.95) circle %.1f,%.1f %.1f,%.1f\n", cx, ry, cx + 0.9, ry
        continue
      }
      if (age >= life) continue
      p = age / (life - 1); r = rm * (1 - (1 - p) ^ 2.2); fade = (1 - p) ^ 0.8; droop = 6 * p * p
      if (age < 2) printf "stroke none fill rgba(255,255,240,%.2f) circle %.1f,%.1f %.1f,%.1f\n", 0.9 - 0.35 * age, cx, cy, cx + 4 - 1.5 * age, cy
      for (m = 0; m < nr; m++) {
        an = a0 + 2 * pi * m / nr
        x1 = cx + cos(an) * r * 0.45; y1 = cy + sin(an) * r * 0.45 + droop * 0.4
        x2 = cx + cos(an) * r;        y2 = cy + sin(an) * r + droop
        printf "stroke rgba(%d,%d,%d,%.2f) stroke-width 1.5 fill none line %.1f,%.1f %.1f,%.1f\n", cr, cg, cb, 0.95 * fade, x1, y1, x2, y2
        if (p < 0.5 || (m + age) % 2 == 0)
          printf "stroke none fill rgba(%d,%d,%d,%.2f) circle %.1f,%.1f %.1f,%.1f\n", (cr + 255) / 2, (cg + 255) / 2, (cb + 255) / 2, fade, x2, y2, x2 + 1.1, y2
      }
    }
  }'
}
for ((k = 0; k < NFW; k++)); do
  fw_frame_mvg "$k" >"$TMP/fw_$k.mvg"
  "$IM" "$TMP/night.png" -draw "$(cat "$TMP/fw_$k.mvg")" "$TMP/fw_$(printf %02d $k).png"
done
"$IM" "$TMP"/fw_??.png -append +dither -colors 96 -unique-colors "$TMP/fw_pal.png"
"$IM" -delay 8 -loop 0 -dispose None "$TMP"/fw_??.png +dither -remap "$TMP/fw_pal.png" "$PIC/Silvester.gif"

# ------------------------------------------------------------------ skin --
# -- menu_back.png 600x440: gradient panel, lighter title band (top 28 px), thin border
OUT=$SKIN/menu_back.png saveopaque -size 440x600 gradient:"$NAVY"-"$TEAL" -rotate -90 \
  \( -size 600x440 gradient:'rgba(0,0,0,0)'-'rgba(0,0,0,0.25)' \) -compose Over -composite \
  \( -size 598x27 gradient:'rgba(255,255,255,0.22)'-'rgba(255,255,255,0.07)' \) -geometry +1+1 -composite \
  -fill "$LINE" -draw 'rectangle 1,28 598,28' \
  -fill 'rgba(0,0,0,0.35)' -draw 'rectangle 1,29 598,29' \
  -fill none -stroke "$BORDER" -strokewidth 1 -draw 'rectangle 0,0 599,439' \
  -stroke 'rgba(0,0,0,0.45)' -draw 'rectangle 1,29 598,438' -alpha off

# plate OUT W H RADIUS TOP BOTTOM BORDER SHIFT: rounded button plate with a gloss
plate() {
  local out=$1 w=$2 h=$3 rr=$4 c1=$5 c2=$6 bc=$7 sh=$8
  local x0=$sh y0=$sh x1=$(($2 - 1 - (1 - $8))) y1=$(($3 - 1 - (1 - $8)))
  local hy=$(( (y0 + y1) / 2 ))
  OUT=$out savepng -size "${w}x${h}" xc:none \
    \( -size "${w}x${h}" gradient:"$c1"-"$c2" \
       \( -size "${w}x${h}" xc:black -fill white -draw "roundrectangle $x0,$y0 $x1,$y1 $rr,$rr" \) \
       -alpha off -compose CopyOpacity -composite \) -compose Over -composite \
    \( -size "${w}x${h}" xc:none -fill 'rgba(255,255,255,0.16)' \
       -draw "roundrectangle $((x0 + 2)),$((y0 + 1)) $((x1 - 2)),$hy $((rr - 2)),$((rr - 2))" \) -composite \
    -fill none -stroke "$bc" -strokewidth 1 \
    -draw "roundrectangle $x0.5,$y0.5 $((x1 - 1)).5,$((y1 - 1)).5 $rr,$rr"
}
# -- btn_exit.png / btn_exit_down.png 110x30 (no text; a label lies over it)
plate "$SKIN/btn_exit.png" 110 30 9 '#4a93c4' '#1b4d80' "$BORDER" 0
plate "$SKIN/btn_exit_down.png" 110 30 9 '#163d68' '#2b6798' "$LINE" 1
# -- min / close boxes 20x20
plate "$TMP/min_p.png" 20 20 4 '#4a93c4' '#1b4d80' "$BORDER" 0
plate "$TMP/min_d.png" 20 20 4 '#163d68' '#2b6798' "$LINE" 1
plate "$TMP/close_p.png" 20 20 4 '#e06a5a' '#a3271c' '#f4b9b0' 0
plate "$TMP/close_d.png" 20 20 4 '#7e1e16' '#b8463a' '#d98c82' 1
OUT=$SKIN/min.png savepng "$TMP/min_p.png" -fill white -draw 'rectangle 5,12 13,14'
OUT=$SKIN/min_down.png savepng "$TMP/min_d.png" -fill '#d8e6f0' -draw 'rectangle 6,13 14,15'
OUT=$SKIN/close.png savepng "$TMP/close_p.png" -stroke white -strokewidth 2 -draw 'line 6,6 13,13' -draw 'line 13,6 6,13'
OUT=$SKIN/close_down.png savepng "$TMP/close_d.png" -stroke '#f0dcd8' -strokewidth 2 -draw 'line 7,7 14,14' -draw 'line 14,7 7,14'

# -- sound.png 24x24: loudspeaker with sound waves
OUT=$SKIN/sound.png savepng -size 24x24 xc:none \
  -fill '#eef6fa' -stroke '#0c1f4d' -strokewidth 1 \
  -draw 'polygon 2.5,8.5 6.5,8.5 12.5,3.5 12.5,20.5 6.5,15.5 2.5,15.5' \
  -fill none -stroke '#9fe0f0' -strokewidth 1.6 \
  -draw 'path "M 15.5,8.5 A 4,4 0 0,1 15.5,15.5"' \
  -draw 'path "M 17.5,5 A 8,8 0 0,1 17.5,19"'

# -- language.png 32x20: black-red-gold stripes | blue field with a white-red cross
OUT=$SKIN/language.png savepng -size 32x20 xc:none +antialias \
  -fill '#141414' -draw 'rectangle 0,0 15,6' -fill '#d2141e' -draw 'rectangle 0,7 15,12' \
  -fill '#f5c400' -draw 'rectangle 0,13 15,19' \
  -fill '#1f3f8f' -draw 'rectangle 16,0 31,19' \
  -fill white -draw 'rectangle 22,0 25,19' -draw 'rectangle 16,8 31,11' \
  -fill '#d2141e' -draw 'rectangle 23,0 24,19' -draw 'rectangle 16,9 31,10' \
  -fill none -stroke 'rgba(0,0,0,0.55)' -draw 'rectangle 0,0 31,19'

# -- christmas.png 32x32: small tree with star and baubles
OUT=$SKIN/christmas.png savepng -size 32x32 xc:none \
  -fill '#7a4a22' -draw 'rectangle 14,25 17,30' \
  -fill '#1f8f3f' -stroke '#0f5a26' -strokewidth 1 \
  -draw 'polygon 16,5 24,15 8,15' -draw 'polygon 16,10 27,21 5,21' -draw 'polygon 16,15 29,27 3,27' \
  -stroke none -fill '#ffd23f' \
  -draw 'polygon 16,0.5 17.2,3.3 20.2,3.5 17.9,5.4 18.6,8.3 16,6.7 13.4,8.3 14.1,5.4 11.8,3.5 14.8,3.3' \
  -fill '#e53935' -draw 'circle 12,13 13.3,13' -draw 'circle 20,19 21.3,19' -draw 'circle 10,24 11.3,24' \
  -fill '#ffd23f' -draw 'circle 19,12 20.1,12' -draw 'circle 14,20 15.1,20' -draw 'circle 22,25 23.2,25' \
  -fill '#4fc3f7' -draw 'circle 16,24 17.1,24' -draw 'circle 8,19 9,19'

# -- tool icons 40x40: coloured rounded tile + white symbol with a soft shadow
# icon NAME COLOUR_TOP COLOUR_BOTTOM DRAW-ARGS...
icon() {
  local name=$1 c1=$2 c2=$3; shift 3
  "$IM" -size 40x40 xc:none "$@" "$TMP/sym_$name.png"
  OUT=$SKIN/$name.png savepng -size 40x40 gradient:"$c1"-"$c2" \
    \( -size 40x40 xc:black -fill white -draw 'roundrectangle 1,1 38,38 8,8' \) \
    -alpha off -compose CopyOpacity -composite -compose Over \
    -fill none -stroke 'rgba(255,255,255,0.5)' -strokewidth 1 -draw 'roundrectangle 1.5,1.5 37.5,37.5 8,8' \
    \( "$TMP/sym_$name.png" -fill black -colorize 100 -channel A -evaluate multiply 0.35 +channel \) \
    -geometry +1+1 -composite "$TMP/sym_$name.png" -geometry +0+0 -composite
}
icon tool_trans '#5b6ee8' '#2f3da6' \
  -fill white -stroke none -draw 'polygon 5,11 19,13 19,33 5,31' -draw 'polygon 21,13 35,11 35,31 21,33' \
  -fill '#c9d2ff' -draw 'rectangle 19,13 21,33' \
  -font "$FONTB" -pointsize 13 -fill '#2f3da6' -annotate +7.5+28 'A' -fill '#c2185b' -annotate +23.5+29 'Ä'
icon tool_sss '#f39c3d' '#c0620f' \
  -fill none -stroke white -strokewidth 2.5 -draw 'circle 13,29 13,33' -draw 'circle 27,29 27,33' \
  -strokewidth 3 -draw 'line 15.5,25.5 28,5' -draw 'line 24.5,25.5 12,5' \
  -stroke none -fill '#c0620f' -draw 'circle 20,18 21.3,18'
icon tool_hangman1p '#c9584f' '#8a2a26' \
  -fill none -stroke white -strokewidth 3 -draw 'line 6,34 26,34' -draw 'line 11,34 11,6' -draw 'line 10,6 29,6' \
  -strokewidth 2 -draw 'line 11,13 18,6' -strokewidth 1.5 -draw 'line 28,6 28,11' \
  -strokewidth 1.8 -draw 'circle 28,14 28,17' -draw 'line 28,17 28,26' \
  -draw 'line 28,19 24,23' -draw 'line 28,19 32,23' -draw 'line 28,26 25,31' -draw 'line 28,26 31,31'
icon tool_hangman2p '#9d5bc0' '#612d80' \
  -fill none -stroke white -strokewidth 3 -draw 'line 4,34 20,34' -draw 'line 8,34 8,6' -draw 'line 7,6 21,6' \
  -strokewidth 2 -draw 'line 8,12 14,6' -strokewidth 1.5 -draw 'line 20,6 20,12' \
  -strokewidth 1.8 -draw 'circle 25,20 25,22.5' -draw 'line 25,22.5 25,29' -draw 'line 25,24 22,27' \
  -draw 'line 25,24 28,27' -draw 'line 25,29 23,34' -draw 'line 25,29 27,34' \
  -stroke '#ffe37a' -draw 'circle 33,20 33,22.5' -draw 'line 33,22.5 33,29' -draw 'line 33,24 30,27' \
  -draw 'line 33,24 36,27' -draw 'line 33,29 31,34' -draw 'line 33,29 35,34'
icon tool_planer '#3cc07a' '#1e7d48' \
  -fill white -stroke none -draw 'roundrectangle 7,9 32,34 2,2' -fill '#e5483e' -draw 'rectangle 7,9 32,16' \
  -fill none -stroke '#30485a' -strokewidth 2 -draw 'line 13,6 13,12' -draw 'line 26,6 26,12' -stroke none \
  -fill '#8aa0ad' -draw 'rectangle 10,19 13,21' -draw 'rectangle 16,19 19,21' -draw 'rectangle 22,19 25,21' \
  -draw 'rectangle 28,19 30,21' -draw 'rectangle 10,24 13,26' -draw 'rectangle 16,24 19,26' \
  -draw 'rectangle 28,24 30,26' -draw 'rectangle 10,29 13,31' -draw 'rectangle 16,29 19,31' \
  -draw 'rectangle 22,29 25,31' -fill '#e5483e' -draw 'rectangle 22,24 25,26'
icon tool_msg '#e2578d' '#a42a5c' \
  -fill white -stroke none -draw 'roundrectangle 4,6 27,22 5,5' -draw 'polygon 9,21 8,29 16,21' \
  -fill '#ffe9a8' -stroke '#a42a5c' -strokewidth 1 -draw 'roundrectangle 15,16 36,31 5,5' \
  -stroke none -draw 'polygon 29,30 33,36 24,30.5' \
  -fill '#a42a5c' -draw 'circle 10,14 11.3,14' -draw 'circle 15.5,14 16.8,14' -draw 'circle 21,14 22.3,14'
icon tool_keyb '#7b8da3' '#465667' \
  -fill white -stroke none -draw 'roundrectangle 3,12 36,30 3,3' \
  -fill '#465667' -draw 'rectangle 6,15 8,17' -draw 'rectangle 10,15 12,17' -draw 'rectangle 14,15 16,17' \
  -draw 'rectangle 18,15 20,17' -draw 'rectangle 22,15 24,17' -draw 'rectangle 26,15 28,17' \
  -draw 'rectangle 30,15 33,17' -draw 'rectangle 6,20 9,22' -draw 'rectangle 11,20 13,22' \
  -draw 'rectangle 15,20 17,22' -draw 'rectangle 19,20 21,22' -draw 'rectangle 23,20 25,22' \
  -draw 'rectangle 27,20 33,22' -draw 'rectangle 6,25 9,27' -draw 'rectangle 11,25 28,27' -draw 'rectangle 30,25 33,27'

# -- message window frame for a 360x200 window, cut from one drawing so the pieces meet
"$IM" -size 200x360 gradient:"$NAVY"-"$TEAL" -rotate -90 \
  \( -size 358x22 gradient:'rgba(255,255,255,0.22)'-'rgba(255,255,255,0.07)' \) -geometry +1+1 -composite \
  -fill "$LINE" -draw 'rectangle 1,23 358,23' \
  -fill none -stroke "$BORDER" -strokewidth 1 -draw 'rectangle 0,0 359,199' \
  -stroke 'rgba(0,0,0,0.45)' -draw 'rectangle 11,24 348,188' \
  -stroke 'rgba(255,255,255,0.25)' -draw 'rectangle 10,23 349,189' -alpha off "$TMP/msg_frame.png"
OUT=$SKIN/msg_top.png savepng "$TMP/msg_frame.png" -crop 360x24+0+0 +repage
OUT=$SKIN/msg_bottom.png savepng "$TMP/msg_frame.png" -crop 360x12+0+188 +repage
OUT=$SKIN/msg_left.png savepng "$TMP/msg_frame.png" -crop 12x200+0+0 +repage
OUT=$SKIN/msg_right.png savepng "$TMP/msg_frame.png" -crop 12x200+348+0 +repage

# -- about_logo.png 64x64: the globe inside a golden "Q" ring with a tail
render_globe "$TMP/logo_globe.png" 64 25 0.62
OUT=$SKIN/about_logo.png savepng -size 64x64 xc:none \
  -fill none -stroke '#0c1f4d' -strokewidth 7 -draw 'circle 31.5,31.5 31.5,3' -draw 'line 43,43 58,58' \
  -stroke '#f2c14e' -strokewidth 4 -draw 'circle 31.5,31.5 31.5,3' -draw 'line 43,43 57,57' \
  "$TMP/logo_globe.png" -compose Over -composite \
  \( -size 64x64 xc:none -fill none -stroke 'rgba(255,255,255,0.35)' -strokewidth 1 \
     -draw 'ellipse 31.5,31.5 11,25 0,360' -draw 'line 31.5,7 31.5,56' -draw 'line 7,31.5 56,31.5' \
     -draw 'ellipse 31.5,31.5 25,9 0,360' -channel A -evaluate multiply 0.8 +channel \) -composite \
  -stroke '#f2c14e' -strokewidth 4 -fill none -draw 'line 45,45 57,57'

# -- mail.png 20x14: envelope
OUT=$SKIN/mail.png savepng -size 20x14 xc:none \
  -fill '#fbf7ea' -stroke '#5a6b7a' -strokewidth 1 -draw 'rectangle 0.5,0.5 19.5,13.5' \
  -fill none -draw 'polyline 0.5,0.5 10,8 19.5,0.5' \
  -stroke 'rgba(90,107,122,0.6)' -draw 'line 0.5,13.5 7.5,6.5' -draw 'line 19.5,13.5 12.5,6.5'

# -- Temperature pictures 64x64: sun (warm) and snowflake (freezing)
OUT=$SKIN/sun.png savepng -size 64x64 xc:none \
  -fill none -stroke '#ffaa00' -strokewidth 3 -draw 'stroke-linecap round' \
  -draw 'line 52.0,32.0 62.0,32.0' -draw 'line 49.3,42.0 58.0,47.0' -draw 'line 42.0,49.3 47.0,58.0' -draw 'line 32.0,52.0 32.0,62.0' -draw 'line 22.0,49.3 17.0,58.0' -draw 'line 14.7,42.0 6.0,47.0' -draw 'line 12.0,32.0 2.0,32.0' -draw 'line 14.7,22.0 6.0,17.0' -draw 'line 22.0,14.7 17.0,6.0' -draw 'line 32.0,12.0 32.0,2.0' -draw 'line 42.0,14.7 47.0,6.0' -draw 'line 49.3,22.0 58.0,17.0' \
  -stroke '#e68c00' -strokewidth 2 -fill '#ffd700' -draw 'circle 32,32 47,32'
OUT=$SKIN/snow.png savepng -size 64x64 xc:none \
  -fill none -stroke '#3c8cdc' -strokewidth 3 -draw 'stroke-linecap round' \
  -draw 'line 32,32 60.0,32.0' \
  -draw 'line 49.0,32.0 55.4,25.6' \
  -draw 'line 49.0,32.0 55.4,38.4' \
  -draw 'line 32,32 46.0,56.2' \
  -draw 'line 40.5,46.7 49.2,49.1' \
  -draw 'line 40.5,46.7 38.2,55.4' \
  -draw 'line 32,32 18.0,56.2' \
  -draw 'line 23.5,46.7 25.8,55.4' \
  -draw 'line 23.5,46.7 14.8,49.1' \
  -draw 'line 32,32 4.0,32.0' \
  -draw 'line 15.0,32.0 8.6,38.4' \
  -draw 'line 15.0,32.0 8.6,25.6' \
  -draw 'line 32,32 18.0,7.8' \
  -draw 'line 23.5,17.3 14.8,14.9' \
  -draw 'line 23.5,17.3 25.8,8.6' \
  -draw 'line 32,32 46.0,7.8' \
  -draw 'line 40.5,17.3 38.2,8.6' \
  -draw 'line 40.5,17.3 49.2,14.9'

# -- Currency flags 36x24
flag() { local name=$1; shift; OUT=$SKIN/flag_$name.png savepng -size 36x24 "$@"; }
flag us xc:white +antialias -fill '#b22234' -draw 'rectangle 0,0 35,1' -draw 'rectangle 0,4 35,5' -draw 'rectangle 0,7 35,8' -draw 'rectangle 0,11 35,12' -draw 'rectangle 0,15 35,16' -draw 'rectangle 0,18 35,19' -draw 'rectangle 0,22 35,23' \
  -fill '#3c3b6e' -draw 'rectangle 0,0 15,12' -fill white \
  -draw 'point 2,2' -draw 'point 5,2' -draw 'point 8,2' -draw 'point 11,2' -draw 'point 14,2' \
  -draw 'point 2,5' -draw 'point 5,5' -draw 'point 8,5' -draw 'point 11,5' -draw 'point 14,5' \
  -draw 'point 2,8' -draw 'point 5,8' -draw 'point 8,8' -draw 'point 11,8' -draw 'point 14,8' \
  -draw 'point 2,11' -draw 'point 5,11' -draw 'point 8,11' -draw 'point 11,11' -draw 'point 14,11'
flag gb xc:'#012169' -stroke white -strokewidth 5 -draw 'line 0,0 36,24' -draw 'line 0,24 36,0' \
  -stroke '#c8102e' -strokewidth 2 -draw 'line 0,0 36,24' -draw 'line 0,24 36,0' +antialias -stroke none \
  -fill white -draw 'rectangle 14,0 21,23' -draw 'rectangle 0,8 35,15' \
  -fill '#c8102e' -draw 'rectangle 16,0 19,23' -draw 'rectangle 0,10 35,13'
flag de xc:black +antialias -fill '#dd0000' -draw 'rectangle 0,8 35,15' -fill '#ffce00' -draw 'rectangle 0,16 35,23'
flag fr xc:white +antialias -fill '#0055a4' -draw 'rectangle 0,0 11,23' -fill '#ef4135' -draw 'rectangle 24,0 35,23'
flag es xc:'#aa151b' +antialias -fill '#f1bf00' -draw 'rectangle 0,6 35,17'
flag it xc:white +antialias -fill '#009246' -draw 'rectangle 0,0 11,23' -fill '#ce2b37' -draw 'rectangle 24,0 35,23'
flag eu xc:'#003399' -fill '#ffcc00' -draw 'circle 26.0,12.0 27.3,12.0' -draw 'circle 24.9,16.0 26.2,16.0' -draw 'circle 22.0,18.9 23.3,18.9' -draw 'circle 18.0,20.0 19.3,20.0' -draw 'circle 14.0,18.9 15.3,18.9' -draw 'circle 11.1,16.0 12.4,16.0' -draw 'circle 10.0,12.0 11.3,12.0' -draw 'circle 11.1,8.0 12.4,8.0' -draw 'circle 14.0,5.1 15.3,5.1' -draw 'circle 18.0,4.0 19.3,4.0' -draw 'circle 22.0,5.1 23.3,5.1' -draw 'circle 24.9,8.0 26.2,8.0'

# -- Resources/skin.qrc (paths relative to the qrc file)
{
  echo '<!DOCTYPE RCC>'
  echo '<RCC version="1.0">'
  echo '<qresource prefix="/skin">'
  for f in menu_back btn_exit btn_exit_down min min_down close close_down sound language christmas \
           tool_trans tool_sss tool_hangman1p tool_hangman2p tool_planer tool_msg tool_keyb \
           msg_top msg_bottom msg_left msg_right about_logo mail sun snow \
           flag_us flag_gb flag_de flag_fr flag_es flag_it flag_eu; do
    echo "    <file alias=\"$f.png\">skin/$f.png</file>"
  done
  echo '</qresource>'
  echo '</RCC>'
} >"$ROOT/Resources/skin.qrc"

# Each tool's own media: tools/media/<tool>.sh, run with the variables above
# (ROOT, SND, PIC, IM, SOXG, RATE, TMP, FONTB and calc).
for part in "$ROOT"/tools/media/*.sh; do
  [ -e "$part" ] || continue
  # shellcheck source=/dev/null
  source "$part"
done

echo "make_media.sh: done"
