# SPDX-License-Identifier: MIT
"""Rewrites a zip so that the same files always give the same bytes.

cpack's zip (libarchive) stores each file's owner and its time in the local time zone, in
the order the file system lists the files. The rewritten zip holds the same files, sorted
by name, with no owner, dated SOURCE_DATE_EPOCH (UTC) when it is set.
"""

import os
import sys
import time
import zipfile

path = sys.argv[1]
epoch = os.environ.get("SOURCE_DATE_EPOCH")
with zipfile.ZipFile(path) as source:
    members = sorted(source.infolist(), key=lambda member: member.filename)
    contents = {member.filename: source.read(member) for member in members}

with zipfile.ZipFile(path + ".new", "w") as target:
    for member in members:
        date_time = member.date_time
        if epoch is not None:
            date_time = time.gmtime(max(int(epoch), 315532800))[:6]  # a zip's dates start in 1980
        entry = zipfile.ZipInfo(member.filename, date_time)
        entry.create_system = 3  # Unix, so that the permissions below are read
        entry.external_attr = member.external_attr
        entry.compress_type = zipfile.ZIP_STORED if member.is_dir() else zipfile.ZIP_DEFLATED
        target.writestr(entry, contents[member.filename], compresslevel=9)
os.replace(path + ".new", path)
