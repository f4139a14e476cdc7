// Whole games by key presses, each step the bytes a terminal sends for it.

// FreePlay from seed 7 to the reunion's success: out to Marmy's Pub, a
// number from the first stranger, calls and dates, and Satisfaction.
export const freePlay = {
  seed: 7,
  steps: [
    ...'024133133333313350031333333504123330413304123231041304150313031303110311031503110311031303130313031303130315050',
  ],
};

// Trophy Mode from seed 11: character creation with the name typed and
// corrected, stats, a bad key and an arrow at the home menu, a night out
// that goes nowhere, and Satisfaction without a partner.
export const trophy = {
  seed: 11,
  steps: [
    '1', '2', '1', 'Jacx\x7fk Smi', 'th\r',
    '1', '4', '1', '0', '0', '1',
    'x', '\x1b[A',
    '2', '4', '1', '0', '2', '1', '2', '3', '0', '0',
    '5', '0',
  ],
};
