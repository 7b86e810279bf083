// The preview page: the plan of the line and, under it, tracks along one
// shared kilometre axis, drawn on two canvases from the data inline in the
// page (or, in watch mode, from /dati each time /eventi says it changed).
(function () {
  'use strict';

  const SINISTRA = 132, DESTRA = 16, ASSE = 34;
  const GALLERIE = { 1: '#8c6d46', 2: '#5b4636', 3: '#b5651d' };
  // Tracks from top to bottom; `tipi` are the cell kinds (as `dump` names
  // them) drawn as marks on the track.
  const TRACCE = [
    { id: 'velocita', nome: 'speed (km/h)', alto: 120 },
    { id: 'gradiente', nome: 'gradient (\u2030)', alto: 70 },
    { id: 'gallerie', nome: 'tunnels', alto: 20, tipi: ['tunnel marker'] },
    { id: 'segnali', nome: 'signals', alto: 20, tipi: ['signal'] },
    { id: 'tabelle', nome: 'speed boards', alto: 20, tipi: ['speed boards'] },
    { id: 'rallentamenti', nome: 'slow-downs', alto: 20,
      tipi: ['slow-down start', 'slow-down end', 'slow-down warning board', 'before warning board'] },
    { id: 'cartelli', nome: 'text boards', alto: 20, tipi: ['text board'] },
    { id: 'stazioni', nome: 'stations', alto: 22, tipi: ['station stop'] },
    { id: 'avvisi', nome: 'approach marks', alto: 18 },
    { id: 'tagli', nome: 'code cuts', alto: 20, tipi: ['code cut', 'code cut (no value)'] },
    { id: 'progressive', nome: 'km marking', alto: 18 },
    { id: 'presa', nome: 'adhesion', alto: 40 },
  ];
  const COLORI = {
    'signal': '#2c3e50', 'speed boards': '#7d3c98', 'slow-down start': '#e67e22',
    'slow-down end': '#e67e22', 'slow-down warning board': '#b35900', 'before warning board': '#d9a066',
    'text board': '#16a085', 'station stop': '#c0392b', 'code cut': '#34495e',
    'code cut (no value)': '#95a5a6', 'tunnel marker': '#444',
  };

  const S = {
    dati: null, d: null, da: 0, a: 1, versione: 0, primo: null, aggiornato: null,
    tracce: {}, assi: [], puntatore: null, trascina: null,
  };
  const $ = (id) => document.getElementById(id);
  const piano = $('piano'), tracce = $('tracce'), sugg = $('suggerimento');

  // ---- data ----

  function prepara(d) {
    // Per track: the marks sorted by position, for drawing and hovering only
    // what is in view.
    const per = {};
    for (const t of TRACCE) per[t.id] = [];
    const traccia_di = {};
    for (const t of TRACCE) for (const k of t.tipi || []) traccia_di[k] = t.id;
    for (const e of d.elementi) (per[traccia_di[e.k]] || (per.altri = per.altri || [])).push(e);
    per.avvisi = d.avvisi.slice();
    per.progressive = d.progressive.slice();
    for (const k in per) per[k].sort((x, y) => x.m - y.m);
    S.tracce = per;
  }

  function applica(dati, tieni_vista) {
    S.dati = dati;
    const nuovo = dati.disegno;
    if (nuovo) {
      const prima = S.d;
      S.d = nuovo;
      prepara(nuovo);
      if (!tieni_vista || !prima) {
        S.da = 0;
        S.a = nuovo.estensione;
      } else {
        limita();
      }
      $('titolo').textContent = nuovo.titolo;
      document.title = nuovo.titolo + ' \u2014 preview';
      $('sommario').textContent = nuovo.sommario;
      elenco_stazioni();
    }
    diagnostica();
    disegna();
    S.versione++;
    requestAnimationFrame(() => {
      S.aggiornato = Date.now();
      if (S.primo === null) S.primo = performance.now();
    });
  }

  function diagnostica() {
    const g = S.dati.diagnostica, box = $('diagnostica');
    const vecchio = S.dati.disegno && S.dati.fresco === false;
    if (!g || (g.elenco.length === 0 && !vecchio && S.d)) { box.hidden = true; return; }
    box.hidden = false;
    box.className = g.errori > 0 || !S.d ? '' : 'avvisi';
    let titolo = g.errori + ' error' + (g.errori === 1 ? '' : 's') + ', ' + g.avvisi + ' warning' +
      (g.avvisi === 1 ? '' : 's');
    if (!S.d) titolo += ' \u2014 no picture: the compile made no track grid';
    else if (vecchio) titolo += ' \u2014 the picture is of the last compile without errors';
    $('diagnostica-titolo').textContent = titolo;
    $('diagnostica-testo').textContent = g.elenco.map((x) =>
      x.file + (x.line ? ':' + x.line + ':' + x.column : '') + ': ' + x.severity + ': ' + x.message +
      (x.code !== null ? ' (code ' + x.code + ')' : '')).join('\n');
  }

  function elenco_stazioni() {
    const ol = $('stazioni');
    ol.textContent = '';
    for (const s of S.d.stazioni) {
      const li = document.createElement('li');
      li.tabIndex = 0;
      li.className = s.ferma ? 'ferma' : 'passata';
      const n = document.createElement('span');
      n.textContent = s.n;
      const o = document.createElement('span');
      o.className = 'ora';
      o.textContent = s.ora || '';
      li.append(n, o);
      const vai = () => {
        const meta = Math.max(1500, (s.a - s.da) * 1.5);
        vai_a(s.m - meta, s.m + meta);
      };
      li.addEventListener('click', vai);
      li.addEventListener('keydown', (e) => { if (e.key === 'Enter') vai(); });
      ol.append(li);
    }
  }

  // ---- view ----

  function limita() {
    const max = S.d ? S.d.estensione : 1;
    let span = Math.min(Math.max(S.a - S.da, 200), max);
    let da = Math.max(0, Math.min(S.da, max - span));
    S.da = da;
    S.a = da + span;
  }
  function vai_a(da, a) { S.da = da; S.a = a; limita(); disegna(); }
  function zoom(fattore, m) {
    if (m === undefined) m = (S.da + S.a) / 2;
    vai_a(m - (m - S.da) * fattore, m + (S.a - m) * fattore);
  }
  function sposta(frazione) {
    const d = (S.a - S.da) * frazione;
    vai_a(S.da + d, S.a + d);
  }
  const larghezza = () => tracce.clientWidth - SINISTRA - DESTRA;
  const X = (m) => SINISTRA + (m - S.da) / (S.a - S.da) * larghezza();
  const M = (x) => S.da + (x - SINISTRA) / larghezza() * (S.a - S.da);

  // First index of `v` (sorted by m) with m >= x.
  function primo(v, x) {
    let lo = 0, hi = v.length;
    while (lo < hi) { const mid = (lo + hi) >> 1; if (v[mid].m < x) lo = mid + 1; else hi = mid; }
    return lo;
  }
  function primo_tratto(v, x) {
    let lo = 0, hi = v.length;
    while (lo < hi) { const mid = (lo + hi) >> 1; if (v[mid][1] <= x) lo = mid + 1; else hi = mid; }
    return lo;
  }

  // ---- drawing ----

  function tela(c, alto) {
    const r = window.devicePixelRatio || 1, w = c.clientWidth;
    if (c.width !== Math.round(w * r) || c.height !== Math.round(alto * r)) {
      c.width = Math.round(w * r);
      c.height = Math.round(alto * r);
      c.style.height = alto + 'px';
    }
    const g = c.getContext('2d');
    g.setTransform(r, 0, 0, r, 0, 0);
    g.clearRect(0, 0, w, alto);
    g.font = '11px system-ui, sans-serif';
    return g;
  }

  function passo_tondo(grezzo) {
    const p = Math.pow(10, Math.floor(Math.log10(grezzo)));
    for (const m of [1, 2, 5]) if (grezzo <= m * p) return m * p;
    return 10 * p;
  }

  function disegna() {
    disegna_piano();
    disegna_tracce();
  }

  function disegna_piano() {
    const g = tela(piano, 260), w = piano.clientWidth, h = 260;
    if (!S.d || !S.d.piano || S.d.piano.length < 6) {
      g.fillStyle = '#777';
      g.fillText(S.d ? 'No plan: the compile built no line table.' : '', 14, 24);
      return;
    }
    const p = S.d.piano;
    let minx = Infinity, maxx = -Infinity, miny = Infinity, maxy = -Infinity;
    for (let i = 0; i < p.length; i += 3) {
      minx = Math.min(minx, p[i + 1]); maxx = Math.max(maxx, p[i + 1]);
      miny = Math.min(miny, p[i + 2]); maxy = Math.max(maxy, p[i + 2]);
    }
    const margine = 0.05 * Math.max(maxx - minx, maxy - miny, 500);
    const sc = Math.min((w - 2 * 20) / (maxx - minx + 2 * margine), (h - 2 * 14) / (maxy - miny + 2 * margine));
    const cx = (minx + maxx) / 2, cy = (miny + maxy) / 2;
    const px = (x) => w / 2 + (x - cx) * sc, py = (y) => h / 2 - (y - cy) * sc;
    S.piano_trasforma = { px, py };
    g.fillStyle = '#f7f9fb';
    g.fillRect(0, 0, w, h);
    const lunghezza = S.d.fine_linea;
    const tratto = (da, a, stile, spessore, tratteggio) => {
      g.beginPath();
      let iniziato = false;
      for (let i = 0; i < p.length; i += 3) {
        const m = p[i];
        if (m < da) continue;
        if (m > a) { if (iniziato) g.lineTo(px(p[i + 1]), py(p[i + 2])); break; }
        if (!iniziato && i >= 3) { g.moveTo(px(p[i - 2]), py(p[i - 1])); iniziato = true; }
        if (!iniziato) { g.moveTo(px(p[i + 1]), py(p[i + 2])); iniziato = true; } else g.lineTo(px(p[i + 1]), py(p[i + 2]));
      }
      g.strokeStyle = stile; g.lineWidth = spessore; g.setLineDash(tratteggio || []);
      g.stroke();
      g.setLineDash([]);
    };
    for (const t of S.d.gallerie) tratto(t[0], t[1], GALLERIE[t[2]] || '#777', 7);
    tratto(0, lunghezza, '#1f4e9c', 1.6);
    tratto(lunghezza, Infinity, '#1f4e9c', 1, [4, 3]);
    tratto(S.da, S.a, '#e8590c', 4);
    for (const s of S.d.stazioni) {
      if (s.x === undefined) continue;
      g.beginPath();
      g.arc(px(s.x), py(s.y), s.ferma ? 4 : 3, 0, 2 * Math.PI);
      g.fillStyle = s.ferma ? '#c0392b' : '#fff';
      g.fill();
      g.strokeStyle = '#c0392b'; g.lineWidth = 1.4; g.stroke();
      if (s.ferma) { g.fillStyle = '#333'; g.fillText(s.n, px(s.x) + 6, py(s.y) + 4); }
    }
    g.fillStyle = '#555';
    g.fillText('plan of the line (north up); orange: the stretch in view', 10, 16);
  }

  function disegna_tracce() {
    let alto = ASSE + 8;
    for (const t of TRACCE) alto += t.alto + 4;
    const g = tela(tracce, alto), w = tracce.clientWidth;
    if (!S.d) return;
    const d = S.d, lw = larghezza();
    let y = 6;
    S.posti = {};
    const visibili = (v) => v.slice(primo(v, S.da - (S.a - S.da) * 0.01), primo(v, S.a + (S.a - S.da) * 0.01));
    for (const t of TRACCE) {
      S.posti[t.id] = { y, alto: t.alto };
      g.fillStyle = '#fbfcfd'; g.fillRect(SINISTRA, y, lw, t.alto);
      g.strokeStyle = '#d5dbe1'; g.lineWidth = 1; g.strokeRect(SINISTRA + 0.5, y + 0.5, lw - 1, t.alto - 1);
      g.fillStyle = '#444'; g.textAlign = 'right';
      g.fillText(t.nome, SINISTRA - 8, y + Math.min(t.alto / 2 + 4, 14));
      g.textAlign = 'left';
      g.save();
      g.beginPath(); g.rect(SINISTRA, y, lw, t.alto); g.clip();
      DISEGNI[t.id](g, y, t.alto, visibili);
      g.restore();
      y += t.alto + 4;
    }
    // The shared axis: ticks at a round step, a faint line across the tracks.
    const passo = passo_tondo((S.a - S.da) / Math.max(2, lw / 110));
    const decimali = Math.max(0, -Math.floor(Math.log10(passo / 1000) + 1e-9));
    S.assi = [];
    g.fillStyle = '#333'; g.textAlign = 'center';
    for (let m = Math.ceil(S.da / passo) * passo; m <= S.a; m += passo) {
      const x = Math.round(X(m)) + 0.5;
      g.strokeStyle = 'rgba(0,0,0,0.07)'; g.beginPath(); g.moveTo(x, 6); g.lineTo(x, y); g.stroke();
      g.strokeStyle = '#555'; g.beginPath(); g.moveTo(x, y); g.lineTo(x, y + 5); g.stroke();
      const etichetta = (m / 1000).toFixed(Math.min(decimali, 3));
      S.assi.push(etichetta);
      g.fillText(etichetta, x, y + 17);
    }
    g.fillText('km from the start of the line', SINISTRA + lw / 2, y + 31);
    g.textAlign = 'left';
    const fine = X(d.fine_linea);
    if (fine >= SINISTRA && fine <= SINISTRA + lw) {
      g.strokeStyle = '#c0392b'; g.setLineDash([5, 4]);
      g.beginPath(); g.moveTo(fine, 6); g.lineTo(fine, y); g.stroke(); g.setLineDash([]);
    }
  }

  function gradini(g, v, ind, scala, stile, spessore) {
    g.beginPath();
    let primo_punto = true;
    for (let i = primo_tratto(v, S.da); i < v.length && v[i][0] <= S.a; i++) {
      const yy = scala(v[i][ind]);
      const x0 = X(v[i][0]), x1 = X(v[i][1]);
      if (primo_punto) { g.moveTo(x0, yy); primo_punto = false; } else g.lineTo(x0, yy);
      g.lineTo(x1, yy);
    }
    g.strokeStyle = stile; g.lineWidth = spessore; g.stroke();
  }

  function marche(g, v, y, alto, forma) {
    for (const e of v) forma(g, X(e.m), y, alto, e);
  }

  const DISEGNI = {
    velocita(g, y, alto) {
      const d = S.d;
      let vmax = 50;
      for (const r of d.velocita) vmax = Math.max(vmax, r[2]);
      vmax = Math.ceil(vmax / 50) * 50;
      const scala = (v) => y + alto - 4 - v / vmax * (alto - 10);
      g.fillStyle = '#999'; g.textAlign = 'right';
      for (let v = 0; v <= vmax; v += 50) {
        g.strokeStyle = '#eef0f2'; g.beginPath(); g.moveTo(SINISTRA, scala(v)); g.lineTo(SINISTRA + larghezza(), scala(v)); g.stroke();
        g.fillText(String(v), SINISTRA + 26, scala(v) - 1);
      }
      g.textAlign = 'left';
      gradini(g, d.effettiva, 2, scala, '#e8590c', 3);
      gradini(g, d.velocita, 2, scala, '#1f4e9c', 1.5);
      g.fillStyle = '#1f4e9c'; g.fillText('limit', SINISTRA + 34, y + 12);
      g.fillStyle = '#e8590c'; g.fillText('with slow-downs', SINISTRA + 64, y + 12);
    },
    gradiente(g, y, alto) {
      const d = S.d;
      let gmax = 5;
      for (const r of d.gradiente) gmax = Math.max(gmax, Math.abs(r[2]));
      const zero = y + alto / 2;
      g.strokeStyle = '#aaa'; g.beginPath(); g.moveTo(SINISTRA, zero); g.lineTo(SINISTRA + larghezza(), zero); g.stroke();
      for (let i = primo_tratto(d.gradiente, S.da); i < d.gradiente.length && d.gradiente[i][0] <= S.a; i++) {
        const r = d.gradiente[i];
        if (r[2] === 0) continue;
        const h = Math.abs(r[2]) / gmax * (alto / 2 - 3);
        g.fillStyle = r[2] > 0 ? '#d9822b' : '#3c9d5d';
        g.fillRect(X(r[0]), r[2] > 0 ? zero - h : zero, Math.max(X(r[1]) - X(r[0]), 1), h);
      }
      g.fillStyle = '#999'; g.fillText('\u00b1' + gmax, SINISTRA + 4, y + 11);
    },
    gallerie(g, y, alto, visibili) {
      for (const r of S.d.gallerie) {
        if (r[1] < S.da || r[0] > S.a) continue;
        g.fillStyle = GALLERIE[r[2]] || '#777';
        g.fillRect(X(r[0]), y + 4, Math.max(X(r[1]) - X(r[0]), 1), alto - 8);
      }
      marche(g, visibili(S.tracce.gallerie), y, alto, (g, x) => {
        g.fillStyle = '#fff'; g.fillRect(x - 1, y + 7, 2, alto - 14);
      });
    },
    segnali(g, y, alto, visibili) {
      marche(g, visibili(S.tracce.segnali), y, alto, (g, x) => {
        g.fillStyle = COLORI.signal; g.beginPath(); g.moveTo(x, y + 3); g.lineTo(x + 4, y + alto - 3); g.lineTo(x - 4, y + alto - 3); g.fill();
      });
    },
    tabelle(g, y, alto, visibili) {
      marche(g, visibili(S.tracce.tabelle), y, alto, (g, x) => {
        g.fillStyle = COLORI['speed boards']; g.fillRect(x - 3, y + 4, 6, alto - 8);
      });
    },
    rallentamenti(g, y, alto, visibili) {
      const corsie = Math.max(1, ...S.d.rallentamenti.map((r) => r.corsia + 1));
      const h = (alto - 4) / corsie;
      for (const r of S.d.rallentamenti) {
        if (r.a < S.da || r.da > S.a) continue;
        const x0 = X(r.da), x1 = Math.max(X(r.a), x0 + 3), yy = y + 2 + r.corsia * h;
        g.fillStyle = 'rgba(230,126,34,0.75)'; g.fillRect(x0, yy + 1, x1 - x0, h - 2);
        g.fillStyle = '#7a3d00';
        if (x1 - x0 > 30) g.fillText(String(r.v), x0 + 3, yy + h - 3);
      }
      marche(g, visibili(S.tracce.rallentamenti), y, alto, (g, x, y, alto, e) => {
        if (e.k === 'slow-down warning board') {
          g.strokeStyle = COLORI[e.k]; g.lineWidth = 2; g.beginPath(); g.moveTo(x, y + 2); g.lineTo(x, y + alto - 2); g.stroke();
        } else if (e.k === 'before warning board') {
          g.fillStyle = COLORI[e.k]; g.fillRect(x - 1, y + alto - 6, 2, 4);
        }
      });
    },
    cartelli(g, y, alto, visibili) {
      marche(g, visibili(S.tracce.cartelli), y, alto, (g, x) => {
        g.fillStyle = COLORI['text board']; g.fillRect(x - 4, y + 5, 8, alto - 10);
      });
    },
    stazioni(g, y, alto, visibili) {
      for (const s of S.d.stazioni) {
        if (s.a < S.da || s.da > S.a) continue;
        g.fillStyle = s.ferma ? 'rgba(192,57,43,0.25)' : 'rgba(120,120,120,0.25)';
        g.fillRect(X(s.da), y + 6, Math.max(X(s.a) - X(s.da), 2), alto - 12);
      }
      marche(g, visibili(S.tracce.stazioni), y, alto, (g, x) => {
        g.fillStyle = COLORI['station stop']; g.beginPath(); g.arc(x, y + alto / 2, 4, 0, 2 * Math.PI); g.fill();
      });
      g.fillStyle = '#333';
      let ultimo = -Infinity;
      for (const s of S.d.stazioni) {
        const x = X(s.m);
        if (x < SINISTRA || x > SINISTRA + larghezza() || x < ultimo) continue;
        g.fillText(s.n, x + 6, y + alto - 5);
        ultimo = x + g.measureText(s.n).width + 12;
      }
    },
    avvisi(g, y, alto, visibili) {
      marche(g, visibili(S.tracce.avvisi), y, alto, (g, x, y, alto, e) => {
        g.fillStyle = e.v >= 81 && e.v <= 84 ? '#c0392b' : '#2c3e50';
        g.fillRect(x - 1, y + 4, 2, alto - 8);
      });
    },
    tagli(g, y, alto, visibili) {
      marche(g, visibili(S.tracce.tagli), y, alto, (g, x, y, alto, e) => {
        g.beginPath(); g.moveTo(x - 3, y + 4); g.lineTo(x + 4, y + alto / 2); g.lineTo(x - 3, y + alto - 4); g.closePath();
        g.fillStyle = e.agg ? '#fff' : COLORI[e.k]; g.fill();
        if (e.agg) { g.strokeStyle = '#8e44ad'; g.lineWidth = 1.5; g.stroke(); }
      });
      g.fillStyle = '#8e44ad'; g.fillText('\u25b7 added by the finishing pass', SINISTRA + larghezza() - 180, y + 13);
    },
    progressive(g, y, alto, visibili) {
      marche(g, visibili(S.tracce.progressive), y, alto, (g, x, y, alto, e) => {
        g.fillStyle = '#6c3483'; g.fillRect(x - 1, y + 2, 2, alto - 4);
        g.fillText(e.km / 1000 + '', x + 4, y + alto - 5);
      });
    },
    presa(g, y, alto) {
      const d = S.d;
      let max = 1;
      for (const r of d.presa) max = Math.max(max, r[2]);
      const scala = (v) => y + alto - 3 - v / max * (alto - 8);
      gradini(g, d.presa, 2, scala, '#117a65', 1.5);
      g.fillStyle = '#999'; g.fillText(String(max), SINISTRA + 4, y + 11);
    },
  };

  // ---- hovering ----

  function riga_html(r) {
    if (r === undefined || r < 0 || !S.d.righe[r]) return '';
    const [file, linea, testo] = S.d.righe[r];
    const div = document.createElement('div');
    div.className = 'riga';
    const b = document.createElement('b');
    b.textContent = file + ':' + linea;
    div.append(b, document.createTextNode('  ' + testo));
    return div;
  }

  function cosa_sotto(x, y) {
    if (!S.d || !S.posti || x < SINISTRA || x > SINISTRA + larghezza()) return null;
    let traccia = null;
    for (const t of TRACCE) {
      const p = S.posti[t.id];
      if (y >= p.y && y < p.y + p.alto + 4) traccia = t.id;
    }
    if (!traccia) return null;
    const m = M(x), tol = 6 / larghezza() * (S.a - S.da);
    const vicino = (v) => {
      let meglio = null, dist = Infinity;
      for (let i = Math.max(0, primo(v, m - tol)); i < v.length && v[i].m <= m + tol; i++) {
        const dd = Math.abs(v[i].m - m);
        if (dd < dist) { dist = dd; meglio = v[i]; }
      }
      return meglio;
    };
    const tratto = (v) => { const i = primo_tratto(v, m); return i < v.length && v[i][0] <= m ? v[i] : null; };
    const kmr = (r) => 'km ' + (r[0] / 1000).toFixed(3) + ' to ' + (r[1] / 1000).toFixed(3);
    switch (traccia) {
      case 'velocita': {
        const r = tratto(S.d.velocita), e = tratto(S.d.effettiva);
        if (!r) return null;
        let t = 'speed limit ' + r[2] + ' km/h, ' + kmr(r);
        if (e && e[2] !== r[2]) t += '; with the slow-downs ' + e[2] + ' km/h';
        return { t, r: r[3] };
      }
      case 'gradiente': { const r = tratto(S.d.gradiente); return r && { t: 'gradient ' + (r[2] > 0 ? '+' : '') + r[2] + ' \u2030, ' + kmr(r), r: r[3] }; }
      case 'presa': { const r = tratto(S.d.presa); return r && { t: 'adhesion ' + r[2] + ', ' + kmr(r), r: r[3] }; }
      case 'gallerie': {
        const e = vicino(S.tracce.gallerie);
        if (e) return e;
        const r = S.d.gallerie.find((g) => g[0] <= m && m < g[1]);
        return r && { t: 'tunnel, style ' + r[2] + ', ' + kmr(r), r: r[3] };
      }
      case 'rallentamenti': {
        const e = vicino(S.tracce.rallentamenti);
        if (e) return e;
        const p = S.posti.rallentamenti, corsie = Math.max(1, ...S.d.rallentamenti.map((r) => r.corsia + 1));
        const corsia = Math.floor((y - p.y - 2) / ((p.alto - 4) / corsie));
        return S.d.rallentamenti.find((r) => r.da <= m && m <= r.a + 50 && r.corsia === corsia) ||
          S.d.rallentamenti.find((r) => r.da <= m && m <= r.a + 50) || null;
      }
      case 'stazioni': {
        const e = vicino(S.tracce.stazioni);
        const s = S.d.stazioni.find((s) => s.da <= m && m <= s.a) ||
          S.d.stazioni.find((s) => Math.abs(s.m - m) <= tol);
        if (s) return { t: s.t + (e ? '\n' + e.t + ', cell ' + e.c : ''), r: s.r };
        return e;
      }
      default: return vicino(S.tracce[traccia]);
    }
  }

  function mostra(e, cx, cy) {
    if (!e) { sugg.hidden = true; return; }
    sugg.textContent = '';
    const t = document.createElement('div');
    t.style.whiteSpace = 'pre-wrap';
    t.textContent = e.t + (e.c !== undefined && !/, cell \d+$/.test(e.t) ? '\n' + ('cell ' + e.c + ', km ' + (e.m / 1000).toFixed(3)) : '') +
      (e.agg ? '\nadded by the finishing pass' + (e.r >= 0 ? ' for the feature of this row:' : '') : '');
    sugg.append(t);
    const r = riga_html(e.r);
    if (r) sugg.append(r);
    sugg.hidden = false;
    const w = sugg.offsetWidth, h = sugg.offsetHeight;
    sugg.style.left = Math.min(cx + 14, window.innerWidth - w - 8) + 'px';
    sugg.style.top = (cy + 16 + h > window.innerHeight ? cy - h - 10 : cy + 16) + 'px';
  }

  // ---- input ----

  tracce.addEventListener('wheel', (e) => {
    e.preventDefault();
    const r = tracce.getBoundingClientRect();
    zoom(Math.exp(e.deltaY * 0.0015), M(e.clientX - r.left));
  }, { passive: false });
  tracce.addEventListener('pointerdown', (e) => {
    tracce.focus();
    S.trascina = { x: e.clientX, da: S.da, a: S.a };
    tracce.setPointerCapture(e.pointerId);
    tracce.classList.add('trascina');
  });
  tracce.addEventListener('pointerup', () => { S.trascina = null; tracce.classList.remove('trascina'); });
  tracce.addEventListener('pointermove', (e) => {
    const r = tracce.getBoundingClientRect();
    if (S.trascina) {
      const dm = (e.clientX - S.trascina.x) / larghezza() * (S.trascina.a - S.trascina.da);
      vai_a(S.trascina.da - dm, S.trascina.a - dm);
      sugg.hidden = true;
      return;
    }
    mostra(cosa_sotto(e.clientX - r.left, e.clientY - r.top), e.clientX, e.clientY);
  });
  tracce.addEventListener('pointerleave', () => { sugg.hidden = true; });
  piano.addEventListener('click', (e) => {
    if (!S.d || !S.d.piano || !S.piano_trasforma) return;
    const r = piano.getBoundingClientRect(), x = e.clientX - r.left, y = e.clientY - r.top;
    const p = S.d.piano, { px, py } = S.piano_trasforma;
    let meglio = 0, dist = Infinity;
    for (let i = 0; i < p.length; i += 3) {
      const dd = (px(p[i + 1]) - x) ** 2 + (py(p[i + 2]) - y) ** 2;
      if (dd < dist) { dist = dd; meglio = p[i]; }
    }
    const meta = (S.a - S.da) / 2;
    vai_a(meglio - meta, meglio + meta);
  });
  document.addEventListener('keydown', (e) => {
    if (e.target && e.target.tagName === 'LI' && e.key === 'Enter') return;
    if (e.ctrlKey || e.metaKey || e.altKey) return;
    switch (e.key) {
      case '+': case '=': zoom(1 / 1.5); break;
      case '-': case '_': zoom(1.5); break;
      case 'ArrowLeft': sposta(-0.2); break;
      case 'ArrowRight': sposta(0.2); break;
      case '0': case 'Home': if (S.d) vai_a(0, S.d.estensione); break;
      default: return;
    }
    e.preventDefault();
  });
  window.addEventListener('resize', disegna);

  // ---- start, and in watch mode the updates ----

  // For the page's own tests and for measuring it.
  window.anteprima = {
    vista: () => ({ da: S.da, a: S.a }),
    assi: () => S.assi.slice(),
    versione: () => S.versione,
    primo_fotogramma: () => S.primo,
    aggiornato: () => S.aggiornato,
    dati: () => S.dati,
    conteggi() {
      const c = {};
      if (!S.d) return c;
      for (const e of S.d.elementi) c[e.k] = (c[e.k] || 0) + 1;
      c.station = S.d.stazioni.length;
      return c;
    },
    // Where on the screen the mark of feature `e` of track `traccia` lies.
    schermo(traccia, m) {
      const r = tracce.getBoundingClientRect(), p = S.posti[traccia];
      return { x: r.left + X(m), y: r.top + p.y + p.alto / 2 };
    },
    vai_a,
  };

  applica(JSON.parse($('dati').textContent), false);
  if (S.dati.vivo) {
    const eventi = new EventSource('/eventi');
    eventi.addEventListener('aggiorna', (e) => {
      if (Number(e.data) === S.dati.versione) return;
      fetch('/dati', { cache: 'no-store' }).then((r) => r.json()).then((d) => applica(d, true));
    });
  }
})();
