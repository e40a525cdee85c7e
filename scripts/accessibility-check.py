"""Reads the running program over AT-SPI as a screen reader does.

Run inside an X display and a D-Bus session: starts the program, finds the switch
panel on the accessibility bus, checks its role, name and the address its description
gives, then applies an address through the entry and the button and checks that the
panel announces the new one.
"""

import os
import subprocess
import sys
import tempfile
import time

import pyatspi


def find(node, test):
    if node is None:
        return None
    if test(node):
        return node
    for child in node:
        found = find(child, test)
        if found is not None:
            return found
    return None


def wait_for(what, get, timeout=20.0):
    end = time.monotonic() + timeout
    while time.monotonic() < end:
        value = get()
        if value:
            return value
        time.sleep(0.2)
    sys.exit(f"accessibility check: {what} not found within {timeout:.0f} s")


def main():
    program = os.path.abspath(sys.argv[1])
    home = tempfile.mkdtemp()
    environment = dict(os.environ, QT_QPA_PLATFORM="xcb", QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1",
                       XDG_DATA_HOME=home, XDG_CONFIG_HOME=home)
    process = subprocess.Popen([program], cwd=home, env=environment)
    try:
        desktop = pyatspi.Registry.getDesktop(0)
        app = wait_for("the program", lambda: find(desktop, lambda n: n.name == "vesk-adressen"))
        panel = wait_for("the panel", lambda: find(app, lambda n: n.name == "Dippschalter" and n.getRoleName() != "panel"))
        print(f"switch panel: role {panel.getRoleName()}, name {panel.name}, description {panel.description}")
        if panel.getRoleName() != "slider" or not panel.description.endswith("Adresse 1A"):
            sys.exit("accessibility check: the panel does not read as a slider showing 1A")

        entry = find(app, lambda n: n.name == "VESK Bus Adresse" and n.getRoleName() == "text")
        entry.queryEditableText().setTextContents("c7")
        button = find(app, lambda n: n.name == "Adresse->Schalter" and n.getRoleName() == "push button")
        button.queryAction().doAction(0)
        described = wait_for("the address applied", lambda: panel.description.endswith("Adresse 7C") and panel.description)
        print(f"after c7: {described}")
    finally:
        process.terminate()
        process.wait(10)


main()
