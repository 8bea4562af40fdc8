// How long the web page takes to convert a 5 MB text in Chromium: from the press of 作成 to the
// page's download, with the SIMD module and with the module without SIMD, on the generated
// code page 932 prose of bench/compare.sh and the same text in UTF-8. Prints a Markdown table.
//
//   NODE_PATH=build/web-test/node_modules node bench/web_page.js   # after tools/web-test.sh
//   RUNS=9 ...                                                     # more runs (default 5)
'use strict';

const { execFileSync } = require('node:child_process');
const fs = require('node:fs');
const os = require('node:os');
const path = require('node:path');
const { PAGE, ROOT, Launch, OpenPage, SetControls } = require('../tests/web/browser.js');

const RUNS = Number(process.env.RUNS || 5);
const BYTES = 5000000;
const GENERATOR = path.join(ROOT, 'build/native/bench/morvel_corpus');

const Median = (values) => values.sort((a, b) => a - b)[Math.floor(values.length / 2)];

async function TimeConversions(page, file) {
  await page.setInputFiles('#sourceFile', file);
  await SetControls(page, {});
  const times = [];
  for (let run = 0; run < RUNS; ++run) {
    const start = process.hrtime.bigint();
    const [download] = await Promise.all([page.waitForEvent('download'), page.click('#create')]);
    times.push(Number(process.hrtime.bigint() - start) / 1e6);
    await download.path();
    await page.click('#messageOk');
  }
  return Median(times);
}

(async () => {
  const work = fs.mkdtempSync(path.join(os.tmpdir(), 'morvel-web-bench-'));
  const cp932 = path.join(work, 'prose.txt');
  const utf8 = path.join(work, 'prose-utf8.txt');
  execFileSync(GENERATOR, ['prose', String(BYTES), cp932]);
  fs.writeFileSync(utf8, execFileSync('iconv', ['-f', 'CP932', '-t', 'UTF-8', cp932],
    { maxBuffer: 4 * BYTES }));
  const browser = await Launch();
  const rows = [];
  for (const withoutSimd of [false, true]) {
    const page = await OpenPage(browser, { withoutSimd });
    const engine = await page.evaluate(() => document.documentElement.dataset.engine);
    const times = [];
    for (const file of [cp932, utf8]) times.push(await TimeConversions(page, file));
    rows.push(`| ${engine} | ${times.map((t) => `${Math.round(t)} ms`).join(' | ')} |`);
    await page.context().close();
  }
  await browser.close();
  fs.rmSync(work, { recursive: true, force: true });
  console.log(`morvel.html: ${fs.statSync(PAGE).size} bytes; medians of ${RUNS} runs\n`);
  console.log('| Module | 5 MB code page 932 text | the same text in UTF-8 |');
  console.log('|---|---|---|');
  rows.forEach((row) => console.log(row));
})();
