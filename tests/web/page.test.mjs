// The game on its web page against the game in a terminal: the same seed
// and keys must show the same screens, and the page must carry the game's
// colours, its Bad Input answers and its ways out.

import assert from 'node:assert/strict';
import { join } from 'node:path';
import { after, before, test } from 'node:test';
import { fileURLToPath } from 'node:url';

import { freePlay, trophy } from './scripted_games.mjs';
import { launchChromium } from './support/browser.mjs';
import { serveFolder } from './support/static_server.mjs';
import { playInTerminal } from './support/terminal_game.mjs';
import { WebGame } from './support/web_game.mjs';

const root = fileURLToPath(new URL('../..', import.meta.url));
const pageFolder = process.env.TENDER_WEB_PAGE ?? join(root, 'build/web');
const recorder = process.env.TENDER_SCREENS_RECORDER ?? join(root, 'build/check/tests/e2e/tender_gamble_screens');

// ANSI colour numbers as the terminal's palette classes name them.
const Red = 1;
const Grey = 7;
const BrightRed = 9;
const BrightWhite = 15;

let server;
let browser;
let phone; // touch on, 390x844

before(async () => {
  // Not at the server's root: the page must find its files wherever it is.
  server = await serveFolder(pageFolder, '/games/tender-gamble/');
  browser = await launchChromium();
  phone = await launchChromium({ viewport: { width: 390, height: 844 }, isMobile: true, hasTouch: true, deviceScaleFactor: 3 });
});

after(async () => {
  await browser?.close();
  await phone?.close();
  await server?.close();
});

async function playBoth({ seed, steps }) {
  const terminal = playInTerminal(recorder, seed, steps);
  assert.equal(terminal.screens.length, steps.length + 1, 'the terminal game stopped early');
  const game = await WebGame.open(browser.context, `${server.url}?seed=${seed}`);
  assert.deepEqual(await game.screen(), terminal.screens[0], 'the first screen');
  for (const [index, bytes] of steps.entries()) {
    await game.step(bytes);
    assert.deepEqual(await game.screen(), terminal.screens[index + 1], `the screen after step ${index + 1}: ${JSON.stringify(bytes)}`);
  }
  return { game, terminal };
}

async function expectEnded(game) {
  assert.equal(await game.state(), 'ended');
  assert.equal(await game.page.evaluate(() => document.getElementById('game').dataset.exitStatus), '0');
  assert.match(await game.status(), /The game has ended/);
  assert.equal(await game.page.isVisible('#new-game'), true, 'no New game button');
}

test('FreePlay: a whole game shows the same screens as in the terminal', async () => {
  const { game, terminal } = await playBoth(freePlay);
  assert.equal(terminal.ending, 'exit 0');
  const end = (await game.screen()).join('\n');
  assert.match(end, /Congratulations! You attend the reunion and everyone is shocked!/);
  await expectEnded(game);
  assert.deepEqual(game.errors, []);
});

test('Trophy: name entry, stats and the failure ending as in the terminal; Enter starts a new game', async () => {
  const { game, terminal } = await playBoth(trophy);
  assert.equal(terminal.ending, 'exit 0');
  assert.match((await game.screen()).join('\n'), /Shame, shame!!! What a loser art thou\.\.\./);
  await expectEnded(game);

  // A screen reader last heard what the last key changed on the screen,
  // once it had settled, and nothing from the terminal's own live region,
  // which speaks every character as it comes.
  const [before, last] = terminal.screens.slice(-2);
  const heard = await game.page.evaluate(() => ({
    news: document.getElementById('screen-news').textContent,
    terminalLive: document.querySelector('#terminal [aria-live]:not([aria-live="off"])') !== null,
  }));
  assert.equal(heard.news, last.filter((row, index) => row !== before[index] && row.trim() !== '').join('\n'));
  assert.equal(heard.terminalLive, false);

  // The terminal is not left dead: Enter there starts the next game, from
  // the same seed since the address still asks for it.
  const waits = await game.waits();
  await game.press('\r');
  await game.settle(waits);
  assert.equal(await game.state(), 'waiting');
  assert.deepEqual(await game.screen(), terminal.screens[0]);
  assert.equal(await game.page.isVisible('#new-game'), false);
  assert.deepEqual(game.errors, []);
});

test('Colours, Bad Input, arrows and Escape after a bad key; a page that keeps to its own files', async () => {
  const game = await WebGame.open(browser.context, `${server.url}?seed=7`);
  const page = game.page;

  // The banner: bright red on red over its 23 columns, and only there.
  for (const row of [0, 4, 8]) {
    for (const column of [0, 11, 22]) assert.deepEqual(await game.colours(row, column), { foreground: BrightRed, background: Red });
    assert.notEqual((await game.colours(row, 23)).background, Red);
  }
  assert.equal((await game.colours(9, 0)).foreground, Grey);
  assert.equal((await game.colours(10, 8)).foreground, BrightWhite);

  // Read as text by a screen reader, and the keys go to the terminal.
  await page.waitForFunction(() => /Pick a Play Mode:/.test(document.querySelector('.xterm-accessibility-tree').textContent));
  assert.equal(await page.evaluate(() => document.activeElement.classList.contains('xterm-helper-textarea')), true);

  await game.step('0');
  const clock = (await game.screen())[0];
  assert.match(clock, /^Monday 8:10am \(Day 1\/\d+\)$/);
  assert.deepEqual(await game.colours(0, 0), { foreground: BrightRed, background: Red });
  assert.deepEqual(await game.colours(0, clock.length - 1), { foreground: BrightRed, background: Red });
  assert.notEqual((await game.colours(0, clock.length)).background, Red);

  // x is 120, 72 above '0'; Up is two codes, 224 and 72; neither is Escape.
  await game.step('x');
  await game.step('\x1b[A');
  const rows = await game.screen();
  const bad = rows.indexOf('x');
  assert.equal(rows[bad + 1], 'Bad Input (0-5):72');
  const arrow = rows.indexOf('Bad Input (0-5):176');
  assert.ok(arrow > bad + 1, rows.join('\n'));
  assert.ok(rows.indexOf('Bad Input (0-5):24') > arrow, rows.join('\n'));
  assert.equal(await game.state(), 'waiting');

  await game.step('\x1b');
  await expectEnded(game);

  // Scripts only from the page's own files, WebAssembly allowed.
  const policy = await page.getAttribute('meta[http-equiv="Content-Security-Policy"]', 'content');
  assert.match(policy, /script-src 'self' 'wasm-unsafe-eval'(;|$)/);
  assert.match(policy, /default-src 'none'/);
  assert.equal(await page.locator('script:not([src])').count(), 0);
  assert.deepEqual(game.errors, []);
});

test('An address seed that is no seed is said, and the time seeds the game', async () => {
  const game = await WebGame.open(browser.context, `${server.url}?seed=12x`);
  assert.match(await game.status(), /"12x" is not a seed/);
  assert.equal((await game.screen())[9], 'Pick a Play Mode:');
  assert.deepEqual(game.errors, []);
});

test('On a phone, portrait or landscape, the whole terminal is on the screen and nothing scrolls sideways', async () => {
  const game = await WebGame.open(phone.context, `${server.url}?seed=1`);
  for (const [width, height] of [[390, 844], [320, 568], [844, 390]]) {
    await game.page.setViewportSize({ width, height });
    // The page's width, and the terminal's rows and its box on the screen.
    const [pageWidth, rows, box] = await game.page.evaluate(() => new Promise((resolve) => requestAnimationFrame(() => {
      const { left, right, top, bottom } = document.querySelector('#terminal .xterm-screen').getBoundingClientRect();
      resolve([document.documentElement.scrollWidth, document.querySelectorAll('#terminal .xterm-rows > div').length, { left, right, top, bottom }]);
    })));
    const where = `${width}x${height}: the page ${pageWidth} px wide, the terminal at ${JSON.stringify(box)}`;
    assert.ok(pageWidth <= width && rows === 25, where);
    assert.ok(box.left >= 0 && box.right <= width && box.top >= 0 && box.bottom <= height, where);
  }
  assert.match((await game.screen()).join('\n'), /0 - FreePlay Mode/);
  assert.deepEqual(game.errors, []);
});

test('Sideways on a phone the keypad stands beside the whole terminal; Share leaves the keys with the game; a replay says at once that it has ended, with nothing left of the game before it', async () => {
  const steps = freePlay.steps.slice(0, 2);
  const terminal = playInTerminal(recorder, freePlay.seed, steps);
  const game = await WebGame.open(phone.context, `${server.url}?seed=${freePlay.seed}`);
  const page = game.page;
  await page.setViewportSize({ width: 844, height: 390 });
  const [screen, keys] = await page.evaluate(() => new Promise((resolve) => requestAnimationFrame(() => {
    const box = (element) => element.getBoundingClientRect().toJSON();
    resolve([box(document.querySelector('#terminal .xterm-screen')), [...document.querySelectorAll('#keypad button')].map(box)]);
  })));
  assert.ok(screen.left >= 0 && screen.top >= 0 && screen.bottom <= 390, JSON.stringify(screen));
  for (const key of keys) {
    const where = `a key at ${JSON.stringify(key)}, the terminal at ${JSON.stringify(screen)}`;
    assert.ok(key.left >= screen.right && key.right <= 844 && key.top >= 0 && key.bottom <= 390, where);
    assert.ok(key.width >= 44 && key.height >= 44, where);
  }

  // Share shows the link, and the next key still goes to the game.
  await game.step(steps[0]);
  await page.tap('#share');
  await page.waitForSelector('#share-link', { state: 'visible' });
  await game.step(steps[1]);
  assert.deepEqual(await game.screen(), terminal.screens[2], 'the key after Share');

  // Its journal opened: the link is gone, and the replay stops on the last
  // screen saying that it has ended, with no key pressed.
  const { name, bytes } = await game.download();
  await game.replay({ name, mimeType: 'application/octet-stream', buffer: bytes });
  assert.equal(await page.isVisible('#share-link'), false, "the game before's link");
  assert.deepEqual(await game.screen(), terminal.screens[2]);
  assert.match(await game.status(), /^The replay has ended/);

  // Its link opened: Play on from here is there at once.
  await page.tap('#share');
  await page.waitForSelector('#share-link', { state: 'visible' });
  const linked = await WebGame.open(phone.context, await page.inputValue('#share-link'));
  assert.deepEqual(await linked.screen(), terminal.screens[2]);
  assert.match(await linked.status(), /^The replay has ended/);
  assert.equal(await linked.page.isVisible('#play-on'), true);
  for (const control of ['#step-back', '#seek', '#step-forward']) {
    assert.ok((await linked.page.locator(control).boundingBox()).height >= 44, `${control}: too small for a thumb`);
  }
  assert.deepEqual([...game.errors, ...linked.errors], []);
});

test('Ctrl+C with text selected copies it and the game goes on; with nothing selected it ends the game', async () => {
  const game = await WebGame.open(browser.context, `${server.url}?seed=1`);
  const page = game.page;
  const screen = await page.locator('#terminal .xterm-screen').boundingBox();
  await page.mouse.move(screen.x + 4, screen.y + 4);
  await page.mouse.down();
  await page.mouse.move(screen.x + screen.width / 4, screen.y + 4, { steps: 4 });
  await page.mouse.up();
  await page.keyboard.press('Control+C');
  await game.step('0');
  assert.match((await game.screen()).join('\n'), /What would you like to do\?/);

  await page.mouse.click(screen.x + screen.width / 2, screen.y + screen.height - 4);
  await page.keyboard.press('Control+C');
  await game.settle(await game.waits());
  assert.equal(await game.state(), 'ended');
  assert.equal(await page.evaluate(() => document.getElementById('game').dataset.exitStatus), '130');
  assert.deepEqual(game.errors, []);
});

test('On a touch screen the keypad, a tapped menu line and a phone keyboard in the name field play as keys do', async () => {
  const free = playInTerminal(recorder, freePlay.seed, freePlay.steps.slice(0, 4)); // out to the first stranger
  let game = await WebGame.open(phone.context, `${server.url}?seed=${freePlay.seed}`);
  const keypad = (key) => game.after(() => game.page.tap(`#keypad button[data-key="${key}"]`));
  for (const button of await game.page.locator('#keypad button').all()) {
    const box = await button.boundingBox();
    assert.ok(box.width >= 44 && box.height >= 44, `a key of ${box.width}x${box.height} px`);
  }
  await keypad('0');
  // "2 - Go Looking..." on the home menu, tapped where it stands.
  const line = (await game.screen()).findIndex((row) => /^\s*2 - Go Looking/.test(row));
  const row = await game.page.locator('#terminal .xterm-rows > div').nth(line).boundingBox();
  await game.after(() => game.page.touchscreen.tap(row.x + row.width / 4, row.y + row.height / 2));
  assert.deepEqual(await game.screen(), free.screens[2], 'after tapping the menu line');
  await keypad('4');
  await keypad('1');
  assert.deepEqual(await game.screen(), free.screens[4], 'at the first meeting');
  assert.deepEqual(game.errors, []);

  // Trophy: the name typed as a phone keyboard types, inserting text with
  // no key press of its own, into the field that comes up for it.
  const steps = trophy.steps.slice(0, 6);
  const named = playInTerminal(recorder, trophy.seed, steps);
  game = await WebGame.open(phone.context, `${server.url}?seed=${trophy.seed}`);
  for (const key of steps.slice(0, 3)) await keypad(key);
  assert.equal(await game.page.evaluate(() => document.activeElement.id), 'line-field', 'no field for the name');
  await game.after(async () => {
    await game.page.keyboard.insertText('Jacx');
    await game.page.keyboard.press('Backspace');
    await game.page.keyboard.insertText('k Smi');
  });
  assert.deepEqual(await game.screen(), named.screens[4], 'the name being typed');
  await game.after(async () => {
    await game.page.keyboard.insertText('th');
    await game.page.keyboard.press('Enter');
  });
  assert.deepEqual(await game.screen(), named.screens[5], 'the name entered');
  assert.equal(await game.page.isVisible('#line-field'), false);
  // Inserted text reaches the game from the terminal itself too.
  await game.page.focus('#terminal .xterm-helper-textarea');
  await game.after(() => game.page.keyboard.insertText(steps[5]));
  assert.deepEqual(await game.screen(), named.screens[6], 'a key inserted into the terminal');
  assert.deepEqual(game.errors, []);
});

// Without its service worker the page would not load at all: a time limit.
test('After the first visit the page plays with no network, and the unfinished game goes on', { timeout: 90_000 }, async () => {
  const ownServer = await serveFolder(pageFolder, '/offline/');
  try {
    const first = await WebGame.open(phone.context, ownServer.url);
    await first.page.evaluate(() => navigator.serviceWorker.ready);
    await first.step('0');
    const left = await first.screen();
    await first.page.close();
    await ownServer.close();

    const again = await WebGame.open(phone.context, ownServer.url);
    assert.equal(await again.state(), 'choosing');
    await again.after(() => again.page.click('#continue'));
    assert.deepEqual(await again.screen(), left);
    assert.deepEqual([...first.errors, ...again.errors], []);
  } finally {
    await ownServer.close();
  }
});
