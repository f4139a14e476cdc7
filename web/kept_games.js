// The games this page keeps, listed under the terminal as the terminal's
// --games lists them: when each was last played, the game as it stood at
// its last home menu, how it stands now, and what can be done with it.

import { describeJournal } from './game_session.js';

// How a described game stands, as the game's code for it (--describe):
// one that has not reached an ending can be played on (a Quit or an Escape
// is taken back, as when continuing); an unfinished one, continued.
const Unfinished = 'unfinished';
const PlaysOn = [Unfinished, 'quit', 'escaped'];

// A name longer than this (the player's, typed at will, or the person's)
// is cut short with an ellipsis, so that one game's name never stretches
// the list; the whole of it is the row's tooltip.
const LongestName = 24;

function shortName(name) {
  const characters = [...name];
  return characters.length <= LongestName ? name : `${characters.slice(0, LongestName - 1).join('')}…`;
}

// The cells of a game as its row names it: mode, player, day and time,
// the person furthest along (with the stage), how it stands. A game still
// in its opening, or a damaged journal, has fewer, and no names.
function compactCells(cells) {
  if (cells.length !== 5) return cells;
  const [mode, player, clock, closest, standing] = cells;
  const [, person, stage] = closest.match(/^(.*) (\([^()]*\))$/) ?? [null, closest, ''];
  return [mode, shortName(player), clock, `${shortName(person)} ${stage}`.trim(), standing];
}

// A game in a few words, as its row names it: "Trophy game: Jack Smith,
// Day 3, Monday 8:10am", or "game, in the opening".
export function gameInWords({ cells }) {
  // A game still in its opening has no mode or player yet.
  if (cells.length !== 5 || cells[0] === '') {
    return ['game', ...cells.slice(0, -1)].filter((cell) => cell !== '').join(', ');
  }
  const [mode, player, clock] = compactCells(cells);
  return `${mode} game: ${player}, ${clock}`;
}

export function mayPlayOn({ standing }) {
  return PlaysOn.includes(standing);
}

export const playedWhen = (entry) => new Date(entry.played).toLocaleString();

export class KeptGames {
  #section = document.getElementById('kept-games');
  #list = this.#section.querySelector('ol');
  #compiled;
  #store;
  #descriptions = new Map(); // by journal and size: a journal only grows

  // `actions`: continueGame(entry), replay(entry), download(entry),
  // share(entry), and forgotten() once a journal is gone.
  constructor(compiled, store, actions) {
    this.#compiled = compiled;
    this.#store = store;
    this.actions = actions;
  }

  // Lists every kept game but when there is only one; `current`: the
  // journal on the terminal now, if a game is being played there.
  async show(current, busy) {
    const entries = this.#store.list();
    const items = [];
    for (const entry of entries) items.push(await this.#item(entry, current, busy));
    this.#list.replaceChildren(...items);
    this.#section.hidden = entries.length < 2;
  }

  // The list's cells of a kept game (see --games).
  async describe(entry) {
    const bytes = this.#store.bytes(entry.id);
    const key = `${entry.id}:${bytes.length}`;
    const damaged = (error) => ({ standing: 'damaged', cells: [`damaged: ${error}`] });
    if (!this.#descriptions.has(key)) {
      this.#descriptions.set(key, await describeJournal(this.#compiled, bytes).catch(damaged));
    }
    return this.#descriptions.get(key);
  }

  async #item(entry, current, busy) {
    const described = await this.describe(entry);
    const cells = [...described.cells];
    const here = entry.id === current?.id;
    const elsewhere = !here && busy.has(entry.id);
    const taken = here ? 'being played here' : 'being played in another tab';
    if (here || elsewhere) cells[cells.length - 1] = taken;
    const item = document.createElement('li');
    const words = document.createElement('span');
    const line = (shown) => [playedWhen(entry), ...shown.filter((cell) => cell !== '')].join(' · ');
    words.textContent = line(compactCells(cells));
    if (words.textContent !== line(cells)) words.title = line(cells);
    item.append(words);
    const free = !here && !elsewhere;
    const canGoOn = free && described.standing === Unfinished && !entry.finished && !entry.refused;
    if (canGoOn) item.append(this.#button('Continue', () => this.actions.continueGame(entry)));
    if (!here) item.append(this.#button('Replay', () => this.actions.replay(entry)));
    item.append(this.#button('Download', () => this.actions.download(entry)));
    item.append(this.#button('Share', () => this.actions.share(entry)));
    if (free) item.append(this.#button('Forget', () => this.#forget(entry)));
    return item;
  }

  #button(text, action) {
    const button = document.createElement('button');
    return Object.assign(button, { type: 'button', textContent: text, onclick: action });
  }

  #forget(entry) {
    const when = playedWhen(entry);
    if (!window.confirm(`Forget the game last played ${when}? Its journal is deleted from this browser for good.`)) return;
    this.#store.forget(entry.id);
    this.actions.forgotten();
  }
}
