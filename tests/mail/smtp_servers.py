"""SMTP servers for the mail tests, one per address, all on one free port.

usage: smtp_servers.py FOLDER ADDRESS=NAME:MODE ...
MODE accept takes every message; refuse answers RCPT with "554 5.7.1 Refused by NAME";
slow waits a minute before answering RCPT. Each accepted message goes to FOLDER/N.eml
(the raw bytes) and FOLDER/N.json (envelope and the headers and body as Python's own mail
parser decodes them); every MAIL command adds "NAME" to FOLDER/log. Prints "PORT P" once
all servers listen and runs until standard input closes.
"""
import asyncio
import email
import email.policy
import json
import os
import socket
import sys
import time

from aiosmtpd.controller import Controller


class Handler:
    def __init__(self, folder, name, mode):
        self.folder, self.name, self.mode = folder, name, mode

    def note(self, line):
        with open(os.path.join(self.folder, "log"), "a") as log:
            log.write(line + "\n")

    async def handle_MAIL(self, server, session, envelope, address, options):
        self.note(self.name)
        envelope.mail_from = address
        return "250 OK"

    async def handle_RCPT(self, server, session, envelope, address, options):
        if self.mode == "refuse":
            return "554 5.7.1 Refused by " + self.name
        if self.mode == "slow":
            await asyncio.sleep(60)
        envelope.rcpt_tos.append(address)
        return "250 OK"

    async def handle_DATA(self, server, session, envelope):
        number = len([f for f in os.listdir(self.folder) if f.endswith(".eml")]) + 1
        raw = envelope.original_content or envelope.content
        with open(os.path.join(self.folder, "%d.eml" % number), "wb") as out:
            out.write(raw)
        message = email.message_from_bytes(raw, policy=email.policy.default)
        record = {
            "server": self.name,
            "mail_from": envelope.mail_from,
            "rcpt_tos": envelope.rcpt_tos,
            "header_names": list(message.keys()),
            "headers": {key: str(value) for key, value in message.items()},
            "content_type": message.get_content_type(),
            "charset": message.get_content_charset(),
            "body": message.get_content(),
        }
        with open(os.path.join(self.folder, "%d.json" % number), "w") as out:
            json.dump(record, out)
        return "250 Message accepted"


def free_port(address):
    with socket.socket() as probe:
        probe.bind((address, 0))
        return probe.getsockname()[1]


def main():
    folder, specs = sys.argv[1], sys.argv[2:]
    servers = []
    for attempt in range(20):
        port = free_port(specs[0].split("=")[0])
        servers = []
        try:
            for spec in specs:
                address, rest = spec.split("=", 1)
                name, mode = rest.split(":", 1)
                controller = Controller(Handler(folder, name, mode), hostname=address, port=port)
                controller.start()
                servers.append(controller)
            break
        except Exception:
            for controller in servers:
                controller.stop()
            servers = []
            time.sleep(0.05)
    if not servers:
        sys.exit("no free port")
    print("PORT %d" % port, flush=True)
    sys.stdin.read()
    for controller in servers:
        controller.stop()


if __name__ == "__main__":
    main()
