#!/usr/bin/env bash
# Builds the .deb from a configured build folder into a temporary folder and checks what a
# Debian user gets: both programs, stripped (and hardened in a release build), their manual
# pages gzipped, the desktop entry that "Abrir con" and the task bar rely on, the icon, the
# copyright and changelog, the dependencies the libraries do not tell, and no lintian error.
set -euo pipefail
build=$(cd "$1" && pwd)
fuentes=$(cd "$(dirname "$0")/.." && pwd)
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
# lintian and cpack keep nothing in the user's folders.
export HOME=$tmp XDG_STATE_HOME=$tmp/state XDG_CONFIG_HOME=$tmp/config XDG_CACHE_HOME=$tmp/cache TMPDIR=$tmp
fallos=0
mal() { echo "MAL: $*"; fallos=$((fallos + 1)); }

cpack -G DEB --config "$build/CPackConfig.cmake" -B "$tmp/cpack" > "$tmp/cpack.log"
deb=$(ls "$tmp"/cpack/*.deb)
dpkg-deb -x "$deb" "$tmp/raiz"
raiz=$tmp/raiz
doc=$raiz/usr/share/doc/simulador-irpf2021

paginas=(simulador irpf2021)
for f in usr/bin/simulador usr/bin/irpf2021 usr/share/applications/simulador-irpf2021.desktop \
         usr/share/icons/hicolor/scalable/apps/simulador-irpf2021.svg \
         usr/share/doc/simulador-irpf2021/copyright usr/share/doc/simulador-irpf2021/changelog.gz; do
    [ -f "$raiz/$f" ] || mal "falta /$f en el paquete"
done
for p in "${paginas[@]}"; do
    pagina=$raiz/usr/share/man/man1/$p.1.gz
    { [ -f "$pagina" ] && gzip -t "$pagina" && zcat "$pagina" | cmp -s - "$fuentes/packaging/$p.1"; } ||
        mal "falta la página de manual $p.1.gz, o no es packaging/$p.1 comprimida"
done

# Stripped; in a release build also read-only relocations bound at start and position-
# independent (the stack protector and fortified functions leave no trace to check here).
tipo=$(sed -n 's/^CMAKE_BUILD_TYPE:[A-Z]*=//p' "$build/CMakeCache.txt")
for b in simulador irpf2021; do
    [ -f "$raiz/usr/bin/$b" ] || continue
    file -b "$raiz/usr/bin/$b" | grep -q ', stripped' || mal "$b no está despojado de símbolos: $(file -b "$raiz/usr/bin/$b")"
    case $tipo in Release | RelWithDebInfo | MinSizeRel)
        cabeceras=$(readelf -lhd "$raiz/usr/bin/$b")
        grep -q 'GNU_RELRO' <<<"$cabeceras" && grep -qE 'BIND_NOW|FLAGS.*NOW' <<<"$cabeceras" ||
            mal "$b sin -z relro -z now"
        grep -qE 'Type: +DYN' <<<"$cabeceras" || mal "$b no es PIE"
    esac
done

entrada=$raiz/usr/share/applications/simulador-irpf2021.desktop
for campo in 'Exec=simulador %f' 'StartupWMClass=simulador-irpf2021' 'Icon=simulador-irpf2021'; do
    grep -qxF "$campo" "$entrada" 2>/dev/null || mal "la entrada de escritorio no tiene «$campo»"
done
if command -v desktop-file-validate >/dev/null; then
    desktop-file-validate "$entrada" || mal "desktop-file-validate rechaza la entrada de escritorio"
fi

grep -q '^Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/$' "$doc/copyright" 2>/dev/null ||
    mal "copyright no sigue el formato DEP-5"
# Read the fields first: grep -q stopping early would make dpkg-deb die of SIGPIPE under pipefail.
cabecera=$(dpkg-deb -f "$deb" Package Version Depends Description)
version=$(sed -n 's/^Version: //p' <<<"$cabecera")
grep -q "^Package: simulador-irpf2021$" <<<"$cabecera" || mal "cabecera del paquete incorrecta: $cabecera"
[ "$(zcat "$doc/changelog.gz" 2>/dev/null | head -1)" = "simulador-irpf2021 ($version) unstable; urgency=medium" ] ||
    mal "la primera entrada de changelog.gz no es la versión $version"
for dep in fonts-dejavu-core fonts-liberation libqt6svg6; do
    grep -qE "^Depends:.*(^|[ ,])$dep([ ,(]|$)" <<<"$cabecera" || mal "no depende de $dep"
done
[ "$(sed -n '/^Description:/,$p' <<<"$cabecera" | wc -l)" -gt 3 ] || mal "sin descripción larga"

if command -v lintian >/dev/null; then
    # --tag-display-limit 0: every line, so that an error is never hidden behind a summary.
    lintian --tag-display-limit 0 "$deb" > "$tmp/lintian.log" 2>&1 || true
    cat "$tmp/lintian.log"
    ! grep -q '^E: ' "$tmp/lintian.log" || mal "lintian da errores"
else
    echo "lintian no está instalado: no se ha pasado"
fi

[ $fallos -eq 0 ] || exit 1
echo "paquete correcto: $(basename "$deb")"
