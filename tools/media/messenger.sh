# messenger.sh - the chat windows' sounds, sourced by tools/make_media.sh (uses SND, SOXG,
# RATE and TMP). Short and small: a role chosen or a window closed (TalkOn), a connection
# made (TalkIn) or ended (TalkOut), a message sent (TalkBeg) or received (TalkGet).

# talk_tone OUT DUR SYNTH-ARGS...: one soft tone with quick fades, 11025 Hz mono.
talk_tone() {
  local out=$1 d=$2; shift 2
  "${SOXG[@]}" -n -r 11025 -c 1 -b 16 "$out" synth "$d" "$@" fade h 0.01 "$d" "$(awk "BEGIN{print $d*0.6}")" vol 0.6
}
# talk_join OUT IN...: the tones one after the other.
talk_join() { local out=$1; shift; "${SOXG[@]}" "$@" -b 16 "$out"; }

talk_tone "$TMP/talk_c5.wav" 0.12 sine 523.25
talk_tone "$TMP/talk_e5.wav" 0.12 sine 659.25
talk_tone "$TMP/talk_g5.wav" 0.16 sine 783.99
talk_tone "$TMP/talk_c6.wav" 0.18 sine 1046.50

# TalkOn: a rising three-note chime.
talk_join "$SND/TalkOn.wav" "$TMP/talk_c5.wav" "$TMP/talk_e5.wav" "$TMP/talk_g5.wav"
# TalkIn: two notes up a fifth and an octave.
talk_join "$SND/TalkIn.wav" "$TMP/talk_g5.wav" "$TMP/talk_c6.wav"
# TalkOut: the same two notes falling.
talk_join "$SND/TalkOut.wav" "$TMP/talk_c6.wav" "$TMP/talk_c5.wav"
# TalkBeg: a short upward chirp as a message leaves.
talk_tone "$SND/TalkBeg.wav" 0.10 sine 700/1400
# TalkGet: a short downward chirp as a message arrives.
talk_tone "$SND/TalkGet.wav" 0.10 sine 1400/700
