#!/usr/bin/python3
"""What a screen reader meets in Kivo, read over the AT-SPI bus as Orca reads it.

Run on a virtual display inside a private session bus (the e2e-screen-reader test):
screenreader_e2e.py KIVO DEVSERVICE DATA_DIR. The accessibility bus is started here and
its screen-reader flag set; the real program signs in through its accessible actions alone.
Checks: the sign-in window's shown focusable controls all have names and the hint boxes are
none of them; after the sign-in the start page's heading and a link are found under the main
window's browser; with the flag off, the page's tree is not built.
"""
import os
import re
import subprocess
import sys
import tempfile
import time

import pyatspi

KIVO, DEVSERVICE, DATA = sys.argv[1:4]
failures = []


def check(condition, what):
    print(("ok   " if condition else "FAIL ") + what, flush=True)
    if not condition:
        failures.append(what)


def gdbus(*args):
    return subprocess.run(["gdbus", "call", "--session", *args], capture_output=True, text=True, timeout=10)


def set_reader(enabled):
    for prop in ("IsEnabled", "ScreenReaderEnabled"):
        value = "true" if (enabled or prop == "IsEnabled") else "false"
        gdbus("--dest", "org.a11y.Bus", "--object-path", "/org/a11y/bus", "--method",
              "org.freedesktop.DBus.Properties.Set", "org.a11y.Status", prop, f"<{value}>")


def wait_for(predicate, seconds=30):
    end = time.time() + seconds
    while time.time() < end:
        try:
            found = predicate()
            if found:
                return found
        except Exception:  # the tree changes while it is read
            pass
        time.sleep(0.25)
    return None


def walk(node, depth=0):
    if node is None or depth > 60:
        return
    yield node
    for i in range(node.childCount):
        try:
            yield from walk(node.getChildAtIndex(i), depth + 1)
        except Exception:
            continue


def kivo_app():
    desktop = pyatspi.Registry.getDesktop(0)
    for app in desktop:
        if app is not None and app.name.lower() == "kivo":
            return app
    return None


def frame(app, title):
    for window in app:
        if window is not None and window.name == title and window.getState().contains(pyatspi.STATE_SHOWING):
            return window
    return None


def shown(node):
    states = node.getState()
    return states.contains(pyatspi.STATE_SHOWING) and states.contains(pyatspi.STATE_VISIBLE)


def press(window, name):
    for node in walk(window):
        if node.name == name and shown(node):
            action = node.queryAction()
            for i in range(action.nActions):
                action.doAction(i)
                return True
    return False


def type_into(window, name, text):
    for node in walk(window):
        if node.name == name and shown(node) and node.getRole() in (pyatspi.ROLE_TEXT, pyatspi.ROLE_PASSWORD_TEXT,
                                                                     pyatspi.ROLE_ENTRY):
            node.queryEditableText().setTextContents(text)
            return True
    return False


def start_kivo(base_url):
    folder = tempfile.mkdtemp(prefix="kivo-reader-")
    return subprocess.Popen([KIVO, "--base-url", base_url, "--app-dir", folder],
                            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)


def signed_in_page(base_url):
    kivo = start_kivo(base_url)
    try:
        app = wait_for(kivo_app)
        login = wait_for(lambda: frame(app, "Kivo")) if app else None
        if login is None:
            return kivo, None, None
        wait_for(lambda: press(login, "密码登录"))
        wait_for(lambda: type_into(login, "用户名称", "demo"))
        type_into(login, "帐号密码", "kivo&2026#")
        press(login, "登录")
        home = wait_for(lambda: frame(app, "Velmora 工作台"))
        return kivo, login, home
    except Exception:
        return kivo, None, None


def tree_pss_mb(pid):
    """The proportional set size of a process and its descendants, in MB (for the note's figures)."""
    pids, total = [pid], 0
    while pids:
        current = pids.pop()
        try:
            with open(f"/proc/{current}/smaps_rollup") as f:
                total += next(int(l.split()[1]) for l in f if l.startswith("Pss:"))
            with open(f"/proc/{current}/task/{current}/children") as f:
                pids += [int(c) for c in f.read().split()]
        except (OSError, StopIteration):
            continue
    return total / 1024


def page_nodes(home):
    browser = next((n for n in walk(home) if n.name == "工作台页面"), None)
    return [] if browser is None else list(walk(browser))


launcher = subprocess.Popen(["/usr/libexec/at-spi-bus-launcher", "--launch-immediately"])
check(wait_for(lambda: gdbus("--dest", "org.a11y.Bus", "--object-path", "/org/a11y/bus", "--method",
                             "org.a11y.Bus.GetAddress").returncode == 0, 10) is not None, "the accessibility bus runs")
set_reader(True)
service = subprocess.Popen([DEVSERVICE, "--port", "0", "--data", DATA], stdout=subprocess.PIPE, text=True)
base_url = re.search(r"http://127\.0\.0\.1:\d+", service.stdout.readline()).group(0)

# The sign-in window: every shown control that takes the focus has a name, and the hints are none.
kivo = start_kivo(base_url)
app = wait_for(kivo_app)
check(app is not None, "Kivo is on the accessibility bus")
login = wait_for(lambda: frame(app, "Kivo")) if app else None
check(login is not None, "the sign-in window is there")
for tab in ("动态登录", "密码登录", "扫码登录"):
    if login is None:
        break
    press(login, tab)
    time.sleep(0.5)
    focusable = [n for n in walk(login) if shown(n) and n.getState().contains(pyatspi.STATE_FOCUSABLE)]
    nameless = [n.getRoleName() for n in focusable if not n.name.strip()]
    check(not nameless, f"{tab}: no nameless focusable control ({nameless})")
    fields = [n.name for n in focusable if n.getRole() in (pyatspi.ROLE_TEXT, pyatspi.ROLE_PASSWORD_TEXT)]
    hints = [n for n in walk(login) if shown(n) and n.name.startswith("请输入")]
    check(not hints, f"{tab}: no hint box among the controls; fields {fields}")
kivo.terminate()
kivo.wait(10)

# Signed in with the screen reader on: the start page's own tree is under the browser.
kivo, login, home = signed_in_page(base_url)
check(home is not None, "the password sign-in through the accessible actions opens the main window")
if home is not None:
    heading = wait_for(lambda: next((n for n in page_nodes(home)
                                     if n.getRole() == pyatspi.ROLE_HEADING or "下午好" in n.name), None))
    check(heading is not None and "下午好" in (heading.name or "") + "".join(
        c.name for c in walk(heading)), "the start page's greeting is read")
    link = wait_for(lambda: next((n for n in page_nodes(home) if n.getRole() == pyatspi.ROLE_LINK
                                  and n.name == "请假申请"), None))
    check(link is not None, "the start page's link 请假申请 is found under the browser")
    time.sleep(2)
    print(f"info PSS with a screen reader: {tree_pss_mb(kivo.pid):.1f} MB", flush=True)
kivo.terminate()
kivo.wait(10)

# The flag off: no tree of the page.
set_reader(False)
kivo, login, home = signed_in_page(base_url)
check(home is not None, "with the flag off the sign-in works as well")
if home is not None:
    time.sleep(3)
    print(f"info PSS without: {tree_pss_mb(kivo.pid):.1f} MB", flush=True)
    nodes = page_nodes(home)
    check(not any(n.getRole() == pyatspi.ROLE_LINK for n in nodes), f"no page tree without a screen reader ({len(nodes)})")
kivo.terminate()
kivo.wait(10)
service.terminate()
launcher.terminate()
print("failures:", len(failures))
sys.exit(1 if failures else 0)
