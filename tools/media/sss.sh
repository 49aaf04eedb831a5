# sss.sh - the rock-paper-scissors pictures of the computer's sign, sourced by
# tools/make_media.sh: Pics/Stein.gif (a grey rock), Pics/Schere.gif (open
# scissors), Pics/Papier.gif (a written sheet with a folded corner) and
# Pics/Brunnen.gif (a brick well under a little roof), 120 x 84 on the
# window's background colour.

sign() { "$IM" -size 120x84 xc:'#f4f0e0' -strokewidth 2 "$@"; }

sign -fill '#8a8a8a' -stroke '#4a4a4a' \
  -draw 'polygon 22,66 30,36 50,20 78,18 98,34 102,58 88,70 48,72' \
  -stroke none -fill '#b4b4b4' -draw 'polygon 36,38 52,26 74,24 64,36 44,44' \
  -fill '#6a6a6a' -draw 'polygon 70,60 92,52 96,60 86,66' \
  "$PIC/Stein.gif"

sign -fill none -stroke '#c02020' -strokewidth 5 \
  -draw 'circle 30,60 30,48' -draw 'circle 56,66 56,54' \
  -stroke '#606878' -strokewidth 6 -draw 'line 38,52 108,34' -draw 'line 60,56 102,10' \
  -stroke '#303030' -strokewidth 2 -fill '#303030' -draw 'circle 71,43 71,40' \
  "$PIC/Schere.gif"

sign -fill white -stroke '#707070' \
  -draw 'polygon 34,8 76,8 90,22 90,78 34,78' \
  -fill '#d8d8d8' -draw 'polygon 76,8 76,22 90,22' \
  -stroke '#6080c0' -strokewidth 1 \
  -draw 'line 40,32 84,32' -draw 'line 40,42 84,42' -draw 'line 40,52 84,52' -draw 'line 40,62 76,62' \
  "$PIC/Papier.gif"

sign -fill '#8b3a1a' -stroke '#5a2410' \
  -draw 'polygon 28,12 60,2 92,12' -draw 'rectangle 34,12 38,48' -draw 'rectangle 82,12 86,48' \
  -fill '#b0502c' -draw 'rectangle 26,48 94,80' \
  -stroke '#e8d8c0' -strokewidth 1 \
  -draw 'line 26,58 94,58' -draw 'line 26,69 94,69' \
  -draw 'line 48,48 48,58' -draw 'line 72,48 72,58' -draw 'line 38,58 38,69' -draw 'line 60,58 60,69' \
  -draw 'line 82,58 82,69' -draw 'line 48,69 48,80' -draw 'line 72,69 72,80' \
  -fill '#1a2a4a' -stroke '#5a2410' -strokewidth 2 -draw 'ellipse 60,48 34,6 0,360' \
  "$PIC/Brunnen.gif"
