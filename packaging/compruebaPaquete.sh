#!/usr/bin/env bash
# Builds the .deb from a configured build folder into a temporary folder and checks that it
# installs both programs, the desktop entry and the icon.
set -euo pipefail
build="$1"
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
cpack -G DEB --config "$build/CPackConfig.cmake" -B "$tmp" > "$tmp/cpack.log"
deb=$(ls "$tmp"/*.deb)
contenido=$(dpkg-deb -c "$deb")
for f in ./usr/bin/simulador ./usr/bin/irpf2021 ./usr/share/applications/simulador-irpf2021.desktop \
         ./usr/share/icons/hicolor/scalable/apps/simulador-irpf2021.svg; do
    grep -q -- " $f\$" <<<"$contenido" || { echo "falta $f en el paquete"; exit 1; }
done
# Read the fields first: grep -q stopping early would make dpkg-deb die of SIGPIPE under pipefail.
cabecera=$(dpkg-deb -f "$deb" Package Depends)
grep -q "^Package: simulador-irpf2021$" <<<"$cabecera" || { echo "cabecera del paquete incorrecta: $cabecera"; exit 1; }
echo "paquete correcto: $(basename "$deb")"
