-- Line and train sources of the scenario builder in Neovim (0.7 or later):
-- file types by name, Windows-1252 text, and `scenario_tool lsp` started
-- with the built-in client for every such buffer.
--
--   vim.opt.runtimepath:append('/path/to/editors/nvim')
--   require('scenario_sources').setup({ cmd = { '/path/to/scenario_tool', 'lsp' } })
--
-- Only APIs of Neovim 0.7 are used (no vim.lsp.start, no vim.filetype.add),
-- but for the inlay hints, which are turned on only where Neovim has them.
local M = {}

local defaults = {
  -- The server: scenario_tool on PATH unless a path is given.
  cmd = { 'scenario_tool', 'lsp' },
  -- Called for every buffer the client attaches to, as on_attach(client, bufnr).
  on_attach = nil,
  -- The cell and kilometre after every position, as inlay hints. Neovim
  -- shows them from 0.10 on; older versions ignore the setting.
  inlay_hints = false,
}

local config = vim.deepcopy(defaults)
local client_id = nil

local filetypes = { scenario_linea = true, scenario_treno = true }

-- "Valle_linea.txt" is the line source of scenario Valle, "Valle_4711-.txt"
-- the train source of its train 4711.
local patterns = { ['*_linea.txt'] = 'scenario_linea', ['*-.txt'] = 'scenario_treno' }

local function start_or_reuse()
  if client_id and vim.lsp.get_client_by_id(client_id) then
    return client_id
  end
  client_id = vim.lsp.start_client({
    name = 'scenario_tool',
    cmd = config.cmd,
    -- The server pairs sources by folder; it needs no workspace root, but
    -- the client wants one.
    root_dir = vim.fn.getcwd(),
    on_attach = function(client, bufnr)
      vim.api.nvim_buf_set_option(bufnr, 'omnifunc', 'v:lua.vim.lsp.omnifunc')
      if config.inlay_hints and vim.lsp.inlay_hint then
        pcall(vim.lsp.inlay_hint.enable, true, { bufnr = bufnr })
      end
      if config.on_attach then
        config.on_attach(client, bufnr)
      end
    end,
    on_exit = function()
      client_id = nil
    end,
  })
  return client_id
end

local function attach(bufnr)
  local id = start_or_reuse()
  if id then
    vim.lsp.buf_attach_client(bufnr, id)
  else
    vim.notify('scenario_sources: cannot start ' .. table.concat(config.cmd, ' '), vim.log.levels.ERROR)
  end
end

function M.setup(opts)
  config = vim.tbl_deep_extend('force', vim.deepcopy(defaults), opts or {})
  local group = vim.api.nvim_create_augroup('scenario_sources', { clear = true })

  for pattern, filetype in pairs(patterns) do
    -- The sources are Windows-1252: read them as such, whatever
    -- 'fileencodings' says for other files, and write them back the same.
    local saved = nil
    vim.api.nvim_create_autocmd('BufReadPre', {
      group = group,
      pattern = pattern,
      callback = function()
        saved = vim.o.fileencodings
        vim.o.fileencodings = 'cp1252'
      end,
    })
    vim.api.nvim_create_autocmd('BufReadPost', {
      group = group,
      pattern = pattern,
      callback = function()
        if saved then
          vim.o.fileencodings = saved
          saved = nil
        end
        vim.bo.filetype = filetype
      end,
    })
    vim.api.nvim_create_autocmd('BufNewFile', {
      group = group,
      pattern = pattern,
      callback = function()
        vim.bo.fileencoding = 'cp1252'
        vim.bo.fileformat = 'dos'
        vim.bo.filetype = filetype
      end,
    })
  end

  vim.api.nvim_create_autocmd('FileType', {
    group = group,
    pattern = { 'scenario_linea', 'scenario_treno' },
    callback = function(args)
      -- The server reads the pair from disk where a file is not open: it
      -- needs buffers of files, not scratch buffers.
      if vim.api.nvim_buf_get_name(args.buf) ~= '' then
        attach(args.buf)
      end
    end,
  })
  -- Rows that begin with a hyphen are comments.
  vim.api.nvim_create_autocmd('FileType', {
    group = group,
    pattern = { 'scenario_linea', 'scenario_treno' },
    callback = function()
      vim.bo.commentstring = '- %s'
      vim.bo.comments = 'b:-'
    end,
  })
end

-- The id of the running client, if any (for scripts and tests).
function M.client_id()
  return client_id
end

M.filetypes = filetypes
return M
