#!/usr/bin/env python3
"""Fails when a translation of kamorin-cli is incomplete or stale: a text
without a translation, one still marked unfinished, vanished or obsolete, a
translation that drops or adds a placeholder (%1, %L1 …) or still carries
kana, a language tag that is not the file's own, or a .ts file that lupdate
would change (a text in the sources that the .ts lacks, or one it keeps that
the sources no longer have).

    check_translations.py LUPDATE SOURCES_LIST TS_FILE... -- LUPDATE_OPTION...
"""
import os
import re
import shutil
import subprocess
import sys
import tempfile
import xml.etree.ElementTree as ET

PLACEHOLDER = re.compile(r"%L?\d+")
KANA = re.compile(r"[\u3040-\u30ff]")
# The text whose translation is the translation's own language tag.
TAG_CONTEXT, TAG_SOURCE = "UiLanguage", "ja"


def faults_of(path):
    root = ET.parse(path).getroot()
    language = root.get("language", "")
    faults = []
    for context in root.iter("context"):
        name = context.findtext("name")
        for message in context.iter("message"):
            source = message.findtext("source")
            translation = message.find("translation")
            where = f"{name}: {source!r}"
            kind = translation.get("type") if translation is not None else "missing"
            text = "".join(translation.itertext()) if translation is not None else ""
            if kind in ("vanished", "obsolete"):
                faults.append(f"{where} is {kind}: the sources no longer have it")
                continue
            if kind or not text:
                faults.append(f"{where} has no finished translation")
                continue
            forms = [form.text for form in translation.iter("numerusform")]
            if message.get("numerus") == "yes" and (not forms or not all(forms)):
                faults.append(f"{where} lacks a plural form")
                continue
            if sorted(set(PLACEHOLDER.findall(source))) != sorted(set(PLACEHOLDER.findall(text))):
                faults.append(f"{where}: {text!r} does not keep the placeholders of its source")
            if KANA.search(text):
                faults.append(f"{where}: {text!r} is still (partly) Japanese")
            if (name, source) == (TAG_CONTEXT, TAG_SOURCE) and text != language.split("_")[0]:
                faults.append(f"{where}: the tag {text!r} is not the file's language {language!r}")
    return faults


def texts_of(path):
    root = ET.parse(path).getroot()
    return {
        (context.findtext("name"), message.findtext("source"), message.findtext("comment"))
        for context in root.iter("context")
        for message in context.iter("message")
        if message.find("translation") is None
        or message.find("translation").get("type") not in ("vanished", "obsolete")
    }


def staleness_of(lupdate, sources, path, options):
    with tempfile.TemporaryDirectory() as folder:
        fresh = os.path.join(folder, os.path.basename(path))
        shutil.copyfile(path, fresh)
        subprocess.run([lupdate, "-silent", *options, f"@{sources}", "-ts", fresh], check=True)
        ours, theirs = texts_of(path), texts_of(fresh)
    faults = [f"{c}: {s!r} is in the sources but not in the .ts" for c, s, _ in sorted(theirs - ours)]
    faults += [f"{c}: {s!r} is in the .ts but no longer in the sources" for c, s, _ in sorted(ours - theirs)]
    return faults


def main():
    args = sys.argv[1:]
    split = args.index("--") if "--" in args else len(args)
    if split < 3:
        sys.exit(__doc__)
    lupdate, sources, ts_files, options = args[0], args[1], args[2:split], args[split + 1:]
    faults = []
    for path in ts_files:
        faults += [f"{os.path.basename(path)}: {fault}" for fault in faults_of(path)]
        faults += [f"{os.path.basename(path)}: {fault}"
                   for fault in staleness_of(lupdate, sources, path, options)]
    for fault in faults:
        print(fault)
    if faults:
        print(f"{len(faults)} faults; run the update_translations target, then translate "
              "(translations/fill_translations.py fills what the glossary knows)")
        sys.exit(1)


if __name__ == "__main__":
    main()
