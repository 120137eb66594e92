#!/usr/bin/env python3
"""packaging/web/stamp.py FILES OUT ZIP VERSION

Makes the browser build's folder OUT from the folder FILES, and zips it into ZIP with index.html
at the root. The build's id (VERSION and a digest of every file's name and bytes) is stamped into
index.html, which asks for each file with it, and into the service worker sw.js, with the list of
files it keeps. Two builds of different files or versions have different ids."""
import hashlib
import json
import os
import shutil
import sys
import zipfile

BUILD_MARK = "%QUENMARSH_BUILD%"
FILES_MARK = "%QUENMARSH_FILES%"
STAMPED = ("index.html", "sw.js")
WORKER = "sw.js"


def main():
    if len(sys.argv) != 5:
        sys.exit(__doc__)
    files, out, zip_path, version = sys.argv[1:]
    names = sorted(os.path.relpath(os.path.join(folder, name), files).replace(os.sep, "/")
                   for folder, _, found in os.walk(files) for name in found)
    contents = {}
    digest = hashlib.sha256()
    for name in names:
        with open(os.path.join(files, name), "rb") as file:
            contents[name] = file.read()
        digest.update(name.encode() + b"\0" + contents[name] + b"\0")
    build = version + "-" + digest.hexdigest()[:12]
    kept = json.dumps([name for name in names if name != WORKER])
    for name in STAMPED:
        contents[name] = contents[name].replace(BUILD_MARK.encode(), build.encode()) \
                                       .replace(FILES_MARK.encode(), kept.encode())

    shutil.rmtree(out, ignore_errors=True)
    # The same bytes in the same order with the same dates: the zip depends on the files alone.
    with zipfile.ZipFile(zip_path + ".part", "w", zipfile.ZIP_DEFLATED) as archive:
        for name in names:
            path = os.path.join(out, name)
            os.makedirs(os.path.dirname(path), exist_ok=True)
            with open(path, "wb") as file:
                file.write(contents[name])
            entry = zipfile.ZipInfo(name, date_time=(1980, 1, 1, 0, 0, 0))
            entry.external_attr = 0o644 << 16
            archive.writestr(entry, contents[name], zipfile.ZIP_DEFLATED)
    os.replace(zip_path + ".part", zip_path)
    print("%s: build %s, %d files" % (zip_path, build, len(names)))


if __name__ == "__main__":
    main()
