// The web page in Debian's Chromium, headless, driven by playwright-core: opening it from disk,
// setting its controls as a person would, pressing 作成 and collecting what it offers and says.
'use strict';

const fs = require('node:fs');
const path = require('node:path');
const { chromium } = require('playwright-core');

const ROOT = path.resolve(__dirname, '../..');
const PAGE = path.join(ROOT, 'build/web/morvel.html');

// Root needs --no-sandbox; the rest keep a test run off the network and its prompts.
// (playwright-core gives every launch a fresh profile folder of its own.)
const FLAGS = ['--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
  '--disable-background-networking', '--disable-component-update', '--disable-sync'];

function Launch() {
  return chromium.launch({ executablePath: '/usr/bin/chromium', headless: true, args: FLAGS });
}

// The switches a text is converted with, as the window's controls hold them; what is left out
// keeps the window's default.
const DEFAULTS = {
  title: '', stamp: true, kanji: true, tags: true, br: false, links: true, escape: true,
  border: '0', bg: '#ffffff', fg: '#000000',
};

// A new page on the file, in a context of its own. `time`: the browser's clock stands still
// there (an ISO date); `withoutSimd`: the browser refuses WebAssembly SIMD. Every script error
// and console error lands in `errors`.
async function OpenPage(browser, { time, withoutSimd = false, timezoneId = 'Asia/Tokyo' } = {}) {
  const context = await browser.newContext({ acceptDownloads: true, timezoneId });
  const page = await context.newPage();
  page.errors = [];
  page.on('pageerror', (error) => page.errors.push(String(error)));
  page.on('console', (message) => {
    if (message.type() === 'error') page.errors.push(message.text());
  });
  if (withoutSimd) {
    await page.addInitScript(() => { WebAssembly.validate = () => false; });
  }
  if (time) await page.clock.setFixedTime(time);
  await page.goto('file://' + PAGE);
  await page.waitForFunction(() => document.documentElement.dataset.engine);
  return page;
}

// Sets every control from `settings` (over DEFAULTS), touching only those that differ. A radio
// button is set while its check box is on, since a disabled control takes no click.
async function SetControls(page, settings) {
  const s = { ...DEFAULTS, ...settings };
  const now = await page.evaluate(() => {
    const $ = (id) => document.getElementById(id);
    return {
      title: $('title').value, stamp: $('stamp').checked, kanji: $('stampKanji').checked,
      tags: $('lineTags').checked, br: $('tagsBr').checked, links: $('autoLink').checked,
      escape: $('escape').checked, border: $('border').value, bg: $('bgColour').value,
      fg: $('textColour').value,
    };
  });
  const radios = [['stamp', '#stamp', 'kanji', '#stampKanji', '#stampNumeric'],
    ['tags', '#lineTags', 'br', '#tagsBr', '#tagsBrP']];
  for (const [box, boxId, choice, onId, offId] of radios) {
    if (now[choice] !== s[choice]) {
      await page.setChecked(boxId, true);
      await page.setChecked(s[choice] ? onId : offId, true);
      now[box] = true;
    }
    if (now[box] !== s[box]) await page.setChecked(boxId, s[box]);
  }
  for (const [key, id] of [['links', '#autoLink'], ['escape', '#escape']]) {
    if (now[key] !== s[key]) await page.setChecked(id, s[key]);
  }
  for (const [key, id] of [['title', '#title'], ['border', '#border'], ['bg', '#bgColour'],
    ['fg', '#textColour']]) {
    if (now[key] !== s[key]) await page.fill(id, s[key]);
  }
}

// Runs `press` (which starts a conversion), waits for the page's message and `downloads`
// downloads, closes the message and returns both: [{name, bytes}] and {caption, text}.
async function Collect(page, downloads, press) {
  const offered = [];
  const listener = (download) => offered.push(download);
  page.on('download', listener);
  try {
    await press();
    await page.waitForSelector('#message[open]');
    const message = {
      caption: await page.textContent('#messageCaption'),
      text: await page.textContent('#messageText'),
    };
    const deadline = Date.now() + 10000;
    while (offered.length < downloads && Date.now() < deadline) await page.waitForTimeout(20);
    if (downloads === 0) await page.waitForTimeout(200);
    await page.click('#messageOk');
    await page.waitForSelector('#message:not([open])', { state: 'attached' });
    const files = [];
    for (const download of offered) {
      files.push({ name: download.suggestedFilename(), bytes: fs.readFileSync(await download.path()) });
    }
    return { files, message };
  } finally {
    page.off('download', listener);
  }
}

// Picks `file` with the file control, sets the controls and presses 作成.
async function Convert(page, file, settings, downloads = 1) {
  await page.setInputFiles('#sourceFile', file);
  await SetControls(page, settings);
  return Collect(page, downloads, () => page.click('#create'));
}

module.exports = { PAGE, ROOT, DEFAULTS, Launch, OpenPage, SetControls, Collect, Convert };
