"""SMTP servers for the mail tests: smtp_servers.py FOLDER ADDRESS=NAME:MODE ...

All listen on one free port, printed as "PORT P"; they run until standard input closes.
MODE accept takes the message, refuse answers RCPT with 554, slow holds RCPT for a minute.
Each MAIL adds NAME to FOLDER/log; each message goes to FOLDER/N.eml (raw) and N.json
(envelope, header names and values, body as Python's mail parser decodes them).
"""
import asyncio, email, email.policy, json, os, socket, sys
from aiosmtpd.controller import Controller


class Handler:
    def __init__(self, folder, name, mode):
        self.folder, self.name, self.mode = folder, name, mode

    async def handle_MAIL(self, server, session, envelope, address, options):
        with open(os.path.join(self.folder, "log"), "a") as log:
            log.write(self.name + "\n")
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
        number = sum(name.endswith(".eml") for name in os.listdir(self.folder)) + 1
        path = os.path.join(self.folder, str(number))
        with open(path + ".eml", "wb") as out:
            out.write(envelope.original_content)
        message = email.message_from_bytes(envelope.original_content, policy=email.policy.default)
        with open(path + ".json", "w") as out:
            json.dump({"server": self.name, "mail_from": envelope.mail_from, "rcpt_tos": envelope.rcpt_tos,
                       "header_names": list(message.keys()),
                       "headers": {key: str(value) for key, value in message.items()},
                       "content_type": message.get_content_type(), "charset": message.get_content_charset(),
                       "body": message.get_content()}, out)
        return "250 Message accepted"


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
                controller = Controller(Handler(folder, *name_mode.split(":", 1)), hostname=address, port=port)
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
