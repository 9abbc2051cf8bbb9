# SPDX-License-Identifier: GPL-3.0-or-later
"""The page as a player meets it, for the browser tests: a duel server started on loopback,
headless Chromium windows driven by Selenium, and the page read the way a person reads it
(the cells' names, the captions, the open box)."""
import os
import re
import shutil
import subprocess
import time

from selenium import webdriver
from selenium.webdriver.chrome.options import Options
from selenium.webdriver.chrome.service import Service
from selenium.webdriver.common.actions import interaction
from selenium.webdriver.common.actions.action_builder import ActionBuilder
from selenium.webdriver.common.actions.pointer_input import PointerInput
from selenium.webdriver.common.by import By

CHROMIUM = '/usr/bin/chromium'
CHROMEDRIVER = '/usr/bin/chromedriver'

# The box that ends a round, then the round's verdicts.
ROUND_OVER = 'On pose la souris'
ROUND_TITLES = {'Les doigts dans le nez ^^', 'Poil au pied ^^', 'Vous êtes nul !!!'}


def missing_tools():
    """What the browser tests lack on this machine, or None."""
    for path in (CHROMIUM, CHROMEDRIVER):
        if not os.access(path, os.X_OK):
            return f'{path} is not installed'
    return None


class Server:
    """volcanelle-server on 127.0.0.1, on a port the system chose."""

    def __init__(self, program, options=()):
        self.process = subprocess.Popen([program, '--listen', '127.0.0.1', '--port', '0',
                                         *options],
                                        stderr=subprocess.PIPE, text=True)
        line = self.process.stderr.readline()
        found = re.search(r'port (\d+)', line)
        if not found:
            self.stop()
            raise RuntimeError(f'the server did not say its port: {line!r}')
        self.port = int(found.group(1))
        self.url = f'http://127.0.0.1:{self.port}/'

    def stop(self):
        if self.process.poll() is None:
            self.process.terminate()
            try:
                self.process.wait(10)
            except subprocess.TimeoutExpired:
                self.process.kill()
                self.process.wait()
        self.process.stderr.close()


class Page:
    """One browser window on the page."""

    def __init__(self, width=1024, height=768, phone=False):
        options = Options()
        options.binary_location = CHROMIUM
        for argument in ('--headless=new', '--no-sandbox', '--disable-gpu',
                         '--disable-dev-shm-usage', '--no-first-run',
                         f'--window-size={width},{height}'):
            options.add_argument(argument)
        if phone:
            options.add_experimental_option('mobileEmulation', {'deviceMetrics': {
                'width': width, 'height': height, 'pixelRatio': 2, 'touch': True}})
        options.set_capability('goog:loggingPrefs', {'browser': 'ALL'})
        self.driver = webdriver.Chrome(service=Service(CHROMEDRIVER), options=options)
        self.phone = phone

    def quit(self):
        self.driver.quit()

    def js(self, script, *args):
        return self.driver.execute_script(script, *args)

    def open(self, url):
        self.driver.get(url)

    def state(self):
        return self.js('return document.body.dataset.etat || ""')

    def wait(self, what, condition, seconds=10):
        deadline = time.monotonic() + seconds
        while time.monotonic() < deadline:
            value = condition()
            if value:
                return value
            time.sleep(0.02)
        raise AssertionError(f'{what}: not within {seconds} s')

    def board(self):
        """Each cell's name, as assistive technology reads it."""
        return self.js('return Array.from(document.querySelectorAll("#plateau button.case"),'
                       ' b => b.getAttribute("aria-label"))')

    def text(self, element_id):
        return self.js('return document.getElementById(arguments[0]).textContent', element_id)

    def box(self):
        """The open box as (title, text, button labels), or None."""
        return self.js("""
            const box = document.getElementById('boite');
            if (!box.open) return null;
            return [document.getElementById('boite-titre').textContent,
                    document.getElementById('boite-texte').textContent,
                    Array.from(box.querySelectorAll('.boutons button'), b => b.textContent)];""")

    def press_box(self, label):
        buttons = self.driver.find_elements(By.CSS_SELECTOR, '#boite .boutons button')
        for button in buttons:
            if button.text == label:
                self.press(button)
                return
        raise AssertionError(f'no button {label!r} in the box')

    def press(self, element):
        """A click, or a tap with a finger on a phone."""
        if not self.phone:
            element.click()
            return
        finger = PointerInput(interaction.POINTER_TOUCH, 'finger')
        actions = ActionBuilder(self.driver, mouse=finger)
        actions.pointer_action.move_to(element).pointer_down().pause(0.05).pointer_up()
        actions.perform()

    def cell(self, index):
        return self.driver.find_elements(By.CSS_SELECTOR, '#plateau button.case')[index]

    def type_count(self, count):
        field = self.driver.find_element(By.ID, 'boite-saisie')
        field.send_keys(count)
        self.press_box('OK')

    def focused_cell(self):
        return self.js('const e = document.activeElement;'
                       ' return e && e.classList.contains("case") ? Number(e.dataset.index) : -1')

    def console_errors(self):
        return [entry['message'] for entry in self.driver.get_log('browser')
                if entry['level'] == 'SEVERE']


def open_pair(server, second=None):
    """A room created on a first page and joined by its link on `second` (a new desktop page
    if none): both pages, the opener asked the mine count."""
    first = Page()
    first.open(server.url)
    first.wait('the start page', lambda: first.state() == 'accueil')
    first.press(first.driver.find_element(By.ID, 'creer'))
    first.wait('the room', lambda: first.state() == 'salle')
    link = first.driver.find_element(By.ID, 'lien').get_attribute('value')
    second = second or Page()
    second.open(link)
    second.wait('the room joined', lambda: second.state() == 'salle')
    first.wait('the count asked', lambda: first.box() and first.box()[0] == 'Saisie')
    return first, second, link


