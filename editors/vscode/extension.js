// Starts `scenario_tool lsp` for line and train sources and hands it the
// open files of both languages. Everything an author sees beyond the colours
// of the grammar (diagnostics, hover, completion, outline, quick fixes,
// formatting, inlay hints) comes from the server, that is from the compiler
// itself.
'use strict';

const vscode = require('vscode');
const { LanguageClient } = require('vscode-languageclient/node');

let client;

function serverOptions() {
  const config = vscode.workspace.getConfiguration('scenarioSources');
  const command = config.get('server.path') || 'scenario_tool';
  const args = ['lsp', ...config.get('server.extraArgs', [])];
  return { command, args };
}

async function start(context) {
  client = new LanguageClient(
    'scenarioSources',
    'Scenario sources',
    serverOptions(),
    {
      // Only files on disk: the server pairs a train source with the line
      // source in the same folder.
      documentSelector: [
        { scheme: 'file', language: 'scenario-linea' },
        { scheme: 'file', language: 'scenario-treno' },
      ],
    });
  try {
    await client.start();
  } catch (err) {
    const path = serverOptions().command;
    vscode.window.showErrorMessage(
      `Scenario sources: cannot start "${path} lsp" (${err.message}). ` +
      'Set "scenarioSources.server.path" to the scenario_tool program.');
  }
}

async function stop() {
  if (client) {
    const c = client;
    client = undefined;
    await c.stop().catch(() => {});
  }
}

async function activate(context) {
  context.subscriptions.push(
    vscode.commands.registerCommand('scenarioSources.restartServer', async () => {
      await stop();
      await start(context);
    }),
    vscode.workspace.onDidChangeConfiguration(async (e) => {
      if (e.affectsConfiguration('scenarioSources.server')) {
        await stop();
        await start(context);
      }
    }));
  await start(context);
}

function deactivate() {
  return stop();
}

module.exports = { activate, deactivate };
