#!/usr/bin/python3
"""A loopback FTP server for velmaro's upload tests and benchmark (Debian's python3-pyftpdlib).

Binds 127.0.0.1 at a free port, prints that port as the first line on stdout and serves until it
is killed. Options let a test make the server refuse a folder or a file and record what the
client sent.
"""

import argparse
import logging
import sys

from pyftpdlib.authorizers import DummyAuthorizer
from pyftpdlib.handlers import FTPHandler
from pyftpdlib.servers import FTPServer


def main():
    p = argparse.ArgumentParser()
    p.add_argument("--root", required=True)
    p.add_argument("--user", required=True)
    p.add_argument("--password", required=True)
    p.add_argument("--no-mkd", action="store_true", help="answer MKD with 550")
    p.add_argument("--refuse", action="append", default=[], help="refuse STOR of this file name")
    p.add_argument("--log", help="append every command received, one per line")
    p.add_argument("--verbose", action="store_true")
    a = p.parse_args()

    refused = set(a.refuse)

    class Authorizer(DummyAuthorizer):
        def has_perm(self, username, perm, path=None):
            if perm == "w" and path is not None and path.replace("\\", "/").rsplit("/", 1)[-1] in refused:
                return False
            return DummyAuthorizer.has_perm(self, username, perm, path)

    perm = "elradfw" if a.no_mkd else "elradfmw"
    authorizer = Authorizer()
    authorizer.add_user(a.user, a.password, a.root, perm=perm)

    log = open(a.log, "a", encoding="utf-8", errors="replace") if a.log else None

    class Handler(FTPHandler):
        def pre_process_command(self, line, cmd, arg):
            if log is not None:
                # Only the command word for PASS: the recording is about the sequence.
                log.write((cmd if cmd == "PASS" else line) + "\n")
                log.flush()
            return FTPHandler.pre_process_command(self, line, cmd, arg)

    Handler.authorizer = authorizer
    # A refused login answers at once instead of after pyftpdlib's three-second penalty.
    Handler.auth_failed_timeout = 0
    Handler.banner = "velmaro test server ready."

    logger = logging.getLogger("pyftpdlib")
    if a.verbose:
        logging.basicConfig(level=logging.DEBUG, stream=sys.stderr)
    else:
        logger.addHandler(logging.NullHandler())
        logger.setLevel(logging.WARNING)
        logger.propagate = False

    server = FTPServer(("127.0.0.1", 0), Handler)
    sys.stdout.write("%d\n" % server.address[1])
    sys.stdout.flush()
    server.serve_forever()


if __name__ == "__main__":
    main()
