# morse.sh - the Morse converter's sounds, sourced by tools/make_media.sh (which sets
# SND, SOXG, TMP). Letter, digit and sign sounds (A.au ... Z.au, 0.au ... 9.au, Slash.au,
# Period.au, Comma.au, QM.au) and the prosign sounds (Break.au, EOM.au, EOC.au) sound
# their own Morse code as 700 Hz tones at about 20 words a minute; the playback sounds
# (ShortSlow/LongSlow/BlankSlow.wav and the Quick ones) are one dot, one dash with the
# gap after it, and the extra gap between letters, at two speeds. Small on purpose:
# 8 kHz mono, 8-bit.

MORSE_RATE=8000
MORSE_TONE=700

# morse_piece OUT SECONDS [tone|gap]: a tone with soft edges, or silence
morse_piece() {
  if [ "$3" = tone ]; then
    "${SOXG[@]}" -n -r $MORSE_RATE -c 1 -b 16 "$1" synth "$2" sine $MORSE_TONE fade q 0.005 "$2" 0.005 vol 0.8
  else
    "${SOXG[@]}" -n -r $MORSE_RATE -c 1 -b 16 "$1" trim 0 "$2"
  fi
}

# One unit of 60 ms for the letter sounds.
morse_piece "$TMP/m_dot.wav" 0.06 tone
morse_piece "$TMP/m_dash.wav" 0.18 tone
morse_piece "$TMP/m_gap.wav" 0.06 gap

# morse_au NAME CODE: NAME.au sounding CODE (dots and dashes)
morse_au() {
  local name=$1 code=$2 parts=() i
  for ((i = 0; i < ${#code}; i++)); do
    [ $i -gt 0 ] && parts+=("$TMP/m_gap.wav")
    if [ "${code:i:1}" = . ]; then parts+=("$TMP/m_dot.wav"); else parts+=("$TMP/m_dash.wav"); fi
  done
  "${SOXG[@]}" "${parts[@]}" --comment "" -r $MORSE_RATE -c 1 -e u-law "$SND/$name.au"
}

while read -r name code; do
  morse_au "$name" "$code"
done <<'CODES'
A .-
B -...
C -.-.
D -..
E .
F ..-.
G --.
H ....
I ..
J .---
K -.-
L .-..
M --
N -.
O ---
P .--.
Q --.-
R .-.
S ...
T -
U ..-
V ...-
W .--
X -..-
Y -.--
Z --..
1 .----
2 ..---
3 ...--
4 ....-
5 .....
6 -....
7 --...
8 ---..
9 ----.
0 -----
Slash -..-.
Period .-.-.-
Comma --..--
QM ..--..
Break .--...
EOM .-.-.
EOC ....-.
CODES

# morse_symbol OUT UNIT TONE_UNITS: a dot or dash with the one-unit gap after it,
# or (TONE_UNITS 0) the two further units that part letters
morse_symbol() {
  local out=$1 unit=$2 units=$3
  if [ "$units" -eq 0 ]; then
    morse_piece "$TMP/m_sym.wav" "$(calc "$unit*2")" gap
  else
    morse_piece "$TMP/m_tone.wav" "$(calc "$unit*$units")" tone
    morse_piece "$TMP/m_after.wav" "$unit" gap
    "${SOXG[@]}" "$TMP/m_tone.wav" "$TMP/m_after.wav" "$TMP/m_sym.wav"
  fi
  "${SOXG[@]}" "$TMP/m_sym.wav" -b 8 -e unsigned-integer "$out"
}

morse_symbol "$SND/ShortSlow.wav" 0.12 1
morse_symbol "$SND/LongSlow.wav" 0.12 3
morse_symbol "$SND/BlankSlow.wav" 0.12 0
morse_symbol "$SND/ShortQuick.wav" 0.06 1
morse_symbol "$SND/LongQuick.wav" 0.06 3
morse_symbol "$SND/BlankQuick.wav" 0.06 0
