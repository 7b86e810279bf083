-- A real client against `scenario_tool lsp`: Neovim's built-in client opens
-- the exported built-in sources, sees no errors, has a keyword misspelt,
-- sees the diagnostic on that row, applies the quick fix, and asks for hover
-- and completion. Run by prova_nvim.sh; any failure ends Neovim with a
-- non-zero status and says why.
local tool = assert(os.getenv('SCENARIO_TOOL'), 'SCENARIO_TOOL not set')
local dir = assert(os.getenv('SORGENTI'), 'SORGENTI not set')
local wait_ms = 20000

local function fail(msg)
  io.stderr:write('prova_nvim: ' .. msg .. '\n')
  vim.cmd('cquit 1')
end

local function check(cond, msg)
  if not cond then fail(msg) end
end

-- Every publishDiagnostics, by URI, as the server sent it.
local published = {}
local publish = vim.lsp.handlers['textDocument/publishDiagnostics']
vim.lsp.handlers['textDocument/publishDiagnostics'] = function(err, result, ctx, cfg)
  published[result.uri] = result.diagnostics
  return publish(err, result, ctx, cfg)
end

local sources = require('scenario_sources')
sources.setup({ cmd = { tool, 'lsp' } })

local function open(name)
  vim.cmd('edit ' .. vim.fn.fnameescape(dir .. '/' .. name))
  return vim.api.nvim_get_current_buf()
end

local linea = open('Lavrano_Cestelle_linea.txt')
local treno = open('Lavrano_Cestelle_58121-.txt')
check(vim.bo[linea].filetype == 'scenario_linea', 'line source filetype: ' .. vim.bo[linea].filetype)
check(vim.bo[treno].filetype == 'scenario_treno', 'train source filetype: ' .. vim.bo[treno].filetype)
check(vim.bo[linea].fileencoding == 'cp1252', 'line source read as ' .. vim.bo[linea].fileencoding)
check(vim.bo[linea].fileformat == 'dos', 'line source line ends: ' .. vim.bo[linea].fileformat)

local uri = { [linea] = vim.uri_from_bufnr(linea), [treno] = vim.uri_from_bufnr(treno) }
check(vim.wait(wait_ms, function()
  return published[uri[linea]] ~= nil and published[uri[treno]] ~= nil
end, 20), 'no diagnostics published for both sources')

local function errors(buf)
  local n = 0
  for _, d in ipairs(published[uri[buf]]) do
    if d.severity == 1 then
      n = n + 1
      io.stderr:write(string.format('  row %d: %s\n', d.range.start.line + 1, d.message))
    end
  end
  return n
end
check(errors(linea) == 0 and errors(treno) == 0, 'errors on the built-in sources')

-- The first tunnel row: its keyword is misspelt, as if typed.
local row
for i, l in ipairs(vim.api.nvim_buf_get_lines(linea, 0, -1, true)) do
  if l:match('^montagna') then row = i - 1; break end
end
check(row, 'no tunnel row in the line source')
vim.api.nvim_buf_set_text(linea, row, 0, row, #'montagna', { 'montagan' })

local function at_row(buf)
  for _, d in ipairs(published[uri[buf]] or {}) do
    if d.range.start.line == row then return d end
  end
end
check(vim.wait(wait_ms, function() return at_row(linea) ~= nil end, 20),
      'no diagnostic on row ' .. (row + 1) .. ' after the misspelling')
local diagnostic = at_row(linea)

-- The quick fix for it.
local responses = vim.lsp.buf_request_sync(linea, 'textDocument/codeAction', {
  textDocument = { uri = uri[linea] },
  range = diagnostic.range,
  context = { diagnostics = { diagnostic }, only = { 'quickfix' } },
}, wait_ms)
local action
for _, r in pairs(responses or {}) do
  for _, a in ipairs(r.result or {}) do
    if a.edit and (a.kind == nil or a.kind:match('^quickfix')) then action = action or a end
  end
end
check(action, 'no quick fix offered for: ' .. diagnostic.message)
vim.lsp.util.apply_workspace_edit(action.edit, 'utf-16')
local fixed = vim.api.nvim_buf_get_lines(linea, row, row + 1, true)[1]
check(fixed:match('^montagna,'), 'the quick fix left the row as: ' .. fixed)
check(vim.wait(wait_ms, function() return at_row(linea) == nil end, 20),
      'the diagnostic stayed after the quick fix')
check(errors(linea) == 0 and errors(treno) == 0, 'errors after the quick fix')

local function hover(buf, line, col)
  local r = vim.lsp.buf_request_sync(buf, 'textDocument/hover', {
    textDocument = { uri = uri[buf] },
    position = { line = line, character = col },
  }, wait_ms)
  local text = ''
  for _, x in pairs(r or {}) do
    if x.result then
      local lines = vim.lsp.util.convert_input_to_markdown_lines(x.result.contents)
      text = text .. table.concat(lines, '\n')
    end
  end
  return text
end

-- On the keyword: the row kind and its fields; on the position: the cell,
-- the kilometre and what the compile placed there.
local keyword_hover = hover(linea, row, 2):lower()
check(keyword_hover:find('montagna', 1, true) or keyword_hover:find('tunnel', 1, true),
      'hover on the keyword: ' .. keyword_hover)
local tunnel_row = vim.api.nvim_buf_get_lines(linea, row, row + 1, true)[1]
local number_col = tunnel_row:find('%d') - 1
local position_hover = hover(linea, row, number_col)
check(position_hover:find('cell', 1, true) and position_hover:find('km', 1, true),
      'hover on the position: ' .. position_hover)

-- Completion on a new empty row after the tunnel: the tunnel keyword is
-- offered in the line source, the station keyword in the train source.
local function labels(buf, line)
  vim.api.nvim_buf_set_lines(buf, line, line, true, { '' })
  local r = vim.lsp.buf_request_sync(buf, 'textDocument/completion', {
    textDocument = { uri = uri[buf] },
    position = { line = line, character = 0 },
  }, wait_ms)
  vim.api.nvim_buf_set_lines(buf, line, line + 1, true, {})
  local out = {}
  for _, x in pairs(r or {}) do
    local items = x.result and (x.result.items or x.result) or {}
    for _, item in ipairs(items) do out[#out + 1] = item.label end
  end
  return table.concat(out, '|')
end
local in_linea = labels(linea, row + 1)
check(in_linea:find('montagna', 1, true), 'completion in the line source: ' .. in_linea)
local station_row
for i, l in ipairs(vim.api.nvim_buf_get_lines(treno, 0, -1, true)) do
  if l:match('^stazione') then station_row = i; break end
end
local in_treno = labels(treno, station_row)
check(in_treno:find('stazione', 1, true), 'completion in the train source: ' .. in_treno)

-- An accented letter before a field: the position after it counts UTF-16
-- units, and the file goes back to disk in Windows-1252.
local speed_row
for i, l in ipairs(vim.api.nvim_buf_get_lines(treno, 0, -1, true)) do
  if l:match("^velocita' limite") then speed_row = i - 1; break end
end
check(speed_row, 'no first speed row in the train source')
vim.api.nvim_buf_set_text(treno, speed_row, #'velocit', speed_row, #"velocita'", { 'à' })
local speed_line = vim.api.nvim_buf_get_lines(treno, speed_row, speed_row + 1, true)[1]
local zero = speed_line:find('0') - 1
local _, zero_utf16 = vim.str_utfindex(speed_line, zero)
local accented_hover = hover(treno, speed_row, zero_utf16)
check(accented_hover:find('km 0', 1, true), 'hover after an accented letter: ' .. accented_hover)
vim.api.nvim_buf_call(treno, function() vim.cmd('silent write') end)
local f = assert(io.open(vim.api.nvim_buf_get_name(treno), 'rb'))
local bytes = f:read('*a')
f:close()
check(bytes:find('velocit\224 limite', 1, true), 'the train source was not written in Windows-1252')
check(bytes:find('\r\n', 1, true), 'the train source lost its CR LF line ends')

vim.lsp.stop_client(sources.client_id())
io.stdout:write('prova_nvim: ok\n')
vim.cmd('qall!')
