#!/usr/bin/env python3
"""Checks the interface catalogues before they ship.

Fails when a catalogue is missing, has an unfinished, obsolete or empty entry,
a translation that drops or adds a placeholder (%1..%9, %n) or an accelerator
(&x), when the catalogues disagree about which texts exist, when lrelease does
not report every message as translated, or (with --sources) when the sources
hold texts that the catalogues lack or the catalogues hold texts that the
sources no longer use.
"""

import argparse
import collections
import os
import re
import subprocess
import sys
import tempfile
import xml.etree.ElementTree as ET

LANGUAGES = ["ar", "de", "en", "es", "fr", "hi", "it", "ja",
             "ko", "pl", "pt", "ru", "tr", "uk", "vi", "zh_CN"]

# Qt's own message that sets the layout direction of the whole application.
LAYOUT_CONTEXT = "QGuiApplication"
LAYOUT_SOURCE = "QT_LAYOUT_DIRECTION"
RIGHT_TO_LEFT = {"ar"}

PLACEHOLDER = re.compile(r"%(?:[1-9]|n)")
# "&&" is a literal ampersand and "& " plain prose; "&x" marks the accelerator
# x. An XML entity such as "&amp;" never reaches here: ElementTree decoded it.
ACCELERATOR = re.compile(r"&&|&(?=\S)")

Message = collections.namedtuple("Message", "context source comment kind forms")


def catalogue_path(ts_dir, lang):
    return os.path.join(ts_dir, "Kestrova_%s.ts" % lang)


def read_catalogue(path):
    """Returns the catalogue's language attribute and its messages."""
    root = ET.parse(path).getroot()
    messages = []
    for context in root.iter("context"):
        name = context.findtext("name", "")
        for message in context.iter("message"):
            translation = message.find("translation")
            kind = translation.get("type", "") if translation is not None else "missing"
            if translation is None:
                forms = []
            elif message.get("numerus") == "yes":
                forms = [f.text or "" for f in translation.iter("numerusform")]
            else:
                forms = [translation.text or ""]
            messages.append(Message(name, message.findtext("source", ""),
                                    message.findtext("comment", ""), kind, forms))
    return root.get("language", ""), messages


def key(message):
    return (message.context, message.source, message.comment)


def describe(message):
    return "%s: %r" % (message.context, message.source)


def placeholders(text):
    return sorted(PLACEHOLDER.findall(text))


def accelerators(text):
    return sum(1 for mark in ACCELERATOR.findall(text) if mark != "&&")


def check_messages(lang, messages):
    """Problems of one catalogue's entries, as readable lines."""
    problems = []
    seen = set()
    for m in messages:
        where = "%s: %s" % (lang, describe(m))
        if key(m) in seen:
            problems.append("%s: appears twice" % where)
        seen.add(key(m))
        if m.kind in ("unfinished", "missing"):
            problems.append("%s: not translated" % where)
            continue
        if m.kind in ("obsolete", "vanished"):
            problems.append("%s: %s entry" % (where, m.kind))
            continue
        if not m.forms or any(not f.strip() for f in m.forms):
            problems.append("%s: empty translation" % where)
            continue
        for form in m.forms:
            if placeholders(form) != placeholders(m.source):
                problems.append("%s: placeholders %s in %r differ from the source's %s"
                                % (where, placeholders(form), form, placeholders(m.source)))
            if accelerators(form) != accelerators(m.source):
                problems.append("%s: accelerators differ in %r" % (where, form))
            if form.count("\n") != m.source.count("\n"):
                problems.append("%s: line breaks differ in %r" % (where, form))
            # Texts that end in a blank are followed by something the code
            # appends (a web address); the blank must stay.
            if m.source[-1:].isspace() != form[-1:].isspace():
                problems.append("%s: trailing blank differs in %r" % (where, form))
        if (m.context, m.source) == (LAYOUT_CONTEXT, LAYOUT_SOURCE):
            wanted = "RTL" if lang in RIGHT_TO_LEFT else "LTR"
            if m.forms != [wanted]:
                problems.append("%s: layout direction must be %s" % (where, wanted))
    return problems


def check_same_texts(catalogues):
    """Every catalogue must hold the same texts as the first one."""
    problems = []
    reference_lang = next(iter(catalogues))
    reference = {key(m) for m in catalogues[reference_lang]}
    for lang, messages in catalogues.items():
        own = {key(m) for m in messages}
        for k in sorted(reference - own):
            problems.append("%s: lacks %s: %r (which %s has)" % (lang, k[0], k[1], reference_lang))
        for k in sorted(own - reference):
            problems.append("%s: has %s: %r (which %s lacks)" % (lang, k[0], k[1], reference_lang))
    return problems


def run_lrelease(lrelease, path, out_dir):
    """lrelease must report every message finished and nothing ignored."""
    qm = os.path.join(out_dir, os.path.basename(path) + ".qm")
    result = subprocess.run([lrelease, path, "-qm", qm], stdout=subprocess.PIPE,
                            stderr=subprocess.STDOUT, universal_newlines=True, timeout=60)
    report = result.stdout
    name = os.path.basename(path)
    if result.returncode != 0:
        return ["%s: lrelease failed: %s" % (name, report.strip())]
    problems = []
    generated = re.search(r"Generated (\d+) translation\(s\) \((\d+) finished and (\d+) unfinished\)",
                          report)
    if not generated:
        problems.append("%s: lrelease reported no translations: %s" % (name, report.strip()))
    elif generated.group(3) != "0" or generated.group(1) != generated.group(2):
        problems.append("%s: lrelease: %s" % (name, generated.group(0)))
    if "untranslated" in report or "Ignored" in report:
        problems.append("%s: lrelease: %s" % (name, report.strip()))
    return problems


def texts_in_sources(lupdate, sources, out_dir):
    """The texts that lupdate finds in the sources now."""
    probe = os.path.join(out_dir, "probe.ts")
    result = subprocess.run([lupdate, sources, "-ts", probe, "-no-obsolete", "-locations", "none"],
                            stdout=subprocess.PIPE, stderr=subprocess.STDOUT,
                            universal_newlines=True, timeout=120)
    if result.returncode != 0 or not os.path.exists(probe):
        raise RuntimeError("lupdate failed: " + result.stdout.strip())
    return {key(m) for m in read_catalogue(probe)[1]}


def check_current(found, catalogue_lang, messages, english_only=()):
    """Texts of the contexts in `english_only` (the command line's) are not
    shipped in these catalogues: they need no entry and must not have one."""
    own = {key(m) for m in messages}
    problems = ["%s: %s: %r belongs to an English-only context" % ((catalogue_lang,) + k[:2])
                for k in sorted(own) if k[0] in english_only]
    found = {k for k in found if k[0] not in english_only}
    own = {k for k in own if k[0] not in english_only}
    problems += ["new text without translation (run the kestrova_lupdate target): %s: %r" % k[:2]
                 for k in sorted(found - own)]
    problems += ["%s: %s: %r is no longer in the sources" % ((catalogue_lang,) + k[:2])
                 for k in sorted(own - found)]
    return problems


def check_all(ts_dir, lrelease=None, lupdate=None, sources=None, english_only=()):
    problems = []
    catalogues = collections.OrderedDict()
    for lang in LANGUAGES:
        path = catalogue_path(ts_dir, lang)
        if not os.path.exists(path):
            problems.append("%s: catalogue %s is missing" % (lang, path))
            continue
        try:
            declared, messages = read_catalogue(path)
        except ET.ParseError as error:
            problems.append("%s: not well-formed XML: %s" % (lang, error))
            continue
        # lupdate writes "de_DE" for Kestrova_de.ts; the language part counts.
        if declared.split("_")[0] != lang.split("_")[0]:
            problems.append("%s: declares language %r" % (lang, declared))
        if not messages:
            problems.append("%s: holds no messages" % lang)
        problems += check_messages(lang, messages)
        catalogues[lang] = messages
    if catalogues:
        problems += check_same_texts(catalogues)
    with tempfile.TemporaryDirectory() as tmp:
        if lrelease:
            for lang in catalogues:
                problems += run_lrelease(lrelease, catalogue_path(ts_dir, lang), tmp)
        if lupdate and sources and catalogues:
            found = texts_in_sources(lupdate, sources, tmp)
            first = next(iter(catalogues))
            problems += check_current(found, first, catalogues[first], english_only)
    return problems


def main(argv):
    parser = argparse.ArgumentParser(description=__doc__)
    parser.add_argument("--ts-dir", required=True, help="folder of the Kestrova_<code>.ts files")
    parser.add_argument("--lrelease", help="lrelease program; checks its report for each catalogue")
    parser.add_argument("--lupdate", help="lupdate program; with --sources compares the texts")
    parser.add_argument("--sources", help="source folder that lupdate scans (client/)")
    parser.add_argument("--english-only-context", action="append", default=[],
                        help="a translation context whose texts these catalogues do not carry")
    args = parser.parse_args(argv)
    problems = check_all(args.ts_dir, args.lrelease, args.lupdate, args.sources, args.english_only_context)
    for line in problems:
        print(line)
    if problems:
        print("%d problem(s) in the catalogues" % len(problems))
        return 1
    print("all %d catalogues complete" % len(LANGUAGES))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
