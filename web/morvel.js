// The page's script: the window's controls and their rules, the engine's module, and one
// conversion for each press of 作成 (or Enter), whose page and picture are offered as downloads
// and whose messages are shown in the page's own dialog.
'use strict';

(() => {
  const $ = (id) => document.getElementById(id);
  const form = $('window');
  const sourceFile = $('sourceFile');
  const title = $('title');
  const stamp = $('stamp');
  const stampKanji = $('stampKanji');
  const stampNumeric = $('stampNumeric');
  const autoLink = $('autoLink');
  const escape = $('escape');
  const lineTags = $('lineTags');
  const tagsBr = $('tagsBr');
  const tagsBrP = $('tagsBrP');
  const border = $('border');
  const bgColour = $('bgColour');
  const textColour = $('textColour');
  const create = $('create');
  const status = $('status');
  const downloads = $('downloads');
  const downloadList = $('downloadList');
  const dialog = $('message');

  const CONVERTING = '変換中…';
  const NO_WEBASSEMBLY = 'このブラウザは WebAssembly に対応していないため、変換できません。';
  const ENGINE_FAILED = '変換の途中で問題が起きたため、ページを作成できませんでした。';
  const LARGEST_BORDER = 4294967295;

  // A module with one SIMD instruction: a browser without WebAssembly SIMD refuses it, and then
  // runs the module built without SIMD.
  const SIMD_PROBE = new Uint8Array([
    0, 97, 115, 109, 1, 0, 0, 0, 1, 5, 1, 96, 0, 1, 123, 3, 2, 1, 0, 10, 22, 1, 20, 0, 253, 12,
    0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 11,
  ]);

  let engine = null;  // the running module, a promise of it
  let chosen = null;  // the File to convert
  let busy = false;
  let offered = [];  // object URLs of the downloads on offer

  function StartEngine() {
    const simd = WebAssembly.validate(SIMD_PROBE);
    document.documentElement.dataset.engine = simd ? 'simd' : 'bytes';
    engine = (simd ? MorvelSimd : MorvelBytes)();
  }

  // ------------------------------------------------------------------------------------------
  // The controls

  // A check box enables its two radio buttons when on and disables them when off; a disabled
  // button keeps its selection, which still counts.
  function FollowBox(box, radios) {
    const rule = () => radios.forEach((radio) => { radio.disabled = !box.checked; });
    box.addEventListener('change', rule);
    rule();
  }
  FollowBox(stamp, [stampKanji, stampNumeric]);
  FollowBox(lineTags, [tagsBr, tagsBrP]);

  // The border takes digits only; anything that is not an unsigned 32-bit number reads as 0.
  border.addEventListener('input', () => {
    const digits = border.value.replace(/[^0-9]/g, '');
    if (digits !== border.value) border.value = digits;
  });
  function BorderValue() {
    const text = border.value;
    return /^[0-9]+$/.test(text) && Number(text) <= LARGEST_BORDER ? Number(text) : 0;
  }

  // A colour shows as "# RRGGBB" below its control.
  function ShowColour(input) {
    const shown = $(input.id + 'Text');
    const update = () => { shown.value = '# ' + input.value.slice(1).toUpperCase(); };
    input.addEventListener('input', update);
    update();
  }
  ShowColour(bgColour);
  ShowColour(textColour);
  const ColourValue = (input) => parseInt(input.value.slice(1), 16);

  // The file: chosen with the control, or dropped anywhere on the page (the first of several).
  sourceFile.addEventListener('change', () => { chosen = sourceFile.files[0] || null; });
  const CarriesFiles = (event) => event.dataTransfer && event.dataTransfer.types.includes('Files');
  document.addEventListener('dragover', (event) => {
    if (!CarriesFiles(event)) return;
    event.preventDefault();
    event.dataTransfer.dropEffect = 'copy';
    document.body.classList.add('dragging');
  });
  document.addEventListener('dragleave', (event) => {
    if (!event.relatedTarget) document.body.classList.remove('dragging');
  });
  document.addEventListener('drop', (event) => {
    document.body.classList.remove('dragging');
    if (!CarriesFiles(event)) return;
    event.preventDefault();
    const file = event.dataTransfer.files[0];
    if (!file) return;
    chosen = file;
    // The control shows the dropped file's name where the browser lets a script set it.
    try {
      const one = new DataTransfer();
      one.items.add(file);
      sourceFile.files = one.files;
    } catch (error) {
      // The choice stands all the same.
    }
  });

  // Enter creates from any field, as in the window: text fields submit the form themselves.
  form.addEventListener('keydown', (event) => {
    if (event.key !== 'Enter' || event.isComposing) return;
    if (event.target.matches('input[type="checkbox"], input[type="radio"]')) {
      event.preventDefault();
      form.requestSubmit();
    }
  });
  form.addEventListener('submit', (event) => {
    event.preventDefault();
    Create();
  });

  // ------------------------------------------------------------------------------------------
  // The engine

  // Runs `use` with `text` as a NUL-terminated UTF-8 string in the module's memory (a lone
  // surrogate becomes U+FFFD).
  function WithText(module, text, use) {
    const bytes = new TextEncoder().encode(text);
    const at = module._malloc(bytes.length + 1);
    if (!at) throw new Error('out of memory');
    module.HEAPU8.set(bytes, at);
    module.HEAPU8[at + bytes.length] = 0;
    try {
      return use(at);
    } finally {
      module._free(at);
    }
  }

  // Hands the chosen file to the module: its bytes, or that the browser could not read it.
  // False when the module refused it (it then has a message).
  async function HoldChosen(module) {
    let bytes = null;
    try {
      bytes = new Uint8Array(await chosen.arrayBuffer());
    } catch (error) {
      return WithText(module, chosen.name, (name) => module._MorvelHoldUnreadableSource(name));
    }
    return WithText(module, chosen.name, (name) => {
      const at = module._MorvelHoldSource(name, bytes.length);
      if (!at) return false;
      module.HEAPU8.set(bytes, at);
      return true;
    });
  }

  function Convert(module) {
    return WithText(module, title.value, (text) => module._MorvelConvert(
      text, stamp.checked, stampKanji.checked, lineTags.checked, tagsBr.checked,
      autoLink.checked, escape.checked, BorderValue(), ColourValue(bgColour),
      ColourValue(textColour)));
  }

  function Messages(module) {
    const messages = [];
    for (let i = 0; i < module._MorvelMessageCount(); ++i) {
      messages.push({
        text: module.UTF8ToString(module._MorvelMessageText(i)),
        caption: module.UTF8ToString(module._MorvelMessageCaption(i)),
        warning: module._MorvelMessageWarns(i) !== 0,
      });
    }
    return messages;
  }

  function Downloads(module) {
    const files = [];
    for (let i = 0; i < module._MorvelDownloadCount(); ++i) {
      const at = module._MorvelDownloadBytes(i);
      const size = module._MorvelDownloadSize(i) >>> 0;
      files.push({
        name: module.UTF8ToString(module._MorvelDownloadName(i)),
        bytes: module.HEAPU8.slice(at, at + size),
      });
    }
    return files;
  }

  // ------------------------------------------------------------------------------------------
  // What the user sees

  // Resolves once the browser has had the chance to show what changed.
  const NextPaint = () => new Promise((resolve) => {
    requestAnimationFrame(() => setTimeout(resolve, 0));
    setTimeout(resolve, 100);
  });

  function ShowBusy(on) {
    busy = on;
    form.setAttribute('aria-busy', on ? 'true' : 'false');
    create.disabled = on;
    status.textContent = on ? CONVERTING : '';
  }

  // The page first, then the picture: each saved at once, and kept on offer as a link.
  function Offer(files) {
    offered.forEach((url) => URL.revokeObjectURL(url));
    offered = [];
    downloadList.replaceChildren();
    downloads.hidden = files.length === 0;
    files.forEach((file, i) => {
      const type = i === 0 ? 'text/html' : (chosen && chosen.type) || 'application/octet-stream';
      const url = URL.createObjectURL(new Blob([file.bytes], { type }));
      offered.push(url);
      const link = document.createElement('a');
      link.href = url;
      link.download = file.name;
      link.textContent = file.name;
      const item = document.createElement('li');
      item.append(link);
      downloadList.append(item);
      link.click();
    });
  }

  function ShowMessage(message) {
    dialog.classList.toggle('warning', message.warning);
    $('messageCaption').textContent = message.caption;
    $('messageText').textContent = message.text;
    dialog.showModal();
    $('messageOk').focus();
    return new Promise((resolve) => dialog.addEventListener('close', resolve, { once: true }));
  }

  async function Create() {
    if (busy) return;
    ShowBusy(true);
    let messages = [];
    try {
      await NextPaint();
      const module = await engine;
      let held = true;
      if (chosen) {
        held = await HoldChosen(module);
      } else {
        module._MorvelRelease();
      }
      const written = held && Convert(module);
      messages = Messages(module);
      Offer(written ? Downloads(module) : []);
      module._MorvelRelease();
    } catch (error) {
      // The module may be left in any state: the next conversion gets a new one.
      console.error(error);
      StartEngine();
      Offer([]);
      messages = [{ text: ENGINE_FAILED, caption: 'MORVEL', warning: true }];
    }
    ShowBusy(false);
    for (const message of messages) await ShowMessage(message);
  }

  if (typeof WebAssembly !== 'object') {
    status.textContent = NO_WEBASSEMBLY;
    create.disabled = true;
    return;
  }
  StartEngine();
})();
