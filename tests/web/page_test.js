// The web page opened from disk in a real browser: every test text picked with the file control
// (the golden cases in code page 932, UTF-8 and UTF-16, texts settled late, refused texts, a
// picture), converted with 作成, and the download compared byte for byte with what the native
// converter writes for the same text and switches. Run by tools/web-test.sh.
'use strict';

const { test, before, after } = require('node:test');
const assert = require('node:assert/strict');
const { execFileSync, spawnSync } = require('node:child_process');
const fs = require('node:fs');
const os = require('node:os');
const path = require('node:path');
const { PAGE, ROOT, DEFAULTS, Launch, OpenPage, SetControls, Collect, Convert } =
  require('./browser.js');

const CONVERTER = path.join(ROOT, 'build/native/cli/morvel-convert');
const WRITE_INPUTS = path.join(ROOT, 'build/native/tests/web_test_inputs');
const READ_FAILED = 'ファイルの読み込みに失敗しました。';

let browser;
let work;
let cases;

before(async () => {
  work = fs.mkdtempSync(path.join(os.tmpdir(), 'morvel-web-'));
  fs.mkdirSync(path.join(work, 'in'));
  execFileSync(WRITE_INPUTS, [path.join(work, 'in')]);
  cases = JSON.parse(fs.readFileSync(path.join(work, 'in/cases.json'), 'utf8'));
  browser = await Launch();
});

after(async () => {
  if (browser) await browser.close();
  fs.rmSync(work, { recursive: true, force: true });
});

const Input = (entry) => path.join(work, 'in', entry.file);
const PageName = (file) => file.replace(/\.[^.]*$/, '') + '.htm';

// What morvel-convert writes for `file` with `settings` (over the window's defaults): the
// files of its --out-dir folder, the page first, and its exit status.
function Native(file, settings) {
  const s = { ...DEFAULTS, ...settings };
  const out = fs.mkdtempSync(path.join(work, 'native-'));
  const digits = (colour) => colour.slice(1).toUpperCase();
  const args = ['-f', '-q', '--out-dir', out, '--title', s.title,
    '--stamp', s.stamp ? (s.kanji ? 'kanji' : 'numeric') : 'off',
    '--tags', s.tags ? (s.br ? 'br' : 'brp') : 'off', '--border', s.border,
    '--bg', digits(s.bg), '--fg', digits(s.fg)];
  if (!s.links) args.push('--no-links');
  if (!s.escape) args.push('--no-escape');
  const run = spawnSync(CONVERTER, [...args, file]);
  const page = PageName(path.basename(file));
  const names = fs.readdirSync(out).sort((a, b) => (a === page ? -1 : b === page ? 1 : 0));
  return {
    status: run.status,
    files: names.map((name) => ({ name, bytes: fs.readFileSync(path.join(out, name)) })),
  };
}

// Settings that vary the colours, the title (with characters code page 932 lacks) and the
// border over the texts, so that every control reaches the page.
const VARIATIONS = [
  {},
  { bg: '#12ab34', fg: '#fedcba' },
  { title: 'Café ☃ <&> 表示' },
  { border: '0007' },
];

function SameFiles(web, native, label) {
  assert.deepEqual(web.map((f) => f.name), native.map((f) => f.name), label);
  web.forEach((file, i) => assert.ok(file.bytes.equals(native[i].bytes), `${label}: ${file.name}`));
}

test('every text gives the bytes that morvel-convert writes', async (t) => {
  const page = await OpenPage(browser);
  assert.equal(await page.evaluate(() => document.documentElement.dataset.engine), 'simd');
  const texts = cases.filter((entry) => !entry.refused && !entry.file.endsWith('.png'));
  for (const [i, entry] of texts.entries()) {
    await t.test(entry.file, async () => {
      // The update box shows the minute of the conversion: it is checked on its own below.
      const settings = { ...entry, ...VARIATIONS[i % VARIATIONS.length], stamp: false };
      const web = await Convert(page, Input(entry), settings);
      const native = Native(Input(entry), settings);
      assert.equal(native.status, 0);
      SameFiles(web.files, native.files, entry.file);
      assert.deepEqual(web.message, { caption: '完了', text: `${PageName(entry.file)}が作成できました。` });
    });
  }
  assert.deepEqual(page.errors, []);
});

test('the update box shows the browser\'s local time', async (t) => {
  // 9:05 on 16 March 2002 in Tokyo, the browser's time zone; the cases' pages hold that time.
  const page = await OpenPage(browser, { time: '2002-03-16T09:05:00+09:00' });
  for (const entry of cases.filter((e) => e.page)) {
    await t.test(entry.file, async () => {
      const web = await Convert(page, Input(entry), entry);
      assert.ok(web.files[0].bytes.equals(fs.readFileSync(path.join(work, 'in', entry.page))));
    });
  }
  assert.deepEqual(page.errors, []);
});

test('a picture is offered with its page, side by side', async () => {
  const page = await OpenPage(browser);
  const entry = cases.find((e) => e.file.endsWith('.png'));
  const settings = { border: '12', stamp: false, title: '写真' };
  const web = await Convert(page, Input(entry), settings, 2);
  const native = Native(Input(entry), settings);
  assert.deepEqual(web.files.map((f) => f.name), ['picture.htm', 'picture.png']);
  SameFiles(web.files, native.files, entry.file);
  assert.ok(web.files[1].bytes.equals(fs.readFileSync(Input(entry))));
  assert.deepEqual(page.errors, []);
});

test('a refused text offers no page and says why', async (t) => {
  const page = await OpenPage(browser);
  const expected = {
    'bad_after_mark.txt': `${READ_FAILED}\n3行目に UTF-8 として正しくないバイトがあります。`,
    'odd_utf16.txt': `${READ_FAILED}\n1行目に UTF-16 として正しくないバイトがあります。`,
  };
  for (const entry of cases.filter((e) => e.refused)) {
    await t.test(entry.file, async () => {
      const web = await Convert(page, Input(entry), {}, 0);
      assert.deepEqual(web.files, []);
      assert.deepEqual(web.message, { caption: 'MORVEL', text: expected[entry.file] });
      assert.equal(Native(Input(entry), {}).status, 3);
      assert.equal(await page.isHidden('#downloads'), true);
    });
  }
  await t.test('no file chosen', async () => {
    await page.setInputFiles('#sourceFile', []);
    const web = await Collect(page, 0, () => page.click('#create'));
    assert.deepEqual(web.message, { caption: 'MORVEL', text: 'ファイル名を入れてください。' });
    assert.deepEqual(web.files, []);
  });
  await t.test('a file gone before 作成', async () => {
    const gone = path.join(work, 'gone.txt');
    fs.writeFileSync(gone, 'text\r\n');
    await page.setInputFiles('#sourceFile', gone);
    fs.unlinkSync(gone);
    const web = await Collect(page, 0, () => page.click('#create'));
    assert.deepEqual(web.message,
      { caption: 'オープンエラー', text: '変換するファイルが開くことができません。' });
    assert.deepEqual(web.files, []);
  });
  await t.test('a name that code page 932 cannot spell', async () => {
    const web = await Collect(page, 0, () => page.setInputFiles('#sourceFile', {
      name: 'snow☃.txt', mimeType: 'text/plain', buffer: Buffer.from('text'),
    }).then(() => page.click('#create')));
    assert.deepEqual(web.message,
      { caption: '名前', text: 'ファイル名にシフトJISで表せない文字が含まれています。' });
    assert.deepEqual(web.files, []);
  });
  assert.deepEqual(page.errors, []);
});

test('the controls are labelled and start with the window\'s defaults', async () => {
  const page = await OpenPage(browser);
  assert.equal(await page.getAttribute('html', 'lang'), 'ja');
  assert.match(await page.getAttribute('meta[name="viewport"]', 'content'), /width=device-width/);
  const controls = [
    ['sourceFile', 'button', '変換するファイル名'],
    ['title', 'textbox', 'ページタイトル', ''],
    ['stamp', 'checkbox', '更新日', true],
    ['stampKanji', 'radio', '年月日　時分', true],
    ['stampNumeric', 'radio', 'xxxx　xx/xx　xx:xx', false],
    ['autoLink', 'checkbox', '自動リンク', true],
    ['escape', 'checkbox', '特殊文字変換 & " < >', true],
    ['lineTags', 'checkbox', '改行タグ', true],
    ['tagsBr', 'radio', '<BR>', false],
    ['tagsBrP', 'radio', '<BR>&<P>', true],
    ['border', 'textbox', '画像の枠', '0'],
    ['bgColour', null, 'バックカラー', '#ffffff'],
    ['textColour', null, '文字カラー', '#000000'],
    ['create', 'button', '作成'],
  ];
  for (const [id, role, name, initial] of controls) {
    const named = role ? page.getByRole(role, { name, exact: true }) : page.getByLabel(name, { exact: true });
    assert.equal(await named.getAttribute('id'), id, name);
    if (typeof initial === 'boolean') assert.equal(await page.isChecked('#' + id), initial, id);
    if (typeof initial === 'string') assert.equal(await page.inputValue('#' + id), initial, id);
  }
  assert.equal(await page.textContent('#bgColourText'), '# FFFFFF');
  assert.equal(await page.textContent('#textColourText'), '# 000000');
  for (const legend of ['入出力ファイル', '設定', '画像を入力時のみ']) {
    assert.equal(await page.getByRole('group', { name: legend, exact: true }).count(), 1, legend);
  }
  // A check box greys its radio buttons, which keep their selection; a colour shows in the text.
  await page.setChecked('#stampNumeric', true);
  await page.setChecked('#stamp', false);
  assert.deepEqual(await page.$$eval('#stampKanji, #stampNumeric', (r) => r.map((e) => [e.disabled, e.checked])),
    [[true, false], [true, true]]);
  await page.setChecked('#lineTags', false);
  assert.equal(await page.isDisabled('#tagsBr'), true);
  await page.fill('#bgColour', '#ff0000');
  assert.equal(await page.textContent('#bgColourText'), '# FF0000');
  // The border takes digits only.
  await page.fill('#border', '');
  await page.type('#border', '1a2');
  assert.equal(await page.inputValue('#border'), '12');
  assert.deepEqual(page.errors, []);
});

test('Enter in a field creates, and a file dropped anywhere is taken', async (t) => {
  const page = await OpenPage(browser);
  const entry = cases.find((e) => e.file === 'worked_example.cp932.txt');
  await t.test('Enter', async () => {
    await page.setInputFiles('#sourceFile', Input(entry));
    await SetControls(page, { stamp: false });
    const web = await Collect(page, 1, () => page.press('#title', 'Enter'));
    SameFiles(web.files, Native(Input(entry), { stamp: false }).files, 'Enter');
  });
  await t.test('drop', async () => {
    const files = await page.evaluateHandle(() => {
      const dropped = new DataTransfer();
      dropped.items.add(new File(['first\r\n'], 'first.txt'));
      dropped.items.add(new File(['second\r\n'], 'second.txt'));
      return dropped;
    });
    await page.dispatchEvent('h1', 'drop', { dataTransfer: files });
    const web = await Collect(page, 1, () => page.click('#create'));
    assert.equal(web.files[0].name, 'first.htm');
    assert.match(web.files[0].bytes.toString('latin1'), /\r\nfirst\r\n/);
    assert.doesNotMatch(web.files[0].bytes.toString('latin1'), /second/);
  });
  assert.deepEqual(page.errors, []);
});

test('a browser without WebAssembly SIMD runs the module without it, to the same bytes', async (t) => {
  const page = await OpenPage(browser, { withoutSimd: true });
  assert.equal(await page.evaluate(() => document.documentElement.dataset.engine), 'bytes');
  const names = ['escaping.utf8.txt', 'links_double_byte.cp932.txt', 'settled_late_utf8.txt',
    'settled_late_cp932.txt', 'worked_example.utf16le.txt'];
  for (const entry of cases.filter((e) => names.includes(e.file))) {
    await t.test(entry.file, async () => {
      const settings = { ...entry, stamp: false };
      const web = await Convert(page, Input(entry), settings);
      SameFiles(web.files, Native(Input(entry), settings).files, entry.file);
    });
  }
  assert.deepEqual(page.errors, []);
});

test('the page is one file under 1.5 MB', () => {
  assert.ok(fs.statSync(PAGE).size < 1.5e6, `${fs.statSync(PAGE).size} bytes`);
  assert.doesNotMatch(fs.readFileSync(PAGE, 'utf8'), /<script[^>]+src=|<link[^>]+href=/);
});
