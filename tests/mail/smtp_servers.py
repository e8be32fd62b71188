"""SMTP servers for the mail tests: smtp_servers.py FOLDER ADDRESS=NAME:MODE ...

All listen on one free port, printed as "PORT P"; they run until standard input closes.
Each offers STARTTLS with the self-signed certificate beside this script, except in mode
plain. MODE accept takes the message, refuse answers RCPT with 554, slow holds RCPT for a
minute, datastall never answers the message's final "." (it logs "NAME DATA"), quitstall
never answers QUIT (it logs "NAME QUIT"), badtls answers STARTTLS and then sends no TLS.
Each MAIL adds NAME to FOLDER/log; each message goes to FOLDER/N.eml (raw) and N.json
(envelope, EHLO name, peer address, whether TLS was on, header names and values, body as
Python's mail parser decodes them).
"""
import asyncio, email, email.policy, json, os, socket, ssl, sys
from aiosmtpd.controller import Controller
from aiosmtpd.smtp import SMTP

HERE = os.path.dirname(os.path.abspath(__file__))
STALL = 60


def log(folder, line):
    with open(os.path.join(folder, "log"), "a") as out:
        out.write(line + "\n")


class Handler:
    def __init__(self, folder, name, mode):
        self.folder, self.name, self.mode = folder, name, mode

    async def handle_MAIL(self, server, session, envelope, address, options):
        log(self.folder, self.name)
        envelope.mail_from = address
        return "250 OK"

    async def handle_RCPT(self, server, session, envelope, address, options):
        if self.mode == "refuse":
            return "554 5.7.1 Refused by " + self.name
        if self.mode == "slow":
            await asyncio.sleep(STALL)
        envelope.rcpt_tos.append(address)
        return "250 OK"

    async def handle_QUIT(self, server, session, envelope):
        if self.mode == "quitstall":
            log(self.folder, self.name + " QUIT")
            await asyncio.sleep(STALL)
        return "221 Bye"

    async def handle_DATA(self, server, session, envelope):
        if self.mode == "datastall":
            log(self.folder, self.name + " DATA")
            await asyncio.sleep(STALL)
        number = sum(name.endswith(".eml") for name in os.listdir(self.folder)) + 1
        path = os.path.join(self.folder, str(number))
        with open(path + ".eml", "wb") as out:
            out.write(envelope.original_content)
        message = email.message_from_bytes(envelope.original_content, policy=email.policy.default)
        with open(path + ".json", "w") as out:
            json.dump({"server": self.name, "mail_from": envelope.mail_from, "rcpt_tos": envelope.rcpt_tos,
                       "ehlo": session.host_name, "peer": session.peer[0], "tls": session.ssl is not None,
                       "header_names": list(message.keys()),
                       "headers": {key: str(value) for key, value in message.items()},
                       "content_type": message.get_content_type(), "charset": message.get_content_charset(),
                       "body": message.get_content()}, out)
        return "250 Message accepted"


class NoTlsServer(SMTP):
    """Says yes to STARTTLS, then sends plain text where the handshake should be."""

    async def smtp_STARTTLS(self, arg):
        await self.push("220 Ready to start TLS")
        self.transport.write(b"this is not TLS at all\r\n" * 4)


class TestController(Controller):
    def __init__(self, handler, **kwargs):
        super().__init__(handler, **kwargs)
        self.mode = handler.mode

    def factory(self):
        kind = NoTlsServer if self.mode == "badtls" else SMTP
        return kind(self.handler, **self.SMTP_kwargs)


def tls_context():
    context = ssl.create_default_context(ssl.Purpose.CLIENT_AUTH)
    context.load_cert_chain(os.path.join(HERE, "smtp-test-cert.pem"), os.path.join(HERE, "smtp-test-key.pem"))
    return context


def main():
    folder, listed = sys.argv[1], sys.argv[2:]
    for attempt in range(20):  # another program may take the port between probe and start
        with socket.socket() as probe:
            probe.bind((listed[0].split("=")[0], 0))
            port = probe.getsockname()[1]
        servers = []
        try:
            for entry in listed:
                address, name_mode = entry.split("=", 1)
                handler = Handler(folder, *name_mode.split(":", 1))
                tls = {} if handler.mode == "plain" else {"tls_context": tls_context()}
                controller = TestController(handler, hostname=address, port=port, **tls)
                controller.start()
                servers.append(controller)
            break
        except Exception:
            for controller in servers:
                controller.stop()
    print("PORT %d" % port, flush=True)
    sys.stdin.read()
    for controller in servers:
        controller.stop()


main()
