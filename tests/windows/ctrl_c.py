"""Runs quelna.exe under Wine on a terminal of its own, types Ctrl-C once the cycle has written
three lines of r.dat, and prints the exit status. Usage: ctrl_c.py FOLDER QUELNA_EXE"""
import os
import pty
import select
import sys
import time

pasta, exe = sys.argv[1], sys.argv[2]
pid, fd = pty.fork()
if pid == 0:
    os.chdir(pasta)
    os.execvp("wine", ["wine", exe])
inicio, enviado = time.time(), False
while True:
    pronto, _, _ = select.select([fd], [], [], 0.1)
    if pronto:
        try:
            if not os.read(fd, 65536):
                break
        except OSError:
            break
    if not enviado:
        try:
            with open(os.path.join(pasta, "r.dat")) as f:
                if len(f.readlines()) >= 3:
                    os.write(fd, b"\x03")
                    enviado = True
        except FileNotFoundError:
            pass
    if time.time() - inicio > 600:
        os.kill(pid, 9)
        break
_, estado = os.waitpid(pid, 0)
print(os.waitstatus_to_exitcode(estado) if enviado else "sem Ctrl-C")
