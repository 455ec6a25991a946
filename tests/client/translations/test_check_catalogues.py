"""The catalogue check must catch the faults it is there for."""

import os
import shutil
import tempfile
import unittest

import check_catalogues as check

HEADER = '<?xml version="1.0" encoding="utf-8"?>\n<!DOCTYPE TS>\n<TS version="2.1" language="%s">\n'


def message(source, translation, kind=None, comment=None):
    attr = ' type="%s"' % kind if kind else ""
    note = "<comment>%s</comment>" % comment if comment else ""
    return ("<message><source>%s</source>%s<translation%s>%s</translation></message>"
            % (source, note, attr, translation))


def catalogue(lang, contexts):
    body = "".join("<context><name>%s</name>%s</context>\n" % (name, "".join(msgs))
                   for name, msgs in contexts.items())
    return HEADER % lang + body + "</TS>\n"


def layout(lang):
    return message("QT_LAYOUT_DIRECTION", "RTL" if lang == "ar" else "LTR")


class CatalogueDir(unittest.TestCase):
    """A folder with all sixteen catalogues, complete unless a test spoils one."""

    def setUp(self):
        self.dir = tempfile.mkdtemp()
        for lang in check.LANGUAGES:
            self.write(lang, [message("Connected to %1", "[%s] %%1" % lang),
                              message("&amp;Quit", "&amp;[%s]" % lang)])

    def tearDown(self):
        shutil.rmtree(self.dir)

    def write(self, lang, tray_messages, extra=None):
        contexts = {"SystemTray": tray_messages, "QGuiApplication": [layout(lang)]}
        contexts.update(extra or {})
        with open(check.catalogue_path(self.dir, lang), "w", encoding="utf-8") as f:
            f.write(catalogue(lang, contexts))

    def problems(self, **kwargs):
        return check.check_all(self.dir, **kwargs)


class EntryFaults(CatalogueDir):
    def test_complete_catalogues_pass(self):
        self.assertEqual(self.problems(), [])

    def test_unfinished_obsolete_and_empty_entries_fail(self):
        for kind, translation, expected in [("unfinished", "x %1", "not translated"),
                                            ("obsolete", "x %1", "obsolete"),
                                            ("vanished", "x %1", "vanished"),
                                            (None, "  ", "empty translation")]:
            with self.subTest(kind=kind):
                self.write("de", [message("Connected to %1", translation, kind),
                                  message("&amp;Quit", "&amp;Beenden")])
                found = self.problems()
                self.assertTrue(any(expected in p and p.startswith("de:") for p in found), found)

    def test_dropped_added_or_changed_placeholders_fail(self):
        for translation in ["Verbunden", "Verbunden %1 %1", "Verbunden %2", "Verbunden %1 %n"]:
            with self.subTest(translation=translation):
                self.write("fr", [message("Connected to %1", translation),
                                  message("&amp;Quit", "&amp;Quitter")])
                self.assertTrue(any("placeholders" in p for p in self.problems()))

    def test_reordered_placeholders_pass(self):
        self.write("ja", [message("Connected to %1", "x"), message("&amp;Quit", "&amp;q")],
                   {"MainWindow": [message("%1 of %2", "%2 / %1")]})
        found = [p for p in self.problems() if p.startswith("ja:") and "placeholders" in p]
        self.assertEqual(len(found), 1)  # only the tray entry without %1
        self.assertIn("Connected to", found[0])

    def test_lost_accelerator_line_break_or_trailing_blank_fail(self):
        cases = [(message("&amp;Quit", "Beenden"), "accelerators"),
                 (message("Active. \nLog out?", "Aktiv. Abmelden?"), "line breaks"),
                 (message("Download it on ", "Hier herunterladen:"), "trailing blank")]
        for entry, expected in cases:
            with self.subTest(expected=expected):
                self.write("de", [message("Connected to %1", "Verbunden mit %1"),
                                  message("&amp;Quit", "&amp;Beenden")], {"Extra": [entry]})
                found = [p for p in self.problems() if p.startswith("de:")]
                self.assertTrue(any(expected in p for p in found), found)

    def test_literal_ampersand_is_no_accelerator(self):
        self.write("it", [message("Connected to %1", "Connesso a %1"), message("&amp;Quit", "&amp;Esci")],
                   {"Extra": [message("Tom &amp;&amp; Jerry", "Tom &amp;&amp; Jerry"),
                              message("Printers &amp; routers", "Stampanti e router"),
                              message("R&amp;&amp;D", "R&amp;&amp;S")]})
        self.assertEqual([p for p in self.problems() if "accelerators" in p], [])

    def test_layout_direction_must_follow_the_script(self):
        self.write("ar", [message("Connected to %1", "متصل بـ %1"), message("&amp;Quit", "&amp;إنهاء")])
        with open(check.catalogue_path(self.dir, "ar"), encoding="utf-8") as f:
            text = f.read().replace(">RTL<", ">LTR<")
        with open(check.catalogue_path(self.dir, "ar"), "w", encoding="utf-8") as f:
            f.write(text)
        self.assertTrue(any("layout direction must be RTL" in p for p in self.problems()))


class CatalogueSetFaults(CatalogueDir):
    def test_missing_catalogue_fails(self):
        os.remove(check.catalogue_path(self.dir, "zh_CN"))
        self.assertTrue(any(p.startswith("zh_CN: catalogue") for p in self.problems()))

    def test_catalogue_behind_the_others_fails(self):
        self.write("pl", [message("Connected to %1", "Połączono z %1")])
        found = self.problems()
        self.assertTrue(any(p.startswith("pl: lacks SystemTray") for p in found), found)

    def test_broken_xml_fails_without_crashing(self):
        with open(check.catalogue_path(self.dir, "ru"), "w") as f:
            f.write("<TS><context>")
        self.assertTrue(any(p.startswith("ru: not well-formed") for p in self.problems()))

    def test_texts_compared_with_the_sources(self):
        own = [check.Message("SystemTray", "Quit", "", "", ["Beenden"])]
        found = check.check_current({("SystemTray", "Quit", ""), ("SystemTray", "Reconnect", "")},
                                    "de", own)
        self.assertEqual(len(found), 1)
        self.assertIn("Reconnect", found[0])
        found = check.check_current(set(), "de", own)
        self.assertIn("no longer in the sources", found[0])

    def test_english_only_context_needs_no_entry_and_may_not_have_one(self):
        own = [check.Message("SystemTray", "Quit", "", "", ["Beenden"])]
        found = {("SystemTray", "Quit", ""), ("KestrovaCli", "Signed out.", "")}
        self.assertEqual(check.check_current(found, "de", own, ("KestrovaCli",)), [])
        own.append(check.Message("KestrovaCli", "Signed out.", "", "", ["Abgemeldet."]))
        problems = check.check_current(found, "de", own, ("KestrovaCli",))
        self.assertEqual(len(problems), 1)
        self.assertIn("English-only", problems[0])


@unittest.skipUnless(os.environ.get("LRELEASE"), "LRELEASE names the lrelease program")
class LreleaseReport(CatalogueDir):
    def test_complete_catalogues_release_cleanly(self):
        self.assertEqual(self.problems(lrelease=os.environ["LRELEASE"]), [])

    def test_unfinished_entry_shows_in_the_report(self):
        self.write("uk", [message("Connected to %1", "", "unfinished"), message("&amp;Quit", "&amp;q")])
        found = [p for p in self.problems(lrelease=os.environ["LRELEASE"]) if "lrelease" in p]
        self.assertTrue(found and found[0].startswith("Kestrova_uk.ts: lrelease"), found)


if __name__ == "__main__":
    unittest.main()
