#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Neovim's own language client, headless, attached to talmo-lsp.

Opens world.qc of a copy of the example mod, asks for the definition and the
references of a global, writes what Neovim received as JSON, and checks it
against the places a plain word search of the mod finds. Everything runs
under timeouts, so a stuck client or server fails the test instead of
hanging it.

usage: neovim_lsp_test.py TALMO_LSP EXAMPLE_MOD
"""
import json
import os
import re
import shutil
import subprocess
import sys
import tempfile

SERVER, EXAMPLE = sys.argv[1], sys.argv[2]
NAME = "lanterns_lit"

CONFIG = r"""
local server, out = os.getenv('TALMO_LSP'), os.getenv('RESULT')
local function finish(result)
  local f = io.open(out, 'w'); f:write(vim.fn.json_encode(result)); f:close()
  vim.cmd('qa!')
end
vim.defer_fn(function() finish({ error = 'timed out' }) end, 30000)
local function start()
local root = vim.fn.getcwd()
local config = { name = 'talmo', cmd = { server }, root_dir = root,
                 workspace_folders = { { uri = vim.uri_from_fname(root), name = 'mod' } } }
local client_id
if vim.lsp.start then
  client_id = vim.lsp.start(config)
else
  client_id = vim.lsp.start_client(config)
  vim.lsp.buf_attach_client(0, client_id)
end
local function ask()
  local line = vim.fn.search('\\<' .. os.getenv('NAME') .. '\\> = 0')
  local params = vim.lsp.util.make_position_params()
  local definition, derr = vim.lsp.buf_request_sync(0, 'textDocument/definition', params, 10000)
  params.context = { includeDeclaration = true }
  local references = vim.lsp.buf_request_sync(0, 'textDocument/references', params, 10000)
  local client = vim.lsp.get_client_by_id(client_id)
  finish({ line = line, definition = definition and definition[client_id],
           references = references and references[client_id],
           initialized = client ~= nil and client.initialized, derr = derr })
end
local tries = 0
local function wait()
  local client = vim.lsp.get_client_by_id(client_id)
  tries = tries + 1
  if client and client.initialized then ask()
  elseif tries > 200 then finish({ error = 'never initialized' })
  else vim.defer_fn(wait, 50) end
end
wait()
end
-- Once the file given on the command line is loaded.
vim.api.nvim_create_autocmd('VimEnter', { callback = start })
"""


def word_places(mod):
    """Every whole-word NAME in the mod's .qc files: (file, 0-based line, column)."""
    found = []
    for name in sorted(os.listdir(mod)):
        if name.endswith(".qc"):
            with open(os.path.join(mod, name), encoding="latin-1") as f:
                for number, line in enumerate(f):
                    code = line.split("//")[0]
                    found += [(name, number, m.start()) for m in re.finditer(r"\b%s\b" % NAME, code)]
    return found


def places(locations):
    return sorted((os.path.basename(l["uri"]), l["range"]["start"]["line"],
                   l["range"]["start"]["character"]) for l in locations)


def main():
    with tempfile.TemporaryDirectory() as scratch:
        mod = os.path.join(scratch, "mod")
        shutil.copytree(EXAMPLE, mod)
        config = os.path.join(scratch, "init.lua")
        with open(config, "w") as f:
            f.write(CONFIG)
        result = os.path.join(scratch, "result.json")
        env = dict(os.environ, TALMO_LSP=SERVER, RESULT=result, NAME=NAME,
                   XDG_CONFIG_HOME=scratch, XDG_DATA_HOME=scratch, XDG_STATE_HOME=scratch,
                   XDG_CACHE_HOME=scratch)
        subprocess.run(["nvim", "--headless", "--clean", "-n", "-u", config, "world.qc"],
                       cwd=mod, env=env, timeout=60, stdin=subprocess.DEVNULL,
                       stdout=subprocess.DEVNULL)
        with open(result) as f:
            got = json.load(f)
        expected = word_places(mod)
        definition = [p for p in expected if p[0] == "defs.qc"]
        ok = (got.get("error") is None and got.get("definition") and got.get("references")
              and places(got["definition"]["result"]) == definition
              and places(got["references"]["result"]) == expected and len(expected) > 3)
        if not ok:
            print("expected definition", definition, "references", expected)
            print("received", json.dumps(got)[:2000])
            sys.exit(1)
        print("PASS: definition", definition, "and", len(expected), "references")


if __name__ == "__main__":
    main()
