# translator.sh - the translator's own pictures and its worksheet, sourced by
# tools/make_media.sh (ROOT, IM, FONTB, TMP are set there). Writes
# Resources/translator/: the delete and rename drop targets, the worksheet
# button's picture, and the worksheet itself as a flat OpenDocument
# spreadsheet (plain XML) with its four sheets.
TRD=$ROOT/Resources/translator
mkdir -p "$TRD"

# A bin with a red cross: drop a category or word type here to delete it.
"$IM" -size 48x48 xc:none -fill '#d8d8e0' -stroke '#303848' -strokewidth 2 \
  -draw 'polygon 12,14 36,14 33,44 15,44' -draw 'line 9,12 39,12' -draw 'rectangle 20,7 28,11' \
  -stroke '#c00000' -strokewidth 4 -draw 'line 17,20 31,38' -draw 'line 31,20 17,38' \
  -define png:exclude-chunks=date,time "$TRD/DelCatType.png"
# A label with a pencil: drop here to rename.
"$IM" -size 48x48 xc:none -fill '#fff8c0' -stroke '#303848' -strokewidth 2 \
  -draw 'roundrectangle 4,12 44,36 4,4' -fill '#303848' -stroke none -font "$FONTB" -pointsize 13 \
  -draw "text 9,29 'Abc'" -stroke '#c06000' -strokewidth 5 -draw 'line 26,44 44,26' \
  -stroke '#202020' -strokewidth 2 -draw 'line 24,46 27,43' \
  -define png:exclude-chunks=date,time "$TRD/RenCatType.png"
# A small sheet with a grid for the worksheet button.
"$IM" -size 24x24 xc:none -fill white -stroke '#207040' -strokewidth 1 -draw 'rectangle 2,2 21,21' \
  -draw 'line 2,8 21,8' -draw 'line 2,14 21,14' -draw 'line 9,2 9,21' -draw 'line 15,2 15,21' \
  -fill '#207040' -stroke none -draw 'rectangle 2,2 21,7' \
  -define png:exclude-chunks=date,time "$TRD/Worksheet.png"

# The worksheet: reference material for the user, four sheets.
tr_row() { # cells separated by "|"
  local IFS='|' c
  printf '    <table:table-row>'
  for c in $1; do printf '<table:table-cell office:value-type="string"><text:p>%s</text:p></table:table-cell>' "$c"; done
  printf '</table:table-row>\n'
}
tr_sheet() { # name, then rows
  local name=$1; shift
  printf '   <table:table table:name="%s">\n    <table:table-column table:number-columns-repeated="4"/>\n' "$name"
  local r
  for r in "$@"; do tr_row "$r"; done
  printf '   </table:table>\n'
}
{
  cat <<'HEAD'
<?xml version="1.0" encoding="UTF-8"?>
<office:document xmlns:office="urn:oasis:names:tc:opendocument:xmlns:office:1.0"
 xmlns:table="urn:oasis:names:tc:opendocument:xmlns:table:1.0"
 xmlns:text="urn:oasis:names:tc:opendocument:xmlns:text:1.0"
 office:version="1.2" office:mimetype="application/vnd.oasis.opendocument.spreadsheet">
 <office:body>
  <office:spreadsheet>
HEAD
  tr_sheet "Vocabulary (D+E)" "Deutsch|English|Wortart / Type" \
    "das Haus|the house|Noun" "der Baum|the tree|Noun" "die Katze|the cat|Noun" "gehen|to go|Verb" \
    "sehen|to see|Verb" "schnell|fast|Adjective" "langsam|slow|Adjective" "heute|today|Adverb" \
    "morgen|tomorrow|Adverb" "und|and|Conjunction" "aber|but|Conjunction" "mit|with|Preposition"
  tr_sheet "Conjugation (E)" "Infinitive|Simple past|Past participle|3rd person singular" \
    "to be|was / were|been|is" "to have|had|had|has" "to do|did|done|does" "to go|went|gone|goes" \
    "to see|saw|seen|sees" "to take|took|taken|takes" "to write|wrote|written|writes" \
    "to speak|spoke|spoken|speaks" "to buy|bought|bought|buys" "to think|thought|thought|thinks"
  tr_sheet "Tips + Rules (E)" "Rule|Example" \
    "Most nouns form their plural with -s|house - houses" \
    "Nouns ending in -s, -x, -ch, -sh add -es|box - boxes" \
    "The 3rd person singular adds -s in the present|she goes" \
    "Adjectives do not change before a noun|a fast car, fast cars" \
    "Questions in the present use do / does|Do you speak German?"
  tr_sheet "Tips + Rules (D)" "Regel|Beispiel" \
    "Nomen werden großgeschrieben|das Haus, die Katze" \
    "Das Verb steht im Hauptsatz an zweiter Stelle|Heute gehe ich nach Hause." \
    "Im Nebensatz steht das Verb am Ende|..., weil ich müde bin." \
    "Der Artikel zeigt das Geschlecht: der, die, das|der Baum, die Katze, das Haus" \
    "Nach mit folgt der Dativ|mit dem Auto"
  cat <<'TAIL'
  </office:spreadsheet>
 </office:body>
</office:document>
TAIL
} >"$TRD/Worksheet.fods"
