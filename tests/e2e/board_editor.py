#!/usr/bin/python3
"""A parent's part of e2e_board_editor.sh: from the intro screen, makes the
6-key board in "Modifica tabella" with the keyboard, the pointer and the
names a screen reader hears, and counts the actions a person would make
(each click, key press or typed word is one). Every step waits for what it
should bring about, for at most a minute.
Usage: board_editor.py PHOTOS_FOLDER EDITOR_SCREENSHOT PROGRAM_PID"""
import subprocess
import sys

import pyatspi

import atspi

photos, editor_shot, program_pid = sys.argv[1], sys.argv[2], sys.argv[3]
actions = 0
WAIT = 60


def fail(message):
    print("FAIL: " + message, flush=True)
    failure = editor_shot.replace(".png", "_failure.png")
    subprocess.run(["import", "-window", "root", failure], timeout=60)
    print("screenshot: " + failure, flush=True)
    sys.exit(1)


def counted(what):
    global actions
    actions += 1
    print("action %d: %s" % (actions, what), flush=True)


def xdotool(*args):
    subprocess.run(["xdotool", *args], check=True, timeout=30)


def wait(what, get, seconds=WAIT):
    return atspi.wait_until(what, get, seconds, fail)


def find(test, root=None):
    """The first control shown that passes `test`, in `root` or in any of the program's windows."""
    def shown(o):
        return test(o) and o.getState().contains(pyatspi.STATE_SHOWING)
    if root is not None:
        return atspi.find(root, shown)
    desktop = pyatspi.Registry.getDesktop(0)
    for i in range(desktop.childCount):
        program = desktop.getChildAtIndex(i)
        if program is not None and "mirelva" in (program.name or "").lower():
            found = atspi.find(program, shown)
            if found is not None:
                return found
    return None


def named(name, root=None):
    return wait('no control named "%s"' % name, lambda: find(lambda o: o.name == name, root))


window = atspi.window


def active_title():
    done = subprocess.run(["xdotool", "getactivewindow", "getwindowname"], capture_output=True, text=True)
    return done.stdout.strip() if done.returncode == 0 else ""


def wait_active(title):
    """A window titled `title` is shown and has the keyboard."""
    wait('no window "%s"' % title, lambda: window(title))
    wait('the window "%s" does not have the keyboard (%s has)' % (title, active_title()),
         lambda: active_title() == title)


def wait_gone(title):
    wait('the window "%s" stays open' % title, lambda: window(title) is None)


def program_windows():
    done = subprocess.run(["xdotool", "search", "--onlyvisible", "--pid", program_pid], capture_output=True, text=True)
    return done.stdout.split()


def key(keys, what):
    counted(what)
    xdotool("key", "--clearmodifiers", keys)


def typed(text, what):
    counted(what)
    xdotool("type", "--delay", "30", text)


def press(name, root=None):
    counted('"%s"' % name)
    named(name, root).queryAction().doAction(0)


def centre_of(o, column=0.5, row=0.5, columns=1, rows=1):
    box = o.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
    return int(box.x + box.width * column / columns), int(box.y + box.height * row / rows)


def click(point, what):
    counted(what)
    xdotool("mousemove", "--sync", str(point[0]), str(point[1]))
    xdotool("click", "1")


def board():
    return named("Tabella", window("Modifica tabella"))


def says(text):
    """Waits until the board's selected key is described as `text` (what a screen reader reads)."""
    wait('the board does not say "%s" but "%s"' % (text, board().description),
         lambda: board().description == text)


def click_key(k):
    # Six keys are two rows of three; a click in the middle of a cell opens its key.
    click(centre_of(board(), (k - 1) % 3 + 0.5, (k - 1) // 3 + 0.5, 3, 2), "key %d" % k)
    wait_active("Tasto %d" % k)


def record():
    """"Registra", then the microphone's tone is heard to its end."""
    dialog = window(active_title())
    press("Registra", dialog)
    level = lambda: find(lambda o: o.getRole() == pyatspi.ROLE_LABEL and (o.name or "").startswith("Registrazione: "),
                         dialog)
    wait("the level never showed the tone", lambda: level() is not None and "▮" in level().name)
    wait("the level never fell back after the tone", lambda: level() is not None and "▮" not in level().name)


# ---- Ctrl+Shift+M on the intro: the board editor, no table first.
key("ctrl+shift+m", "Ctrl+Shift+M on the intro")
wait_active("Modifica tabella")
# ---- "Nuova tabella" (Ctrl+N) with 6 keys.
# The list of key counts is a window of its own (Qt does not give it to the accessibility tree).
before = program_windows()
key("ctrl+n", "Ctrl+N: Nuova tabella")
wait("no list of key counts", lambda: len(program_windows()) > len(before))
key("6", "6 tasti")
says("Tasto 1 di 6, senza parole")
# ---- Six photos chosen together: they fill the keys in the order of their names.
press("Aggiungi immagini...")
wait_active("Seleziona il file da aprire")
typed(photos, "the photos' folder")
key("Return", "Enter")
named("2_mela.png", window("Seleziona il file da aprire"))
# From the name box the list of photos is one Shift+Tab away; then Ctrl+A and Enter.
key("shift+Tab", "Shift+Tab: the list of photos")
key("ctrl+a", "Ctrl+A: every photo")
key("Return", "Enter: open them")
wait_gone("Seleziona il file da aprire")
says("Tasto 1 di 6: mela")
# ---- Key 1: a recorded sound.
click_key(1)
record()
press("Fatto")
wait_gone("Tasto 1")
says("Tasto 2 di 6: pane")
# ---- Key 2: other words and a recorded sound.
click_key(2)
key("ctrl+a", "Ctrl+A in the words")
typed("pane e burro", "the words")
record()
press("Fatto")
wait_gone("Tasto 2")
says("Tasto 3 di 6: latte")
# Reading key 2 again (a screen reader's arrow, not part of making the board).
xdotool("key", "Left")
says("Tasto 2 di 6: pane e burro")
# ---- Undo takes key 2's edit back whole, redo puts it again.
key("ctrl+z", "Ctrl+Z")
says("Tasto 2 di 6: pane")
key("ctrl+y", "Ctrl+Y")
says("Tasto 2 di 6: pane e burro")
subprocess.run(["import", "-window", "root", editor_shot], check=True, timeout=60)
# ---- Saved as "merenda".
name_box = named("Layout", window("Modifica tabella"))
click(centre_of(name_box), "the Layout box")
key("ctrl+a", "Ctrl+A in the name")
typed("merenda", "the name")
key("ctrl+s", "Ctrl+S")
# Recording switched the sounds on; the save says that keys 3 to 6 have none,
# which the table would refuse, and offers to switch the sounds off again.
wait("no question about the keys without a sound",
     lambda: find(lambda o: "ogni tasto deve avere un suono" in (o.name or "") and "3, 4, 5 e 6" in (o.name or "")))
press("Sì")
wait("no message that the board was saved",
     lambda: find(lambda o: "merenda.ini memorizzato" in (o.name or "")))
press("OK")
wait_active("Modifica tabella")
press("Chiudi")
wait_gone("Modifica tabella")
# The intro's Enter, sent by the calling script, is one more.
print("actions: %d" % (actions + 1), flush=True)
