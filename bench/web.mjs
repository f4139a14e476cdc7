// Figures for the game's web page, measured in headless Chromium on this
// machine, on a desktop's viewport and a phone's (touch, 390x844), each
// against what it is compared with in the same run:
//   - bytes sent to load the page, served with gzip, everything included;
//   - time from navigation to the first screen drawn, against a page that
//     loads xterm.js alone and writes the same screen (bench/web_baseline.js);
//   - keys per second the page sustains, keys sent as fast as possible;
//   - a seek in the replay of a 10,000-input game: the median of 20 seeks to
//     random points by the seek bar, and a step back from its last screen,
//     each from the change to the frame that shows the screen;
//   - uncaught errors and failed requests (there must be none).
// Usage: node bench/web.mjs [--loads N] [--json FILE]

import { execFileSync, spawnSync } from 'node:child_process';
import { readFile, rm, writeFile } from 'node:fs/promises';
import { tmpdir } from 'node:os';
import { join } from 'node:path';
import { fileURLToPath } from 'node:url';

import { launchChromium } from '../tests/web/support/browser.mjs';
import { serveFolder } from '../tests/web/support/static_server.mjs';
import { WebGame } from '../tests/web/support/web_game.mjs';
import { gameLink } from '../web/game_link.js';
import { journalInputs, journalUpTo } from '../web/journal_records.js';

const root = fileURLToPath(new URL('..', import.meta.url));
const args = process.argv.slice(2);
const option = (name, fallback) => (args.includes(name) ? args[args.indexOf(name) + 1] : fallback);
const loads = Number(option('--loads', 5));
const jsonFile = option('--json', null);

const median = (values) => [...values].sort((a, b) => a - b)[Math.floor(values.length / 2)];

// One cold load: bytes on the wire (headers included) and body bytes per
// file, and the time from navigation to the first frame that shows the
// play-mode menu.
async function load(context, url) {
  const page = await context.newPage();
  const cdp = await context.newCDPSession(page);
  await cdp.send('Network.enable');
  await cdp.send('Network.setCacheDisabled', { cacheDisabled: true });
  await cdp.send('Network.setBypassServiceWorker', { bypass: true }); // a first visit
  const files = new Map();
  const errors = [];
  cdp.on('Network.responseReceived', ({ requestId, response }) => files.set(requestId, { url: response.url, bytes: 0 }));
  cdp.on('Network.loadingFinished', ({ requestId, encodedDataLength }) => {
    if (files.has(requestId)) files.get(requestId).bytes = encodedDataLength;
  });
  page.on('pageerror', (error) => errors.push(error.message));
  page.on('response', (response) => response.ok() || errors.push(`${response.status()} ${response.url()}`));
  await page.goto(url);
  const firstScreen = await (
    await page.waitForFunction(
      () => {
        const rows = document.querySelectorAll('#terminal .xterm-rows > div');
        return rows.length > 9 && rows[9].textContent.startsWith('Pick a Play Mode:') ? performance.now() : 0;
      },
      null,
      { polling: 'raf', timeout: 30_000 },
    )
  ).jsonValue();
  await page.waitForTimeout(200); // late requests would still count
  await page.close();
  return { firstScreen, files: [...files.values()], errors };
}

// Keys sent as fast as the page takes them: a bad key at the home menu,
// answered with its echo and a Bad Input line, again and again. First all
// at once, pasted into the terminal; then one key event after another.
async function keysPerSecond(context, url, keys) {
  const game = await WebGame.open(context, `${url}?seed=7`);
  await game.step('0');
  const before = await game.waits();
  const start = performance.now();
  await game.page.evaluate((text) => {
    const clipboardData = new DataTransfer();
    clipboardData.setData('text/plain', text);
    const paste = new ClipboardEvent('paste', { clipboardData, bubbles: true, cancelable: true });
    document.querySelector('.xterm-helper-textarea').dispatchEvent(paste);
  }, 'x'.repeat(keys));
  await game.settle(before);
  const burst = keys / ((performance.now() - start) / 1000);

  // One key event at a time, each in a task of its own, so the game wakes
  // up for every key as it does for a player's.
  const typedBefore = await game.waits();
  const typedStart = performance.now();
  await game.page.evaluate(async (count) => {
    const textarea = document.querySelector('.xterm-helper-textarea');
    const channel = new MessageChannel();
    const nextTask = () => new Promise((resolve) => {
      channel.port1.onmessage = resolve;
      channel.port2.postMessage(null);
    });
    for (let i = 0; i < count; i += 1) {
      const clipboardData = new DataTransfer();
      clipboardData.setData('text/plain', 'x');
      textarea.dispatchEvent(new ClipboardEvent('paste', { clipboardData, bubbles: true, cancelable: true }));
      await nextTask();
    }
  }, keys);
  await game.settle(typedBefore);
  const oneByOne = keys / ((performance.now() - typedStart) / 1000);
  await game.page.close();
  return { burst, oneByOne, errors: game.errors };
}

const LongGame = 10_000;
const Seeks = 20;

// A journal of a 10,000-input game, as the terminal's benchmark makes one:
// the keys a scripted player chose (tender-bench-scripts), played by the
// terminal game, the journal cut after its 10,000th input.
async function longJournal() {
  const file = join(tmpdir(), `tender-bench-web-${process.pid}.journal`);
  for (let seed = 1; seed < 60; seed += 1) {
    const [game, pieces] = execFileSync(join(root, 'build/bench/bench/tender-bench-scripts'), ['1', String(LongGame + 200), String(seed)], { encoding: 'utf8' }).trim().split('\t');
    const keys = Buffer.concat(pieces.split(' ').map((piece) => Buffer.from(piece, 'hex')));
    spawnSync(join(root, 'build/bench/tender-gamble'), ['--seed', game, '--save', file], { input: keys, stdio: ['pipe', 'ignore', 'ignore'] });
    const bytes = new Uint8Array(await readFile(file));
    await rm(file, { force: true });
    if (journalInputs(bytes)?.count >= LongGame) return journalUpTo(bytes, LongGame);
  }
  throw new Error(`no scripted game reached ${LongGame} inputs`);
}

// Milliseconds from an action on the page (a seek bar's change, a click) to
// the frame that shows the replay waiting at its new screen.
function timeToScreen(page, act) {
  return page.evaluate((action) => new Promise((resolve) => {
    const main = document.getElementById('game');
    const before = Number(main.dataset.waits);
    const start = performance.now();
    const watch = new MutationObserver(() => {
      if (main.dataset.state !== 'waiting' || Number(main.dataset.waits) <= before) return;
      watch.disconnect();
      requestAnimationFrame(() => resolve(performance.now() - start));
    });
    watch.observe(main, { attributes: true });
    const seek = document.getElementById('seek');
    if (action === 'step back') {
      document.getElementById('step-back').click();
    } else {
      seek.value = String(action);
      seek.dispatchEvent(new Event('change'));
    }
  }), act);
}

// Seeks to random points of the long game's replay, then a step back from
// its last screen, on a page opened at the start of the game, paused.
async function seeks(context, url) {
  const journal = await longJournal();
  const game = await WebGame.open(context, await gameLink(url, journal, 0));
  const times = [];
  for (let k = 0; k < Seeks; k += 1) times.push(await timeToScreen(game.page, Math.floor(Math.random() * LongGame)));
  await game.after(() => game.page.keyboard.press('End'));
  const stepBack = await timeToScreen(game.page, 'step back');
  await game.page.close();
  return { seekMs: median(times), seekMaxMs: Math.max(...times), stepBackMs: stepBack, errors: game.errors };
}

// Loads of the game's page and of xterm.js alone, alternated so both see
// the same machine, in a browser with this viewport.
async function loadsOn(device, gameUrl, baselineUrl) {
  const browser = await launchChromium(device);
  try {
    const game = [];
    const baseline = [];
    await load(browser.context, gameUrl); // warm up the browser itself
    for (let i = 0; i < loads; i += 1) {
      game.push(await load(browser.context, gameUrl));
      baseline.push(await load(browser.context, baselineUrl));
    }
    const files = game[0].files.map(({ url, bytes }) => ({ file: new URL(url).pathname, bytes }));
    const gameMs = median(game.map((run) => run.firstScreen));
    const baselineMs = median(baseline.map((run) => run.firstScreen));
    return {
      bytesSentGzip: files.reduce((sum, { bytes }) => sum + bytes, 0),
      files,
      firstScreenMs: gameMs,
      baselineFirstScreenMs: baselineMs,
      firstScreenRatio: gameMs / baselineMs,
      errors: game.flatMap((run) => run.errors),
    };
  } finally {
    await browser.close();
  }
}

function report(name, figures) {
  console.log(`${name}:`);
  for (const { file, bytes } of figures.files) console.log(`  ${file.padEnd(24)} ${bytes} B`);
  const sent = figures.bytesSentGzip;
  console.log(`  bytes sent to load the page (gzip, headers included): ${sent} B (${(sent / 1024).toFixed(1)} KiB; target <= 160 KB)`);
  console.log(`  first screen: ${figures.firstScreenMs.toFixed(0)} ms; xterm.js alone: ${figures.baselineFirstScreenMs.toFixed(0)} ms; ratio ${figures.firstScreenRatio.toFixed(2)} (target <= 1.5; median of ${loads})`);
}

const Phone = { viewport: { width: 390, height: 844 }, isMobile: true, hasTouch: true, deviceScaleFactor: 3 };

const gamePage = await serveFolder(join(root, 'build/web'), '/', { compress: true });
const baselinePage = await serveFolder(join(root, 'build/bench-web/baseline'), '/', { compress: true });
try {
  const desktop = await loadsOn({}, `${gamePage.url}?seed=7`, baselinePage.url);
  const phone = await loadsOn(Phone, `${gamePage.url}?seed=7`, baselinePage.url);
  const browser = await launchChromium();
  const keys = await keysPerSecond(browser.context, gamePage.url, 5000);
  const seek = await seeks(browser.context, gamePage.url).finally(() => browser.close());
  const errors = [...desktop.errors, ...phone.errors, ...keys.errors, ...seek.errors];
  const figures = { desktop, phone, loads, keysPerSecondBurst: keys.burst, keysPerSecondOneByOne: keys.oneByOne, seek, errors };
  report('desktop', desktop);
  report('phone (390x844, touch)', phone);
  console.log(`keys per second: ${keys.burst.toFixed(0)} with 5000 keys pasted at once, ${keys.oneByOne.toFixed(0)} with 5000 keys sent one event at a time`);
  console.log(`seek in a ${LongGame}-input game: ${seek.seekMs.toFixed(0)} ms (median of ${Seeks} to random points, slowest ${seek.seekMaxMs.toFixed(0)} ms; target <= 150 ms); a step back from its last screen: ${seek.stepBackMs.toFixed(0)} ms`);
  console.log(`uncaught errors and failed requests: ${errors.length}`);
  if (jsonFile) await writeFile(jsonFile, JSON.stringify(figures, null, 2));
  process.exitCode = errors.length === 0 ? 0 : 1;
} finally {
  await gamePage.close();
  await baselinePage.close();
}
