#!/usr/bin/python3
# A loopback FTPS server for velmaro's tests (Debian's python3-pyftpdlib and python3-openssl): TLS
# required on the control and the data connection, certificate and key from the file --cert,
# re-read for each new client when the file was replaced. With --plain it is an FTP server that
# answers AUTH TLS with an error. Prints its port and process id, a line each; records every
# command (PASS without its argument) in --log.

import argparse
import logging
import os

from OpenSSL import SSL
from pyftpdlib.authorizers import DummyAuthorizer
from pyftpdlib.handlers import FTPHandler, TLS_DTPHandler, TLS_FTPHandler
from pyftpdlib.servers import FTPServer

p = argparse.ArgumentParser()
for name in ("--root", "--user", "--password", "--log"):
    p.add_argument(name, required=True)
p.add_argument("--cert")
p.add_argument("--plain", action="store_true")
# The connection with this number presents the certificate of --fremd-cert: an impostor.
p.add_argument("--fremd-bei", type=int)
p.add_argument("--fremd-cert")
# PROT P refused: the files would go unencrypted.
p.add_argument("--ohne-prot", action="store_true")
a = p.parse_args()
log = open(a.log, "a", encoding="utf-8", errors="replace")
eltern = os.getppid()


def kontext(datei):
    ctx = SSL.Context(SSL.TLS_SERVER_METHOD)
    # With TLS 1.3 libcurl leaves the session tickets unread and its close resets the connection,
    # so the server can lose the tail of an upload.
    ctx.set_max_proto_version(SSL.TLS1_2_VERSION)
    ctx.use_certificate_chain_file(datei)
    ctx.use_privatekey_file(datei)
    return ctx


class DTPHandler(TLS_DTPHandler):
    # pyftpdlib 1.5.7 closes a data connection whose handshake is still going on as not readable;
    # libcurl starts TLS right after connecting, so it must stay open (fixed upstream in 1.5.8).
    def readable(self):
        if self._ssl_accepting or self._ssl_want_read:
            return True
        return super().readable()


class Protokoll:
    auth_failed_timeout = 0

    def pre_process_command(self, line, cmd, arg):
        log.write((cmd if cmd == "PASS" else line) + "\n")
        log.flush()
        return super().pre_process_command(line, cmd, arg)


class TlsHandler(Protokoll, TLS_FTPHandler):
    dtp_handler = DTPHandler
    tls_control_required = True
    tls_data_required = True
    stand = None
    verbindungen = 0

    def ftp_PROT(self, line):
        if a.ohne_prot:
            return self.respond("534 Request denied for policy reasons.")
        return super().ftp_PROT(line)

    def ftp_AUTH(self, line):
        TlsHandler.verbindungen += 1
        if TlsHandler.verbindungen == a.fremd_bei:
            self.ssl_context = kontext(a.fremd_cert)
        return super().ftp_AUTH(line)

    @classmethod
    def get_ssl_context(cls):
        st = os.stat(a.cert)
        if cls.stand != (st.st_ino, st.st_mtime_ns):
            cls.stand = (st.st_ino, st.st_mtime_ns)
            cls.ssl_context = kontext(a.cert)
        return cls.ssl_context


class PlainHandler(Protokoll, FTPHandler):
    pass


Handler = PlainHandler if a.plain else TlsHandler
Handler.authorizer = DummyAuthorizer()
Handler.authorizer.add_user(a.user, a.password, a.root, perm="elradfmw")
logging.basicConfig(level=logging.WARNING)
server = FTPServer(("127.0.0.1", 0), Handler)
print(server.address[1], os.getpid(), sep="\n", flush=True)
server.ioloop.call_every(1, lambda: os.getppid() == eltern or os._exit(0))
server.serve_forever(timeout=1)
