#!/usr/bin/env python3
"""Lays out the demo server's site: the package installer and one resource file under DIR/files,
and DIR/routes.json with the configuration document (sizes and MD5 digests computed from the
files) and the statistics endpoints.

    python3 tools/demo/make_demo_site.py DIR BASE_URL
"""
import hashlib
import json
import os
import shutil
import sys


def describe(path):
    data = open(path, "rb").read()
    return len(data), hashlib.md5(data).hexdigest()


def main():
    site, base = sys.argv[1], sys.argv[2].rstrip("/")
    files = os.path.join(site, "files")
    os.makedirs(files, exist_ok=True)
    here = os.path.dirname(os.path.abspath(__file__))
    package = os.path.join(files, "Vellumo_setup.exe")
    shutil.copyfile(os.path.join(here, "package_installer.sh"), package)
    os.chmod(package, 0o755)
    resource = os.path.join(files, "filters.dat")
    with open(resource, "wb") as out:  # 4 MiB of a fixed pattern
        out.write(bytes(i % 251 for i in range(251 * 64)) * 261)
    psize, pmd5 = describe(package)
    rsize, rmd5 = describe(resource)
    config = {
        "installer": {"display": "Vellumo 图片管家", "md5": pmd5, "size": psize,
                      "url": base + "/files/Vellumo_setup.exe"},
        "starup": {"main": "bin\\Vellumo.exe", "args": ""},
        "external": [
            {"display": "滤镜包", "target_path": "./data", "type": 1, "size": rsize, "raw_size": rsize,
             "resource": [{"md5": rmd5, "url": base + "/files/filters.dat"}]},
        ],
    }
    routes = {"/api/int_kestrel_download.json": {"json": config}}
    for path in ("/api/clientevent", "/api/clientact", "/api/clientinstall", "/install", "/uninstall"):
        routes[path] = {"body": "ok"}
    with open(os.path.join(site, "routes.json"), "w", encoding="utf-8") as out:
        json.dump(routes, out, ensure_ascii=False, indent=1)


if __name__ == "__main__":
    main()
