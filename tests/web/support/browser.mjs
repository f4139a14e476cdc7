import { mkdtemp, rm } from 'node:fs/promises';
import { tmpdir } from 'node:os';
import { join } from 'node:path';
import { chromium } from 'playwright-core';

// Debian's Chromium, headless, with a fresh profile and none of its own
// network traffic (this machine reaches no one but itself). `device`:
// Playwright's emulation options (viewport, isMobile, hasTouch, ...).
export async function launchChromium(device = {}) {
  const profile = await mkdtemp(join(tmpdir(), 'tender-chromium-'));
  const context = await chromium.launchPersistentContext(profile, {
    ...device,
    executablePath: process.env.TENDER_CHROMIUM ?? '/usr/bin/chromium',
    headless: true,
    args: [
      '--headless',
      '--no-sandbox',
      '--disable-gpu',
      '--disable-quic',
      '--no-first-run',
      '--disable-background-networking',
      '--disable-component-update',
      '--disable-sync',
    ],
  });
  return {
    context,
    async close() {
      await context.close();
      await rm(profile, { recursive: true, force: true });
    },
  };
}
