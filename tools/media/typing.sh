# typing.sh - the typing trainer's media, sourced by tools/make_media.sh:
# the on-screen keyboard's key at rest (Pics/keybut3.jpg, light grey with a
# raised edge) and pressed (Pics/keybut2.jpg, dark blue and sunken, so the
# white caption shows), and the click of a key press (Sound/Type.wav, a few
# milliseconds of filtered noise).

# key OUT FACE LIGHT SHADOW: a square key face with a bevelled edge
key() {
  "$IM" -size 40x40 xc:"$2" \
    -fill "$3" -draw 'polygon 0,0 39,0 35,4 4,4 4,35 0,39' \
    -fill "$4" -draw 'polygon 39,39 0,39 4,35 35,35 35,4 39,0' \
    -strip -quality 90 "$1"
}
key "$PIC/keybut3.jpg" '#dcdcdc' '#f8f8f8' '#8c8c8c'
key "$PIC/keybut2.jpg" '#1c3c8c' '#0c1c4c' '#4c6cbc'

"${SOXG[@]}" -n -r "$RATE" -c 1 -b 16 "$SND/Type.wav" synth 0.025 noise highpass 1800 lowpass 6000 \
  fade 0 0.025 0.02 vol 0.6
