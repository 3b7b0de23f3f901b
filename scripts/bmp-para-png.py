#!/usr/bin/env python3
"""Converts a 24-bit bottom-up BMP (as the window test captures it) to PNG: bmp-para-png.py IN OUT."""
import struct, sys, zlib

dados = open(sys.argv[1], "rb").read()
inicio = struct.unpack("<I", dados[10:14])[0]
largura, altura = struct.unpack("<ii", dados[18:26])
passo = (largura * 3 + 3) & ~3
bruto = bytearray()
for y in range(altura - 1, -1, -1):
    linha = dados[inicio + y * passo:inicio + y * passo + largura * 3]
    bruto += b"\0" + bytes(v for i in range(largura) for v in (linha[3 * i + 2], linha[3 * i + 1], linha[3 * i]))

def bloco(tipo, conteudo):
    return struct.pack(">I", len(conteudo)) + tipo + conteudo + struct.pack(">I", zlib.crc32(tipo + conteudo) & 0xFFFFFFFF)

with open(sys.argv[2], "wb") as f:
    f.write(b"\x89PNG\r\n\x1a\n" + bloco(b"IHDR", struct.pack(">IIBBBBB", largura, altura, 8, 2, 0, 0, 0)) +
            bloco(b"IDAT", zlib.compress(bytes(bruto), 9)) + bloco(b"IEND", b""))
