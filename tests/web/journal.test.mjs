// The page keeps every game's journal in the browser's storage: a reload
// goes on with the game on the screen it showed, the journal downloads as
// the terminal game's own file format, and a journal the terminal game
// recorded replays on the page. Each test serves the page from an origin
// of its own, so that each starts with empty storage.

import assert from 'node:assert/strict';
import { spawnSync } from 'node:child_process';
import { mkdtemp, readFile, rm, writeFile } from 'node:fs/promises';
import { tmpdir } from 'node:os';
import { join } from 'node:path';
import { after, before, test } from 'node:test';
import { fileURLToPath } from 'node:url';

import { gameLink } from '../../web/game_link.js';
import { freePlay, trophy } from './scripted_games.mjs';
import { launchChromium } from './support/browser.mjs';
import { serveFolder } from './support/static_server.mjs';
import { playInTerminal } from './support/terminal_game.mjs';
import { WebGame } from './support/web_game.mjs';

const root = fileURLToPath(new URL('../..', import.meta.url));
const pageFolder = process.env.TENDER_WEB_PAGE ?? join(root, 'build/web');
const recorder = process.env.TENDER_SCREENS_RECORDER ?? join(root, 'build/check/tests/e2e/tender_gamble_screens');
const binary = process.env.TENDER_BINARY ?? join(root, 'build/check/tender-gamble');

let browser;
let folder;
const servers = [];

before(async () => {
  browser = await launchChromium();
  folder = await mkdtemp(join(tmpdir(), 'tender-journals-'));
});

after(async () => {
  await browser?.close();
  for (const server of servers) await server.close();
  await rm(folder, { recursive: true, force: true });
});

async function freshOrigin() {
  const server = await serveFolder(pageFolder, '/tender/');
  servers.push(server);
  return server.url;
}

async function playSteps(game, terminal, steps, first) {
  for (const [index, bytes] of steps.entries()) {
    await game.step(bytes);
    assert.deepEqual(await game.screen(), terminal.screens[first + index + 1], `the screen after step ${first + index + 1}`);
  }
}

test('A reload in mid-game offers Continue, which shows the same screen and plays on as in the terminal', async () => {
  const terminal = playInTerminal(recorder, trophy.seed, trophy.steps);
  const url = await freshOrigin();
  const game = await WebGame.open(browser.context, `${url}?seed=${trophy.seed}`);
  const cut = 8; // the name typed, at the stats
  await playSteps(game, terminal, trophy.steps.slice(0, cut), 0);

  await game.reload();
  assert.equal(await game.state(), 'choosing');
  assert.match(await game.status(), /unfinished game, in the opening, last played /);
  assert.equal(await game.page.evaluate(() => document.activeElement.id), 'continue');
  await game.step('\r');
  assert.deepEqual(await game.screen(), terminal.screens[cut], 'the screen on going on');
  await playSteps(game, terminal, trophy.steps.slice(cut), cut);
  assert.equal(await game.state(), 'ended');
  assert.equal(await game.page.isVisible('#continue'), false, 'a finished game offered to go on with');

  // Nothing left unfinished: a reload starts a game at once.
  await game.reload();
  assert.equal(await game.state(), 'waiting');
  assert.deepEqual(await game.screen(), terminal.screens[0]);
  assert.deepEqual(game.errors, []);
});

test('A game left with Escape goes on from the key before; its journal downloads as stored and continues in the terminal', async () => {
  const url = await freshOrigin();
  const game = await WebGame.open(browser.context, `${url}?seed=${freePlay.seed}`);
  const cut = 20;
  for (const bytes of [...freePlay.steps.slice(0, cut), 'x']) await game.step(bytes);
  const beforeEscape = await game.screen();
  await game.step('\x1b');
  assert.equal(await game.state(), 'ended');

  // Tab leaves the terminal for the page's buttons, Continue first.
  await game.page.keyboard.press('Tab');
  assert.equal(await game.page.evaluate(() => document.activeElement.id), 'continue');
  await game.step('\r');
  assert.deepEqual(await game.screen(), beforeEscape);
  await game.step('\x7f'); // one more bad key, kept like any other

  const { name, bytes } = await game.download();
  assert.match(name, /^\d{4}-\d\d-\d\dT\d\d-\d\d-\d\dZ-seed-7\.journal$/);
  const stored = await game.page.evaluate(() => {
    const index = JSON.parse(localStorage.getItem('tender-gamble/journals'));
    let text = '';
    for (let n = 0; localStorage.getItem(`tender-gamble/journal/${index[0].id}/${n}`) !== null; n += 1) {
      text += localStorage.getItem(`tender-gamble/journal/${index[0].id}/${n}`);
    }
    return text;
  });
  assert.equal(bytes.toString('latin1'), stored);

  // The terminal game goes on with it where the page left it, and plays
  // the rest of the game as the page would have.
  const file = join(folder, name);
  await writeFile(file, bytes);
  const rest = freePlay.steps.slice(cut);
  const continued = playInTerminal(recorder, ['--continue', file], rest);
  const uninterrupted = playInTerminal(recorder, freePlay.seed, freePlay.steps);
  assert.deepEqual(continued.screens[0], await game.screen());
  assert.deepEqual(continued.screens.at(-1), uninterrupted.screens.at(-1));
  assert.equal(continued.ending, 'exit 0');
  assert.deepEqual(game.errors, []);
});

test('A journal the terminal game recorded replays on the page to the same screens; a file that is none is said to be so', async () => {
  const terminal = playInTerminal(recorder, freePlay.seed, freePlay.steps);
  const url = await freshOrigin();
  for (const cut of [9, 40, freePlay.steps.length]) {
    const file = join(folder, `cut-${cut}.journal`);
    // The first one played where the banner's border is ASCII.
    const recording = spawnSync(binary, ['--seed', String(freePlay.seed), '--save', file], {
      input: freePlay.steps.slice(0, cut).join(''),
      env: { ...process.env, LC_ALL: cut === 9 ? 'C' : 'C.UTF-8' },
    });
    assert.equal(recording.status, 0, recording.stderr.toString());
    const game = await WebGame.open(browser.context, `${url}?seed=1`);
    await game.replay(file);
    assert.deepEqual(await game.screen(), terminal.screens[cut], `the last screen of ${cut} keys`);
    // The replay ends on its last screen by itself, also after the game's ending.
    assert.match(await game.status(), /^The replay has ended/);
    // The game the page started before the replay is there to go on with.
    assert.equal(await game.page.isVisible('#continue'), true);
    assert.deepEqual(game.errors, []);
    await game.page.close();
  }

  const picture = join(folder, 'picture.journal');
  await writeFile(picture, 'GIF89a');
  const game = await WebGame.open(browser.context, `${url}?seed=1`);
  await game.replay(picture);
  assert.equal(await game.status(), 'picture.journal cannot be replayed: it is not a journal of this game.');
  assert.equal(await game.page.evaluate(() => document.getElementById('game').dataset.exitStatus), '1');
  assert.deepEqual(game.errors, []);
});

test('The page lists its kept games: Continue, Replay (its speed said), Download, Share and Forget', async () => {
  const url = await freshOrigin();
  const game = await WebGame.open(browser.context, `${url}?seed=${freePlay.seed}`);
  await game.page.waitForTimeout(1500); // a first screen the replay shows long enough to read its status
  await game.step('0'); // FreePlay, at the home menu on the first morning
  await game.reload();
  // The reload names the game as the list does.
  assert.match(await game.status(), /^You have an unfinished FreePlay game: .+, Day 1, Monday 8:10am, last played /);
  await game.after(() => game.page.click('#new-game'));
  await game.step('1'); // a Trophy game, at its opening
  const items = game.page.locator('#kept-games li');
  await game.page.waitForFunction(() => /being played here/.test(document.querySelector('#kept-games li')?.textContent));
  assert.equal(await items.count(), 2);
  const first = items.nth(1);
  const words = await first.locator('span').textContent();
  for (const expected of ['FreePlay', 'Monday 8:10am', 'unfinished']) assert.match(words, new RegExp(expected), words);
  assert.deepEqual(await first.locator('button').allTextContents(), ['Continue', 'Replay', 'Download', 'Share', 'Forget']);

  // The replay's speed is in the status line, and its pause; it ends by itself.
  await first.locator('button', { hasText: 'Replay' }).click();
  await game.page.waitForFunction(() => /^Replaying the game last played .*\(replay \d+\/1.*, speed 1\): Space pauses/.test(document.getElementById('status').textContent));
  await game.step(' ');
  assert.match(await game.status(), /^Replaying the game last played .*\(replay \d+\/1.*, paused, speed 1\): Space pauses/);
  await game.step(' ');
  assert.match(await game.status(), /^The replay has ended/);

  // Forget asks first; the one game left is listed no more.
  game.page.once('dialog', (dialog) => dialog.accept());
  await game.page.locator('#kept-games li').nth(1).locator('button', { hasText: 'Forget' }).click();
  await game.page.waitForFunction(() => document.getElementById('kept-games').hidden);
  assert.equal(await game.page.evaluate(() => JSON.parse(localStorage.getItem('tender-gamble/journals')).length), 1);
  assert.deepEqual(game.errors, []);
});

test('A game shared as a link: from the terminal it replays on the page and plays on; from the page it goes on in the terminal; a damaged link is refused by both', async () => {
  const url = await freshOrigin();
  const steps = freePlay.steps.slice(0, 10);
  const terminal = playInTerminal(recorder, freePlay.seed, steps);
  const file = join(folder, 'shared.journal');
  const state = await mkdtemp(join(tmpdir(), 'tender-state-'));
  const run = (args, input = '') => spawnSync(binary, args, { input, env: { ...process.env, XDG_STATE_HOME: state }, encoding: 'utf8' });
  assert.equal(run(['--seed', String(freePlay.seed), '--save', file], steps.slice(0, 9).join('')).status, 0);
  const shared = run(['--share', file, '--base', url]);
  assert.equal(shared.status, 0, shared.stderr);
  const link = shared.stdout.trim();
  assert.ok(link.startsWith(`${url}#game=`), link);

  // The page replays it to its last screen, and plays on from there.
  const game = await WebGame.open(browser.context, link);
  assert.deepEqual(await game.screen(), terminal.screens[9]);
  await game.after(() => game.page.click('#play-on'));
  assert.deepEqual(await game.screen(), terminal.screens[9], 'played on');
  await game.step(steps[9]);
  assert.deepEqual(await game.screen(), terminal.screens[10]);

  // Shared from the page, the game goes on in the terminal, kept there.
  await game.page.click('#share');
  const pageLink = await game.page.inputValue('#share-link');
  const continued = run(['--continue', pageLink], freePlay.steps.slice(10, 14).join(''));
  assert.equal(continued.status, 0, continued.stderr);
  assert.match(run(['--games']).stdout, /^\s*1 .*FreePlay/m);

  // Cut short: refused on the page, where nothing is kept, and in the terminal.
  const journals = () => game.page.evaluate(() => JSON.parse(localStorage.getItem('tender-gamble/journals')).length);
  const kept = await journals();
  const damaged = await WebGame.open(browser.context, pageLink.slice(0, -8));
  assert.match(await damaged.status(), /This link cannot be played: the link is damaged/);
  assert.equal(await journals(), kept);
  const refused = run(['--replay', pageLink.slice(0, -8)]);
  assert.equal(refused.status, 1);
  assert.match(refused.stderr, /damaged|cut short/);
  assert.deepEqual([...game.errors, ...damaged.errors], []);
  await rm(state, { recursive: true, force: true });
});

test('A link to a moment opens there, paused; seek, step back, share the moment and play on from it, each screen the terminal game\'s', async () => {
  const steps = freePlay.steps.slice(0, 30);
  const terminal = playInTerminal(recorder, freePlay.seed, steps);
  const file = join(folder, 'moment.journal');
  assert.equal(spawnSync(binary, ['--seed', String(freePlay.seed), '--save', file], { input: steps.join('') }).status, 0);
  const game = await WebGame.open(browser.context, await gameLink(await freshOrigin(), await readFile(file), 12));
  const shows = async (on, inputs) => {
    assert.deepEqual(await on.screen(), terminal.screens[inputs], `the screen after ${inputs} inputs`);
    assert.match(await on.status(), new RegExp(`\\(replay ${inputs}/30, Day .*, paused, speed 1\\)`));
  };
  await shows(game, 12);
  await game.after(() => game.page.$eval('#seek', (seek) => {
    seek.value = '25';
    seek.dispatchEvent(new Event('change'));
  }));
  await shows(game, 25);
  await game.after(() => game.page.click('#step-back'));
  await shows(game, 24);

  await game.page.click('#share-moment');
  await game.page.waitForSelector('#share-link', { state: 'visible' });
  const friend = await WebGame.open(browser.context, await game.page.inputValue('#share-link'));
  await shows(friend, 24);
  await friend.after(() => friend.page.click('#play-on'));
  assert.deepEqual(await friend.screen(), terminal.screens[24], 'played on');
  await friend.step(steps[24]);
  assert.deepEqual(await friend.screen(), terminal.screens[25], 'the inputs after the moment dropped');
  assert.deepEqual([...game.errors, ...friend.errors], []);
});
