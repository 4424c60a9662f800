"""Under Wine: the SMTP client over Windows Sockets against a real SMTP server (aiosmtpd) on
127.0.0.1, with and without AUTH LOGIN. The server's envelope, the AUTH exchange and the message
bytes it received are checked."""

import os
import socket

from wine_helpers import require_system_module

require_system_module("aiosmtpd")
from aiosmtpd.controller import Controller  # noqa: E402
from aiosmtpd.smtp import AuthResult, LoginPassword  # noqa: E402

from wine_helpers import BUILD, check, expect, finish, wine

PROBE = os.path.join(BUILD, "tests", "settings_probe.exe")
FOLDER = os.path.join(BUILD, "smtp-e2e")
MESSAGE = (b"From: sender@example.org\r\nTo: first@example.org, second@example.net\r\nSubject: Bandwidth Usage "
           b"Notification\r\n\r\nHi,\r\n\r\nMore than 10 GB have been downloaded.\r\n" + (b"x" * 70 + b"\r\n") * 60)  # sent in several pieces


class Recorder:
    def __init__(self):
        self.envelopes, self.logins = [], []

    async def handle_DATA(self, server, session, envelope):
        self.envelopes.append((envelope.mail_from, list(envelope.rcpt_tos), envelope.original_content))
        return "250 OK"


def authenticator(recorder):
    def check_login(server, session, envelope, mechanism, auth_data):
        if not isinstance(auth_data, LoginPassword):
            return AuthResult(success=False, handled=False)
        recorder.logins.append((mechanism, auth_data.login, auth_data.password))
        return AuthResult(success=auth_data.login == b"mailer" and auth_data.password == b"s3cret pass")
    return check_login


def free_port():
    with socket.socket() as probe_socket:
        probe_socket.bind(("127.0.0.1", 0))
        return probe_socket.getsockname()[1]


def send(port, authenticate, user="", password=""):
    path = os.path.join(FOLDER, "message.eml")
    out = wine(PROBE, "send-mail", "127.0.0.1", str(port), "sender@example.org",
               " first@example.org , not-an-address, second@example.net ", "1" if authenticate else "0",
               user, password, wine("winepath", "-w", path).strip())
    return out.split("Result=", 1)[1].strip() if "Result=" in out else out


def delivers(authenticate):
    recorder = Recorder()
    port = free_port()
    options = dict(auth_require_tls=False, authenticator=authenticator(recorder)) if authenticate else {}
    controller = Controller(recorder, hostname="127.0.0.1", port=port, **options)
    controller.start()
    try:
        label = "with AUTH LOGIN" if authenticate else "without authentication"
        result = send(port, authenticate, "mailer", "s3cret pass")
        expect(result, "", f"delivery {label} succeeds")
        expect(len(recorder.envelopes), 1, f"{label}: one message arrived")
        if recorder.envelopes:
            sender, recipients, content = recorder.envelopes[0]
            expect(sender, "sender@example.org", f"{label}: envelope sender")
            expect(recipients, ["first@example.org", "second@example.net"],
                   f"{label}: the trimmed, well-formed recipients")
            # The end-of-data mark "\r\n.\r\n" opens with a line break of its own.
            check(content == MESSAGE + b"\r\n", f"{label}: the message bytes as composed ({len(content)} bytes)")
        if authenticate:
            expect(recorder.logins, [("LOGIN", b"mailer", b"s3cret pass")], "the AUTH LOGIN exchange")
    finally:
        controller.stop()


os.makedirs(FOLDER, exist_ok=True)
with open(os.path.join(FOLDER, "message.eml"), "wb") as f:
    f.write(MESSAGE)
delivers(authenticate=False)
delivers(authenticate=True)
finish()
