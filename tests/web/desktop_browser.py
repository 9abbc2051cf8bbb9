# SPDX-License-Identifier: GPL-3.0-or-later
"""A browser and the desktop game in one duel: a duel server on 127.0.0.1, a headless Chromium
page that creates a room, and the desktop game that joins it by its code (--online --room) on
the test's virtual X display. The desktop side is read and played through AT-SPI, as a screen
reader would; the page through its cells' names. Both play a round, the two boards compared
after every move; then the page quits and the desktop game shows the verdict and ends.
Run inside desktop_browser.sh: desktop_browser.py GAME SERVER."""
import os
import random
import re
import subprocess
import sys
import time

import pyatspi
from selenium.webdriver.common.by import By

from pagedriver import ROUND_OVER, ROUND_TITLES, Page, Server

CELL = re.compile(r'Ligne (\d+), colonne (\d+)(?:, (couverte|mine|vide|\d))?$')


def fail(what):
    print(f'FAIL: {what}', flush=True)
    sys.exit(1)


def wait(what, find, seconds=15):
    deadline = time.monotonic() + seconds
    while time.monotonic() < deadline:
        found = find()
        if found:
            return found
        time.sleep(0.05)
    fail(f'{what}: not within {seconds} s')


def desktop_app():
    desktop = pyatspi.Registry.getDesktop(0)
    for i in range(desktop.childCount):
        app = desktop.getChildAtIndex(i)
        if app is not None and 'volcanelle' in (app.name or '').lower():
            return app
    return None


def find(root, wanted):
    return pyatspi.findDescendant(root, wanted) if root is not None else None


class Desktop:
    """The desktop game's window, through AT-SPI."""

    def __init__(self, app):
        self.app = app
        self.table = wait('the board on the accessibility bus',
                          lambda: find(app, lambda o: o.getRoleName() == 'table'))

    def board(self):
        """Each cell's content as the page names it: couverte, 1 to 8, mine, vide."""
        names = []
        for i in range(self.table.childCount):
            found = CELL.search(self.table.getChildAtIndex(i).name or '')
            names.append(found.group(3) if found else '?')
        return names

    def press(self, index):
        actions = self.table.getChildAtIndex(index).queryAction()
        names = [actions.getName(i) for i in range(actions.nActions)]
        actions.doAction(names.index('Press'))

    def box(self):
        """The open box's title, or None."""
        box = find(self.app, lambda o: o.getRoleName() in ('dialog', 'alert') and
                   o.getState().contains(pyatspi.STATE_SHOWING))
        return box

    def answer(self, box, label='OK'):
        button = find(box, lambda o: o.getRoleName() == 'push button' and o.name == label)
        if button is None:
            fail(f'no button {label!r} in the box {box.name!r}')
        button.queryAction().doAction(0)


def main():
    game, server_program = sys.argv[1], sys.argv[2]
    server = Server(server_program)
    page = Page()
    process = None
    try:
        page.open(server.url)
        page.wait('the start page', lambda: page.state() == 'accueil')
        page.press(page.driver.find_element(By.ID, 'creer'))
        page.wait('the room', lambda: page.state() == 'salle')
        code = page.driver.find_element(By.ID, 'lien').get_attribute('value').split('#')[1]
        print(f'room {code} on port {server.port}', flush=True)

        runtime = os.path.join(os.environ['WORK'], 'runtime')
        config = os.path.join(os.environ['WORK'], 'config')
        for folder in (runtime, config):
            os.makedirs(folder, mode=0o700, exist_ok=True)
        environment = dict(os.environ, QT_QPA_PLATFORM='xcb', QT_LINUX_ACCESSIBILITY_ALWAYS_ON='1',
                           XDG_RUNTIME_DIR=runtime, XDG_CONFIG_HOME=config, LC_ALL='C.UTF-8')
        with open(os.path.join(os.environ['WORK'], 'game.log'), 'w') as log:
            process = subprocess.Popen([game, '--online', '--server', f'127.0.0.1:{server.port}',
                                        '--room', code.lower()], env=environment,
                                       stdout=log, stderr=log)
        desktop = Desktop(wait('the game on the accessibility bus', desktop_app))
        page.wait('the count asked', lambda: page.box() and page.box()[0] == 'Saisie')
        page.type_count('30')
        page.wait('the round set up', lambda: page.text('etat') == '30 bombes restantes')

        # The page is player 1, the desktop game player 2; each plays on its turn.
        order = list(range(225))
        random.Random(5).shuffle(order)
        moves = 0
        while not (page.box() and page.box()[0] == ROUND_OVER):
            turn = re.search(r'n°(\d)', page.text('lblMain'))
            board = page.board()
            index = next(i for i in order if board[i] == 'couverte')
            if turn and turn.group(1) == '1':
                page.press(page.cell(index))
            else:
                desktop.press(index)
            moves += 1
            wait(f'move {moves} (cell {index}) alike on both sides',
                 lambda: (page.box() and page.box()[0] == ROUND_OVER) or
                 (page.board()[index] != 'couverte' and page.board() == desktop.board()), 10)
            if moves > 225:
                fail('more moves than cells')
            if moves == 20 and os.environ.get('VOLCANELLE_SHOTS'):
                # Pictures of both sides in the same duel, for a person to look at.
                shots = os.environ['VOLCANELLE_SHOTS']
                page.driver.save_screenshot(os.path.join(shots, 'page-beside-desktop.png'))
                subprocess.run(['import', '-window', 'root', os.path.join(shots, 'desktop.png')],
                               check=False, timeout=10)
        if page.board() != desktop.board():
            fail('the boards differ after the last move')
        print(f'{moves} moves, the boards alike after each', flush=True)

        # The round's end on both sides, then the page quits: the desktop shows the verdict
        # and ends by itself.
        page.press_box('OK')
        page.wait('the verdict', lambda: page.box() and page.box()[0] in ROUND_TITLES)
        verdict = page.box()
        for expected in (ROUND_OVER, verdict[0]):
            box = wait(f'the desktop box {expected!r}',
                       lambda e=expected: (lambda b: b if b is not None and b.name == e else None)(
                           desktop.box()))
            desktop.answer(box)
        page.press_box('OK')
        page.press(page.driver.find_element(By.ID, 'Command1'))
        page.wait('the question', lambda: page.box() and page.box()[0] == 'Quitter ?')
        page.press_box('Oui')
        page.wait('the verdict', lambda: page.box() and page.box()[0] != 'Quitter ?')
        duel = page.box()[0]
        page.press_box('OK')
        box = wait(f'the duel verdict {duel!r} on the desktop',
                   lambda: (lambda b: b if b is not None and b.name == duel else None)(
                       desktop.box()))
        desktop.answer(box)
        status = process.wait(15)
        if status != 0:
            fail(f'the desktop game ended with status {status}')
        process = None
        print('the desktop game ended with the verdict', flush=True)
    finally:
        if process is not None:
            process.kill()
            process.wait()
        page.quit()
        server.stop()


if __name__ == '__main__':
    main()
