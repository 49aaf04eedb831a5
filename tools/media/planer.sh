# The planner's own pictures: the arrows of the buttons that move a to-do
# item up and down. Sourced by tools/make_media.sh (uses ROOT and IM).
PLANER_PICS=$ROOT/Resources/planer
mkdir -p "$PLANER_PICS"
PLANER_PNG=(-strip -define png:exclude-chunks=bKGD,cHRM,gAMA,iCCP,sRGB,tEXt,zTXt,iTXt,date,time,vpAg)
"$IM" -size 20x20 xc:none -fill '#1f3f7f' -stroke '#0c1f47' -strokewidth 1 \
  -draw "polygon 10,3 17,15 3,15" "${PLANER_PNG[@]}" "PNG32:$PLANER_PICS/up.png"
"$IM" -size 20x20 xc:none -fill '#1f3f7f' -stroke '#0c1f47' -strokewidth 1 \
  -draw "polygon 3,5 17,5 10,17" "${PLANER_PNG[@]}" "PNG32:$PLANER_PICS/down.png"
cat >"$ROOT/Resources/planer.qrc" <<'QRC'
<!DOCTYPE RCC>
<RCC version="1.0">
<qresource prefix="/planer">
    <file alias="up.png">planer/up.png</file>
    <file alias="down.png">planer/down.png</file>
</qresource>
</RCC>
QRC
