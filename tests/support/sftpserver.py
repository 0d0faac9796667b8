#!/usr/bin/python3
# A loopback SFTP server for velmaro's tests (Debian's python3-asyncssh): password login of one
# user, the session locked into --root, the host key from --hostkey. Prints its port and process
# id, a line each; records each login attempt ("AUTH user ok|refused") in --log.

import argparse
import asyncio
import os
import warnings

warnings.simplefilter("ignore")  # asyncssh's imports warn about old ciphers
import asyncssh  # noqa: E402

p = argparse.ArgumentParser()
for name in ("--root", "--user", "--password", "--log", "--hostkey"):
    p.add_argument(name, required=True)
a = p.parse_args()
log = open(a.log, "a", encoding="utf-8", errors="replace")
eltern = os.getppid()


class Server(asyncssh.SSHServer):
    def begin_auth(self, username):
        return True

    def password_auth_supported(self):
        return True

    def validate_password(self, username, password):
        ok = username == a.user and password == a.password
        log.write("AUTH %s %s\n" % (username, "ok" if ok else "refused"))
        log.flush()
        return ok


async def main():
    server = await asyncssh.create_server(
        Server, "127.0.0.1", 0, server_host_keys=[a.hostkey],
        sftp_factory=lambda chan: asyncssh.SFTPServer(chan, chroot=a.root.encode()))
    port = server.sockets[0].getsockname()[1]
    print(port, os.getpid(), sep="\n", flush=True)
    # Ends within a second of the process that started it.
    while os.getppid() == eltern:
        await asyncio.sleep(1)


asyncio.run(main())
