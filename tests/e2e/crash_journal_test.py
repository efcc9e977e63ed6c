#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Typed work survives the real program being killed.

Starts the real window under Xvfb on a scratch mod, types into the editor
through real X key events (xdotool), and kills the program at random moments
(a fixed seed): mostly SIGKILL, now and then SIGTERM. After each end:
  - a SIGKILL leaves a journal holding the editor's text as it was at some
    moment within the last 3 s before the kill, and exactly the last text
    when typing had paused for a second;
  - a SIGTERM writes the text to its file (as closing the window does) and
    leaves no journal;
  - every file of the mod holds either its old or its new bytes;
  - the next start leaves the journal where it is (it is offered, not lost).

usage: crash_journal_test.py TALMO [ROUNDS]
"""
import os
import random
import shutil
import signal
import subprocess
import sys
import tempfile
import time

SEED = 2026
SLACK = 0.5  # seconds for X, the event loop and the disk


def journal_text(path):
    """The text of a journal file, or None when it is no whole journal."""
    data = open(path, "rb").read()
    magic = b"talmo journal 1\n"
    if not data.startswith(magic):
        return None
    at = data.index(b"text ", len(magic))
    end = data.index(b"\n", at)
    length = int(data[at + 5:end])
    text = data[end + 1:end + 1 + length]
    return text if len(text) == length and data[end + 1 + length:] == b"\n" else None


def journals(folder):
    if not os.path.isdir(folder):
        return []
    return [os.path.join(folder, n) for n in os.listdir(folder) if n.endswith(".journal")]


def start_display(scratch):
    read_fd, write_fd = os.pipe()
    xvfb = subprocess.Popen(["Xvfb", "-displayfd", str(write_fd), "-screen", "0", "1024x768x24",
                             "-nolisten", "tcp"], pass_fds=[write_fd],
                            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    os.close(write_fd)
    number = b""
    while not number.endswith(b"\n"):
        chunk = os.read(read_fd, 16)
        if not chunk:
            raise RuntimeError("Xvfb did not start")
        number += chunk
    os.close(read_fd)
    return xvfb, ":" + number.decode().strip()


def xdotool(env, *args, timeout=20):
    try:
        return subprocess.run(["xdotool", *args], env=env, capture_output=True, text=True,
                              timeout=timeout)
    except subprocess.TimeoutExpired:
        return subprocess.CompletedProcess(args, 1, "", "timed out")


def main():
    talmo = os.path.abspath(sys.argv[1])
    rounds = int(sys.argv[2]) if len(sys.argv) > 2 else 20
    rng = random.Random(SEED)
    scratch = tempfile.mkdtemp(prefix="talmo-crash-")
    failures = []
    xvfb, display = start_display(scratch)
    try:
        mod = os.path.join(scratch, "mod \u00f1")
        os.makedirs(mod)
        edited = os.path.join(mod, "a.qc")
        other = os.path.join(mod, "b.qc")
        disk = b"float health;\r\nvoid() think = {};\r\n"
        other_bytes = b"// b \xa0\x80\xff\r\n"
        open(edited, "wb").write(disk)
        open(other, "wb").write(other_bytes)
        env = dict(os.environ, DISPLAY=display,
                   XDG_DATA_HOME=os.path.join(scratch, "data"),
                   XDG_CONFIG_HOME=os.path.join(scratch, "config"),
                   XDG_RUNTIME_DIR=scratch)
        env.pop("QT_QPA_PLATFORM", None)
        journal_dir = os.path.join(scratch, "data", "Talmo", "journal")
        kept = None  # the journal a kill left, to be found again at the next start

        for round_no in range(rounds):
            program = subprocess.Popen([talmo, edited], env=env, cwd=mod,
                                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
            found = xdotool(env, "search", "--sync", "--onlyvisible", "--name", "T A L M O")
            window = found.stdout.split()[0] if found.stdout.split() else None
            if window is None:
                failures.append(f"round {round_no}: no window (exit {program.poll()})")
                program.kill()
                program.wait()
                break
            time.sleep(0.3)
            if kept is not None:
                path, text = kept
                if not os.path.exists(path) or journal_text(path) != text:
                    failures.append(f"round {round_no}: the start lost the journal of the kill")
                os.remove(path)  # as Discard would: this round starts from the file
                kept = None
            # Into the editor: the window's middle is its text; the caret to the start.
            xdotool(env, "windowfocus", "--sync", window)
            xdotool(env, "mousemove", "--window", window, "420", "240", "click", "1")
            xdotool(env, "key", "ctrl+Home")
            time.sleep(0.2)

            sent = []  # (time each key was sent, character)
            bursts = rng.randint(1, 4)
            for _ in range(bursts):
                word = "".join(rng.choice("abcdefghijklmnopqrstuvwxyz ") for _ in range(rng.randint(3, 25)))
                for ch in word:
                    xdotool(env, "type", "--delay", "0", ch)
                    sent.append((time.monotonic(), ch))
                    time.sleep(rng.uniform(0.02, 0.12))
                time.sleep(rng.choice([0.3, 0.5, 1.6, 2.5]))
            hard = rng.random() < 0.8
            killed_at = time.monotonic()
            program.send_signal(signal.SIGKILL if hard else signal.SIGTERM)
            program.wait(timeout=30)
            typed = "".join(ch for _, ch in sent).encode()

            # Every file of the mod holds its old or its new bytes.
            now = open(edited, "rb").read()
            if now not in (disk, typed + disk):
                failures.append(f"round {round_no}: a.qc holds neither version: {now[:60]!r}")
            if open(other, "rb").read() != other_bytes:
                failures.append(f"round {round_no}: b.qc changed")

            left = journals(journal_dir)
            if not hard:
                if now != typed + disk:
                    failures.append(f"round {round_no}: SIGTERM did not write the typed text")
                if left:
                    failures.append(f"round {round_no}: SIGTERM left a journal of written text")
                disk = now
                continue
            # The journal: the text at some moment within the last 3 s.
            at_least = sum(1 for t, _ in sent if t <= killed_at - 3.0 - SLACK)
            paused = not sent or killed_at - sent[-1][0] >= 1.0 + SLACK
            if not sent:
                continue
            if len(left) != 1 or journal_text(left[0]) is None:
                if at_least > 0 or paused:
                    failures.append(f"round {round_no}: no whole journal ({len(left)} files)")
                continue
            text = journal_text(left[0])
            if not text.endswith(disk) or not typed.startswith(text[:len(text) - len(disk)]):
                failures.append(f"round {round_no}: the journal is no text the editor held: {text[:60]!r}")
                continue
            got = len(text) - len(disk)
            if got < at_least:
                failures.append(f"round {round_no}: the journal is older than 3 s ({got} of {at_least} keys)")
            if paused and got != len(typed):
                failures.append(f"round {round_no}: after a pause the journal lacks keys ({got} of {len(typed)})")
            kept = (left[0], text)
            print(f"round {round_no}: {'SIGKILL' if hard else 'SIGTERM'} after {len(typed)} keys,"
                  f" journal holds {got}", flush=True)
    finally:
        xvfb.terminate()
        xvfb.wait()
        shutil.rmtree(scratch, ignore_errors=True)

    for f in failures:
        print("FAIL:", f)
    passed = rounds - len({f.split(":")[0] for f in failures})
    print(f"{passed} passed, {rounds - passed} failed")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
