// The preview page in a real browser (Debian's Chromium through
// playwright-core): the built-in scenario, a small one with nested
// slow-downs and a 1,000,000 m line as written pages, then the watch mode
// on the built-in sources. Screenshots and the measured figures are kept
// under build/browser/.
//
//   SCENARIO_TOOL=build/default/scenario_tool node tests/browser/anteprima.test.mjs
import { test, after, before } from 'node:test';
import assert from 'node:assert/strict';
import { spawn, execFileSync } from 'node:child_process';
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import { fileURLToPath } from 'node:url';
import { chromium } from 'playwright-core';

const radice = path.resolve(path.dirname(fileURLToPath(import.meta.url)), '../..');
const strumento = path.resolve(radice, process.env.SCENARIO_TOOL || 'build/default/scenario_tool');
const uscita = path.join(radice, 'build/browser');
const scenari = path.join(radice, 'tests/browser/scenari');

const tool = (...a) => execFileSync(strumento, a, { encoding: 'utf8', maxBuffer: 1 << 30 });

let contesto, cartella_utente;
const misure = {};

before(async () => {
  fs.rmSync(uscita, { recursive: true, force: true });
  fs.mkdirSync(uscita, { recursive: true });
  cartella_utente = fs.mkdtempSync(path.join(os.tmpdir(), 'anteprima-chromium-'));
  contesto = await chromium.launchPersistentContext(cartella_utente, {
    executablePath: process.env.CHROMIUM || '/usr/bin/chromium',
    headless: true,
    chromiumSandbox: false,
    viewport: { width: 1500, height: 1000 },
    args: ['--headless', '--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
      '--disable-background-networking', '--disable-component-update', '--disable-sync'],
  });
});

after(async () => {
  await contesto?.close();
  fs.rmSync(cartella_utente, { recursive: true, force: true });
  fs.writeFileSync(path.join(uscita, 'misure.json'), JSON.stringify(misure, null, 2) + '\n');
  console.log('figures:', JSON.stringify(misure));
});

// Features by kind as `dump` shows the compiled grid (a feature on the two
// header cells counts by its own kind), and the stations of the table.
function conteggi_dump(dir, nome, numero) {
  const griglia = JSON.parse(tool('dump', path.join(dir, `${nome}_${numero}.dat`), '--format', 'json'));
  const c = {};
  for (const r of griglia.records) {
    const k = r.kind === 'header' ? r.fields.feature : r.kind;
    if (k && k !== 'none') c[k] = (c[k] || 0) + 1;
  }
  const stazioni = JSON.parse(tool('dump', path.join(dir, `${nome}_${numero}.sim`), '--format', 'json'));
  c.station = stazioni.records.filter((r) => r.role === 'station').length;
  return c;
}

async function apri(url) {
  const p = await contesto.newPage();
  const errori = [];
  p.on('pageerror', (e) => errori.push(String(e)));
  p.on('request', (r) => {
    if (!r.url().startsWith('file:') && !r.url().startsWith('http://127.0.0.1')) errori.push('fetched ' + r.url());
  });
  await p.goto(url);
  await p.waitForFunction(() => window.anteprima && window.anteprima.primo_fotogramma() !== null);
  p.errori = errori;
  return p;
}

// Writes the page of LINE and TRAIN and compiles them, then checks the
// page against `dump`, a station's hover and the zoom.
async function pagina_scritta(nome, linea, treno, numero) {
  const dir = path.join(uscita, nome);
  fs.mkdirSync(dir, { recursive: true });
  const html = path.join(dir, 'anteprima.html');
  tool('preview', linea, treno, '-o', html);
  tool('compile', linea, treno, '-o', dir);
  const atteso = conteggi_dump(dir, path.basename(linea).replace(/_linea\.txt$/, ''), numero);
  const p = await apri('file://' + html);
  assert.deepEqual(await p.evaluate(() => window.anteprima.conteggi()), atteso);

  // Hovering a station with a time shows the time.
  const s = await p.evaluate(() => window.anteprima.dati().disegno.stazioni.find((s) => s.ora));
  await p.evaluate((m) => window.anteprima.vai_a(m - 3000, m + 3000), s.m);
  const xy = await p.evaluate((m) => window.anteprima.schermo('stazioni', m), s.m);
  await p.mouse.move(xy.x, xy.y);
  const testo = await p.locator('#suggerimento').innerText();
  assert.ok(testo.includes(s.ora), `hover shows ${s.ora}: ${testo}`);
  assert.ok(testo.includes(s.n), testo);
  assert.match(testo, /\.txt:\d+/);

  // Zooming in at the middle changes the axis.
  await p.evaluate((e) => window.anteprima.vai_a(0, e), await p.evaluate(() => window.anteprima.dati().disegno.estensione));
  const prima = await p.evaluate(() => ({ v: window.anteprima.vista(), a: window.anteprima.assi() }));
  const box = await p.locator('#tracce').boundingBox();
  await p.mouse.move(box.x + box.width * 0.6, box.y + 60);
  await p.mouse.wheel(0, -600);
  await p.waitForFunction((a) => window.anteprima.vista().a - window.anteprima.vista().da < a, prima.v.a - prima.v.da);
  const dopo = await p.evaluate(() => ({ v: window.anteprima.vista(), a: window.anteprima.assi() }));
  assert.notDeepEqual(dopo.a, prima.a);
  // The keyboard zooms too.
  await p.keyboard.press('-');
  const tasto = await p.evaluate(() => window.anteprima.vista());
  assert.ok(tasto.a - tasto.da > dopo.v.a - dopo.v.da);
  await p.keyboard.press('0');
  await p.screenshot({ path: path.join(uscita, `${nome}.png`), fullPage: true });
  assert.deepEqual(p.errori, []);
  await p.close();
}

test('the built-in scenario', async () => {
  const dir = path.join(uscita, 'sorgenti');
  tool('export', '-o', dir);
  await pagina_scritta('incorporato', path.join(dir, 'Lavrano_Cestelle_linea.txt'),
    path.join(dir, 'Lavrano_Cestelle_58121-.txt'), '58121');
});

test('a scenario with a slow-down nested in another', async () => {
  await pagina_scritta('annidati', path.join(scenari, 'Annidati_linea.txt'),
    path.join(scenari, 'Annidati_7-.txt'), '7');
  const d = JSON.parse(fs.readFileSync(path.join(uscita, 'annidati/anteprima.html'), 'utf8')
    .match(/<script id="dati" type="application\/json">(.*?)<\/script>/s)[1]).disegno;
  const [esterno, interno] = d.rallentamenti;
  assert.equal(esterno.a, 382 * 50);  // 17000 + 2050 m: its own end, not the inner one's
  assert.equal(interno.a, 363 * 50);
  assert.notEqual(esterno.corsia, interno.corsia);
});

// A line of 1,000,000 m: a gradient change and a curve every kilometre, a
// busy train; the page stays under 3 MB with every feature in it.
function linea_lunga() {
  let s = '[generale]\r\nlunghezza percorso,    1000000\r\nsfondo uno,    1\r\n' +
    'ripetizione segnali 9 codici,    6800,    1000000\r\n[pendenze]\r\n';
  for (let p = 1000; p < 1000000; p += 1000) s += `pendenza  , ${p}    , ${(p / 1000) % 25 - 12}\r\n`;
  s += '[curve]\r\n';
  const forme = ['curvad3', 'curvas3', 'curvad5', 'curvas2'];
  for (let p = 500, i = 0; p < 999000; p += 1000, ++i) s += `${forme[i % 4]},  ${p},  600\r\n`;
  s += '[montagne]\r\n';
  for (let p = 30000; p < 990000; p += 40000) s += `montagna, ${p},${p + 1500},11\r\n`;
  return s + '[fine]\r\n';
}
function treno_lungo() {
  let s = '[generale]\r\nnumero vetture,    9\r\npercentuale massa frenata,    130\r\n' +
    'orologio,    17              48            30 \r\naderenza,       0, 80\r\n[vel_limite]\r\n';
  for (let p = 0; p < 990000; p += 10000) s += `velocita, ${p}, ${p % 30000 === 0 ? 150 : 100}\r\n`;
  s += '[stazioni]\r\n';
  for (let k = 0; k < 49; ++k)
    s += `stazione, ${20000 * k + 10000}, 12,  600,  0, 0, 0,  1,1,0,  4,1,1,   60,  18,31, 0, STAZIONE ${k}\r\n`;
  s += '[segnali]\r\n';
  for (let p = 1100; p < 990000; p += 2000) s += `segnale, ${p},   2, 4, 1,  1, 0,    2,  2,1,1, 0\r\n`;
  s += '[rallentamenti]\r\n';
  for (let x = 5000; x < 990000; x += 50000) s += `rallentamento, ${x}, 60, 1000, 0, 1, 0\r\n`;
  s += '[codici]\r\n';
  for (let p = 2000; p < 990000; p += 3000) s += `abbattimento, ${p}, 270\r\n`;
  return s + '[fine]\r\n';
}

test('a line of 1,000,000 m', async () => {
  const dir = path.join(uscita, 'lunga');
  fs.mkdirSync(dir, { recursive: true });
  const linea = path.join(dir, 'Lunga_linea.txt'), treno = path.join(dir, 'Lunga_3-.txt');
  fs.writeFileSync(linea, linea_lunga());
  fs.writeFileSync(treno, treno_lungo());
  const html = path.join(dir, 'anteprima.html');
  tool('preview', linea, treno, '-o', html);
  tool('compile', linea, treno, '-o', dir);
  const byte = fs.statSync(html).size;
  misure.pagina_1000km_byte = byte;
  assert.ok(byte <= 3 * 1024 * 1024, `${byte} bytes`);
  const p = await apri('file://' + html);
  misure.primo_fotogramma_1000km_ms = Math.round(await p.evaluate(() => window.anteprima.primo_fotogramma()));
  assert.deepEqual(await p.evaluate(() => window.anteprima.conteggi()), conteggi_dump(dir, 'Lunga', '3'));
  await p.screenshot({ path: path.join(uscita, 'lunga.png'), fullPage: true });
  assert.deepEqual(p.errori, []);
  await p.close();
});

test('watch mode: edits, an error and its fix reach the open page', async () => {
  const dir = path.join(uscita, 'vivo');
  tool('export', '-o', dir);
  const linea = path.join(dir, 'Lavrano_Cestelle_linea.txt');
  const treno = path.join(dir, 'Lavrano_Cestelle_58121-.txt');
  const server = spawn(strumento, ['preview', linea, treno, '--watch'], { stdio: ['ignore', 'pipe', 'pipe'] });
  let detto = '';
  server.stdout.on('data', (b) => { detto += b; });
  server.stderr.on('data', (b) => { detto += b; });
  const finito = new Promise((r) => server.on('exit', (codice, segnale) => r({ codice, segnale })));
  try {
    for (let i = 0; i < 100 && !/127\.0\.0\.1:\d+/.test(detto); i++) await new Promise((r) => setTimeout(r, 50));
    const url = 'http://' + detto.match(/127\.0\.0\.1:\d+/)[0] + '/';
    const p = await apri(url);
    await p.evaluate(() => window.anteprima.vai_a(500, 9500));
    const vista = await p.evaluate(() => window.anteprima.vista());
    const originale = fs.readFileSync(treno, 'latin1');
    const velocita_a = (d, m) => d.velocita.find((t) => t[0] <= m && m < t[1])[2];

    // Each edit of the speed row at 1050 m reaches the page without losing
    // its zoom; the time from the write to the page redrawn is measured.
    const tempi = [];
    for (let i = 0; i < 7; i++) {
      const v = i % 2 === 0 ? 70 : 95;
      const v0 = await p.evaluate(() => window.anteprima.versione());
      const t0 = Date.now();
      fs.writeFileSync(treno, originale.replace('velocita,    1050,    95', `velocita,    1050,    ${v}`), 'latin1');
      await p.waitForFunction(([v0, t0, v]) => window.anteprima.versione() > v0 &&
        window.anteprima.aggiornato() >= t0 &&
        window.anteprima.dati().disegno.velocita.find((t) => t[0] <= 2000 && 2000 < t[1])[2] === v, [v0, t0, v]);
      tempi.push(await p.evaluate(() => window.anteprima.aggiornato()) - t0);
      assert.equal(velocita_a(await p.evaluate(() => window.anteprima.dati().disegno), 2000), v);
      assert.deepEqual(await p.evaluate(() => window.anteprima.vista()), vista);
    }
    tempi.sort((a, b) => a - b);
    misure.aggiornamento_vivo_ms = { mediana: tempi[3], massimo: tempi[6], tutti: tempi };
    await p.screenshot({ path: path.join(uscita, 'vivo.png'), fullPage: true });

    // An error: its diagnostic over the last good picture.
    const v1 = await p.evaluate(() => window.anteprima.versione());
    fs.writeFileSync(treno, originale.replace('stazione,  108450,', 'stazione,  108460,'), 'latin1');
    await p.waitForFunction((v) => window.anteprima.versione() > v, v1);
    const diagnostica = await p.locator('#diagnostica').innerText();
    assert.match(diagnostica, /Lavrano_Cestelle_58121-\.txt:\d+:\d+: error: .*\(code 8\)/);
    assert.ok(await p.locator('#diagnostica').isVisible());
    assert.notEqual(await p.evaluate(() => window.anteprima.dati().disegno), null);
    assert.equal(await p.evaluate(() => window.anteprima.dati().fresco), false);
    assert.deepEqual(await p.evaluate(() => window.anteprima.vista()), vista);
    await p.screenshot({ path: path.join(uscita, 'vivo-errore.png'), fullPage: true });

    // Fixed: the picture returns, the diagnostics go.
    const v2 = await p.evaluate(() => window.anteprima.versione());
    fs.writeFileSync(treno, originale, 'latin1');
    await p.waitForFunction((v) => window.anteprima.versione() > v, v2);
    assert.equal(await p.evaluate(() => window.anteprima.dati().fresco), true);
    // Only the built-in sources' warnings may remain.
    if (await p.locator('#diagnostica').isVisible())
      assert.match(await p.locator('#diagnostica-titolo').innerText(), /^0 errors/);
    assert.equal(velocita_a(await p.evaluate(() => window.anteprima.dati().disegno), 2000), 95);
    assert.deepEqual(p.errori, []);
    await p.close();
  } finally {
    server.kill('SIGINT');
  }
  const fine = await finito;
  assert.equal(fine.codice, 0, detto);
  assert.match(detto, /preview ended/);
});
