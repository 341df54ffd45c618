# SPDX-FileCopyrightText: 2026 The Pavane developers
# SPDX-License-Identifier: LGPL-2.1-or-later
"""The person at the screen of the demo host, reaching it only as a screen
reader does: through the accessibility bus. Answers the offline question,
fills and accepts the connect sheet, taps the new network's row, and prints
what it found on the way. Exits 1 at the first thing that is not there."""
import sys
import time

import pyatspi
from gi.repository import Atspi, GLib

PATIENCE = 20.0
NETWORK = "Café Aurora"
STORED = {"Home": "home-net · WPA_PSK", "Office": "corp-wlan · WPA_EAP", "City library": "library-free · NONE"}


class Mismatch(Exception):
    pass


def poll(what, probe):
    """The first true answer of probe() within PATIENCE seconds."""
    deadline = time.monotonic() + PATIENCE
    trouble = ""
    while True:
        try:
            found = probe()
        except Exception as error:  # an object that went away while it was read
            found, trouble = None, f" (last: {error})"
        if found:
            return found
        if time.monotonic() > deadline:
            raise Mismatch(f"no {what} within {PATIENCE:.0f} s{trouble}")
        time.sleep(0.05)
        # What the bus library has heard meanwhile, such as an application
        # that registered since the desktop was last read.
        while GLib.MainContext.default().iteration(False):
            pass


def showing(node):
    states = node.getState()
    return states.contains(pyatspi.STATE_SHOWING) or states.contains(pyatspi.STATE_VISIBLE)


def find_all(root, match):
    """Depth-first, over the visible subtree only."""
    found = []
    for i in range(root.childCount if root else 0):
        child = root.getChildAtIndex(i)
        if child is None or not showing(child):
            continue
        if match(child):
            found.append(child)
        found.extend(find_all(child, match))
    return found


def find(root, roles, name=None):
    nodes = find_all(root, lambda n: n.getRole() in roles and (name is None or n.name == name))
    return nodes[0] if nodes else None


def describe(node):
    states = sorted(pyatspi.stateToString(s) for s in node.getState().getStates())
    text = f'{node.getRoleName()} "{node.name}"'
    if node.description:
        text += f' description="{node.description}"'
    return f"{text} [{' '.join(states)}]"


def expect(condition, failure):
    if not condition:
        raise Mismatch(failure)


def has(node, *states):
    return all(node.getState().contains(s) for s in states)


def press(node, *names):
    action = node.queryAction()
    for i in range(action.nActions):
        if action.getName(i).lower() in names:
            expect(action.doAction(i), f"{describe(node)} refused its action {action.getName(i)}")
            return
    raise Mismatch(f"{describe(node)} has no action among {names}")


def say(text):
    print(text, flush=True)


def run():
    desktop = pyatspi.Registry.getDesktop(0)
    def registered():
        desktop.clear_cache()
        return next((a for a in desktop if a is not None and a.name == "pavane-demo"), None)
    app = poll("application pavane-demo on the desktop", registered)
    # Ask the host every time rather than trust what the bus library keeps.
    app.set_cache_mask(Atspi.Cache.NONE)
    say(f'application "{app.name}" with {app.childCount} windows')

    question = poll("offline question (alert)", lambda: find(app, [pyatspi.ROLE_ALERT]))
    say("question: " + describe(question))
    expect(has(question, pyatspi.STATE_MODAL), "the question is not modal")
    buttons = find_all(question, lambda n: n.getRole() == pyatspi.ROLE_PUSH_BUTTON)
    for button in buttons:
        say("  button: " + describe(button))
    yes = find(question, [pyatspi.ROLE_PUSH_BUTTON], "Yes")
    expect(yes, 'the question has no push button "Yes"')
    expect(has(yes, pyatspi.STATE_FOCUSABLE, pyatspi.STATE_ENABLED), '"Yes" is not focusable and enabled')
    press(yes, "press")
    say('pressed "Yes" through its action')

    sheet = poll("connect sheet (dialog)", lambda: find(app, [pyatspi.ROLE_DIALOG], "Connect to a network"))
    say("sheet: " + describe(sheet))
    expect(has(sheet, pyatspi.STATE_MODAL), "the sheet is not modal")
    expect(not find(app, [pyatspi.ROLE_ALERT]), "the question is still there under the sheet")
    fields = [pyatspi.ROLE_TEXT, pyatspi.ROLE_ENTRY, pyatspi.ROLE_PASSWORD_TEXT]
    for label, text in (("Connection name", NETWORK), ("Network name (SSID)", "aurora-guest")):
        field = find(sheet, fields, label)
        expect(field, f'no text field named "{label}" in the sheet')
        expect(has(field, pyatspi.STATE_EDITABLE), f'"{label}" is not editable')
        expect(field.queryEditableText().setTextContents(text), f'"{label}" refused its text')
        typed = field.queryText().getText(0, -1)
        say(f'  field: {describe(field)} now reads "{typed}"')
        expect(typed == text, f'"{label}" reads "{typed}" after "{text}" was put in')

    items = find_all(sheet, lambda n: n.getRole() == pyatspi.ROLE_LIST_ITEM)
    for item in items:
        say("  list item: " + describe(item))
    read = {item.name: item.description for item in items}
    for name, description in STORED.items():
        expect(read.get(name) == description, f'no list item "{name}" described "{description}"')

    connect = poll('enabled "Connect" button', lambda: next(
        (b for b in find_all(sheet, lambda n: n.getRole() == pyatspi.ROLE_PUSH_BUTTON and n.name == "Connect")
         if has(b, pyatspi.STATE_ENABLED)), None))
    say("  button: " + describe(connect))
    press(connect, "press")
    say('pressed "Connect" through its action')

    row = poll(f'list item "{NETWORK}" on the page',
               lambda: not find(app, [pyatspi.ROLE_DIALOG], "Connect to a network")
               and find(app, [pyatspi.ROLE_LIST_ITEM], NETWORK))
    say("page: " + describe(row))
    press(row, "press")
    say(f'pressed "{NETWORK}" through its action')
    done = poll('status line "Ready to send"', lambda: find_all(
        app, lambda n: n.getRole() == pyatspi.ROLE_LABEL and n.name.startswith("Ready to send")))
    say("page: " + describe(done[0]))


def main():
    try:
        run()
    except Mismatch as mismatch:
        say(f"MISMATCH: {mismatch}")
        return 1
    say("The screen reader reached every step.")
    return 0


if __name__ == "__main__":
    sys.exit(main())
