#!/usr/bin/python3
"""A local stand-in for the maker's advertisement service.

    adservice.py start STATE_DIR   start it in the background (bound to 127.0.0.1)
    adservice.py stop  STATE_DIR   stop the one started for STATE_DIR
    adservice.py serve STATE_DIR   run it in the foreground (start uses this)

It checks every lookup it receives the way the real service would (path,
headers, the order and encoding of the body, the signature recomputed from
the received fields) and notes what it found in STATE_DIR/journal.jsonl, one
JSON object per request. The reply is chosen by the base address the setup
program was given, so one service answers every test case:

    http://127.0.0.1:PORT                      success, for the demo medium
    http://127.0.0.1:PORT/TOKEN/CASE           CASE (see REPLIES), journal entries carry TOKEN

A reply that keeps its client waiting (silent, trickle) adds a second entry
with its outcome: "client left", or "answered"/"completed" when the client
waited for all of it.

It also serves the pages the successful reply points at (GET /TOKEN/page/...),
noting their request headers, so the information page's browser can be
watched, and documents of the tests' own type application/x-korvanix-test
(GET /TOKEN/testdoc/...), which a browser without an HTML engine can still
load to the end. Listeners (ports in STATE_DIR/ports.json):

    http              plain HTTP
    https             HTTPS, certificate for 127.0.0.1 from the test authority
    https_expired     HTTPS, the same authority, certificate expired
    https_wronghost   HTTPS, the same authority, certificate for another host name
    https_selfsigned  HTTPS, a self-signed certificate for 127.0.0.1
    closed            a port nothing listens on

The test authority is STATE_DIR/ca.der (and ca.pem). Only tests add it to the
root store of their own Wine prefix; nothing here touches a trust store.
"""

import datetime
import hashlib
import http.server
import ipaddress
import json
import os
import re
import signal
import socket
import socketserver
import ssl
import subprocess
import sys
import threading
import time
import urllib.parse

from cryptography import x509
from cryptography.hazmat.primitives import hashes, serialization
from cryptography.hazmat.primitives.asymmetric import rsa
from cryptography.x509.oid import ExtendedKeyUsageOID, NameOID

AD_PATH = "/api/v3/adSetting"
FIELD_ORDER = ["channelNo", "clientType", "clientVersion", "language", "sign", "ts", "type"]
AGENT_PATTERN = re.compile(r"^Korvanix/1\.0 \((.*) 1\.0; Windows NT 6\.1\)$")

# Longest a silent or trickling reply keeps its connection: far beyond the
# client's own limit, so a client that waited for it would get a page.
HOLD_SECONDS = 75

# ---------------------------------------------------------------------------
# Certificates
# ---------------------------------------------------------------------------


def _name(common_name):
    return x509.Name([x509.NameAttribute(NameOID.COMMON_NAME, common_name)])


def _key():
    return rsa.generate_private_key(public_exponent=65537, key_size=2048)


def _write_pair(state, stem, cert, key):
    with open(os.path.join(state, stem + ".pem"), "wb") as f:
        f.write(cert.public_bytes(serialization.Encoding.PEM))
    with open(os.path.join(state, stem + ".key"), "wb") as f:
        f.write(key.private_bytes(serialization.Encoding.PEM, serialization.PrivateFormat.TraditionalOpenSSL,
                                  serialization.NoEncryption()))


def _leaf(subject, san, issuer_cert, issuer_key, not_before, not_after, key):
    builder = (x509.CertificateBuilder()
               .subject_name(_name(subject))
               .issuer_name(issuer_cert.subject if issuer_cert is not None else _name(subject))
               .public_key(key.public_key())
               .serial_number(x509.random_serial_number())
               .not_valid_before(not_before)
               .not_valid_after(not_after)
               .add_extension(x509.SubjectAlternativeName(san), critical=False)
               .add_extension(x509.BasicConstraints(ca=False, path_length=None), critical=True)
               .add_extension(x509.ExtendedKeyUsage([ExtendedKeyUsageOID.SERVER_AUTH]), critical=False))
    return builder.sign(issuer_key if issuer_key is not None else key, hashes.SHA256())


def make_certificates(state):
    """The test authority and the four server certificates. Kept between runs
    while the authority is valid for another 30 days, so the authority a test
    prefix already trusts stays the same."""
    now = datetime.datetime.now(datetime.timezone.utc)
    ca_path = os.path.join(state, "ca.pem")
    if os.path.exists(ca_path) and os.path.exists(os.path.join(state, "https_selfsigned.pem")):
        with open(ca_path, "rb") as f:
            ca = x509.load_pem_x509_certificate(f.read())
        if ca.not_valid_after.replace(tzinfo=datetime.timezone.utc) > now + datetime.timedelta(days=30):
            return

    day = datetime.timedelta(days=1)
    # The address also as a DNS name: Wine's certificate check compares the
    # host only with DNS names (Windows also with IP addresses).
    local = [x509.IPAddress(ipaddress.ip_address("127.0.0.1")), x509.DNSName("127.0.0.1"), x509.DNSName("localhost")]

    ca_key = _key()
    ca = (x509.CertificateBuilder()
          .subject_name(_name("Korvanix Setup Test Authority"))
          .issuer_name(_name("Korvanix Setup Test Authority"))
          .public_key(ca_key.public_key())
          .serial_number(x509.random_serial_number())
          .not_valid_before(now - day)
          .not_valid_after(now + 3650 * day)
          .add_extension(x509.BasicConstraints(ca=True, path_length=0), critical=True)
          .add_extension(x509.KeyUsage(digital_signature=True, content_commitment=False, key_encipherment=False,
                                       data_encipherment=False, key_agreement=False, key_cert_sign=True,
                                       crl_sign=True, encipher_only=False, decipher_only=False), critical=True)
          .sign(ca_key, hashes.SHA256()))
    _write_pair(state, "ca", ca, ca_key)
    with open(os.path.join(state, "ca.der"), "wb") as f:
        f.write(ca.public_bytes(serialization.Encoding.DER))

    for stem, subject, san, issued, start, end in [
        ("https", "127.0.0.1", local, True, now - day, now + 3000 * day),
        ("https_expired", "127.0.0.1", local, True, now - 60 * day, now - 30 * day),
        ("https_wronghost", "other.invalid", [x509.DNSName("other.invalid")], True, now - day, now + 3000 * day),
        ("https_selfsigned", "127.0.0.1", local, False, now - day, now + 3000 * day),
    ]:
        key = _key()
        cert = _leaf(subject, san, ca if issued else None, ca_key if issued else None, start, end, key)
        _write_pair(state, stem, cert, key)


# ---------------------------------------------------------------------------
# The request check
# ---------------------------------------------------------------------------


def signature_text(path, fields):
    """The text the client signs, recomputed from the received fields."""
    pairs = sorted(f"{k}={v}" for k, v in fields if k != "sign" and v != "")
    names = dict(fields)
    if "utoken" in names:
        pairs.append("key=" + names["utoken"])
    elif pairs:
        pairs.append("key" + pairs[0][pairs[0].index("="):])
    return path + "?" + "&".join(pairs)


def check_lookup(headers, raw_body):
    problems = []
    expect = {
        "Accept": "application/json, text/javascript, */*",
        "Content-Type": "application/x-www-form-urlencoded",
    }
    for name, value in expect.items():
        if headers.get(name) != value:
            problems.append(f"header {name}: {headers.get(name)!r}")
    agent = headers.get("User-Agent", "")
    if not AGENT_PATTERN.match(agent):
        problems.append(f"user agent {agent!r}")
    try:
        body = raw_body.decode("utf-8")
    except UnicodeDecodeError:
        return problems + ["body is not UTF-8"], None
    # application/x-www-form-urlencoded, read as a form parser reads it: each
    # name and value decoded ("+" a blank, %XX a byte of UTF-8); a character
    # outside the encoded alphabet means the client did not encode.
    fields = []
    for part in body.split("&"):
        name, sep, value = part.partition("=")
        if not sep:
            problems.append(f"body part without '=': {part!r}")
        if not re.fullmatch(r"[A-Za-z0-9*\-._+%]*", name + value) or re.search(r"%(?![0-9A-F]{2})", part):
            problems.append(f"body part not form-encoded: {part!r}")
        try:
            fields.append((urllib.parse.unquote_plus(name, errors="strict"),
                           urllib.parse.unquote_plus(value, errors="strict")))
        except UnicodeDecodeError:
            problems.append(f"body part decodes to no UTF-8: {part!r}")
            fields.append((name, value))
    names = [name for name, _ in fields]
    if names != FIELD_ORDER:
        problems.append(f"body fields {names}")
    values = dict(fields)
    if values.get("clientType") != "DF_Korvanix" or values.get("type") != "7":
        problems.append("clientType or type")
    if not re.fullmatch(r"[0-9]+000", values.get("ts", "")):
        problems.append(f"ts {values.get('ts')!r}")
    expected = hashlib.md5(signature_text(AD_PATH, fields).encode("utf-8")).hexdigest().upper()
    if values.get("sign") != expected:
        problems.append(f"sign {values.get('sign')!r}, expected {expected}")
    return problems, body


# ---------------------------------------------------------------------------
# Replies
# ---------------------------------------------------------------------------


def ad_reply(page_url, **changes):
    """A successful reply: one ad with escapes in its texts, in the form the
    service writes it (non-ASCII letters as \\uXXXX)."""
    ad = {"adId": "17", "adName": "\u6b22\u8fce", "adUrl": "", "targetUrl": page_url,
          "isTagAdd": 1, "openType": 2,
          "icons": [{"height": "12px", "width": "300", "imgUrl": "http://127.0.0.1/i.png"}]}
    ad.update(changes)
    return {"code": "0", "msg": "", "rs": [ad]}


def reply_for(case, token, page_url, port_of):
    """(status, body bytes, extra headers) of a case; None for the ones that
    need a connection of their own (silent, trickle)."""
    def js(value):
        return json.dumps(value, ensure_ascii=True).encode("ascii")

    ok = ad_reply(page_url)
    replies = {
        "success": (200, js(ok)),
        "refused": (200, js({"code": "1001", "msg": "unknown channel", "rs": None})),
        "rs-null": (200, js({"code": "0", "msg": "", "rs": None})),
        "rs-empty": (200, js({"code": "0", "msg": "", "rs": []})),
        "rs-not-array": (200, js({"code": "0", "msg": "", "rs": {"targetUrl": page_url}})),
        "code-number": (200, js(dict(ok, code=0))),
        "code-text": (200, js(dict(ok, code="ok"))),
        "tag-boolean": (200, js(ad_reply(page_url, isTagAdd=True))),
        "icon-number": (200, js(ad_reply(page_url, icons=[{"height": 12}]))),
        "no-target": (200, js({"code": "0", "rs": [{"adId": "1"}]})),
        "not-json": (200, b"<html>maintenance</html>"),
        "status-201": (201, js(ok)),
        "status-204": (204, b""),
        "status-500": (500, js(ok)),
        "empty-200": (200, b""),
        # Valid JSON of a successful reply, but larger than any real one.
        "oversized": (200, js(dict(ok, padding="x" * (1024 * 1024 + 100)))),
        # A reply with a zero byte: the client reads each piece of the body
        # only up to its first zero byte.
        "zero-byte": (200, js(ok)[:-1] + b"}\0garbage"),
    }
    if case in replies:
        status, body = replies[case]
        return status, body, {}
    # Page addresses the client must refuse (it shows nothing), and one it
    # must accept: an https page on the service's own host.
    https_page = f"https://127.0.0.1:{port_of['https']}/{token}/page/welcome.html"
    targets = {
        "target-file": "file://127.0.0.1/share/x.html",
        "target-unc": "\\\\127.0.0.1\\share\\x.html",
        "target-javascript": "javascript:alert(1)",
        "target-ftp": f"ftp://127.0.0.1/{token}/page/welcome.html",
        "target-userinfo": https_page.replace("https://", "https://user:secret@"),
        "target-backslash": https_page.replace("127.0.0.1:", "example.com\\@127.0.0.1:"),
        "target-https": https_page,
    }
    if case in targets:
        return 200, js(ad_reply(targets[case])), {}
    if case == "redirect-to-http":
        return 307, b"", {"Location": f"http://127.0.0.1:{port_of['http']}/{token}/success{AD_PATH}"}
    if case == "redirect-to-https":
        return 307, b"", {"Location": f"https://127.0.0.1:{port_of['https']}/{token}/success{AD_PATH}"}
    return None


# ---------------------------------------------------------------------------
# The server
# ---------------------------------------------------------------------------


class Journal:
    def __init__(self, path):
        self.path = path
        self.lock = threading.Lock()

    def add(self, entry):
        line = json.dumps(entry, ensure_ascii=True)
        with self.lock, open(self.path, "a", encoding="ascii") as f:
            f.write(line + "\n")


class Handler(http.server.BaseHTTPRequestHandler):
    protocol_version = "HTTP/1.1"
    server_version = "KorvAdService/1.0"

    def log_message(self, *args):
        pass

    def _split(self):
        """(token, case or 'page', rest) of the request path."""
        path = urllib.parse.urlsplit(self.path).path
        parts = path.split("/")
        if path == AD_PATH:
            return "-", "success", AD_PATH
        if len(parts) >= 3:
            return parts[1], parts[2], "/" + "/".join(parts[3:])
        return "-", "", path

    def _send(self, status, body, headers=None, content_type="application/json;charset=UTF-8"):
        self.send_response(status)
        for name, value in (headers or {}).items():
            self.send_header(name, value)
        if status != 204:
            self.send_header("Content-Type", content_type)
            self.send_header("Content-Length", str(len(body)))
        self.end_headers()
        if status != 204 and body:
            self.wfile.write(body)

    def _note(self, token, case, extra):
        entry = {"listener": self.server.listener, "method": self.command, "path": self.path,
                 "token": token, "case": case, "headers": {k: v for k, v in self.headers.items()}}
        entry.update(extra)
        self.server.journal.add(entry)

    def do_GET(self):
        token, case, rest = self._split()
        self._note(token, case, {})
        if case == "testdoc":
            # The tests' own document type (see tests/online/TestDocument.h).
            self._send(200, b"KORVANIX TEST DOCUMENT\n", content_type="application/x-korvanix-test")
        elif case == "page":
            page = (b"<html><head><title>Welcome</title></head><body>"
                    b"<p>Thank you for installing Korvanix 2024.</p>"
                    b"<p><a href='?closeWindows=yes'>Close</a></p></body></html>")
            self._send(200, page, content_type="text/html;charset=UTF-8")
        else:
            self._send(404, b"not found", content_type="text/plain")

    def do_POST(self):
        token, case, rest = self._split()
        length = int(self.headers.get("Content-Length", "0") or "0")
        raw = self.rfile.read(length) if length > 0 else b""
        problems, body = check_lookup(self.headers, raw)
        if rest != AD_PATH:
            problems.append(f"path {self.path!r}")
        self._note(token, case, {"body": body, "problems": problems})

        scheme = "https" if self.server.listener == "https" else "http"
        page_url = f"{scheme}://127.0.0.1:{self.server.server_address[1]}/{token}/page/welcome.html"
        if case == "silent":
            # Reads the request, then says nothing until long after the
            # client should have given up.
            if self._hold(lambda: False, step=1.0):
                self._send(200, json.dumps(ad_reply(page_url)).encode("ascii"))
                self._note(token, case, {"outcome": "answered"})
            else:
                self._note(token, case, {"outcome": "client left"})
            return
        if case == "trickle":
            # A whole, valid reply, but one byte at a time over about a
            # minute: only a client with an overall limit gives up on it.
            body = json.dumps(ad_reply(page_url)).encode("ascii")
            self.send_response(200)
            self.send_header("Content-Type", "application/json")
            self.send_header("Content-Length", str(len(body)))
            self.end_headers()
            self.wfile.flush()
            sent = [0]

            def drip():
                self.wfile.write(body[sent[0]:sent[0] + 1])
                self.wfile.flush()
                sent[0] += 1
                return sent[0] >= len(body)
            done = self._hold(drip, step=60.0 / len(body)) and sent[0] >= len(body)
            self._note(token, case, {"outcome": "completed" if done else "client left"})
            return
        reply = reply_for(case, token, page_url, self.server.ports)
        if reply is None:
            self._send(404, b"unknown case", content_type="text/plain")
            return
        status, data, headers = reply
        self._send(status, data, headers)

    def _hold(self, tick, step):
        """Calls tick every `step` seconds until it reports the reply done,
        the client closes its side, or HOLD_SECONDS pass. True when the
        client is still there at the end."""
        deadline = time.monotonic() + HOLD_SECONDS
        self.connection.settimeout(step)
        self.close_connection = True
        while time.monotonic() < deadline:
            try:
                if tick():
                    return True
                if self.connection.recv(1) == b"":
                    return False
            except socket.timeout:
                continue
            except (OSError, ssl.SSLError):
                return False
        return True


class Server(socketserver.ThreadingMixIn, http.server.HTTPServer):
    daemon_threads = True
    allow_reuse_address = True

    def __init__(self, listener, journal, ports, context=None):
        super().__init__(("127.0.0.1", 0), Handler)
        self.listener = listener
        self.journal = journal
        self.ports = ports
        if context is not None:
            # The handshake runs in the request's own thread, on its first
            # read: a client that refuses the certificate holds up nobody.
            self.socket = context.wrap_socket(self.socket, server_side=True, do_handshake_on_connect=False)

    def handle_error(self, request, client_address):
        pass  # refused handshakes and dropped connections are expected here


def tls_context(state, stem):
    context = ssl.SSLContext(ssl.PROTOCOL_TLS_SERVER)
    context.load_cert_chain(os.path.join(state, stem + ".pem"), os.path.join(state, stem + ".key"))
    return context


def closed_port():
    probe = socket.socket()
    probe.bind(("127.0.0.1", 0))
    port = probe.getsockname()[1]
    probe.close()
    return port


def serve(state):
    make_certificates(state)
    journal = Journal(os.path.join(state, "journal.jsonl"))
    ports = {}
    servers = [Server("http", journal, ports)]
    for stem in ["https", "https_expired", "https_wronghost", "https_selfsigned"]:
        servers.append(Server(stem, journal, ports, tls_context(state, stem)))
    for server in servers:
        ports[server.listener] = server.server_address[1]
    ports["closed"] = closed_port()
    threads = [threading.Thread(target=s.serve_forever, daemon=True) for s in servers]
    for thread in threads:
        thread.start()
    tmp = os.path.join(state, "ports.json.tmp")
    with open(tmp, "w", encoding="ascii") as f:
        json.dump(ports, f)
    os.replace(tmp, os.path.join(state, "ports.json"))

    stop = threading.Event()
    signal.signal(signal.SIGTERM, lambda *_: stop.set())
    signal.signal(signal.SIGINT, lambda *_: stop.set())
    stop.wait()
    for server in servers:
        server.shutdown()


def start(state):
    os.makedirs(state, exist_ok=True)
    stop_service(state)
    for name in ["ports.json", "journal.jsonl"]:
        try:
            os.remove(os.path.join(state, name))
        except FileNotFoundError:
            pass
    with open(os.devnull, "rb") as null_in, open(os.path.join(state, "service.log"), "ab") as log:
        process = subprocess.Popen([sys.executable, os.path.abspath(__file__), "serve", state],
                                   stdin=null_in, stdout=log, stderr=log, start_new_session=True)
    with open(os.path.join(state, "service.pid"), "w", encoding="ascii") as f:
        f.write(str(process.pid))
    ports_file = os.path.join(state, "ports.json")
    for _ in range(300):
        if os.path.exists(ports_file):
            with open(ports_file, encoding="ascii") as f:
                print(f"adservice: listening on 127.0.0.1 {json.load(f)} (state {state})")
            return 0
        if process.poll() is not None:
            break
        time.sleep(0.1)
    print(f"adservice: did not start; see {state}/service.log", file=sys.stderr)
    return 1


def stop_service(state):
    pid_file = os.path.join(state, "service.pid")
    try:
        with open(pid_file, encoding="ascii") as f:
            pid = int(f.read().strip())
    except (FileNotFoundError, ValueError):
        return 0
    try:
        os.kill(pid, signal.SIGTERM)
        for _ in range(50):
            os.kill(pid, 0)
            time.sleep(0.1)
        os.kill(pid, signal.SIGKILL)
    except ProcessLookupError:
        pass
    os.remove(pid_file)
    print(f"adservice: stopped the service of {state}")
    return 0


def main(argv):
    if len(argv) != 3 or argv[1] not in ("start", "stop", "serve"):
        print(__doc__, file=sys.stderr)
        return 2
    state = os.path.abspath(argv[2])
    if argv[1] == "start":
        return start(state)
    if argv[1] == "stop":
        return stop_service(state)
    serve(state)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
