#!/usr/bin/python3
"""Drives the settings window through the accessibility tree, by the names a
screen reader hears: builds a 6-key board with sounds for keys 1 and 2 only,
with "Attiva Sezione 2" ticked, presses "Salva layout", and expects the
question that offers to switch the sounds off before anything is called
saved. Answers Sì, then closes the "memorizzato" message.
Usage: settings_truth.py PICTURE1..PICTURE6 SOUND1 SOUND2"""
import sys

import pyatspi

import atspi

pictures = sys.argv[1:7]
sounds = sys.argv[7:9]


def fail(message):
    print("FAIL: " + message)
    sys.exit(1)


def app():
    for a in pyatspi.Registry.getDesktop(0):
        if a is not None and a.name and a.name.lower().startswith("mirelva"):
            return a
    return None


def find_all(root, test):
    found = []
    try:
        if test(root):
            found.append(root)
        for child in root:
            if child is not None:
                found.extend(find_all(child, test))
    except Exception:
        pass
    return found


def wait(what, get, seconds=30):
    return atspi.wait_until(what, get, seconds, fail)


def named(name, root=None, showing=True):
    def get():
        base = root or app()
        if base is None:
            return None
        hits = find_all(base, lambda o: o.name == name and (
            not showing or o.getState().contains(pyatspi.STATE_SHOWING)))
        return hits[0] if hits else None
    return wait('no control named "%s"' % name, get)


def texts_containing(words):
    base = app()
    if base is None:
        return []
    return find_all(base, lambda o: words in (o.name or "") and o.getState().contains(pyatspi.STATE_SHOWING))


def set_text(name, text):
    # The boxes of the pages not shown are there all the same.
    box = named(name, showing=False)
    editable = box.queryEditableText()
    editable.setTextContents(text)


def press(name, root=None):
    button = named(name, root)
    action = button.queryAction()
    for i in range(action.nActions):
        if action.getName(i) in ("Press", "press", "click", "Toggle", "toggle"):
            action.doAction(i)
            return
    action.doAction(0)


window = named("Impostazioni")
set_text("Layout", "merenda")
for k in range(1, 22):
    set_text("Immagine tasto %d" % k, pictures[k - 1] if k <= 6 else "")
for k in range(1, 22):
    set_text("Sonoro tasto %d" % k, sounds[k - 1] if k <= 2 else "")
# The key count follows the pictures when a picture box loses the focus.
named("Immagine tasto 1").queryComponent().grabFocus()
named("Layout").queryComponent().grabFocus()
named("Numero Tasti: 6")
section2 = named("Attiva Sezione 2")
if not section2.getState().contains(pyatspi.STATE_CHECKED):
    press("Attiva Sezione 2")
    wait("Attiva Sezione 2 did not tick", lambda: named("Attiva Sezione 2").getState().contains(pyatspi.STATE_CHECKED))

press("Salva layout")
question = wait("no question before saving a board the table refuses",
                lambda: texts_containing("Disattivare la Sezione 2"))
if texts_containing("memorizzato"):
    fail("the board was called saved before the question was answered")
text = question[0].name
if "3, 4, 5 e 6" not in text:
    fail("the question does not name keys 3 to 6: " + text)
print("asked: " + text.replace("\r\n", " / "))
press("Sì")
wait("no message after the fix", lambda: texts_containing("merenda.ini memorizzato."))
print("saved after the fix")
press("OK")
