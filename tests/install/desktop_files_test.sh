#!/usr/bin/env bash
# The desktop's files the build lays out in app/share: the menu entry and the metainfo pass
# their validators, the manual names every option and exit status the program's --help
# gives, and the bash completion offers the options, the timer modes, and the entries and
# devices the board reports, quoted entries included.
# Usage: desktop_files_test.sh BUILD_APP_DIR
set -euo pipefail
app=$1
share=$app/share
id=org.jabberwell.Jabberwell
passed=0
fail() { echo "FAIL: $*" >&2; exit 1; }
ok() { passed=$((passed + 1)); }

desktop-file-validate "$share/applications/$id.desktop" || fail "the menu entry is not valid"
appstreamcli validate --no-net "$share/metainfo/$id.metainfo.xml" >/dev/null ||
  fail "the metainfo is not valid: $(appstreamcli validate --no-net "$share/metainfo/$id.metainfo.xml")"
ok

documents_options() {  # manual options...
  local option escaped
  for option in "${@:2}"; do
    escaped=$(sed 's/-/\\\\-/g' <<<"$option")
    grep -qE -- "^\.BI? $escaped( |\$)" "$1" || fail "$(basename "$1") does not describe $option"
  done
}
help=$("$app/jabberwell" --help)
options=$(grep -o -- '--[a-z-]*' <<<"$help" | sort -u)
man=$share/man/man1/jabberwell.1
documents_options "$man" $options
documents_options "$share/man/man1/jbw-unit-pack.1" \
  $("$app/jbw-unit-pack" --help 2>&1 | grep -oE -- '(^|[ [])-{1,2}[a-z][-a-z]*' | sed 's/^[ []//' | sort -u)
codes=$(sed -n '/^Exit status/,$p' <<<"$help" | grep -o '\b[0-9]\b' | sort -u)
[ -n "$codes" ] || fail "no exit status in --help"
exit_section=$(sed -n '/^\.SH EXIT STATUS/,/^\.SH /p' "$man")
for code in $codes; do
  grep -qx ".B $code" <<<"$exit_section" || fail "the manual does not describe exit status $code"
done
if command -v man >/dev/null; then
  warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l "$man" "$share/man/man1/jbw-unit-pack.1" 2>&1 >/dev/null)
  [ -z "$warnings" ] || fail "the manual does not render cleanly: $warnings"
fi
ok

# A stand-in for the board's answers, as the typed command gives them.
work=$(mktemp -d /tmp/jbw-completion-XXXXXX)
trap 'rm -rf "$work"' EXIT
cat >"$work/jabberwell" <<'EOF'
#!/bin/sh
case $1 in
  --list) printf '%s\n' "Demo Sounds/Beep" "Demo Sounds/Boop" "External Sounds/Door" ;;
  --list-devices) printf '%s\n' "Built-in Audio" "USB Headset" ;;
esac
EOF
chmod +x "$work/jabberwell"
source "$share/bash-completion/completions/jabberwell"
complete_words() {  # words...: the replies for the last one, one a line
  COMP_WORDS=("$@")
  COMP_CWORD=$(($# - 1))
  local prev=""
  [ $# -lt 2 ] || prev=${COMP_WORDS[$# - 2]}
  _jabberwell "$1" "${COMP_WORDS[$COMP_CWORD]}" "$prev"
  printf '%s\n' "${COMPREPLY[@]}"
}
offered=$(complete_words "$work/jabberwell" "" | sort)
[ "$offered" = "$options" ] || fail "completion offers $(echo $offered), --help lists $(echo $options)"
[ "$(complete_words "$work/jabberwell" --pl)" = "--play" ] || fail "--pl does not complete"
[ "$(complete_words "$work/jabberwell" --timer R)" = "Random" ] || fail "--timer R does not complete"
[ "$(complete_words "$work/jabberwell" --timer "" | wc -l)" -eq 5 ] || fail "not five timer modes"
ok

[ "$(complete_words "$work/jabberwell" --play Demo)" = $'Demo Sounds/Beep\nDemo Sounds/Boop' ] ||
  fail "--play Demo: $(complete_words "$work/jabberwell" --play Demo)"
[ "$(complete_words "$work/jabberwell" --play 'Demo\ Sounds/Bo')" = "Demo Sounds/Boop" ] ||
  fail "an entry typed with a quoted blank does not complete"
[ "$(complete_words "$work/jabberwell" --output-device U)" = "USB Headset" ] ||
  fail "--output-device does not complete from --list-devices"
[ -z "$(complete_words "$work/jabberwell" --play "Demo Sounds/Beep" "")" ] ||
  fail "completion after the argument"
[ -z "$(complete_words "$work/jabberwell" --version "")" ] || fail "completion after --version"
ok

# The real program with no board running completes nothing and prints nothing.
[ -z "$(complete_words "$app/jabberwell" --play "" 2>&1)" ] || fail "completion without a board"
ok
echo "desktop files: $passed passed, 0 failed"
