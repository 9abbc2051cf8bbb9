#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""How fast a room's link opens and how much it costs: a duel server on 127.0.0.1, a page that
creates rooms, and for each room a headless Chromium that opens the link with nothing cached;
the time from the link's navigation to the page ready to play (its room entered, the board
shown) and the bytes it transferred. Prints the median of the runs, then the size of every
file the page can ask for.
    measure_page.py build/bin/volcanelle-server [RUNS] [--open]
By default each link gets a browser of its own, started for it (its start not counted, but
its first page's process is). With --open, one browser already running opens every link, as
a friend's browser does, its cache emptied and turned off before each."""
import statistics
import sys
import urllib.request

from selenium.webdriver.common.by import By

from pagedriver import Page, Server

FILES = ['/', '/app.js', '/board.js', '/dialogs.js', '/link.js', '/roomcode.js', '/texts.js',
         '/wire.js', '/screen.js', '/home.js', '/page.css', '/icon.png'] + [f'/pictures/{n}.jpg' for n in range(1, 11)]


def file_bytes(server):
    """Every file the page can ask for, bodies and answer heads, as served."""
    total = 0
    for path in FILES:
        with urllib.request.urlopen(server.url.rstrip('/') + path) as answer:
            body = answer.read()
            head = sum(len(k) + len(v) + 4 for k, v in answer.getheaders()) + 19
            total += len(body) + head
    return total


def main():
    arguments = [a for a in sys.argv[1:] if a != '--open']
    program = arguments[0]
    runs = int(arguments[1]) if len(arguments) > 1 else 10
    already_open = '--open' in sys.argv
    server = Server(program, ['--rooms-per-minute', '1000'])
    opener = Page()
    times, transferred = [], []
    browser = Page() if already_open else None
    try:
        whole = file_bytes(server)
        for _ in range(runs):
            opener.open(server.url)
            opener.wait('the start', lambda: opener.state() == 'accueil')
            opener.driver.find_element(By.ID, 'creer').click()
            opener.wait('the room', lambda: opener.state() == 'salle')
            link = opener.driver.find_element(By.ID, 'lien').get_attribute('value')
            joiner = browser or Page()
            try:
                if browser:
                    joiner.open('about:blank')
                    joiner.driver.execute_cdp_cmd('Network.setCacheDisabled', {'cacheDisabled': True})
                    joiner.driver.execute_cdp_cmd('Network.clearBrowserCache', {})
                joiner.open(link)
                joiner.wait('ready', lambda: joiner.state() == 'salle')
                times.append(joiner.js(
                    'return performance.getEntriesByName("volcanelle-salle")[0].startTime'))
                transferred.append(joiner.js("""
                    return performance.getEntriesByType('navigation')
                        .concat(performance.getEntriesByType('resource'))
                        .reduce((sum, e) => sum + e.transferSize, 0)"""))
            finally:
                if not browser:
                    joiner.quit()
    finally:
        if browser:
            browser.quit()
        opener.quit()
        server.stop()
    print(f'runs {runs} browser {"open" if already_open else "new"} ready_ms_median {statistics.median(times):.1f} '
          f'ready_ms_min {min(times):.1f} ready_ms_max {max(times):.1f} '
          f'bytes_transferred_median {int(statistics.median(transferred))} '
          f'all_files_bytes {whole}')


if __name__ == '__main__':
    main()
