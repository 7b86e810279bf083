// Grammar test on the built-in sources: reads the line and train sources
// that `scenario_tool export` writes, adds an assertion under every row (a
// section marker is a section, a first field with a hyphen is a comment,
// every other row after "[generale]" opens with a keyword and its numbers
// are numbers, the texts of boards and stations are texts, nothing before
// "[generale]" is a keyword) and runs vscode-tmgrammar-test on the result.
//
// Usage: node test/prova_sorgenti.js EXPORT_DIR
'use strict';

const fs = require('fs');
const os = require('os');
const path = require('path');
const { spawnSync } = require('child_process');

const dir = process.argv[2];
if (!dir) {
  console.error('usage: node test/prova_sorgenti.js EXPORT_DIR');
  process.exit(2);
}

function assertion(col, len, scope) {
  // The assertion row opens with the comment mark "-", which takes
  // column 0: a run from column 0 is written with "<-".
  if (col === 0) return '- <' + '-'.repeat(len - 1) + ' ' + scope;
  return '-' + ' '.repeat(col - 1) + '^'.repeat(len) + ' ' + scope;
}

function annotate(text, scopeName) {
  const out = [`- SYNTAX TEST "${scopeName}" "built-in source"`];
  let generale = false;
  let rows = 0;
  for (const row of text.split(/\r?\n/)) {
    out.push(row);
    if (row.trim() === '') continue;
    const marker = /^(\s*)(\[[^\]]*\])/.exec(row);
    const first = row.split(',')[0];
    if (marker) {
      out.push(assertion(marker[1].length, marker[2].length, 'entity.name.section.scenario'));
      if (/\[generale\]/i.test(marker[2])) generale = true;
    } else if (first.includes('-')) {
      out.push(assertion(0, first.length, 'comment.line.dash.scenario'));
    } else if (!generale) {
      out.push(assertion(0, row.length, '- keyword.other.row.scenario'));
    } else {
      const start = first.length - first.trimStart().length;
      out.push(assertion(start, first.trim().length, 'keyword.other.row.scenario'));
      // Every whole number after the keyword field.
      const re = /-?\d+/g;
      re.lastIndex = first.length;
      let m;
      const texts = /cartello|stazione/i.test(first);
      const fields = row.split(',');
      const lastStart = row.length - fields[fields.length - 1].length;
      while ((m = re.exec(row))) {
        if (texts && m.index >= lastStart) break;
        const before = row[m.index - 1];
        if (before !== undefined && /[\w.]/.test(before)) continue;
        if (/[\w.]/.test(row[m.index + m[0].length] || '')) continue;
        out.push(assertion(m.index, m[0].length, 'constant.numeric.integer.scenario'));
      }
      if (texts) {
        // The text runs from the last field to the end of the row; a board's
        // text is the rest of the row after its position.
        const last = fields[fields.length - 1];
        const lead = last.length - last.trimStart().length;
        out.push(assertion(lastStart + lead, last.trim().length, 'string.unquoted.text.scenario'));
      }
      ++rows;
    }
  }
  return { text: out.join('\n') + '\n', rows };
}

const grammars = { linea: 'source.scenario.linea', treno: 'source.scenario.treno' };
const sources = fs.readdirSync(dir).filter((f) => /(_linea|-)\.txt$/.test(f));
const kindOf = (f) => (f.endsWith('_linea.txt') ? 'linea' : 'treno');
if (!sources.some((f) => kindOf(f) === 'linea') || !sources.some((f) => kindOf(f) === 'treno')) {
  console.error(`prova_sorgenti: no line and train source in ${dir}`);
  process.exit(1);
}

const work = fs.mkdtempSync(path.join(os.tmpdir(), 'prova-grammatica-'));
const root = path.join(__dirname, '..');
let status = 0;
try {
  for (const f of sources) {
    const kind = kindOf(f);
    // The sources are Windows-1252; the editor shows them decoded.
    const text = new TextDecoder('windows-1252').decode(fs.readFileSync(path.join(dir, f)));
    const { text: annotated, rows } = annotate(text, grammars[kind]);
    if (rows === 0) throw new Error(`${f}: no keyword row found`);
    fs.writeFileSync(path.join(work, f), annotated);
    const r = spawnSync(
      process.execPath,
      [path.join(root, 'node_modules/vscode-tmgrammar-test/dist/unit.js'), '--compact',
       '-g', path.join(root, `syntaxes/${kind}.tmLanguage.json`), path.join(work, f)],
      { stdio: 'inherit' });
    if (r.status !== 0) status = 1;
    else console.log(`${f}: ${rows} keyword rows as expected`);
  }
} finally {
  fs.rmSync(work, { recursive: true, force: true });
}
process.exit(status);
