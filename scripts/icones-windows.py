#!/usr/bin/env python3
"""Draws the Windows build's icons (the program's icon and the button pictures) as .ico files
in app/janela_win32/recursos/. Each picture is described in a unit square and drawn at every
size the window asks for (16 px at 96 dpi up to 48 px, 256 px for the program's icon), with
4x4 supersampling for smooth edges. Run it again after changing a picture; the .ico files are
committed."""
import math, os, struct, sys, zlib

def dentro_poligono(x, y, pts):
    d = False
    j = len(pts) - 1
    for i in range(len(pts)):
        xi, yi = pts[i]; xj, yj = pts[j]
        if (yi > y) != (yj > y) and x < (xj - xi) * (y - yi) / (yj - yi) + xi:
            d = not d
        j = i
    return d

def dist_segmento(x, y, a, b):
    (ax, ay), (bx, by) = a, b
    dx, dy = bx - ax, by - ay
    t = max(0.0, min(1.0, ((x - ax) * dx + (y - ay) * dy) / (dx * dx + dy * dy or 1)))
    return math.hypot(x - ax - t * dx, y - ay - t * dy)

# Shapes: functions (x, y) -> bool in the unit square; a picture is a list of (shape, RGBA).
def circulo(cx, cy, r): return lambda x, y: (x - cx) ** 2 + (y - cy) ** 2 <= r * r
def anel(cx, cy, r1, r2): return lambda x, y: r1 * r1 <= (x - cx) ** 2 + (y - cy) ** 2 <= r2 * r2
def retangulo(x0, y0, x1, y1): return lambda x, y: x0 <= x <= x1 and y0 <= y <= y1
def arredondado(x0, y0, x1, y1, r):
    def f(x, y):
        if not (x0 <= x <= x1 and y0 <= y <= y1): return False
        cx = min(max(x, x0 + r), x1 - r); cy = min(max(y, y0 + r), y1 - r)
        return (x - cx) ** 2 + (y - cy) ** 2 <= r * r
    return f
def poligono(*pts): return lambda x, y: dentro_poligono(x, y, pts)
def traco(pts, w): return lambda x, y: any(dist_segmento(x, y, pts[i], pts[i + 1]) <= w / 2 for i in range(len(pts) - 1))
def arco(cx, cy, r, w, a0, a1):
    def f(x, y):
        d = math.hypot(x - cx, y - cy)
        if abs(d - r) > w / 2: return False
        a = math.degrees(math.atan2(cy - y, x - cx)) % 360
        return (a - a0) % 360 <= (a1 - a0) % 360
    return f

AZUL = (30, 90, 170, 255); AZUL_ESC = (20, 55, 110, 255); BRANCO = (255, 255, 255, 255)
AMARELO = (240, 190, 60, 255); AMARELO_ESC = (170, 120, 20, 255); VERMELHO = (200, 40, 40, 255)
VERDE = (40, 150, 60, 255); CINZA = (90, 90, 90, 255); LARANJA = (245, 140, 30, 255)

FIGURAS = {
    "programa": [
        (arredondado(0.04, 0.04, 0.96, 0.96, 0.18), AZUL_ESC),
        (arredondado(0.08, 0.08, 0.92, 0.92, 0.15), AZUL),
        (anel(0.45, 0.45, 0.20, 0.31), BRANCO),
        (traco([(0.58, 0.58), (0.80, 0.80)], 0.12), BRANCO),
        (poligono((0.62, 0.14), (0.90, 0.14), (0.90, 0.42)), LARANJA),
    ],
    "pasta": [
        (poligono((0.05, 0.25), (0.38, 0.25), (0.45, 0.35), (0.95, 0.35), (0.95, 0.85), (0.05, 0.85)), AMARELO_ESC),
        (poligono((0.10, 0.45), (0.98, 0.45), (0.90, 0.82), (0.05, 0.82)), AMARELO),
    ],
    "limpar": [
        (traco([(0.22, 0.22), (0.78, 0.78)], 0.16), VERMELHO),
        (traco([(0.78, 0.22), (0.22, 0.78)], 0.16), VERMELHO),
    ],
    "marcar": [
        (retangulo(0.12, 0.12, 0.88, 0.88), CINZA),
        (retangulo(0.20, 0.20, 0.80, 0.80), BRANCO),
        (traco([(0.28, 0.50), (0.44, 0.68), (0.74, 0.30)], 0.13), VERDE),
    ],
    "desmarcar": [
        (retangulo(0.12, 0.12, 0.88, 0.88), CINZA),
        (retangulo(0.20, 0.20, 0.80, 0.80), BRANCO),
    ],
    "atualizar": [
        (arco(0.5, 0.5, 0.32, 0.13, 100, 350), VERDE),
        (poligono((0.50, 0.02), (0.50, 0.38), (0.26, 0.20)), VERDE),
    ],
    "parar": [(arredondado(0.18, 0.18, 0.82, 0.82, 0.08), VERMELHO)],
    "continuar": [(poligono((0.22, 0.12), (0.86, 0.50), (0.22, 0.88)), VERDE)],
    "commit": [
        (arredondado(0.10, 0.10, 0.90, 0.90, 0.06), AZUL),
        (retangulo(0.26, 0.10, 0.74, 0.38), BRANCO),
        (retangulo(0.58, 0.15, 0.68, 0.33), AZUL),
        (retangulo(0.22, 0.55, 0.78, 0.90), (230, 230, 230, 255)),
    ],
}

def desenhar(figura, n):
    px = []
    for j in range(n):
        for i in range(n):
            acum = [0.0, 0.0, 0.0, 0.0]
            for sj in range(4):
                for si in range(4):
                    x = (i + (si + 0.5) / 4) / n; y = (j + (sj + 0.5) / 4) / n
                    cor = None
                    for forma, c in figura:
                        if forma(x, y): cor = c
                    if cor:
                        a = cor[3] / 255
                        for k in range(3): acum[k] += cor[k] * a
                        acum[3] += a
            a = acum[3] / 16
            if a > 0:
                px.append(tuple(int(round(acum[k] / acum[3])) for k in range(3)) + (int(round(a * 255)),))
            else:
                px.append((0, 0, 0, 0))
    return px

def bmp(px, n):
    cab = struct.pack("<IiiHHIIiiII", 40, n, 2 * n, 1, 32, 0, 0, 0, 0, 0, 0)
    linhas = b"".join(bytes(v for p in px[j * n:(j + 1) * n] for v in (p[2], p[1], p[0], p[3])) for j in reversed(range(n)))
    mascara_linha = ((n + 31) // 32) * 4
    mascara = bytearray()
    for j in reversed(range(n)):
        linha = bytearray(mascara_linha)
        for i in range(n):
            if px[j * n + i][3] == 0: linha[i // 8] |= 0x80 >> (i % 8)
        mascara += linha
    return cab + linhas + bytes(mascara)

def png(px, n):
    bruto = b"".join(b"\0" + bytes(v for p in px[j * n:(j + 1) * n] for v in p) for j in range(n))
    def bloco(tipo, dados):
        return struct.pack(">I", len(dados)) + tipo + dados + struct.pack(">I", zlib.crc32(tipo + dados) & 0xFFFFFFFF)
    return (b"\x89PNG\r\n\x1a\n" + bloco(b"IHDR", struct.pack(">IIBBBBB", n, n, 8, 6, 0, 0, 0)) +
            bloco(b"IDAT", zlib.compress(bruto, 9)) + bloco(b"IEND", b""))

def ico(figura, tamanhos):
    imagens = [(n, png(desenhar(figura, n), n) if n >= 256 else bmp(desenhar(figura, n), n)) for n in tamanhos]
    saida = struct.pack("<HHH", 0, 1, len(imagens))
    pos = 6 + 16 * len(imagens)
    for n, dados in imagens:
        saida += struct.pack("<BBBBHHII", n % 256, n % 256, 0, 0, 1, 32, len(dados), pos)
        pos += len(dados)
    return saida + b"".join(d for _, d in imagens)

def main():
    pasta = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "app", "janela_win32", "recursos")
    if len(sys.argv) > 1: pasta = sys.argv[1]
    for nome, figura in FIGURAS.items():
        tamanhos = [16, 24, 32, 48, 256] if nome == "programa" else [16, 20, 24, 32, 48]
        with open(os.path.join(pasta, nome + ".ico"), "wb") as f:
            f.write(ico(figura, tamanhos))

main()
