// The extension's parts agree with each other: every grammar and language
// configuration the manifest names exists and is what it says, the client
// asks the server for exactly the languages the manifest contributes, and
// the language client the extension loads is installed.
'use strict';

const fs = require('fs');
const path = require('path');
const assert = require('assert');

const root = path.join(__dirname, '..');
const manifest = JSON.parse(fs.readFileSync(path.join(root, 'package.json'), 'utf8'));
const { languages, grammars, configuration } = manifest.contributes;

const ids = languages.map((l) => l.id).sort();
for (const l of languages) {
  assert.ok(fs.existsSync(path.join(root, l.configuration)), `${l.id}: no ${l.configuration}`);
  JSON.parse(fs.readFileSync(path.join(root, l.configuration), 'utf8'));
}
assert.deepStrictEqual(grammars.map((g) => g.language).sort(), ids, 'one grammar per language');
for (const g of grammars) {
  const grammar = JSON.parse(fs.readFileSync(path.join(root, g.path), 'utf8'));
  assert.strictEqual(grammar.scopeName, g.scopeName, `${g.path}: scope name`);
}

// The selector is written in extension.js; read it from there.
const source = fs.readFileSync(path.join(root, manifest.main), 'utf8');
const selected = [...source.matchAll(/language: '([^']+)'/g)].map((m) => m[1]).sort();
assert.deepStrictEqual(selected, ids, 'the client selects every contributed language');
for (const key of [...source.matchAll(/config\.get\('([^']+)'/g)].map((m) => m[1])) {
  assert.ok(configuration.properties[`scenarioSources.${key}`], `setting scenarioSources.${key} not contributed`);
}
require.resolve('vscode-languageclient/node', { paths: [root] });
console.log(`prova_manifesto: ${ids.length} languages, their grammars and settings agree`);
