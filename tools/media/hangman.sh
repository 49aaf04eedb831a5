# hangman.sh - the media of both Hangman windows, sourced by tools/make_media.sh
# (uses ROOT, SND, PIC, IM, SOXG, RATE, TMP and calc from there).
# Sounds (Sound/): Cheat, Wrong, Right, Winner, Warn, GameOver, New, Stretch1,
# Stretch2, Bounce as MP3 and Blab.wav. Pictures: the stick-man animation
# Pics/Stickman.gif, and in Resources/hangman/ the seven gallows stages, the
# blank board and the players' pointer, listed in Resources/hangman.qrc.

HM=$ROOT/Resources/hangman
mkdir -p "$HM"

# hm_tone OUT DUR SYNTH-ARGS...: one tone with soft ends
hm_tone() {
  local out=$1 d=$2; shift 2
  "${SOXG[@]}" -n -r "$RATE" -c 1 -b 16 "$out" synth "$d" "$@" fade q 0.01 "$d" "$(calc "$d*0.3")"
}
# hm_join OUT IN...: the sounds one after the other, then levelled
hm_join() {
  local out=$1; shift
  "${SOXG[@]}" "$@" -r "$RATE" -c 1 -b 16 "$out" norm -3
}
hm_mp3() { "${SOXG[@]}" "$1" -C 48 "$SND/$2"; }

hm_tone "$TMP/hm_cheat.wav" 0.45 sine 500-1500 tremolo 12 60
hm_mp3 "$TMP/hm_cheat.wav" Cheat.mp3

hm_tone "$TMP/hm_wrong.wav" 0.35 square 110 vol 0.4
hm_mp3 "$TMP/hm_wrong.wav" Wrong.mp3

hm_tone "$TMP/hm_r1.wav" 0.12 sine 880
hm_tone "$TMP/hm_r2.wav" 0.25 sine 1320
hm_join "$TMP/hm_right.wav" "$TMP/hm_r1.wav" "$TMP/hm_r2.wav"
hm_mp3 "$TMP/hm_right.wav" Right.mp3

hm_tone "$TMP/hm_w1.wav" 0.15 triangle 523.25
hm_tone "$TMP/hm_w2.wav" 0.15 triangle 659.25
hm_tone "$TMP/hm_w3.wav" 0.15 triangle 783.99
hm_tone "$TMP/hm_w4.wav" 0.60 triangle 1046.50
hm_join "$TMP/hm_winner.wav" "$TMP/hm_w1.wav" "$TMP/hm_w2.wav" "$TMP/hm_w3.wav" "$TMP/hm_w4.wav"
hm_mp3 "$TMP/hm_winner.wav" Winner.mp3

hm_tone "$TMP/hm_a1.wav" 0.2 square 740 vol 0.3
hm_tone "$TMP/hm_a2.wav" 0.2 square 587 vol 0.3
hm_join "$TMP/hm_warn.wav" "$TMP/hm_a1.wav" "$TMP/hm_a2.wav" "$TMP/hm_a1.wav" "$TMP/hm_a2.wav"
hm_mp3 "$TMP/hm_warn.wav" Warn.mp3

hm_tone "$TMP/hm_g1.wav" 0.35 sawtooth 392 lowpass 1500
hm_tone "$TMP/hm_g2.wav" 0.35 sawtooth 370 lowpass 1500
hm_tone "$TMP/hm_g3.wav" 0.35 sawtooth 349 lowpass 1500
hm_tone "$TMP/hm_g4.wav" 0.90 sawtooth 330-300 lowpass 1500 tremolo 6 40
hm_join "$TMP/hm_over.wav" "$TMP/hm_g1.wav" "$TMP/hm_g2.wav" "$TMP/hm_g3.wav" "$TMP/hm_g4.wav"
hm_mp3 "$TMP/hm_over.wav" GameOver.mp3

hm_tone "$TMP/hm_new.wav" 0.4 pinknoise bandpass 2000 1000 vol 0.6
"${SOXG[@]}" -m "$TMP/hm_new.wav" "|sox -R -n -r $RATE -c 1 -p synth 0.4 sine 300-900 fade q 0.01 0.4 0.1" \
  -r "$RATE" -c 1 -b 16 "$TMP/hm_new2.wav" norm -3
hm_mp3 "$TMP/hm_new2.wav" New.mp3

hm_tone "$TMP/hm_s1a.wav" 0.12 sine 392
hm_tone "$TMP/hm_s1b.wav" 0.12 sine 523.25
hm_tone "$TMP/hm_s1c.wav" 0.40 sine 659.25
hm_join "$TMP/hm_s1.wav" "$TMP/hm_s1a.wav" "$TMP/hm_s1b.wav" "$TMP/hm_s1c.wav"
hm_mp3 "$TMP/hm_s1.wav" Stretch1.mp3
hm_join "$TMP/hm_s2.wav" "$TMP/hm_s1c.wav" "$TMP/hm_s1b.wav" "$TMP/hm_s1a.wav"
hm_mp3 "$TMP/hm_s2.wav" Stretch2.mp3

hm_tone "$TMP/hm_bounce.wav" 0.3 sine 420-90
hm_mp3 "$TMP/hm_bounce.wav" Bounce.mp3

"${SOXG[@]}" -n -r "$RATE" -c 1 -b 16 "$SND/Blab.wav" synth 0.5 sawtooth 170-120 \
  bandpass 700 400 tremolo 9 70 fade q 0.02 0.5 0.15 norm -3

# -- pictures
HMB='#f3ead2'
HMW='-fill none -stroke #5a3a1a -strokewidth 8'
HMS=(
  "line 30,260 250,260 line 70,260 70,30"
  "line 70,30 200,30 line 70,75 115,30"
  ""
  ""
  ""
  ""
  ""
)
# The figure is thinner and drawn in black over the wood.
HMF=(
  ""
  "line 190,30 190,70"
  "circle 190,92 190,70"
  "line 190,114 190,180"
  "line 190,130 160,162 line 190,130 220,162"
  "line 190,180 166,226"
  "line 190,180 214,226 line 181,86 187,92 line 187,86 181,92 line 193,86 199,92 line 199,86 193,92"
)
wood="" figure=""
for i in 0 1 2 3 4 5 6; do
  [ -n "${HMS[$i]}" ] && wood="$wood ${HMS[$i]}"
  [ -n "${HMF[$i]}" ] && figure="$figure ${HMF[$i]}"
  # shellcheck disable=SC2086
  "$IM" -size 280x280 "xc:$HMB" $HMW -draw "$wood" \
    -stroke black -strokewidth 4 ${figure:+-draw "$figure"} \
    -strip "$HM/stage$((i + 1)).png"
done
"$IM" -size 280x280 "xc:$HMB" -strip "$HM/blank.png"
"$IM" -size 36x30 xc:none -fill '#ffd000' -stroke '#805000' -strokewidth 2 \
  -draw 'polygon 2,10 20,10 20,2 34,15 20,28 20,20 2,20' -strip "$HM/point.png"

# Stick-man waving, four frames of a quarter of a second.
frames=()
for a in 0 1 2 1; do
  hx=$(calc "140 + 45*cos(3.14159*(-0.02 - 0.12*$a))")
  hy=$(calc "125 + 45*sin(3.14159*(-0.02 - 0.12*$a))")
  "$IM" -size 280x280 "xc:$HMB" -fill none -stroke black -strokewidth 5 \
    -draw "circle 140,80 140,58" -draw "line 140,102 140,185" \
    -draw "line 140,125 100,165" -draw "line 140,125 $hx,$hy" \
    -draw "line 140,185 112,245 line 140,185 168,245" \
    -fill black -stroke none -draw "circle 132,76 132,73 circle 148,76 148,73" \
    -fill none -stroke black -strokewidth 2 -draw "arc 130,80 150,92 20,160" \
    -strip "$TMP/hm_stick$a.png"
  frames+=("$TMP/hm_stick$a.png")
done
"$IM" -delay 25 -loop 0 "${frames[@]}" -layers Optimize "$PIC/Stickman.gif"

{
  echo '<!DOCTYPE RCC>'
  echo '<RCC version="1.0">'
  echo '<qresource prefix="/hangman">'
  for f in stage1 stage2 stage3 stage4 stage5 stage6 stage7 blank point; do
    echo "    <file alias=\"$f.png\">hangman/$f.png</file>"
  done
  echo '</qresource>'
  echo '</RCC>'
} >"$ROOT/Resources/hangman.qrc"
