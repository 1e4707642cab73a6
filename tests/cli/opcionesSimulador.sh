#!/usr/bin/env bash
# simulador's command line with no display at all (as over ssh or in a text console):
# --help and --version answer on the terminal, a bad command line gets a short reason and
# status 2, the help fits an 80-column terminal, and every option --help lists is an item of
# the manual page's OPCIONES. On a virtual display of its own (Xvfb), the window's WM_CLASS
# names the desktop entry kept beside the page.
# Usage: opcionesSimulador.sh SIMULADOR PAGINA_DE_MANUAL
set -euo pipefail
simulador=$1 pagina=$2
entrada=$(dirname "$pagina")/simulador-irpf2021.desktop
tmp=$(mktemp -d)
procesos=()
trap 'for p in "${procesos[@]}"; do kill "$p" 2>/dev/null; done; wait; rm -rf "$tmp"' EXIT
export HOME=$tmp XDG_STATE_HOME=$tmp/state XDG_CONFIG_HOME=$tmp/config TMPDIR=$tmp
fallos=0
mal() { echo "MAL: $*" >&2; fallos=$((fallos + 1)); }
# Without a display a QApplication aborts: any answer below proves none was made.
sin_pantalla() { env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$simulador" "$@"; }

version=$(sin_pantalla --version 2>"$tmp/err") || mal "--version: estado $?: $(<"$tmp/err")"
[[ $version =~ ^simulador\ [0-9]+\.[0-9]+\ \(IRPF,\ ejercicio\ 2021\)$ ]] || mal "--version dice «$version»"

ayuda=$(sin_pantalla --help 2>"$tmp/err") || mal "--help: estado $?: $(<"$tmp/err")"
[ "$(sin_pantalla -h)" = "$ayuda" ] || mal "-h no da la ayuda de --help"
sin_pantalla --help >/dev/full 2>/dev/null && mal "--help a un disco lleno termina bien"
# An 80-column terminal wraps a line of 80 characters; UTF-8 continuation bytes take no column.
n=$(LC_ALL=C sed 's/[\x80-\xbf]//g' <<<"$ayuda" | LC_ALL=C awk 'length > 79 {print NR; exit}')
[ -z "$n" ] || mal "--help: la línea $n pasa de 79 caracteres: $(sed -n "${n}p" <<<"$ayuda")"

# Options are the dash-led words opening an indented line of the help, and the tags of the
# page's .TP items in OPCIONES (roff writes "-" as "\-").
opciones_ayuda=$(grep -E '^ +-' <<<"$ayuda" | sed -E 's/^ +//; s/  .*//' | grep -oE -- '-[-a-zA-Z]*' | sort -u)
opciones_pagina=$(sed -n '/^\.SH OPCIONES/,/^\.SH /p' "$pagina" | sed -n '/^\.TP/{n;p}' | sed 's/\\-/-/g' |
                  grep -oE -- '(^|[ "])-[-a-zA-Z]*' | tr -d ' "' | sort -u)
[ -n "$opciones_ayuda" ] || mal "--help no lista ninguna opción"
[ "$opciones_ayuda" = "$opciones_pagina" ] ||
    mal "opciones de --help y de $(basename "$pagina") distintas:" $'\n'"$(diff <(echo "$opciones_ayuda") <(echo "$opciones_pagina"))"

# A bad command line: status 2, nothing on standard output, at most three lines naming the
# fault; a control character in it is shown escaped, never sent to the terminal.
while IFS='|' read -r argumentos motivo; do
    read -ra args <<<"$argumentos"
    estado=0
    sin_pantalla "${args[@]}" >"$tmp/out" 2>"$tmp/err" || estado=$?
    [ $estado -eq 2 ] || mal "$argumentos: estado $estado"
    [ ! -s "$tmp/out" ] || mal "$argumentos: escribe en la salida estándar"
    [ "$(wc -l <"$tmp/err")" -le 3 ] || mal "$argumentos: más de tres líneas de error"
    grep -qF -- "$motivo" "$tmp/err" || mal "$argumentos: no dice «$motivo»: $(<"$tmp/err")"
done <<'CASOS'
--nada|opción desconocida: «--nada»
-x uno.ini|opción desconocida: «-x»
uno.ini dos.ini|se abre un solo FICHERO
CASOS
estado=0
sin_pantalla $'--\e[2J' 2>"$tmp/err" || estado=$?
[ $estado -eq 2 ] && grep -qF -- '«--\x1b[2J»' "$tmp/err" && ! grep -q $'\e' "$tmp/err" ||
    mal "un carácter de control en la opción llega a la terminal: $(cat -v "$tmp/err")"

# On X11 the task bar joins a window to its desktop entry when the class of its WM_CLASS is
# the entry's StartupWMClass; otherwise the window shows under a generic name and icon.
if command -v Xvfb >/dev/null && command -v xwininfo >/dev/null && command -v xprop >/dev/null; then
    clase=$(sed -n 's/^StartupWMClass=//p' "$entrada")
    Xvfb -displayfd 3 -nolisten tcp 3>"$tmp/pantalla" >/dev/null 2>&1 &
    procesos+=($!)
    for _ in $(seq 100); do [ -s "$tmp/pantalla" ] && break; sleep 0.1; done
    export DISPLAY=:$(<"$tmp/pantalla")
    env -u WAYLAND_DISPLAY QT_QPA_PLATFORM=xcb "$simulador" >/dev/null 2>&1 &
    procesos+=($!)
    clases=
    for _ in $(seq 100); do
        for ventana in $(xwininfo -root -children 2>/dev/null | grep -oE '^ +0x[0-9a-f]+'); do
            clases+=$(xprop -id "$ventana" WM_CLASS 2>/dev/null | grep -F ' = ' || true)
        done
        [ -n "$clases" ] && break
        sleep 0.1
    done
    [ -n "$clase" ] && [[ $clases == *", \"$clase\""* ]] ||
        mal "la ventana no es de la entrada de escritorio (StartupWMClass=$clase): ${clases:-sin WM_CLASS}"
else
    echo "sin Xvfb, xwininfo o xprop: no se ha comprobado el WM_CLASS de la ventana"
fi

[ $fallos -eq 0 ] || exit 1
echo "simulador: opciones correctas"
