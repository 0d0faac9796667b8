#!/usr/bin/python3
# A loopback FTP server for velmaro's upload tests and benchmark (Debian's python3-pyftpdlib).
# Prints its port and its process id, a line each, then serves until killed. It can refuse MKD or
# the STOR of given file names, fail the way real servers fail during an upload (die, stall, run
# out of space), and records the conversation in --log.

import argparse
import itertools
import logging
import os
import time
import urllib.parse

from pyftpdlib.authorizers import DummyAuthorizer
from pyftpdlib.handlers import FTPHandler
from pyftpdlib.servers import FTPServer, ThreadedFTPServer

p = argparse.ArgumentParser()
for name in ("--root", "--user", "--password", "--log"):
    p.add_argument(name, required=True)
# --no-mkd: MKD refused. --refuse NAME: the STOR of NAME refused. --without CMD: MLSD, LIST or SIZE
# answered 502, as by a server that does not know them. --truncate NAME: only the first half of
# NAME kept, yet 226 answered, as a full quota can.
# After --stop-after files have arrived the process ends at the next data command; after
# --full-after every further STOR is answered 452, as a full disk does. The STOR of --stall is
# answered 150, then the server neither reads the data nor replies.
# --delay-ms: each connection waits this long before every reply (a distant server); --delay: this
# many seconds before each STOR (a slow line). --max-cons-per-ip: the next connection gets 421.
# --endless-list: MLSD and LIST without end; the connection logged in as number --drop-connection
# closes after its first file. --voll: every connection is greeted with 421, as a server at its
# limit does. --echo-pass: a wrong password is answered with the password itself, as careless
# servers do.
# --slow-login SECONDS: every connection but the first waits this long before it answers PASS, as
# servers that throttle logins do.
# --no-port: the data connection to a client behind NAT fails. "sofort": PORT accepted, the data
# command answered 425; "spaet": the data command answered 150, then 425 three seconds later;
# "stumm": PORT never answered (as pyftpdlib's single-process server now and then does).
# --single: pyftpdlib's default single-process server instead of a thread per connection.
for name in ("--no-mkd", "--endless-list", "--voll", "--single"):
    p.add_argument(name, action="store_true")
for name in ("--refuse", "--truncate", "--without"):
    p.add_argument(name, action="append", default=[])
for name in ("--stop-after", "--full-after", "--drop-connection", "--max-cons-per-ip", "--delay-ms"):
    p.add_argument(name, type=int)
p.add_argument("--stall")
for name in ("--delay", "--slow-login"):
    p.add_argument(name, type=float, default=0)
p.add_argument("--echo-pass", choices=["roh", "gross", "url"])
p.add_argument("--no-port", choices=["sofort", "spaet", "stumm"])
a = p.parse_args()
log = open(a.log, "a", encoding="utf-8", errors="replace")


empfangen = 0
anmeldungen = itertools.count(1)
passworte = itertools.count(1)
eltern = os.getppid()


class Endlos:
    n = 0

    def __init__(self, mlsd):
        self.form = "type=file;size=9; d%d.php\r\n" if mlsd else "-rw-r--r-- 1 u u 9 Dec  7 16:56 d%d.php\r\n"

    def more(self):
        Endlos.n += 100
        return "".join(self.form % (Endlos.n + i) for i in range(100)).encode()


class Handler(FTPHandler):
    authorizer = DummyAuthorizer()
    # Answers a wrong password at once instead of after a three-second penalty.
    auth_failed_timeout = 0

    def handle(self):
        if not a.voll:
            return FTPHandler.handle(self)
        self.respond("421 Too many connections, try later.")
        self.close_when_done()

    def on_login(self, username):
        self.nummer = next(anmeldungen)

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
            return self.respond("502 Command not implemented.")
        return self.protokollieren(line, cmd, arg)

    def ftp_STOR(self, file, mode="w"):
        time.sleep(a.delay)
        if os.path.basename(file) in a.refuse:
            return self.respond("550 Not enough privileges.")
        if a.full_after is not None and empfangen >= a.full_after:
            return self.respond("452 Insufficient storage space.")
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

    def ftp_PORT(self, line):
        if a.no_port is None:
            return FTPHandler.ftp_PORT(self, line)
        self.port_ohne_verbindung = True
        if a.no_port != "stumm":
            self.respond("200 Active data connection established.")

    def ftp_PASS(self, line):
        if next(passworte) > 1:
            time.sleep(a.slow_login)
        if a.echo_pass and line != a.password:
            echo = {"roh": line, "gross": line.upper(), "url": urllib.parse.quote(line, safe="")}[a.echo_pass]
            return self.respond("530 Passwort " + echo + " falsch.")
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
        if cmd in ("LIST", "MLSD", "STOR") and getattr(self, "port_ohne_verbindung", False):
            self.port_ohne_verbindung = False
            if a.no_port == "spaet":
                # Straight onto the socket, as in ftp_STOR: the loop would send it only after the wait.
                self.socket.sendall(b"150 Connecting to the client.\r\n")
                time.sleep(3)
            return self.respond("425 Can't open data connection.")
        if a.endless_list and cmd in ("LIST", "MLSD"):
            return self.push_dtp_data(Endlos(cmd == "MLSD"), isproducer=True, cmd=cmd)
        return FTPHandler.pre_process_command(self, line, cmd, arg)


Handler.authorizer.add_user(a.user, a.password, a.root, perm="elradfw" if a.no_mkd else "elradfmw")
# A careless server takes the password's bytes as Latin-1 and echoes them in UTF-8.
if a.echo_pass:
    Handler.decode = lambda self, b: b.decode("latin1")
logging.basicConfig(level=logging.WARNING)  # keeps the log of every command off stderr
# A thread per connection: pyftpdlib's single-process server loses data connections made by PORT
# while other connections are busy, which parallel uploads in active mode run into.
server = (FTPServer if a.single else ThreadedFTPServer)(("127.0.0.1", 0), Handler)
server.max_cons_per_ip = a.max_cons_per_ip or 0
print(server.address[1], os.getpid(), sep="\n", flush=True)
# Ends within a second of the process that started it, even one that crashed before killing it.
server.ioloop.call_every(1, lambda: os.getppid() == eltern or os._exit(0))
server.serve_forever(timeout=1)
