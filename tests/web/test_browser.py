# SPDX-License-Identifier: GPL-3.0-or-later
"""The page in a real browser, headless Chromium, against a duel server started on loopback:
two browsers play a round with the boards equal after every move, one of them a 360 x 740
phone played by taps; a round played with the keyboard alone; and an accessibility audit.
Run by ctest: python3 test_browser.py SERVER-PROGRAM [AXE-FOLDER]."""
import json
import os
import random
import re
import sys
import unittest

from selenium.webdriver.common.action_chains import ActionChains
from selenium.webdriver.common.by import By
from selenium.webdriver.common.keys import Keys

import pagedriver
from pagedriver import ROUND_OVER, ROUND_TITLES, Page, Server, open_pair

SERVER = None
AXE = None


def turn_of(page):
    found = re.search(r'n°(\d)', page.text('lblMain'))
    return int(found.group(1)) if found else 0


def round_box(pages):
    """The box that ends the round, once a page shows it."""
    for page in pages.values():
        box = page.box()
        if box and box[0] == ROUND_OVER:
            return box
    return None


def read_round_end(test, pages, press_ok):
    """Both pages say the round is over, then give the same verdict; each is read."""
    verdicts = []
    for page in pages.values():
        page.wait('the round over', lambda p=page: p.box() and p.box()[0] == ROUND_OVER)
        test.assertEqual(page.box(), [ROUND_OVER, 'La partie est terminée', ['OK']])
        press_ok(page)
        page.wait('the verdict', lambda p=page: p.box() and p.box()[0] in ROUND_TITLES)
        verdicts.append(page.box())
        press_ok(page)
        page.wait('the verdict read', lambda p=page: p.box() is None)
    test.assertEqual(verdicts[0], verdicts[1])


class BrowserTest(unittest.TestCase):
    def setUp(self):
        self.server = Server(SERVER)
        self.pages = []

    def tearDown(self):
        for page in self.pages:
            errors = page.console_errors()
            page.quit()
            self.assertEqual(errors, [], 'the page logged errors')
        self.server.stop()

    def keep(self, *pages):
        self.pages.extend(pages)
        return pages

    def play_round(self, pages, move):
        """Plays until the round's verdict: `move(page, index)` plays a covered cell on the
        page whose turn it is. Checks after each move that both boards and both turn labels
        are the same. Returns the number of moves."""
        order = list(range(225))
        random.Random(21).shuffle(order)
        moves = 0
        while not round_box(pages):
            turn = turn_of(pages[1])
            self.assertIn(turn, (1, 2), 'nobody has the turn')
            page = pages[turn]
            board = page.board()
            index = next(i for i in order if board[i] == 'couverte')
            move(page, index)
            moves += 1

            def settled():
                if round_box(pages):
                    return True
                one, two = pages[1].board(), pages[2].board()
                return one[index] != 'couverte' and one == two and \
                    pages[1].text('lblMain') == pages[2].text('lblMain')
            page.wait(f'move {moves} on cell {index} shown alike', settled)
            self.assertEqual(pages[1].board(), pages[2].board(), f'after move {moves}')
            self.assertLess(moves, 226)
        # The last move too, before its verdict holds up what follows.
        self.assertEqual(pages[1].board(), pages[2].board())
        return moves

    def test_two_browsers_one_a_phone(self):
        phone = Page(360, 740, phone=True)
        first, second, link = open_pair(self.server, phone)
        self.keep(first, second)
        self.assertRegex(link, r'^http://127\.0\.0\.1:\d+/#[2-9A-HJ-NP-Z]{4}-[2-9A-HJ-NP-Z]{4}$')
        self.assertEqual(first.text('cote'), 'Vous êtes le joueur 1')
        self.assertEqual(second.text('cote'), 'Vous êtes le joueur 2')
        self.assertEqual(first.box()[2], ['OK', 'Annuler'])
        self.assertEqual(first.text('boite-invite'), 'Entrez un nombre de mines entre 30 et 100 : ')
        self.assertEqual(second.text('etat'), "L'adversaire choisit…")

        # On the phone the whole board is on screen, nothing to scroll sideways.
        fits = second.js("""
            const r = document.getElementById('plateau').getBoundingClientRect();
            return [r.left >= 0, r.right <= innerWidth, r.top >= 0, r.bottom <= innerHeight,
                    document.documentElement.scrollWidth <= innerWidth, innerWidth];""")
        self.assertEqual(fits, [True, True, True, True, True, 360])

        first.type_count('30')
        first.wait('the round set up', lambda: first.text('etat') == '30 bombes restantes')
        second.wait('the round set up', lambda: second.text('etat') == '30 bombes restantes')
        pages = {1: first, 2: second}
        moves = self.play_round(pages, lambda page, index: page.press(page.cell(index)))
        self.assertGreater(moves, 1)

        # Both see the same verdict; once it is read, the same rounds won.
        read_round_end(self, pages, lambda page: page.press_box('OK'))
        for label in ('lblPartie1', 'lblPartie2'):
            first.wait('rounds won alike', lambda l=label: first.text(l) == second.text(l))

        # « Quitter » on the phone: its question, the verdict on both sides, the duel over.
        second.press(second.driver.find_element(By.ID, 'Command1'))
        second.wait('the question', lambda: second.box() and second.box()[0] == 'Quitter ?')
        self.assertEqual(second.box(), ['Quitter ?', 'Voulez-vous vraiment quitter ?', ['Oui', 'Non']])
        second.press_box('Oui')
        second.wait('the verdict', lambda: second.box() and second.box()[0].startswith(('Bravo', 'Recommencez')))
        verdict = second.box()
        first.wait('the verdict told', lambda: first.box() == verdict)
        first.press_box('OK')
        second.press_box('OK')
        for page in pages.values():
            page.wait('the duel over', lambda p=page: p.state() == 'accueil')
            self.assertEqual(page.text('accueil-message'), 'Le duel est terminé.')

    def test_reload_comes_back(self):
        first, second, _ = open_pair(self.server)
        self.keep(first, second)
        first.type_count('30')
        second.wait('the round set up', lambda: second.text('etat') == '30 bombes restantes')
        mover = first if turn_of(first) == 1 else second
        mover.press(mover.cell(0))
        second.wait('the move', lambda: second.board()[0] != 'couverte')
        first.wait('the move', lambda: first.board() == second.board())
        board, status = first.board(), first.text('etat')

        # Reloaded, the page comes back to its side of the room, board and captions as they were,
        # and the other side's status bar says it was away meanwhile.
        second.driver.refresh()
        second.wait('back in the room', lambda: second.state() == 'salle')
        second.wait('the board again', lambda: second.board() == board)
        self.assertEqual(second.text('cote'), 'Vous êtes le joueur 2')
        self.assertEqual(second.text('lblMain'), first.text('lblMain'))
        self.assertEqual(second.text('etat'), status)
        first.wait('the other back', lambda: first.text('etat') == status)

    def test_keyboard_only_round(self):
        first, second = self.keep(Page(), Page())
        first.open(self.server.url)
        first.wait('the start page', lambda: first.state() == 'accueil')
        keys = lambda page, *k: ActionChains(page.driver).send_keys(*k).perform()
        keys(first, Keys.TAB)
        self.assertEqual(first.js('return document.activeElement.id'), 'creer')
        keys(first, Keys.ENTER)
        first.wait('the room', lambda: first.state() == 'salle')
        second.open(first.driver.find_element(By.ID, 'lien').get_attribute('value'))
        second.wait('the room', lambda: second.state() == 'salle')
        first.wait('the count asked', lambda: first.box() and first.box()[0] == 'Saisie')
        keys(first, '4', '5', Keys.ENTER)
        first.wait('the round set up', lambda: first.text('etat') == '45 bombes restantes')

        # The arrows walk the board without crossing its edges; Home and End go to the first
        # and last covered cells.
        second.wait('the focus on the board', lambda: second.focused_cell() == 0)
        steps = [(Keys.ARROW_LEFT, 0), (Keys.ARROW_RIGHT, 1), (Keys.ARROW_DOWN, 16),
                 (Keys.END, 224), (Keys.ARROW_RIGHT, 224), (Keys.ARROW_UP, 209), (Keys.HOME, 0)]
        for key, expected in steps:
            keys(second, key)
            self.assertEqual(second.focused_cell(), expected)
        first.wait('the focus back on the board', lambda: first.focused_cell() >= 0)

        pages = {1: first, 2: second}
        presses = [Keys.ENTER, Keys.SPACE]

        def move(page, _index):
            # The first covered cell, uncovered from the keyboard, by Enter and Space in turn.
            keys(page, Keys.HOME)
            target = page.focused_cell()
            self.assertEqual(page.board()[target], 'couverte')
            presses.reverse()
            keys(page, presses[0])
        self.play_round_first_covered(pages, move)

        # The live region said the last move and whose turn it is.
        told = first.text('annonce')
        self.assertRegex(told, r'^Ligne \d+, colonne \d+, .*\. (Le joueur n°\d a la main\.)?')
        read_round_end(self, pages, lambda page: keys(page, Keys.ENTER))

        # « Quitter » from the keyboard: back from the board to the buttons, Non by default.
        first.wait('the focus back on the board', lambda: first.focused_cell() >= 0)
        ActionChains(first.driver).key_down(Keys.SHIFT).send_keys(Keys.TAB).key_up(Keys.SHIFT).perform()
        self.assertEqual(first.js('return document.activeElement.id'), 'Command1')
        keys(first, Keys.ENTER)
        first.wait('the question', lambda: first.box() and first.box()[0] == 'Quitter ?')
        self.assertEqual(first.js('return document.activeElement.textContent'), 'Non')
        keys(first, Keys.ENTER)
        first.wait('the question declined', lambda: first.box() is None)
        self.assertEqual(first.js('return document.activeElement.id'), 'Command1')

        # « A propos »: the information window, closed by Escape, the focus given back.
        ActionChains(first.driver).key_down(Keys.SHIFT).send_keys(Keys.TAB).key_up(Keys.SHIFT).perform()
        keys(first, Keys.ENTER)
        about = first.js('''const d = document.getElementById("apropos");
            return [d.open, document.getElementById("apropos-titre").textContent,
                    document.getElementById("apropos-version").textContent,
                    document.activeElement.id]''')
        self.assertEqual(about, [True, 'À propos du démineur', 'Version 1.0 RC 1', 'apropos-ok'])
        keys(first, Keys.ESCAPE)
        first.wait('the information window closed',
                   lambda: not first.js('return document.getElementById("apropos").open'))
        self.assertEqual(first.js('return document.activeElement.id'), 'Command2')

    def play_round_first_covered(self, pages, move):
        # The keyboard always plays the first covered cell; the check is the same.
        order = list(range(225))
        moves = 0
        while not round_box(pages):
            page = pages[turn_of(pages[1])]
            board = page.board()
            index = next(i for i in order if board[i] == 'couverte')
            move(page, index)
            moves += 1
            page.wait(f'keyboard move {moves} shown alike', lambda: round_box(pages) or (
                pages[1].board()[index] != 'couverte' and pages[1].board() == pages[2].board()
                and pages[1].text('lblMain') == pages[2].text('lblMain')))
            self.assertLess(moves, 226)
        self.assertEqual(pages[1].board(), pages[2].board())

    def test_accessibility_audit(self):
        if not AXE:
            self.skipTest('axe-core was not installed (npm)')
        with open(os.path.join(AXE, 'node_modules', 'axe-core', 'axe.min.js'), encoding='utf-8') as f:
            axe = f.read()
        home = Page()
        self.keep(home)
        home.open(self.server.url)
        home.wait('the start page', lambda: home.state() == 'accueil')
        self.assertEqual(self.audit(home, axe), [])
        first, second, _ = open_pair(self.server)
        self.keep(first, second)
        self.assertEqual(self.audit(first, axe), [], 'with the count box open')
        first.type_count('30')
        second.wait('the round set up', lambda: second.text('etat') == '30 bombes restantes')
        second.press(second.cell(112)) if turn_of(second) == 2 else first.press(first.cell(112))
        second.wait('a move', lambda: second.board()[112] != 'couverte' or second.box())
        for page in (first, second):
            self.assertEqual(self.audit(page, axe), [])

    def audit(self, page, axe):
        """The serious and critical violations axe-core finds, as (rule, element) pairs."""
        result = page.driver.execute_async_script(axe + """
            const done = arguments[arguments.length - 1];
            axe.run(document).then(r => done(JSON.stringify(r.violations)),
                                   e => done(JSON.stringify([{id: 'axe failed: ' + e}])));""")
        found = []
        for violation in json.loads(result):
            if violation.get('impact') in ('serious', 'critical') or 'nodes' not in violation:
                for node in violation.get('nodes', [{'target': ['?']}]):
                    found.append((violation['id'], node['target']))
        return found


if __name__ == '__main__':
    missing = pagedriver.missing_tools()
    if missing:
        print(f'skipped: {missing}')
        sys.exit(77)
    SERVER = sys.argv[1]
    AXE = sys.argv[2] if len(sys.argv) > 2 and os.path.isdir(sys.argv[2]) else None
    unittest.main(argv=[sys.argv[0]], verbosity=2)
