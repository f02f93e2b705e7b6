#!/usr/bin/python3
"""The live page of `vexa-host ui` in a real headless Chromium.

A user's whole way through the page: a simulated device on 127.A.B.C:5963,
the host started with an empty settings document, the device added and
addressed in the settings window, its channels chosen and renamed in the
setup window, an acquisition watched live and its recording downloaded and
compared with the waveform the simulator sends.

    live_page_test.py --bin BUILD/bin --out FOLDER

A failing step saves a screenshot in FOLDER; a passing run leaves
live-page.png there, the page during an acquisition. Exits 77 (skipped)
when Chromium, its driver or Selenium is missing.
"""

import argparse
import contextlib
import csv
import math
import os
import queue
import random
import re
import shutil
import signal
import statistics
import subprocess
import sys
import tempfile
import threading
import time
import unittest

SKIPPED = 77
CHROMEDRIVER = "/usr/bin/chromedriver"

try:
    from selenium import webdriver
    from selenium.common.exceptions import StaleElementReferenceException, TimeoutException
    from selenium.webdriver.chrome.service import Service
    from selenium.webdriver.common.by import By
    from selenium.webdriver.common.keys import Keys
    from selenium.webdriver.support.ui import WebDriverWait
except ImportError:
    webdriver = None

ARGS = None
WAIT_SECONDS = 20


def missing_browser():
    if webdriver is None:
        return "python3-selenium is not installed"
    if not (shutil.which("chromium") or os.path.exists("/usr/bin/chromium")):
        return "chromium is not installed"
    if not os.path.exists(CHROMEDRIVER):
        return "chromium-driver is not installed"
    return None


class Program:
    """One of our programs, its first line read, its output kept."""

    def __init__(self, arguments, first_line):
        self.process = subprocess.Popen(arguments, stdout=subprocess.PIPE, stderr=subprocess.PIPE, text=True)
        self.lines = queue.Queue()
        self.errors = []
        self.pumps = [threading.Thread(target=self._pump, args=(self.process.stdout, self.lines.put), daemon=True),
                      threading.Thread(target=self._pump, args=(self.process.stderr, self.errors.append), daemon=True)]
        for pump in self.pumps:
            pump.start()
        try:
            line = self.lines.get(timeout=WAIT_SECONDS)
        except queue.Empty:
            self.stop()
            raise AssertionError(f"{arguments[0]} said nothing; stderr: {''.join(self.errors)}")
        match = re.fullmatch(first_line, line.strip())
        if not match:
            self.stop()
            raise AssertionError(f"{arguments[0]} began with {line!r}, not {first_line}")
        self.match = match

    @staticmethod
    def _pump(stream, take):
        for line in stream:
            take(line)

    def stop(self):
        if self.process.poll() is None:
            self.process.send_signal(signal.SIGINT)
            try:
                self.process.wait(timeout=10)
            except subprocess.TimeoutExpired:
                self.process.kill()
                self.process.wait()
        for pump in self.pumps:
            pump.join(timeout=5)
        self.process.stdout.close()
        self.process.stderr.close()
        return self.process.returncode


def random_loopback():
    while True:
        address = f"127.{random.randint(0, 255)}.{random.randint(0, 255)}.{random.randint(1, 254)}"
        if address != "127.0.0.1":
            return address


class LivePage(unittest.TestCase):
    def setUp(self):
        self.out = os.path.abspath(ARGS.out)
        os.makedirs(self.out, exist_ok=True)
        for old in os.listdir(self.out):
            if old.startswith("failure-") and old.endswith(".png"):
                os.remove(os.path.join(self.out, old))
        self.scratch = tempfile.mkdtemp(prefix="vexa-live-page-")
        self.addCleanup(shutil.rmtree, self.scratch, True)
        self.downloads = os.path.join(self.scratch, "downloads")
        os.makedirs(self.downloads)

        self.address = random_loopback()
        self.device_name = "Live page test device"
        self.sim = Program([os.path.join(ARGS.bin, "vexa-sim"), "--address", self.address, "--port", "5963",
                            "--name", self.device_name], r"listening on (\S+):5963")
        self.addCleanup(self.sim.stop)

        settings = os.path.join(self.scratch, "settings.xml")
        with open(settings, "w") as file:
            file.write('<?xml version="1.0"?>\n<HostSettings/>\n')
        self.host = Program([os.path.join(ARGS.bin, "vexa-host"), "ui", "--port", "0", "--settings", settings,
                             "--log-dir", self.scratch], r"ui on (http://127\.0\.0\.1:\d+/)")
        self.addCleanup(self.stop_host)
        self.url = self.host.match.group(1)

        options = webdriver.ChromeOptions()
        for argument in ("--headless=new", "--no-sandbox", "--disable-dev-shm-usage", "--window-size=1400,1000"):
            options.add_argument(argument)
        self.browser = webdriver.Chrome(service=Service(CHROMEDRIVER), options=options)
        self.addCleanup(self.browser.quit)
        self.browser.execute_cdp_cmd("Browser.setDownloadBehavior",
                                     {"behavior": "allow", "downloadPath": self.downloads})

    def stop_host(self):
        status = self.host.stop()
        self.assertEqual(status, 0, "vexa-host ui ends cleanly when interrupted; stderr: " + "".join(self.host.errors))

    # -- what the test does and sees, by the page's own elements

    @contextlib.contextmanager
    def step(self, name):
        try:
            yield
        except BaseException:
            path = os.path.join(self.out, f"failure-{name}.png")
            self.browser.save_screenshot(path)
            print(f"step '{name}' failed; screenshot: {path}\nhost stderr:\n{''.join(self.host.errors)}",
                  file=sys.stderr)
            raise

    def until(self, condition, what):
        try:
            # The page redraws in place ten times a second: an element read
            # halfway through may be gone, and the next poll reads again.
            return WebDriverWait(self.browser, WAIT_SECONDS, poll_frequency=0.05,
                                 ignored_exceptions=(StaleElementReferenceException,)).until(lambda _: condition(), what)
        except TimeoutException:
            raise AssertionError(f"waited {WAIT_SECONDS} s for {what}") from None

    def css(self, selector):
        return self.browser.find_element(By.CSS_SELECTOR, selector)

    def texts(self, selector):
        return [node.text for node in self.browser.find_elements(By.CSS_SELECTOR, selector)]

    def settled(self):
        """The host acknowledged every action the page sent."""
        self.until(lambda: not self.css("#waiting").is_displayed(), "the host to acknowledge the action")

    def act(self, selector):
        self.until(lambda: self.css(selector).is_enabled(), f"{selector} to be enabled")
        self.css(selector).click()
        self.settled()

    def cell(self, grid, row, column, part=""):
        return f'#window [data-name="{grid}"][data-row="{row}"][data-column="{column}"]{part}'

    def row_texts(self, grid, row):
        """What a grid row shows: texts, and the values of its inputs."""
        cells = self.browser.find_elements(By.CSS_SELECTOR, f'#window table[data-name="{grid}"] tr[data-row="{row}"] td')
        shown = []
        for cell in cells:
            inputs = cell.find_elements(By.CSS_SELECTOR, "input.cell-edit")
            shown.append(inputs[0].get_attribute("value") if inputs else cell.text.strip())
        return shown

    def edit(self, grid, row, column, text):
        field = self.css(self.cell(grid, row, column, ".cell-edit"))
        field.click()
        field.send_keys(Keys.CONTROL, "a")
        field.send_keys(text, Keys.ENTER)
        self.settled()

    def notices(self):
        return self.texts("#notices .notice")

    # -- the scenario

    def test_a_user_adds_a_device_chooses_channels_and_records(self):
        self.browser.get(self.url)
        with self.step("open"):
            self.until(lambda: self.css("#run-state").text == "idle", "the host's first state")
            self.assertIn("active", self.css("#tab-settings").get_attribute("class"))

        with self.step("add-device"):
            self.act('#window button[data-name="addDeviceButton"]')
            self.until(lambda: self.row_texts("deviceNVDrawGrid", 1)[:4] ==
                       ["127.0.0.1", "5963", "Unknown Vexa device", "Connect"], "the new device's row")

        with self.step("address-device"):
            # Each edit connects the device; only the last reaches the simulator.
            self.edit("deviceNVDrawGrid", 1, 1, "5964")
            self.edit("deviceNVDrawGrid", 1, 0, self.address)
            self.edit("deviceNVDrawGrid", 1, 1, "5963")
            self.until(lambda: self.row_texts("deviceNVDrawGrid", 1) ==
                       [self.address, "5963", self.device_name, "Disconnect"], "the connected device's row")

        with self.step("setup-window"):
            self.act("#tab-setup")
            self.until(lambda: self.texts("#window .kite-tabs .tab-strip button") == [self.device_name],
                       "the device's tab")
            self.until(lambda: self.css('#window [data-name="deviceConnectedLabel"]').text == "Connected",
                       "the device's status")
            self.assertEqual(self.css('#window [data-name="deviceAddress"]').text, f"{self.address}:5963")
            self.until(lambda: len(self.browser.find_elements(By.CSS_SELECTOR, "#window table tbody tr")) == 3,
                       "the device's three channels")

        with self.step("unuse-channel"):
            self.act(self.cell("channelGrid", 3, 1))
            self.until(lambda: self.row_texts("channelGrid", 3)[1] == "Unused", "the unchecked channel to read Unused")
            self.until(lambda: "Temperature" not in self.css("#legend").text, "the unused channel to leave the plot")

        with self.step("rename-channel"):
            self.edit("channelGrid", 1, 6, "Front speed")
            self.until(lambda: "Front speed" in self.texts("#legend li")[0], "the new name in the plot's legend")

        with self.step("colour-and-search"):
            # The native colour picker cannot be driven; its input can.
            self.browser.execute_script(
                "const box = document.querySelector(arguments[0]); box.value = '#8000ff';"
                "box.dispatchEvent(new Event('change', {bubbles: true}));", self.cell("channelGrid", 2, 3))
            self.settled()
            self.until(lambda: "rgb(128, 0, 255)" in self.css("#legend li:nth-child(2) .swatch").get_attribute("style"),
                       "the picked colour in the plot's legend")
            search = self.css('#window input.kite-search')
            search.send_keys("torq")
            self.until(lambda: self.shown_rows() == ["2"], "the search to leave the Torque row")
            search.send_keys(Keys.CONTROL, "a", Keys.DELETE)
            self.until(lambda: self.shown_rows() == ["1", "2", "3"], "every row back")

        with self.step("preview"):
            self.act("#preview")
            self.until(lambda: self.css("#run-state").text == "preview", "the preview to start")
            self.until_moving()
            self.assertEqual(self.css("#recording-size").text, "empty", "a preview records nothing")

        with self.step("acquire"):
            self.act("#start")
            self.until(lambda: self.css("#run-state").text == "recording", "the acquisition to start")
            self.until_moving()
            self.until(lambda: self.recorded() >= 400, "some 2 s of samples")
            self.browser.save_screenshot(os.path.join(self.out, "live-page.png"))

        with self.step("stop"):
            self.act("#stop")
            self.until(lambda: self.css("#run-state").text == "idle", "the acquisition to stop")
            recorded = self.recorded()

        with self.step("download"):
            self.css("#download").click()
            path = self.until(self.downloaded, "the recording's download")
            self.check_recording(path, recorded)
            self.assertEqual(self.notices(), [], "nothing went wrong on the way")

    def until_moving(self):
        """The live value of the first channel and the plot move on."""
        first_value = self.until(lambda: self.value_of_row(1), "a live value")
        self.until(lambda: self.value_of_row(1) not in (None, first_value), "the live value to move")
        first_time = self.until(lambda: self.plot_time() is not None and self.plot_time(), "the plot's points")
        self.until(lambda: (self.plot_time() or 0) > first_time + 0.5, "the plot to move on")

    def shown_rows(self):
        return self.browser.execute_script(
            "return [...document.querySelectorAll('#window table[data-name=\"channelGrid\"] tbody tr')]"
            ".map(row => row.dataset.row);")

    def value_of_row(self, row):
        texts = self.row_texts("channelGrid", row)
        return texts[8] if len(texts) > 8 and texts[8] else None

    def plot_time(self):
        value = self.css("#plot").get_attribute("data-last-time")
        return float(value) if value else None

    def recorded(self):
        match = re.match(r"([\d,]+) samples", self.css("#recording-size").text)
        return int(match.group(1).replace(",", "")) if match else 0

    def downloaded(self):
        names = [n for n in os.listdir(self.downloads) if n.endswith(".csv")]
        return os.path.join(self.downloads, names[0]) if names else None

    def check_recording(self, path, recorded):
        with open(path, newline="") as file:
            rows = list(csv.reader(file))
        self.assertEqual(rows[0], ["channel", "time", "value"])
        self.assertEqual(len(rows) - 1, recorded, "the download holds what the page said was recorded")
        by_channel = {}
        for channel, t, value in rows[1:]:
            by_channel.setdefault(channel, []).append((float(t), float(value)))
        self.assertEqual(sorted(by_channel), ["Front speed", "Torque"],
                         "the used channels under their host names; the unused one records nothing")
        check_waveform(self, by_channel["Front speed"], by_channel["Torque"])


def check_waveform(test, first, second):
    """The simulator sends, for its channel k, 10k + (k+1) sin((k+1) phi)
    with a phase phi that moves on by the same step from record to record.
    The first two channels of one record therefore satisfy
    |v1 - 10| = 4 |v0| sqrt(1 - v0^2), and the phase read back from them
    must move by one constant step: a record lost, repeated, reordered or
    torn between channels breaks one or the other."""
    test.assertGreaterEqual(len(first), 100)
    test.assertEqual([t for t, _ in first], [t for t, _ in second], "both channels come from the same records")
    phases = []
    for (_, v0), (_, v1) in zip(first, second):
        test.assertAlmostEqual(abs(v1 - 10), 4 * abs(v0) * math.sqrt(max(0.0, 1 - v0 * v0)), delta=1e-4,
                               msg=f"the values {v0}, {v1} of one record")
        # The sign of the cosine is the sign of v1 - 10 over v0; it cannot
        # be read where either is near 0.
        known = 0.05 < abs(v0) < 0.995
        phases.append(math.atan2(v0, math.copysign(math.sqrt(1 - v0 * v0), (v1 - 10) * v0)) if known else None)
    steps = [(b - a) % (2 * math.pi) for a, b in zip(phases, phases[1:]) if a is not None and b is not None]
    test.assertGreater(len(steps), len(first) // 2)
    typical = statistics.median(steps)
    test.assertGreater(typical, 0.001)
    for k, s in enumerate(steps):
        test.assertAlmostEqual(s, typical, delta=2e-3, msg=f"phase step {k} of {len(steps)}")


def main():
    global ARGS
    parser = argparse.ArgumentParser()
    parser.add_argument("--bin", required=True, help="the folder of vexa-host and vexa-sim")
    parser.add_argument("--out", required=True, help="where screenshots go")
    ARGS, rest = parser.parse_known_args()
    why = missing_browser()
    if why:
        print(f"SKIPPED: {why}; ./vexa setup installs it")
        return SKIPPED
    result = unittest.main(argv=[sys.argv[0]] + rest, exit=False, verbosity=2).result
    return 0 if result.wasSuccessful() else 1


if __name__ == "__main__":
    sys.exit(main())
