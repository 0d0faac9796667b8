#!/usr/bin/python3
# A loopback FTP server for velmaro's upload tests and benchmark (Debian's python3-pyftpdlib).
# Prints its port and its process id, a line each, then serves until killed. It can refuse MKD or
# the STOR of given file names, fail the way real servers fail during an upload (die, stall, run
# out of space), and records the conversation in --log.

import argparse
import logging
import os
import time
import urllib.parse

from pyftpdlib.authorizers import DummyAuthorizer
from pyftpdlib.handlers import FTPHandler
from pyftpdlib.servers import ThreadedFTPServer

p = argparse.ArgumentParser()
for name in ("--root", "--user", "--password", "--log"):
    p.add_argument(name, required=True)
p.add_argument("--no-mkd", action="store_true")
p.add_argument("--refuse", action="append", default=[])
# After this many files have arrived: the process ends at the next data command ...
p.add_argument("--stop-after", type=int)
# ... or answers every further STOR with 452, as a full disk does.
p.add_argument("--full-after", type=int)
# The STOR of this file is answered with 150, then the server neither reads the data nor replies.
p.add_argument("--stall")
# Keeps only the first half of this file and still answers 226, as a full quota can.
p.add_argument("--truncate", action="append", default=[])
# Commands the server does not know (answered 502): MLSD, LIST, SIZE.
p.add_argument("--without", action="append", default=[])
# Each connection waits this many milliseconds before every reply (a distant server).
p.add_argument("--delay-ms", type=int, default=0)
# At most this many connections from one address; the next is answered 421.
p.add_argument("--max-cons-per-ip", type=int, default=0)
# Waits this many seconds before each STOR, as a slow line does.
p.add_argument("--delay", type=float, default=0)
# LIST in the DOS form of IIS; MLSD and LIST without end; the connection logged in as this number
# closes after its first file.
p.add_argument("--dos-list", action="store_true")
p.add_argument("--endless-list", action="store_true")
p.add_argument("--drop-connection", type=int)
# Greets every connection with 421, as a server at its limit does.
p.add_argument("--voll", action="store_true")
# A wrong password is answered with the password itself, as careless servers do.
p.add_argument("--echo-pass", choices=["roh", "gross", "url"])
a = p.parse_args()
log = open(a.log, "a", encoding="utf-8", errors="replace")


class Authorizer(DummyAuthorizer):
    def has_perm(self, username, perm, path=None):
        if perm == "w" and path and os.path.basename(path) in a.refuse:
            return False
        return DummyAuthorizer.has_perm(self, username, perm, path)


empfangen = 0
anmeldungen = 0
eltern = os.getppid()


class Endlos:
    n = 0

    def __init__(self, mlsd):
        self.form = "type=file;size=9; d%d.php\r\n" if mlsd else "-rw-r--r-- 1 u u 9 Dec  7 16:56 d%d.php\r\n"

    def more(self):
        Endlos.n += 100
        return "".join(self.form % (Endlos.n + i) for i in range(100)).encode()


class Handler(FTPHandler):
    authorizer = Authorizer()
    # Answers a wrong password at once instead of after a three-second penalty.
    auth_failed_timeout = 0

    def handle(self):
        if not a.voll:
            return FTPHandler.handle(self)
        self.respond("421 Too many connections, try later.")
        self.close_when_done()

    def on_login(self, username):
        global anmeldungen
        anmeldungen += 1
        self.nummer = anmeldungen

    def ftp_LIST(self, path):
        if a.endless_list:
            return self.push_dtp_data(Endlos(False), isproducer=True, cmd="LIST")
        if not a.dos_list:
            return FTPHandler.ftp_LIST(self, path)
        zeilen = []
        for name in sorted(os.listdir(path)):
            voll = os.path.join(path, name)
            groesse = "<DIR>         " if os.path.isdir(voll) else "%14d" % os.path.getsize(voll)
            zeilen.append("12-07-26  04:56PM       %s %s\r\n" % (groesse, name))
        self.push_dtp_data("".join(zeilen).encode(), isproducer=False, cmd="LIST")

    def ftp_MLSD(self, path):
        if a.endless_list:
            return self.push_dtp_data(Endlos(True), isproducer=True, cmd="MLSD")
        return FTPHandler.ftp_MLSD(self, path)

    def on_file_received(self, file):
        global empfangen
        empfangen += 1
        self.erhalten = True
        if os.path.basename(file) in a.truncate:
            os.truncate(file, os.path.getsize(file) // 2)

    def pre_process_command(self, line, cmd, arg):
        if cmd in a.without:
            log.write(cmd + "\n")
            log.flush()
            self.respond("502 Command not implemented.")
            return
        return self.protokollieren(line, cmd, arg)

    def ftp_STOR(self, file, mode="w"):
        time.sleep(a.delay)
        if a.full_after is not None and empfangen >= a.full_after:
            self.respond("452 Insufficient storage space.")
            return
        if a.stall and os.path.basename(file) == a.stall:
            # Straight onto the socket: the event loop that would send a queued reply stops here.
            self.socket.sendall(b"150 File status okay. About to open data connection.\r\n")
            while os.getppid() == eltern:
                time.sleep(0.2)
            os._exit(0)
        return FTPHandler.ftp_STOR(self, file, mode)

    def respond(self, resp, logfun=None):
        if a.delay_ms:
            time.sleep(a.delay_ms / 1000)
        return FTPHandler.respond(self, resp)

    def ftp_PASS(self, line):
        if a.echo_pass and line != a.password:
            echo = {"roh": line, "gross": line.upper(), "url": urllib.parse.quote(line, safe="")}[a.echo_pass]
            self.respond("530 Passwort " + echo + " falsch.")
            return
        return FTPHandler.ftp_PASS(self, line)

    def protokollieren(self, line, cmd, arg):
        if getattr(self, "erhalten", False) and getattr(self, "nummer", 0) == a.drop_connection:
            return self.close()
        if a.stop_after is not None and empfangen >= a.stop_after and cmd in ("PORT", "EPRT", "PASV", "STOR"):
            os._exit(0)
        # What a test can compare: no password or data port, nothing that varies with the client
        # (TYPE, PWD, ...).
        if cmd in ("USER", "CWD", "MKD", "STOR", "QUIT", "MLSD", "LIST", "SIZE"):
            log.write(line + "\n")
        elif cmd in ("PASS", "PORT", "EPRT", "PASV", "EPSV"):
            log.write(cmd + "\n")
        log.flush()
        return FTPHandler.pre_process_command(self, line, cmd, arg)


Handler.authorizer.add_user(a.user, a.password, a.root, perm="elradfw" if a.no_mkd else "elradfmw")
logging.basicConfig(level=logging.WARNING)  # keeps the log of every command off stderr
# A thread per connection: pyftpdlib's single-threaded server now and then never answers a PORT
# while other connections are busy, which parallel uploads in active mode run into.
server = ThreadedFTPServer(("127.0.0.1", 0), Handler)
server.max_cons_per_ip = a.max_cons_per_ip
print(server.address[1], os.getpid(), sep="\n", flush=True)
# Ends within a second of the process that started it, even one that crashed before killing it.
server.ioloop.call_every(1, lambda: os.getppid() == eltern or os._exit(0))
server.serve_forever(timeout=1)
