#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Times talmo-lsp's answers through the real process on the generated mod
of 150 files (5 MB): from a request written to its answer read. Prints
"NAME  T ms" lines: the initialize answer, the first answer after it (a
definition, right after "initialized"), then the median of 51 definition,
hover and completion requests and of 11 reference searches.

usage: lsp_requests.py TALMO_LSP BENCH_DEFINITIONS
"""
import json
import os
import re
import shutil
import statistics
import subprocess
import sys
import tempfile
import time

server, generator = os.path.abspath(sys.argv[1]), os.path.abspath(sys.argv[2])
scratch = tempfile.mkdtemp(prefix="talmo-lsp-bench.")
try:
    mod = os.path.join(scratch, "mod")
    subprocess.run([generator, "generate", mod], check=True, stdout=subprocess.DEVNULL)
    for name in os.listdir(mod):  # into the page cache, as an editor's files are
        with open(os.path.join(mod, name), "rb") as f:
            f.read()
    # A name the mod defines and uses: its first use in file0.qc.
    with open(os.path.join(mod, "file0.qc"), encoding="latin-1") as f:
        lines = f.read().split("\n")
    line, column = next((n, m.start()) for n, text in enumerate(lines)
                        for m in [re.search(r"= (think7)\b", text)] if m)
    column += 2
    uri = "file://" + os.path.join(mod, "file0.qc")

    proc = subprocess.Popen([server], stdin=subprocess.PIPE, stdout=subprocess.PIPE, cwd=mod)
    next_id = [0]

    def send(method, params, notify=False):
        message = {"jsonrpc": "2.0", "method": method, "params": params}
        if not notify:
            next_id[0] += 1
            message["id"] = next_id[0]
        body = json.dumps(message).encode()
        proc.stdin.write(b"Content-Length: %d\r\n\r\n" % len(body) + body)
        proc.stdin.flush()

    def answer():
        while True:
            length = None
            while True:
                header = proc.stdout.readline()
                if not header:
                    raise SystemExit("talmo-lsp ended")
                if header in (b"\r\n", b"\n"):
                    break
                if header.lower().startswith(b"content-length:"):
                    length = int(header.split(b":")[1])
            message = json.loads(proc.stdout.read(length))
            if "id" in message:
                return message

    def timed(method, params):
        t0 = time.perf_counter()
        send(method, params)
        result = answer()
        return (time.perf_counter() - t0) * 1000, result

    at = {"textDocument": {"uri": uri}, "position": {"line": line, "character": column}}
    t0 = time.perf_counter()
    send("initialize", {"rootUri": "file://" + mod, "capabilities": {}})
    answer()
    print("initialize  %.2f ms" % ((time.perf_counter() - t0) * 1000))
    send("initialized", {}, notify=True)
    ms, first = timed("textDocument/definition", at)
    print("first_answer  %.2f ms" % ((time.perf_counter() - t0) * 1000))
    assert first["result"], "the definition of think7 was found"
    completion_at = dict(at, position={"line": line, "character": column + 3})
    for name, method, params, rounds in (
            ("definition", "textDocument/definition", at, 51),
            ("hover", "textDocument/hover", at, 51),
            ("completion", "textDocument/completion", completion_at, 51),
            ("references", "textDocument/references", dict(at, context={"includeDeclaration": True}), 11)):
        times = []
        for _ in range(rounds):
            ms, result = timed(method, params)
            assert result.get("result"), name + " answered"
            times.append(ms)
        print("%s  %.2f ms" % (name, statistics.median(times)))
    send("shutdown", None)
    answer()
    send("exit", None, notify=True)
    proc.wait(10)
finally:
    shutil.rmtree(scratch, ignore_errors=True)
