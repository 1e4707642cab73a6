#!/usr/bin/env python3
"""Reads irpf2021's output back with real parsers, strictly, for the command-line tests.

relee.py csv           the standard input as one CSV table (";", RFC 4180). It must be
                       strict UTF-8 and exactly what a canonical writer gives for the same
                       rows: CRLF after every row, quotes only where needed, and doubled.
relee.py json RUTA...  each line of the standard input as strict JSON in strict UTF-8; of
                       each line, the value at each RUTA ("arbol.valor",
                       "liquidaciones.0.casillas.73"): a text as it is, a list as its
                       length, anything else as JSON, a missing one as "<falta>".

Out: one record per row or line, its fields separated by US (0x1f), each record ended by
RS (0x1e). Input that does not read back: status 1 and the reason on standard error.
"""
import csv
import io
import json
import sys


def valor(objeto, ruta):
    for clave in ruta.split("."):
        if isinstance(objeto, list) and clave.isdigit() and int(clave) < len(objeto):
            objeto = objeto[int(clave)]
        elif isinstance(objeto, dict) and clave in objeto:
            objeto = objeto[clave]
        else:
            return "<falta>"
    if isinstance(objeto, str):
        return objeto
    if isinstance(objeto, list):
        return str(len(objeto))
    return json.dumps(objeto)


def main():
    texto = sys.stdin.buffer.read().decode("utf-8", "strict")
    if sys.argv[1] == "csv":
        filas = list(csv.reader(io.StringIO(texto, newline=""), delimiter=";", strict=True))
        canonico = io.StringIO(newline="")
        csv.writer(canonico, delimiter=";", lineterminator="\r\n").writerows(filas)
        if canonico.getvalue() != texto:
            sys.exit("no es la tabla que escribiría un escritor de CSV: " + repr(texto[:200]))
    else:
        filas = [[valor(json.loads(linea), r) for r in sys.argv[2:]] for linea in texto.splitlines()]
    sys.stdout.write("".join("\x1f".join(f) + "\x1e" for f in filas))


main()
