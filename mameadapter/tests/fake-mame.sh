#!/bin/sh
# Stands in for MAME 0.251 in the adapter's tests. -listmedia prints every system's lines, whatever
# is asked; it leaves out speaker, a device. A game start writes its arguments, a line each, to
# $FAKE_MAME_ARGUMENTS (else "arguments" beside this file). FAKE_MAME_EXIT is the exit code;
# FAKE_MAME_LISTMEDIA=fail, killed or none makes -listmedia fail, die or name no media.
PATH=/usr/bin:/bin # whatever PATH the test gives the adapter
media() {
    cat <<'EOF'
SYSTEM           MEDIA NAME       (brief)    IMAGE FILE EXTENSIONS SUPPORTED
---------------- --------------------------- -------------------------------
c64              cassette         (cass)     .wav  .tap  
c64              quickload        (quik)     .p00  .prg  .t64  
nes              cartridge        (cart)     .nes  .unf  .unif 
nesm8            (none)
pacman           (none)
spectrum         snapshot         (dump)     .ach  .frz  .plusd.prg  .sem  
EOF
}

case "$1:${FAKE_MAME_LISTMEDIA:-}" in
-listmedia:fail) echo "fake: -listmedia broke" >&2 && exit 2 ;;
-listmedia:killed) kill -9 $$ ;;
-listmedia:none) media | grep -e '(none)' -e '^[-S]' ;;
-listmedia:*) media ;;
-listfull:*)
    cat <<'EOF'
Name:             Description:
c64               "Commodore 64 (NTSC)"
nes               "Nintendo Entertainment System / Famicom (NTSC)"
nesm8             "Game Action Replay 8-in-1"
pacman            "Pac-Man (Midway)"
spectrum          "ZX Spectrum – 48K"
speaker           "Speaker"
EOF
    [ "${FAKE_MAME_EXIT:-0}" = 0 ] || echo "fake: -listfull broke" >&2
    ;;
*) printf '%s\n' "$@" >"${FAKE_MAME_ARGUMENTS:-$(dirname "$0")/arguments}" ;;
esac
exit "${FAKE_MAME_EXIT:-0}"
