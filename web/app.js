// The game's web page: the terminal the game plays on, the buttons, keypad
// and list of kept games around it, and what the page's address asks for.
import { Terminal } from '@xterm/xterm';
import { GameSession, describeJournal } from './game_session.js';
import { JournalStore, holdJournal, journalFileName, journalsInUse, pageStorage } from './journal_store.js';
import { gameLink, holdsGame, journalFromLink } from './game_link.js';
import { journalInputs, journalUpTo } from './journal_records.js';
import { KeptGames, gameInWords, mayPlayOn, playedWhen } from './kept_games.js';
import { terminalOptions } from './terminal_options.js';

// What the keypad's named keys send, as a terminal sends them.
const KeypadKeys = { Escape: '\x1b', Enter: '\r', Backspace: '\x7f' };

// A menu line: tabs, the option's number, " - " and its text. Option 10 is
// chosen with ':', the key after '9'.
const MenuLine = /^\s*(\d{1,2}) - /;

// Below this the terminal's text is past reading: the page scrolls instead.
const SmallestFontSize = 4;

// Ctrl-U: the line editor's "take back the whole line".
const KillLine = '\x15';

// A game's "last played" is the time of its last input, noted in the list
// of journals at most this often (and when it ends).
const PlayedNotedEvery = 5000;

const ReplayKeys = 'Space pauses, + and - change the speed, . and , step, 0 to 9 jump, q ends the replay.';

// The replay's key that ends it, and its title (src/journal/replay_pace.cpp),
// which says where the replay is ("Tender Gamble! replay 312/1510, Day 3,
// Tuesday 2:40pm, paused, speed 1") and ends in ", ended" once it waits on
// its last screen: the page ends it there.
const EndReplay = 'q';
const ReplayTitle = /^Tender Gamble! (replay (\d+)\/\d+.*?)(, ended)?$/;

const LargestSeed = 4294967295;
// Where a tab notes that it has started the game its address asks for.
const AddressGameKey = 'tender-gamble/address-game';

// The seed asked for in the address (?seed=N): a string of digits, or null
// for a game seeded by the time. A seed that is no seed is said, not used.
function seedFromAddress(search) {
  const asked = new URLSearchParams(search).get('seed');
  if (asked === null) return { asked: false, seed: null, problem: null };
  if (/^[0-9]{1,10}$/.test(asked) && Number(asked) <= LargestSeed) {
    return { asked: true, seed: String(Number(asked)), problem: null };
  }
  const problem = `"${asked}" is not a seed (a whole number from 0 to ${LargestSeed})`;
  return { asked: true, seed: null, problem: `${problem}: this game is seeded by the time.` };
}

// An address that asks for a seed starts that game at once, the first
// time this tab opens it; a reload of it offers to go on, as any reload.
function addressGameStartedBefore() {
  try {
    const before = sessionStorage.getItem(AddressGameKey) === window.location.search;
    sessionStorage.setItem(AddressGameKey, window.location.search);
    return before;
  } catch {
    return false;
  }
}

// The game's code, compiled once and instantiated anew for every game.
// Servers that do not label .wasm files as WebAssembly get the slower way.
async function compileGame() {
  const response = await fetch(new URL('tender-gamble.wasm', document.baseURI));
  if (!response.ok) throw new Error(`the game's code did not load (${response.status})`);
  try {
    return await WebAssembly.compileStreaming(response.clone());
  } catch {
    return WebAssembly.compile(await response.arrayBuffer());
  }
}

class Page {
  #main = document.getElementById('game');
  // The buttons under the terminal that come and go.
  #buttons = {
    continue: document.getElementById('continue'),
    newGame: document.getElementById('new-game'),
    playOn: document.getElementById('play-on'),
    download: document.getElementById('download'),
    share: document.getElementById('share'),
    shareMoment: document.getElementById('share-moment'),
  };
  #seek = document.getElementById('seek');
  #shareLink = document.getElementById('share-link');
  #lineField = document.getElementById('line-field');
  #lineEntry = document.getElementById('line-entry'); // the field with its label
  #terminal = new Terminal(terminalOptions);
  #shown = () => null; // the journal's bytes of what the terminal shows
  #linked = null; // the journal of the link the page was opened with
  #lineSent = ''; // what of the line field the game has been sent
  #heard = []; // the screen's rows as last announced
  #replaying = null; // what is replayed: { name, words, chosen, inputs }
  #moment = { at: 0, paused: false, speed: '1' }; // where the replay is, from its title
  #keptGames;
  #session = null;
  #compiled;
  #seed;
  #store;
  #kept;
  #waits = 0;
  #journal = null; // the index entry of the game on the terminal, or offered
  #letGo = null; // lets go of that journal's lock
  #report = null; // why the game could not be played, from the game
  #starting = false; // a game is being started: the buttons wait

  // `seed`: the address's seed for every new game of this page, or null.
  constructor(compiled, seed, { storage, kept }) {
    this.#compiled = compiled;
    this.#seed = seed;
    this.#store = new JournalStore(storage);
    this.#kept = kept;
    const terminal = this.#terminal;
    terminal.open(document.getElementById('terminal'));
    this.#fitTerminal();
    window.addEventListener('resize', () => this.#fitTerminal());
    terminal.onData((data) => this.#typed(data));
    // A replay's title says whether it is paused, and its speed.
    terminal.onTitleChange((title) => this.#replayState(title));
    this.#keptGames = new KeptGames(compiled, this.#store, {
      continueGame: (entry) => this.#continueGame(entry),
      replay: (entry) => this.#replayKept(entry),
      download: (entry) => this.#downloadJournal(entry),
      share: (entry) => this.#shareGame(this.#store.bytes(entry.id)),
      forgotten: () => this.#listKeptGames(),
    });
    terminal.attachCustomKeyEventHandler((event) => this.#isGameKey(event));
    this.#takeTextInput();
    // A screen reader hears a screen once it has settled (the game waits for
    // a key), not every step of the way there: the terminal's own live
    // region, which speaks every character as it comes, is silenced.
    terminal.element.querySelector('.live-region')?.setAttribute('aria-live', 'off');
    for (const button of document.querySelectorAll('#keypad button')) {
      button.addEventListener('click', () => this.#keypadKey(button.dataset.key));
    }
    this.#lineField.addEventListener('input', (event) => event.isComposing || this.#lineChanged());
    this.#lineField.addEventListener('compositionend', () => this.#lineChanged());
    this.#lineField.addEventListener('keydown', (event) => {
      if (event.key !== 'Enter' || event.isComposing) return;
      event.preventDefault();
      this.#endLine();
    });
    this.#listenToButtons();
    // The terminal takes the keys whenever the page has them, except while
    // the player is on the page's own controls or choosing how to begin.
    window.addEventListener('focus', () => this.#focusTerminal());
    document.addEventListener('click', (event) => this.#onControl(event.target) || this.#focusTerminal());
  }

  #listenToButtons() {
    const journalFile = document.getElementById('journal-file');
    const click = (id, action) => document.getElementById(id).addEventListener('click', action);
    click('show-keypad', () => {
      this.#main.classList.toggle('keypad-open');
      this.#fitTerminal(); // sideways, the keypad takes room beside the terminal
    });
    click('terminal', (event) => this.#tappedLine(event));
    click('new-game', () => this.newGame());
    click('continue', () => this.#continueGame(this.#journal));
    click('download', () => this.#downloadJournal(this.#journal));
    click('open-journal', () => journalFile.click());
    click('share', () => this.#shareGame(this.#shown()));
    click('share-moment', () => this.#shareGame(this.#shown(), this.#moment.at));
    this.#seek.addEventListener('change', () => this.#seekTo(Number(this.#seek.value), !this.#moment.paused));
    click('step-back', () => this.#step(',', -1));
    click('step-forward', () => this.#step('.', 1));
    this.#shareLink.addEventListener('focus', () => this.#shareLink.select());
    this.#shareLink.addEventListener('keydown', (event) => this.#keyInShareLink(event));
    click('play-on', () => this.#playOnFromLink());
    journalFile.addEventListener('change', () => this.#replayChosenFile(journalFile));
    document.getElementById('open-journal').hidden = false;
  }

  // The first game: the one the address asks for, else the unfinished
  // game to go on with, if any, else a new one.
  async begin(addressAsks) {
    const unfinished = addressAsks ? null : this.#store.latestUnfinished(await journalsInUse());
    if (unfinished) await this.#offer(unfinished);
    else await this.newGame();
  }

  // The address holds a game (a shared link): it is replayed at its pace,
  // and then it can be played on as the player's own. A damaged link is
  // said, and nothing is kept of it.
  async openLink(fragment) {
    const { bytes, at, problem } = await journalFromLink(fragment);
    if (problem) {
      this.#main.dataset.state = 'choosing';
      this.say(`This link cannot be played: ${problem}. Ask for the link again, or start a new game.`);
      this.#showButtons({ newGame: true });
      return;
    }
    this.#linked = bytes;
    await this.#replay('the link', 'Replaying the game in this link', () => bytes, at);
  }

  say(text) {
    document.getElementById('status').textContent = text;
  }

  async newGame() {
    this.#leaveLink();
    await this.#once(async () => {
      const seed = this.#seed ?? String(Math.floor(Date.now() / 1000) % (LargestSeed + 1));
      const journal = this.#store.create(seed, await journalsInUse());
      const status = this.#kept ? '' : 'This browser lets the page keep nothing: this game is lost when the page closes.';
      await this.#start({ args: ['--seed', seed], journal, letGo: await holdJournal(journal.id), status });
    });
  }

  // Runs one way of starting a game at a time: a second click or Enter
  // while the first is under way does nothing.
  async #once(starting) {
    if (this.#starting) return;
    this.#starting = true;
    try {
      await starting();
    } finally {
      this.#starting = false;
    }
  }

  // Offers the game a reload would go on with, told as the list of kept
  // games tells it: its mode, the player's name and the day.
  async #offer(entry) {
    this.#journal = entry;
    const game = gameInWords(await this.#keptGames.describe(entry));
    this.#main.dataset.state = 'choosing';
    const played = playedWhen(entry);
    this.say(`You have an unfinished ${game}, last played ${played}. Continue it or start a new game.`);
    this.#showButtons({ continue: true, newGame: true, download: true });
    this.#buttons.continue.focus();
    await this.#listKeptGames();
  }

  async #continueGame(entry) {
    await this.#once(async () => {
      const letGo = await holdJournal(entry.id);
      if (letGo) {
        await this.#start({ args: ['--continue'], journal: entry, letGo });
        return;
      }
      this.say('That game is being played in another tab of this browser.');
      this.#showButtons({ newGame: true, download: true });
      this.#buttons.newGame.focus();
    });
  }

  async #replayKept(entry) {
    const words = `Replaying the game last played ${playedWhen(entry)}`;
    await this.#replay(journalFileName(entry), words, () => this.#store.bytes(entry.id));
  }

  async #replayChosenFile(journalFile) {
    const file = journalFile.files[0];
    journalFile.value = '';
    if (!file) return;
    const bytes = new Uint8Array(await file.arrayBuffer());
    await this.#replay(file.name, `Replaying ${file.name}`, () => bytes);
  }

  // Replays a journal (`chosen` gives its bytes; `name` is what the game
  // calls it), saying what is replayed (`words`) and its keys; from the
  // screen after `at` inputs, paused, when it is given. The seek bar marks
  // the journal's home menus.
  async #replay(name, words, chosen, at = null) {
    await this.#once(async () => {
      const inputs = journalInputs(chosen());
      this.#replaying = { name, words, chosen, inputs };
      this.#seek.max = String(inputs?.count ?? 0);
      const marks = (inputs?.homeMenus ?? []).map((before) => {
        const mark = document.createElement('span');
        mark.style.left = `${(100 * before) / inputs.count}%`;
        return mark;
      });
      document.getElementById('home-menus').replaceChildren(...marks);
      await this.#startReplay(at);
    });
  }

  // The replay of what #replay chose, from the start or paused at `at`.
  #startReplay(at, relist = true) {
    const { name, words, chosen, inputs } = this.#replaying;
    const args = ['--replay', name, ...(at === null ? [] : ['--at', String(at)])];
    this.#moment = { at: at ?? 0, paused: at !== null, speed: '1' };
    const status = `${words}: ${ReplayKeys}`;
    return this.#start({ args, chosen, status, relist, seekable: inputs !== null });
  }

  // Moves the replay to the screen after `at` inputs: the game replayed
  // again, paused there, then set going again (at the same speed) when
  // `play`. A replay that has ended starts again.
  async #seekTo(at, play) {
    if (this.#replaying?.inputs == null || this.#starting) return;
    const target = Math.max(0, Math.min(at, this.#replaying.inputs.count));
    const doublings = Math.log2(this.#moment.speed.split('/').map(Number).reduce((top, bottom) => top / bottom));
    await this.#once(() => this.#startReplay(target, false));
    const keys = (play ? ' ' : '') + (doublings > 0 ? '+' : '-').repeat(Math.abs(doublings));
    if (keys !== '') this.#session.type(keys);
  }

  // A step button: the replay's own key while it runs, else a seek.
  #step(key, by) {
    if (this.#playing()) this.#typed(key);
    else if (by < 0) this.#seekTo(this.#moment.at + by, false); // nothing lies beyond the end
  }

  // The replay's title says where it is, whether it is paused, and its
  // speed: the status line says it, the seek bar shows it, and a paused
  // replay can be shared, or (a link's) played on from there. Once it says
  // the replay waits on its last screen, the replay is ended there, and
  // the page offers what comes next at once.
  #replayState(title) {
    if (this.#main.dataset.mode !== 'replay' || !this.#playing()) return;
    const [, where, at, ended] = title.match(ReplayTitle) ?? [null, title, '0', ''];
    const paused = /, paused,/.test(where);
    this.#moment = { at: Number(at), paused, speed: where.match(/speed (\S+)$/)?.[1] ?? this.#moment.speed };
    this.#seek.value = at;
    if (ended) {
      this.say('The replay has ended.');
      this.#session.type(EndReplay);
      return;
    }
    this.say(`${this.#replaying.words} (${where}): ${ReplayKeys}`);
    this.#showButtons({ share: true, shareMoment: paused, playOn: paused && this.#linked !== null });
  }

  // The list of kept games, with the one on the terminal as being played.
  async #listKeptGames() {
    const playing = this.#playing() && this.#main.dataset.mode === 'game';
    await this.#keptGames.show(playing ? this.#journal : null, await journalsInUse());
  }

  #playing() {
    return this.#session !== null && !this.#session.ended;
  }

  // Starts a game on the terminal with these arguments, dropping the one
  // before: a game with its journal (and the journal's lock), or without
  // one a replay of the `chosen` bytes. A replay's seek bar shows when it is
  // `seekable`; `relist` false leaves the list of kept games as it is (a
  // replay moved to another input).
  async #start({ args, journal = null, letGo = null, chosen, status = '', relist = true, seekable = false }) {
    this.#session?.abandon();
    this.#letGoOfJournal();
    // What the game before sent the terminal is drawn, and ignored, before
    // the terminal is cleared: nothing of it shows in this one.
    await new Promise((resolve) => this.#terminal.write('', resolve));
    this.#journal = journal;
    this.#letGo = letGo;
    this.#report = null;
    this.#main.dataset.mode = journal === null ? 'replay' : 'game';
    document.getElementById('seek-bar').hidden = !seekable;
    this.#shown = chosen ?? (() => this.#store.bytes(journal.id));
    this.#showButtons({ download: journal !== null, share: true });
    this.#shareLink.hidden = true;
    this.#shareLink.value = '';
    delete this.#main.dataset.exitStatus;
    this.say(status);
    this.#terminal.reset();
    this.#heard = [];
    this.#editingLine(false);
    this.#terminal.focus();
    this.#main.dataset.state = 'playing';
    const session = new GameSession(this.#terminal, {
      onWaiting: () => {
        this.#waits += 1;
        this.#main.dataset.waits = String(this.#waits);
        this.#announceScreen();
        this.#main.dataset.state = 'waiting';
      },
      onEditingLine: (editing) => this.#editingLine(editing),
      onPlaying: () => { this.#main.dataset.state = 'playing'; },
      onEnd: (status) => this.#ended(status),
      onFailure: (reason) => this.#failed(reason),
    });
    this.#session = session;
    await session.start(this.#compiled, args, this.#journalSide(journal, this.#shown));
    if (relist) await this.#listKeptGames();
  }

  // What the game's journal calls on the page (src/program/browser_store.cpp).
  #journalSide(journal, chosen) {
    const writer = journal === null ? null : this.#store.writer(journal.id);
    let failed = false;
    let noted = Date.now();
    return {
      chosen,
      append: (bytes) => {
        if (writer === null) return 'a replay keeps no journal';
        const error = writer.append(bytes);
        if (Date.now() - noted >= PlayedNotedEvery) {
          noted = Date.now();
          this.#store.update(journal.id, { played: noted });
        }
        if (error && !failed) this.say(`This game can no longer be kept: ${error}.`);
        failed ||= error !== '';
        return error;
      },
      cutAt: (size) => (writer === null ? 'a replay keeps no journal' : writer.cutAt(size)),
      finished: () => journal && this.#store.update(journal.id, { finished: true }),
      report: (text) => {
        this.#report = text;
        if (journal !== null) this.#store.update(journal.id, { refused: true });
      },
    };
  }

  // A key of the keypad. While a name is typed in the line field, the
  // keypad edits the field, so that the two never disagree.
  #keypadKey(key) {
    if (this.#lineEntry.hidden || key === 'Escape') {
      this.#typed(KeypadKeys[key] ?? key);
    } else if (key === 'Enter') {
      this.#endLine();
    } else {
      const field = this.#lineField;
      field.value = key === 'Backspace' ? [...field.value].slice(0, -1).join('') : field.value + key;
      this.#lineChanged();
    }
  }

  // Name entry: where keys are tapped, a text field brings up the phone's
  // own keyboard, and the line follows whatever the field holds.
  #editingLine(editing) {
    const field = this.#lineField;
    const hadFocus = document.activeElement === field;
    field.value = '';
    this.#lineSent = '';
    this.#lineEntry.hidden = !editing;
    if (editing && field.getClientRects().length > 0) field.focus();
    else if (!editing && hadFocus) this.#terminal.focus();
  }

  // Sends the game the keys that turn the line it has into the field's:
  // the characters added, Backspaces for those taken back, or the whole
  // line anew when the field was changed elsewhere (an autocorrection).
  #lineChanged() {
    const before = this.#lineSent;
    const now = this.#lineField.value;
    if (now === before) return;
    if (now.startsWith(before)) this.#typed(now.slice(before.length));
    else if (before.startsWith(now)) this.#typed(KeypadKeys.Backspace.repeat([...before.slice(now.length)].length));
    else this.#typed(KillLine + now);
    this.#lineSent = now;
  }

  #endLine() {
    this.#lineChanged();
    this.#typed(KeypadKeys.Enter);
  }

  #typed(data) {
    const move = this.#moveAfterTheEnd(data);
    if (this.#playing()) this.#session.type(data);
    else if (move) this.#seekTo(move.to, move.play);
    // Enter on the ended game's terminal starts the next one.
    else if (this.#session && data === '\r') this.newGame();
  }

  // Once a replay has ended on the terminal, its keys that move back start
  // it again where they go, as in the terminal: a step back paused, Home or
  // a tenth of the way playing. Nothing for any other key.
  #moveAfterTheEnd(key) {
    const count = this.#main.dataset.mode === 'replay' ? this.#replaying?.inputs?.count : undefined;
    if (count === undefined) return null;
    if (key === ',') return { to: this.#moment.at - 1, play: false };
    if (key === '\x1b[H') return { to: 0, play: true };
    if (/^[0-9]$/.test(key)) return { to: Math.floor((count * Number(key)) / 10), play: true };
    return null;
  }

  async #ended(status) {
    if (this.#main.dataset.mode === 'game' && this.#journal) this.#store.update(this.#journal.id, { played: Date.now() });
    this.#letGoOfJournal();
    this.#terminal.write('\x1b[?25l'); // no cursor: nothing reads the terminal now
    this.#main.dataset.exitStatus = String(status);
    const replay = this.#main.dataset.mode === 'replay';
    this.#announceScreen();
    if (this.#report) this.say(this.#report);
    else if (replay) this.say('The replay has ended. Press Enter or choose New game to play.');
    else this.say('The game has ended. Press Enter or choose New game to play again.');
    // A game left before its ending can be taken up again from here; after
    // a replay, the game a reload would offer.
    const session = this.#session;
    let entry = this.#journal && this.#store.find(this.#journal.id);
    if (replay) entry = this.#store.latestUnfinished(await journalsInUse());
    const playOn = replay && this.#linked !== null && !this.#report && mayPlayOn(await describeJournal(this.#compiled, this.#linked));
    if (this.#session !== session) return; // another game has the page now
    this.#journal = entry;
    if (playOn) this.say('The replay has ended. Play on from here as your own game, or start a new one.');
    this.#showButtons({
      continue: !playOn && Boolean(entry && !entry.finished && !entry.refused),
      newGame: true,
      download: Boolean(entry),
      share: !this.#report,
      playOn,
    });
    this.#main.dataset.state = 'ended';
    await this.#listKeptGames();
  }

  #failed(reason) {
    this.#letGoOfJournal();
    this.#main.dataset.state = 'failed';
    this.say(`The game stopped: ${reason}`);
    this.#showButtons({ newGame: true, download: this.#journal !== null });
  }

  #letGoOfJournal() {
    this.#letGo?.();
    this.#letGo = null;
  }

  #downloadJournal(entry) {
    const url = URL.createObjectURL(new Blob([this.#store.bytes(entry.id)], { type: 'application/octet-stream' }));
    const link = document.createElement('a');
    link.href = url;
    link.download = journalFileName(entry);
    link.click();
    setTimeout(() => URL.revokeObjectURL(url), 60_000);
    if (this.#playing()) this.#terminal.focus();
  }

  #showButtons(shown) {
    for (const [name, button] of Object.entries(this.#buttons)) button.hidden = !shown[name];
    if (!shown.share) this.#shareLink.hidden = true;
  }

  // A link to this page that holds the game (and names the moment after
  // `at` inputs, when given), copied for the player to send, and shown
  // too, for a browser that does not let the page copy. The keys stay with
  // the game being played.
  async #shareGame(bytes, at = null) {
    const session = this.#session;
    if (this.#playing()) this.#terminal.focus();
    const link = await gameLink(window.location.origin + window.location.pathname, bytes, at);
    if (this.#session !== session) return; // another game has the page now
    this.#shareLink.value = link;
    this.#shareLink.hidden = false;
    const copied = await navigator.clipboard?.writeText(link).then(() => true, () => false);
    if (this.#session !== session) return;
    const what = at === null ? 'this game' : `this moment of the game (input ${at})`;
    this.say(`${copied ? 'Copied: the' : 'The'} link to ${what} (${link.length} characters), below: send it to anyone, and they watch it and can play on from it.`);
  }

  // The link's field can be selected and copied from; a key of the game's
  // typed there goes back to the game, and the terminal takes the keys again.
  #keyInShareLink(event) {
    if (event.ctrlKey || event.metaKey || event.altKey || event.isComposing) return;
    const data = event.key.length === 1 ? event.key : KeypadKeys[event.key];
    if (data === undefined) return;
    event.preventDefault();
    this.#terminal.focus();
    this.#typed(data);
  }

  // The link's game up to the input the replay shows, kept as the
  // player's own and gone on with: the inputs after it are dropped.
  async #playOnFromLink() {
    const { entry, error } = this.#store.adopt(journalUpTo(this.#linked, this.#moment.at), await journalsInUse());
    if (!entry) {
      this.say(`This game cannot be kept in this browser: ${error}.`);
      return;
    }
    this.#leaveLink();
    await this.#continueGame(entry);
  }

  // Done with the link: a reload no longer replays it.
  #leaveLink() {
    if (this.#linked === null) return;
    this.#linked = null;
    window.history.replaceState(null, '', window.location.pathname + window.location.search);
  }

  // The whole 80x25 terminal on the screen, from a phone's width up: the
  // font shrinks from its own size until the terminal fits the room the
  // page leaves it, across and down (the page's own parts wrap below; a
  // keypad beside it, on a phone held sideways, takes its share across).
  #fitTerminal() {
    const box = document.getElementById('terminal');
    const screen = box.querySelector('.xterm-screen');
    const page = getComputedStyle(this.#main);
    const where = box.getBoundingClientRect();
    const keypad = document.getElementById('keypad').getBoundingClientRect();
    const keypadAcross = keypad.width > 0 && keypad.top < where.bottom ? keypad.width + parseFloat(page.columnGap) : 0;
    const roomAcross = this.#main.clientWidth - parseFloat(page.paddingLeft) - parseFloat(page.paddingRight) - keypadAcross;
    const roomDown = window.innerHeight - (where.top + window.scrollY) - parseFloat(page.paddingTop);
    const frame = box.offsetWidth - screen.offsetWidth;
    const fits = () => box.offsetWidth <= roomAcross && screen.offsetHeight + frame <= roomDown;
    this.#terminal.options.fontSize = terminalOptions.fontSize;
    if (fits()) return;
    // The text scales with the font: start from the size in proportion to
    // the room, then take half points off while it does not fit yet.
    const scale = Math.min((roomAcross - frame) / screen.offsetWidth, (roomDown - frame) / screen.offsetHeight);
    let size = Math.max(SmallestFontSize, Math.floor(terminalOptions.fontSize * scale * 2) / 2);
    this.#terminal.options.fontSize = size;
    while (!fits() && size > SmallestFontSize) {
      size -= 0.5;
      this.#terminal.options.fontSize = size;
    }
  }

  // A tap (or a click) on a menu line in the terminal chooses it, as its
  // key does; one that ends a selection only selects.
  #tappedLine(event) {
    if (this.#terminal.hasSelection()) return;
    const row = [...document.querySelectorAll('#terminal .xterm-rows > div')].find((line) => {
      const box = line.getBoundingClientRect();
      return event.clientY >= box.top && event.clientY < box.bottom;
    });
    const option = row?.textContent.replaceAll('\u00a0', ' ').match(MenuLine);
    if (option) this.#typed(String.fromCharCode('0'.charCodeAt(0) + Number(option[1])));
  }

  // Tab is no key of the game's: it moves to the page's buttons. Ctrl+C
  // (or Cmd+C) with text selected copies it, as anywhere else; with
  // nothing selected it is the game's Ctrl-C.
  #isGameKey(event) {
    if (event.key === 'Tab') return false;
    const copy = (event.ctrlKey || event.metaKey) && event.key.toLowerCase() === 'c';
    if (!copy || !this.#terminal.hasSelection()) return true;
    if (event.type === 'keydown') navigator.clipboard?.writeText(this.#terminal.getSelection()).catch(() => {});
    return false;
  }

  // Text a phone's keyboard inserts without a key press of its own: the
  // terminal drops it while it serves a screen reader, so it is taken here.
  // Keys pressed reach the game through the terminal as ever. Where keys
  // are tapped, the terminal brings up no keyboard of its own.
  #takeTextInput() {
    const textarea = this.#terminal.textarea;
    let keyDown = false;
    textarea.addEventListener('keydown', () => { keyDown = true; }, true);
    textarea.addEventListener('keyup', () => { keyDown = false; }, true);
    textarea.addEventListener('input', (event) => {
      if (event.inputType === 'insertText' && event.data && !keyDown) this.#typed(event.data);
    }, true);
    if (window.matchMedia('(pointer: coarse)').matches) textarea.setAttribute('inputmode', 'none');
  }

  // The rows that changed since the last announcement, as one message.
  #announceScreen() {
    const buffer = this.#terminal.buffer.active;
    const rows = Array.from({ length: this.#terminal.rows }, (_, row) => buffer.getLine(row)?.translateToString(true) ?? '');
    const news = rows.filter((row, index) => row !== this.#heard[index] && row.trim() !== '');
    this.#heard = rows;
    if (news.length > 0) document.getElementById('screen-news').textContent = news.join('\n');
  }

  // The page's own controls: its buttons, the name being typed, the link to share.
  #onControl(element) {
    return element instanceof HTMLButtonElement || element === this.#lineField || element === this.#shareLink;
  }

  #focusTerminal() {
    if (this.#onControl(document.activeElement) || this.#main.dataset.state === 'choosing') return;
    this.#terminal.focus();
  }
}

async function main() {
  const { asked, seed, problem } = seedFromAddress(window.location.search);
  let compiled;
  try {
    compiled = await compileGame();
  } catch (error) {
    document.getElementById('status').textContent = `The game could not be loaded: ${error.message}`;
    document.getElementById('game').dataset.state = 'failed';
    return;
  }
  const page = new Page(compiled, seed, pageStorage());
  const addressAsks = asked && !addressGameStartedBefore();
  if (holdsGame(window.location.hash)) {
    await page.openLink(window.location.hash);
  } else {
    await page.begin(addressAsks);
    if (problem && addressAsks) page.say(problem);
  }
  // Keeps the page's files for play with no network, once the game is up:
  // its files come first.
  navigator.serviceWorker?.register(new URL('service_worker.js', document.baseURI)).catch(() => {});
}

main();
