#!/usr/bin/env python3
"""Lays out the demo server's site: the demo package installer (tools/demo/package_installer.sh
with the demo application packed onto its end) and one resource file under DIR/files, and
DIR/routes.json with the configuration document (sizes and MD5 digests computed from the files,
"starup" naming the installed application) and the statistics endpoints.

    python3 tools/demo/make_demo_site.py DIR BASE_URL [--app PATH]

--app is the built demo application (tools/demo/vellumo_demo.cpp); by default the one in the
repository's build/ tree. The package is the same bytes on every run for the same application.
"""
import argparse
import gzip
import hashlib
import io
import json
import os
import re
import sys
import tarfile

HERE = os.path.dirname(os.path.abspath(__file__))
DEFAULT_APP = os.path.join(HERE, "..", "..", "build", "tools", "vellumo_demo")
# Where the application lands inside the install folder, written the way the configuration
# writes paths ("\" separates folders).
APP_IN_PACKAGE = "bin/vellumo"
MAIN = "bin\\vellumo"


def describe(path):
    data = open(path, "rb").read()
    return len(data), hashlib.md5(data).hexdigest()


def packed_application(app):
    """The application as bin/vellumo in a gzip-compressed tar, with fixed dates and owners."""
    raw = io.BytesIO()
    with tarfile.open(fileobj=raw, mode="w", format=tarfile.USTAR_FORMAT) as tar:
        info = tarfile.TarInfo("bin")
        info.type, info.mode, info.mtime = tarfile.DIRTYPE, 0o755, 0
        tar.addfile(info)
        data = open(app, "rb").read()
        info = tarfile.TarInfo(APP_IN_PACKAGE)
        info.size, info.mode, info.mtime = len(data), 0o755, 0
        tar.addfile(info, io.BytesIO(data))
    return gzip.compress(raw.getvalue(), mtime=0)


def build_package(app, out_path):
    script = open(os.path.join(HERE, "package_installer.sh"), "rb").read()
    match = re.search(rb"^PAYLOAD_OFFSET=0 #_+$", script, re.M)
    if not match:
        sys.exit("package_installer.sh has lost its PAYLOAD_OFFSET line")
    old = match.group(0)
    new = b"PAYLOAD_OFFSET=%d #" % len(script)
    if len(new) > len(old):
        sys.exit("PAYLOAD_OFFSET line too short for the offset")
    script = script.replace(old, new + b"_" * (len(old) - len(new)), 1)
    with open(out_path, "wb") as out:
        out.write(script)
        out.write(packed_application(app))
    os.chmod(out_path, 0o755)


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("site")
    parser.add_argument("base_url")
    parser.add_argument("--app", default=DEFAULT_APP, help="the built demo application")
    args = parser.parse_args()
    if not os.path.isfile(args.app):
        sys.exit("no demo application at %s (build the vellumo_demo target, or pass --app)" % args.app)

    base = args.base_url.rstrip("/")
    files = os.path.join(args.site, "files")
    os.makedirs(files, exist_ok=True)
    package = os.path.join(files, "Vellumo_setup.exe")
    build_package(args.app, package)
    resource = os.path.join(files, "filters.dat")
    with open(resource, "wb") as out:  # 4 MiB of a fixed pattern
        out.write(bytes(i % 251 for i in range(251 * 64)) * 261)
    psize, pmd5 = describe(package)
    rsize, rmd5 = describe(resource)
    config = {
        "installer": {"display": "Vellumo 图片管家", "md5": pmd5, "size": psize,
                      "url": base + "/files/Vellumo_setup.exe"},
        "starup": {"main": MAIN, "args": ""},
        "external": [
            {"display": "滤镜包", "target_path": "./data", "type": 1, "size": rsize, "raw_size": rsize,
             "resource": [{"md5": rmd5, "url": base + "/files/filters.dat"}]},
        ],
    }
    routes = {"/api/int_kestrel_download.json": {"json": config}}
    for path in ("/api/clientevent", "/api/clientact", "/api/clientinstall", "/install", "/uninstall"):
        routes[path] = {"body": "ok"}
    with open(os.path.join(args.site, "routes.json"), "w", encoding="utf-8") as out:
        json.dump(routes, out, ensure_ascii=False, indent=1)


if __name__ == "__main__":
    main()
