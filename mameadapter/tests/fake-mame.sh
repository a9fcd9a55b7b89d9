#!/bin/sh
# MAME 0.251 for the tests, as FAKE_MAME_ variables script it. A game writes its arguments, a
# line each, to $FAKE_MAME_ARGUMENTS or "arguments" here.
PATH=/usr/bin:/bin # whatever PATH the test gives the adapter
if [ "$1" = "${FAKE_MAME_BREAK:-none}" ]; then
    echo "fake: $1 broke" >&2
    exit 2
fi
case "$1" in
-listmedia)
    cat <<'EOF'
SYSTEM           MEDIA NAME       (brief)    IMAGE FILE EXTENSIONS SUPPORTED
coleco           cartridge        (cart)     .rom  .col  .bin  
nes              cartridge        (cart)     .nes  .unf  .unif 
pacman           (none)
EOF
    ;;
-showconfig) [ -z "${FAKE_MAME_ROMPATH:-}" ] || echo "rompath   $FAKE_MAME_ROMPATH" ;;
-listfull)
    cat <<'EOF'
Name:             Description:
nes               "Nintendo Entertainment System"
pacman            "Pac-Man"
EOF
    ;;
*)
    printf '%s\n' "$@" >"${FAKE_MAME_ARGUMENTS:-$(dirname "$0")/arguments}"
    if [ -n "${FAKE_MAME_STOP:-}" ]; then # Tallowick stops the adapter
        trap "echo stopped by $FAKE_MAME_STOP >&2; exit 5" "$FAKE_MAME_STOP"
        kill -s "$FAKE_MAME_STOP" $PPID
        sleep 9 >/dev/null 2>&1 &
        wait
    fi
    [ -z "${FAKE_MAME_SIGNAL:-}" ] || { ulimit -c 0 && kill -s "$FAKE_MAME_SIGNAL" $$; }
    [ "$1" != coleco ] || {
        cat >&2 <<'EOF'
a 1 NOT FOUND (tried in coleco)
ALSA lib pcm.c:2666:(snd_pcm_open_noupdate) Unknown PCM default
b NOT FOUND
c NOT FOUND
EOF
        exit 2
    }
    exit "${FAKE_MAME_EXIT:-0}"
    ;;
esac
