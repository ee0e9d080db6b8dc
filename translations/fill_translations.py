#!/usr/bin/env python3
"""Fills the unfinished entries of a .ts file from a glossary of earlier
translations, so that after lupdate only texts never seen before are left to
translate by hand.

    translations/fill_translations.py translations/kamorin-cli_en.ts translations/glossary_en.tsv

The glossary has one "context<TAB>source<TAB>translation" a line (\\n for a
line break, \\t for a tab, \\\\ for a backslash); the context is the source
file's name. A text with plural forms (tr() with a count) has one translation
for each of its language's forms, singular first, separated by tabs. A text is taken from its own context first, then from any other
where the glossary has one translation for it, since a sentence may move
between files, and with or without the spaces, line breaks and "kamorin-cli: "
about it. A text the glossary lacks gets the translation of the most
similar one as a draft, still marked unfinished, for a translator to finish;
an unfinished translation is replaced only by an exact match.
"""
import difflib
import html
import re
import sys
from xml.sax.saxutils import escape

ENTITIES = {"'": "&apos;", '"': "&quot;"}
CONTEXT = re.compile(r"(<context>\s*<name>(.*?)</name>)(.*?)(</context>)", re.S)
MESSAGE = re.compile(r"<message(?: [^>]*)?>.*?</message>", re.S)
SOURCE = re.compile(r"<source>(.*?)</source>", re.S)
UNFINISHED = re.compile(r'<translation type="unfinished">(.*?)</translation>', re.S)
DRAFT_SIMILARITY = 0.75
# What a sentence may lose or gain around it when it moves into tr(): the
# spaces and line breaks about it, and the program's name before it.
SURROUNDING = re.compile(r"^(\s*(?:kamorin-cli: )?)(.*?)(\s*)$", re.S)


def decode(text):
    return re.sub(r"\\(.)", lambda m: {"n": "\n", "t": "\t"}.get(m.group(1), m.group(1)), text)


def read_glossary(path):
    by_context, anywhere = {}, {}
    with open(path, encoding="utf-8") as file:
        for number, line in enumerate(file, 1):
            line = line.rstrip("\n")
            if not line or line.startswith("#"):
                continue
            fields = line.split("\t")
            if len(fields) < 3 or not all(fields):
                sys.exit(f"{path}:{number}: not context<TAB>source<TAB>translation")
            context, source = decode(fields[0]), decode(fields[1])
            translation = tuple(decode(field) for field in fields[2:])
            if len(translation) == 1:
                translation = translation[0]
            by_context[(context, source)] = translation
            anywhere.setdefault(source, set()).add(translation)
            if not isinstance(translation, str):
                continue
            core, core_translation = SURROUNDING.match(source)[2], SURROUNDING.match(translation)[2]
            if core != source:
                anywhere.setdefault(core, set()).add(core_translation)
    return by_context, anywhere


def main():
    if len(sys.argv) != 3:
        sys.exit(__doc__)
    ts_path, glossary_path = sys.argv[1:]
    by_context, anywhere = read_glossary(glossary_path)
    sources = list(anywhere)
    with open(ts_path, encoding="utf-8") as file:
        ts = file.read()
    filled, drafted, left = 0, [], []

    def fill(context, message):
        nonlocal filled
        unfinished = UNFINISHED.search(message)
        if not unfinished:
            return message
        source = html.unescape(SOURCE.search(message).group(1))
        translation = by_context.get((context, source))
        if translation is None and len(anywhere.get(source, ())) == 1:
            translation = next(iter(anywhere[source]))
        if translation is None:
            before, core, after = SURROUNDING.match(source).groups()
            if core != source and len(anywhere.get(core, ())) == 1:
                translation = before + next(iter(anywhere[core])) + after
        if translation is not None and isinstance(translation, str) == ('numerus="yes"' not in message):
            filled += 1
            if isinstance(translation, str):
                element = f"<translation>{escape(translation, ENTITIES)}</translation>"
            else:
                forms = "".join(f"\n            <numerusform>{escape(form, ENTITIES)}</numerusform>"
                                for form in translation)
                element = f"<translation>{forms}\n        </translation>"
            return message.replace(unfinished.group(0), element)
        similar = difflib.get_close_matches(source, sources, n=1, cutoff=DRAFT_SIMILARITY)
        if unfinished.group(1).strip() or not similar or 'numerus="yes"' in message:
            left.append(f"{context}: {source}")
            return message
        drafted.append(f"{context}: {source}")
        draft = sorted(anywhere[similar[0]])[0]
        element = f'<translation type="unfinished">{escape(draft, ENTITIES)}</translation>'
        return message.replace(unfinished.group(0), element)

    def fill_context(match):
        context = html.unescape(match.group(2))
        body = MESSAGE.sub(lambda message: fill(context, message.group(0)), match.group(3))
        return match.group(1) + body + match.group(4)

    ts = CONTEXT.sub(fill_context, ts)
    with open(ts_path, "w", encoding="utf-8") as file:
        file.write(ts)
    print(f"{filled} filled, {len(drafted)} drafted from a similar text, {len(left)} left")
    for title, texts in (("to finish", drafted), ("to translate", left)):
        for text in texts:
            print(f"  {title}: " + text.replace("\n", "\\n"))


if __name__ == "__main__":
    main()
