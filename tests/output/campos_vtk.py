"""Reads a run's fields file with VTK's own reader and checks it against the run's other files.

Usage: campos_vtk.py FOLDER CASE_NAME NX NY SHIH(0|1)
FOLDER holds what quelna wrote: CASE_NAME.vti, u.dat, v.dat, vortices.dat.
"""
import math
import sys

import vtk

pasta, caso, na, nb, shih = sys.argv[1], sys.argv[2], int(sys.argv[3]), int(sys.argv[4]), sys.argv[5] == "1"
falhas = []


def confere(condicao, texto):
    if not condicao:
        falhas.append(texto)


leitor = vtk.vtkXMLImageDataReader()
leitor.SetFileName(f"{pasta}/{caso}.vti")
leitor.Update()
dados = leitor.GetOutput()
confere(dados.GetDimensions() == (na + 1, nb + 1, 1), f"dimensões {dados.GetDimensions()}")
dx, dy = 1.0 / na, 1.0 / nb
confere(dados.GetSpacing() == (dx, dy, 1.0), f"espaçamento {dados.GetSpacing()}")
confere(dados.GetOrigin() == (0.0, 0.0, 0.0), f"origem {dados.GetOrigin()}")
confere(dados.GetNumberOfCells() == na * nb, f"células {dados.GetNumberOfCells()}")

pontos, celulas = dados.GetPointData(), dados.GetCellData()
nomes_p = [pontos.GetArrayName(k) for k in range(pontos.GetNumberOfArrays())]
nomes_c = [celulas.GetArrayName(k) for k in range(celulas.GetNumberOfArrays())]
confere(nomes_p == ["psi", "vorticidade"], f"arranjos dos nós {nomes_p}")
esperados = ["u", "v", "p", "p_bruta"] + (["u_exata", "v_exata", "p_exata", "erro_u", "erro_v", "erro_p"] if shih else [])
confere(nomes_c == esperados, f"arranjos das células {nomes_c}")


def valores(dados_, nome):
    a = dados_.GetArray(nome)
    return [a.GetValue(k) for k in range(a.GetNumberOfTuples())]


psi = valores(pontos, "psi")
u, v, p = valores(celulas, "u"), valores(celulas, "v"), valores(celulas, "p")
confere(len(psi) == (na + 1) * (nb + 1) and len(u) == na * nb, "tamanhos dos arranjos")
no = lambda a, b: b * (na + 1) + a
cel = lambda a, b: b * na + a

# psi is 0 on the walls.
for a in range(na + 1):
    confere(psi[no(a, 0)] == 0 and psi[no(a, nb)] == 0, f"psi na parede horizontal, nó {a}")
for b in range(nb + 1):
    confere(psi[no(0, b)] == 0 and psi[no(na, b)] == 0, f"psi na parede vertical, nó {b}")
confere(abs(sum(p) / len(p)) < 1e-12, "p relativa à média")


def le_dat(nome):
    with open(f"{pasta}/{nome}") as f:
        return [tuple(map(float, l.split())) for l in f if l.strip()]


# u.dat holds ue on the face x = 0.5 at the row centres: psi on the node line x = 0.5 is its sum
# times dy, and the cell u on either side of the line averages to about it.
perfil_u = le_dat("u.dat")
confere(len(perfil_u) == nb + 2, f"linhas de u.dat: {len(perfil_u)}")
meio = na // 2
soma = 0.0
for b in range(1, nb):
    soma += dy * perfil_u[b][0]
    confere(abs(psi[no(meio, b)] - soma) < 1e-6, f"psi em x = 0,5, nó {b}: {psi[no(meio, b)]} contra {soma}")
for b in range(nb):
    media = 0.5 * (u[cel(meio - 1, b)] + u[cel(meio, b)])
    confere(abs(media - perfil_u[b + 1][0]) < 0.02, f"u em x = 0,5, linha {b}: {media} contra {perfil_u[b + 1][0]}")
    confere(abs(perfil_u[b + 1][1] - (b + 0.5) * dy) < 1e-6, f"y de u.dat, linha {b}")
perfil_v = le_dat("v.dat")
meio_b = nb // 2
for a in range(na):
    media = 0.5 * (v[cel(a, meio_b - 1)] + v[cel(a, meio_b)])
    confere(abs(media - perfil_v[a + 1][1]) < 0.02, f"v em y = 0,5, coluna {a}: {media} contra {perfil_v[a + 1][1]}")

if shih:
    ue, ve, pe = valores(celulas, "u_exata"), valores(celulas, "v_exata"), valores(celulas, "p_exata")
    eu, ev, ep = valores(celulas, "erro_u"), valores(celulas, "erro_v"), valores(celulas, "erro_p")
    for b in range(nb):
        for a in range(na):
            x, y, k = (a + 0.5) * dx, (b + 0.5) * dy, cel(a, b)
            f = x**4 - 2 * x**3 + x**2
            f1 = 4 * x**3 - 6 * x**2 + 2 * x
            confere(abs(ue[k] - 8 * f * (4 * y**3 - 2 * y)) < 1e-14, f"u exata em ({a}, {b})")
            confere(abs(ve[k] + 8 * f1 * (y**4 - y**2)) < 1e-14, f"v exata em ({a}, {b})")
            confere(eu[k] == u[k] - ue[k] and ev[k] == v[k] - ve[k] and ep[k] == p[k] - pe[k], f"erros em ({a}, {b})")
    confere(abs(sum(pe) / len(pe)) < 1e-12, "p exata relativa à média")
    confere(max(abs(e) for e in eu) < 0.05, "erro de u pequeno")

with open(f"{pasta}/vortices.dat", encoding="latin-1") as f:
    linhas = [l.split() for l in f if not l.startswith("#")]
confere(linhas and linhas[0][0] == "primario", f"vortices.dat: {linhas}")
x, y, valor = map(float, linhas[0][1:])
confere(abs(valor - min(psi)) < 0.02 * abs(min(psi)) and valor <= min(psi), f"psi do vórtice {valor} contra {min(psi)}")

if falhas:
    print("\n".join(falhas))
    sys.exit(1)
print(f"{caso}.vti lido pelo VTK {vtk.vtkVersion.GetVTKVersion()}: {na} x {nb} volumes, conferido")
