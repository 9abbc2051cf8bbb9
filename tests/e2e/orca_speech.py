# SPDX-License-Identifier: GPL-3.0-or-later
"""Plays the game by keyboard under Orca and checks what Orca said (see orca_speech.sh).

Every move must be heard, the computer's too, its own result first; moving to another row
says one cell, not the whole row; and no cell is read with a colon, which Orca says aloud.
How long each move took to be heard is printed against the 2-second target; only a move not
heard within 8 seconds fails, as a timed check would fail on a loaded machine."""
import os
import re
import subprocess
import sys
import time
from datetime import datetime

GAME = os.environ["GAME"]
SPOKEN = os.environ["SPOKEN"]
WORK = os.environ["WORK"]
CELL = re.compile(r"Ligne (\d+), colonne (\d+), ([^ .,]+)")
failures = []
started = []
# (when the key was pressed, what Orca must have said, what for, the target, which answer)
timings = []
# Longer than this is not heard at all.
HEARD_WITHIN = 8.0


class Stalled(Exception):
    """Orca said nothing at all for a key: the screen reader itself stalled (it answers every
    key before the game gets it, and a loaded machine can starve it), which says nothing of
    the game."""


def check(condition, what):
    if not condition:
        failures.append(what)
        print("FAIL: " + what, file=sys.stderr)
    return condition


def said():
    with open(SPOKEN, "rb") as spoken:
        data = spoken.read()
    # speech-dispatcher hands its modules Latin-1 unless told otherwise.
    try:
        text = data.decode("utf-8")
    except UnicodeDecodeError:
        text = data.decode("latin-1")
    return [line.strip() for line in text.splitlines() if line.strip()]


def orca_said():
    """What Orca handed to speech, with the time of day it did, from its debug log: the
    transcript comes later, after speech-dispatcher's own queue."""
    told = []
    try:
        with open(os.path.join(WORK, "orca-debug.txt"), encoding="utf-8", errors="replace") as log:
            for line in log:
                match = re.match(r"(\d+):(\d+):(\d+\.\d+) - SPEECH OUTPUT: '(.*)'", line)
                if match:
                    hours, minutes, seconds, text = match.groups()
                    told.append((int(hours) * 3600 + int(minutes) * 60 + float(seconds), text))
    except OSError:
        pass
    return told


def time_of_day():
    now = datetime.now()
    return now.hour * 3600 + now.minute * 60 + now.second + now.microsecond / 1e6


def start(command, log):
    process = subprocess.Popen(command, stdout=open(log, "w"), stderr=subprocess.STDOUT)
    started.append(process)
    return process


def xdo(*arguments):
    return subprocess.run(["timeout", "5", "xdotool", *arguments], capture_output=True,
                          text=True).stdout.split()


def window(title, seconds, game):
    end = time.time() + seconds
    while time.time() < end:
        found = xdo("search", "--onlyvisible", "--name", "^%s$" % re.escape(title))
        if found:
            return found[0]
        if game.poll() is not None:
            raise SystemExit("FAIL: the game ended with status %d before a window titled %r"
                             % (game.returncode, title))
        time.sleep(0.1)
    raise SystemExit("FAIL: no window titled %r within %d s" % (title, seconds))


def quiet(seconds=1.5, limit=10):
    """Waits until Orca has said nothing new for `seconds`; returns everything said."""
    end = time.time() + limit
    lines = said()
    calm = time.time()
    while time.time() < end:
        time.sleep(0.1)
        now = said()
        if now != lines:
            lines, calm = now, time.time()
        elif time.time() - calm >= seconds:
            break
    return lines


def key(name, expect=None, within=2.0):
    """Presses `name`; with `expect`, returns how long Orca took to say something that matches
    it (None when it did not within 10 s). Returns that and the transcript of what was said."""
    before = len(said())
    told_before = len(orca_said())
    pressed = time_of_day()
    xdo("key", name)
    heard = None
    end = time.time() + 10
    while expect and heard is None and time.time() < end:
        for moment, text in orca_said()[told_before:]:
            if expect(text):
                heard = moment - pressed
                break
        time.sleep(0.05)
    return heard, quiet()[before:]


def uncovered(text):
    match = CELL.match(text)
    return match is not None and match.group(3) != "couverte"


def told_move(text):
    """A move told: announced, or said first in the name of the cell the focus moved to."""
    return text.startswith("notification Ligne") or uncovered(text)


def own_move(text):
    """The player's own move told: the cell's new name, or its announcement."""
    return uncovered(text) or (told_move(text) and "l'ordinateur" not in text)


def focused_cell(lines):
    """The covered cell that Orca last named as it got the focus."""
    for line in reversed(lines):
        match = CELL.search(line)
        if match and match.group(3) == "couverte":
            return int(match.group(1)), int(match.group(2))
    return None


def play(arguments, moves, computer):
    os.environ["VOLCANELLE_COMPUTER_PACE_MS"] = "300"
    env = dict(os.environ, QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1", QT_QPA_PLATFORM="xcb")
    game = subprocess.Popen([GAME, *arguments], env=env, stdout=subprocess.DEVNULL,
                            stderr=open(os.path.join(WORK, "game.log"), "a"))
    started.append(game)
    at_start = len(said())
    box = window("Saisie", 20, game)
    xdo("windowactivate", "--sync", box)
    quiet()
    # Orca answers every key before the game gets it: one at a time, each once it is done.
    for digit in "30":
        xdo("key", digit)
        quiet(1.0)
    before = len(said())
    xdo("key", "Return")
    board = window("Volcanelle — contre l'ordinateur" if computer else "Volcanelle", 10, game)
    xdo("windowactivate", "--sync", board)
    end = time.time() + 20
    while time.time() < end and focused_cell(said()[before:]) is None:
        time.sleep(0.1)
    lines = quiet(1.5)
    if len(lines) == at_start:
        raise Stalled()  # not a word for the box, the digits or the window
    cell = focused_cell(lines[before:])
    check(cell is not None, "the focus on a covered cell when the window comes (%s)" % lines[-3:])
    computer_heard = 0
    previous = []
    for move in range(moves):
        if cell is None:
            break
        row, column = cell
        pressed = time_of_day()
        _, lines = key("space")
        if not lines or lines == ["espace"]:
            raise Stalled()  # nothing, or only the key's own name
        # The move that takes the last mine ends the round: the round's box says so instead of
        # a description, and this game goes no further.
        ended = any("La partie est terminée" in line for line in lines)
        # Speech still due from before the key (the computer's last move, late on a loaded
        # machine) may come first: the move's own result is the first thing new, said as
        # the cell's new name or announced.
        fresh = [line for line in lines if line != "espace"]
        while fresh and fresh[0] in previous:
            fresh.pop(0)
        if not ended or (fresh and own_move(fresh[0])):
            timings.append((pressed, own_move, "move %d near (%d, %d)" % (move, row, column),
                            2.0, 1))
            check(fresh and own_move(fresh[0]),
                  "move %d near (%d, %d) told first: %s" % (move, row, column, lines))
        previous = lines
        if computer and any("L'ordinateur a la main" in line for line in lines[:3]):
            if ended:
                computer_heard += 1
                break
            # The computer's move comes by itself, after its pace: announced where the player
            # is, or, when it uncovers the focused cell, told as the focus moves on. Either
            # way it is the second move told after the key.
            timings.append((pressed, told_move, "the computer's move after move %d" % move,
                            2.0 + 0.3, 2))
            computer_heard += check(len([line for line in lines if told_move(line)]) >= 2,
                                    "the computer's move in the transcript: %s" % lines[-6:])
        if ended:
            break
        cell = focused_cell(lines) or cell
        if not computer:
            # One row down and back: each row change says one cell, not the whole row.
            for arrow in ("Down", "Up"):
                _, lines = key(arrow)
                if not lines:
                    raise Stalled()
                cells = [line for line in lines if CELL.search(line)]
                check(len(cells) == 1, "%s speaks one cell: %s" % (arrow, lines))
            cell = focused_cell(lines) or cell
    if computer:
        check(computer_heard > 0, "at least one of the computer's moves heard")
    game.terminate()
    game.wait(5)
    quiet()


def main():
    start(["openbox"], os.path.join(WORK, "openbox.log"))
    start(["/usr/libexec/at-spi-bus-launcher", "--launch-immediately"],
          os.path.join(WORK, "bus.log"))
    time.sleep(1)
    orca = start(["orca", "--replace", "--debug-file=" + os.path.join(WORK, "orca-debug.txt")],
                 os.path.join(WORK, "orca.log"))
    end = time.time() + 30
    while not said() and time.time() < end:
        time.sleep(0.2)
    if not said():
        raise Stalled()  # not a word within 30 s of its start
    play([], 4, False)
    play(["--computer"], 4, True)
    # Orca writes its log as it likes: read once it has stopped.
    orca.terminate()
    try:
        orca.wait(5)
    except subprocess.TimeoutExpired:
        orca.kill()
    told = orca_said()
    # A debug log that stops before a key was pressed is Orca stalled, not the game.
    if timings and (not told or told[-1][0] < timings[-1][0]):
        raise Stalled()
    last = told[-1][0] if told else 0
    on_target = 0
    for pressed, expect, what, target, nth in timings:
        after = [moment - pressed for moment, text in told if moment >= pressed and expect(text)]
        # Orca killed at the end may not have written its last records: a log that stops
        # before this key's answer was due cannot time it (the transcript has checked what
        # was said).
        if len(after) < nth and last < pressed + HEARD_WITHIN:
            raise Stalled()
        heard = after[nth - 1] if len(after) >= nth else None
        check(heard is not None and heard <= HEARD_WITHIN,
              "%s heard within %.0f s (%s)" % (what, HEARD_WITHIN, "%.2f s" % heard
                                               if heard is not None else "never"))
        if heard is not None:
            on_target += heard <= target
            print("%s: %.2f s (target %.1f s)" % (what, heard, target))
    print("%d of %d moves heard within their target" % (on_target, len(timings)))
    spoken = said()
    cells = [line for line in spoken if "Ligne" in line or "ligne" in line]
    check(not [line for line in cells if ":" in line or "deux points" in line],
          "no cell read with a colon: %s" % [l for l in cells if ":" in l][:3])
    colons = [line for line in spoken if ":" in line or "deux points" in line]
    print("%d utterances, %d of them cells, %d with a colon or « deux points » (the mine-count "
          "box's own prompt ends with one)" % (len(spoken), len(cells), len(colons)))
    print("\n".join(spoken[-40:]))


stalled = False
try:
    main()
except Stalled:
    stalled = True
    print("Orca stalled: it said nothing for a key, or at its start", file=sys.stderr)
finally:
    for process in reversed(started):
        process.terminate()
    for process in started:
        try:
            process.wait(5)
        except subprocess.TimeoutExpired:
            process.kill()
if failures:
    # The work folder goes with the script; what Orca said and its debug log stay for a look.
    subprocess.run(["rm", "-rf", "/tmp/orca-last"])
    subprocess.run(["cp", "-r", WORK, "/tmp/orca-last"])
    print("FAIL: the transcript and Orca's debug log are kept in /tmp/orca-last", file=sys.stderr)
sys.exit(3 if stalled and not failures else 1 if failures else 0)
