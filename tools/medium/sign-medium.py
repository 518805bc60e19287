#!/usr/bin/env python3
"""Writes and signs the manifest of an installation medium.

    sign-medium.py MEDIUM_DIR --key PRIVATE_KEY.pem [--sign-only]

Setup.manifest lists every file of the medium (all but the manifest and its
signature): one line each, "<sha256 hex> <size> <path>", the path relative to
the medium with backslashes, after a first line naming the format.
Setup.manifest.sig is the ECDSA P-256 signature (SHA-256) of the manifest's
exact bytes, as 128 hex digits (r and s, 32 bytes each) and a newline.
Setup.exe verifies both against the public key(s) built into it
(KORV_MEDIUM_TRUSTED_KEYS) before it starts anything from the medium.
"""
import argparse
import hashlib
import os
import sys

from cryptography.hazmat.primitives import hashes, serialization
from cryptography.hazmat.primitives.asymmetric import ec
from cryptography.hazmat.primitives.asymmetric.utils import decode_dss_signature

HEADER = "Korvanix medium manifest 1\n"
SKIP = {"setup.manifest", "setup.manifest.sig"}


def manifest_text(medium):
    rows = []
    for folder, _, names in os.walk(medium):
        for name in names:
            full = os.path.join(folder, name)
            relative = os.path.relpath(full, medium).replace(os.sep, "\\")
            if relative.lower() in SKIP:
                continue
            digest = hashlib.sha256()
            with open(full, "rb") as f:
                for chunk in iter(lambda: f.read(1 << 20), b""):
                    digest.update(chunk)
            rows.append((relative, "%s %d %s\n" % (digest.hexdigest(), os.path.getsize(full), relative)))
    rows.sort(key=lambda row: row[0].lower())
    return HEADER + "".join(text for _, text in rows)


def main():
    parser = argparse.ArgumentParser(description="write and sign Setup.manifest for a medium folder")
    parser.add_argument("medium")
    parser.add_argument("--key", required=True, help="PEM file of the ECDSA P-256 private key")
    parser.add_argument("--sign-only", action="store_true",
                        help="sign the Setup.manifest that is there as it is (tests of edited manifests)")
    args = parser.parse_args()
    with open(args.key, "rb") as f:
        key = serialization.load_pem_private_key(f.read(), password=None)
    if not isinstance(key, ec.EllipticCurvePrivateKey) or key.curve.name != "secp256r1":
        sys.exit("sign-medium: the key is not an ECDSA P-256 private key")
    if args.sign_only:
        with open(os.path.join(args.medium, "Setup.manifest"), "rb") as f:
            data = f.read()
    else:
        data = manifest_text(args.medium).encode("utf-8")
    r, s = decode_dss_signature(key.sign(data, ec.ECDSA(hashes.SHA256())))
    with open(os.path.join(args.medium, "Setup.manifest"), "wb") as f:
        f.write(data)
    with open(os.path.join(args.medium, "Setup.manifest.sig"), "w") as f:
        f.write("%064x%064x\n" % (r, s))
    print("sign-medium: %d files signed in %s" % (data.count(b"\n") - 1, args.medium))


if __name__ == "__main__":
    main()
