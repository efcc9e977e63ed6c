#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""The real talmo-lsp process, spoken to through its pipes.

Each check starts the server on a scratch mod written here, sends framed
JSON-RPC messages and checks the answers: the framing, each request, malformed
input, a changed document, vanished and binary files, both position
encodings with bytes 0x80-0xFF, and the compiler's messages on save (a stand-in
compiler on PATH that must run in a copy of the mod).

usage: lsp_protocol_test.py TALMO_LSP
"""
import json
import os
import select
import shutil
import subprocess
import sys
import tempfile
import time
import urllib.parse

SERVER = sys.argv[1]
TIMEOUT = 20.0

DEFS = (b"// the mod's declarations\n"
        b".float health;\n"
        b"entity self;\n"
        b"void(entity e, float chan, string samp) sound = #8;\n"
        b"void() monster_think;\n"
        b"float CAF\xe9 = 1;\n")
WORLD = (b"void() monster_think =\n"
         b"{\n"
         b"\tself.health = self.health - 1;\n"
         b"\tsound(self, 1, \"x\xa0\xff.wav\");\n"
         b"\tlocal float x = CAF\xe9;\n"
         b"};\n"
         b"$frame stand1 stand2\n"
         b"void() walk = [$stand1, walk] { monster_think(); };\n")


def uri(path):
    return "file://" + urllib.parse.quote(os.fsencode(path))


class Server:
    def __init__(self, root, encodings=None, env=None):
        self.proc = subprocess.Popen([SERVER], stdin=subprocess.PIPE, stdout=subprocess.PIPE,
                                     cwd=root, env=env)
        self.buffer = b""
        self.next_id = 0
        self.notes = []
        caps = {"general": {"positionEncodings": encodings}} if encodings else {}
        self.init = self.request("initialize", {"rootUri": uri(root), "capabilities": caps})
        self.notify("initialized", {})

    def write(self, raw):
        self.proc.stdin.write(raw)
        self.proc.stdin.flush()

    def send(self, message):
        body = json.dumps(message).encode()
        self.write(b"Content-Length: %d\r\n\r\n" % len(body) + body)

    def read(self):
        deadline = time.monotonic() + TIMEOUT
        while True:
            head, sep, rest = self.buffer.partition(b"\r\n\r\n")
            if sep:
                length = next(int(line.split(b":")[1]) for line in head.split(b"\r\n")
                              if line.lower().startswith(b"content-length:"))
                if len(rest) >= length:
                    self.buffer = rest[length:]
                    return json.loads(rest[:length])
            left = deadline - time.monotonic()
            if left <= 0 or not select.select([self.proc.stdout], [], [], left)[0]:
                raise AssertionError("no answer from the server")
            chunk = os.read(self.proc.stdout.fileno(), 65536)
            if not chunk:
                raise AssertionError("the server ended")
            self.buffer += chunk

    def answer(self, id_):
        while True:
            message = self.read()
            if message.get("id") == id_ and "method" not in message:
                return message
            self.notes.append(message)

    def request(self, method, params, full=False):
        self.next_id += 1
        self.send({"jsonrpc": "2.0", "id": self.next_id, "method": method, "params": params})
        message = self.answer(self.next_id)
        return message if full else message.get("result")

    def wait_notes(self, method, count):
        """Reads until `count` notifications of `method` have come."""
        while sum(1 for n in self.notes if n.get("method") == method) < count:
            self.notes.append(self.read())

    def notify(self, method, params):
        self.send({"jsonrpc": "2.0", "method": method, "params": params})

    def at(self, path, line, character, **extra):
        return dict({"textDocument": {"uri": uri(path)},
                     "position": {"line": line, "character": character}}, **extra)

    def close(self):
        assert self.request("shutdown", None) is None
        self.notify("exit", None)
        assert self.proc.wait(TIMEOUT) == 0, "exit after shutdown is status 0"


def check(condition, what):
    if not condition:
        raise AssertionError(what)


def places(result):
    return sorted((os.path.basename(urllib.parse.unquote_to_bytes(r["uri"][7:])).decode("latin-1"),
                   r["range"]["start"]["line"], r["range"]["start"]["character"],
                   r["range"]["end"]["character"]) for r in result)


def make_mod(parent):
    root = os.path.join(parent, "mod")
    os.mkdir(root)
    files = {b"progs.src": b"progs.dat\ndefs.qc\nw\xf6rld.qc\n", b"defs.qc": DEFS,
             b"w\xf6rld.qc": WORLD}
    for name, data in files.items():
        with open(os.path.join(os.fsencode(root), name), "wb") as f:
            f.write(data)
    return root, os.fsdecode(os.path.join(os.fsencode(root), b"w\xf6rld.qc"))


def test_requests(parent):
    root, world = make_mod(parent)
    defs = os.path.join(root, "defs.qc")
    s = Server(root)
    caps = s.init["capabilities"]
    check(caps["positionEncoding"] == "utf-16" and caps["definitionProvider"]
          and caps["textDocumentSync"]["change"] == 2, "capabilities: %r" % caps)

    check(places(s.request("textDocument/definition", s.at(world, 2, 12)))
          == [("defs.qc", 1, 7, 13)], "definition of a field after '.'")
    check(places(s.request("textDocument/definition", s.at(world, 7, 38)))
          == [("wörld.qc", 0, 7, 20)], "definition goes to the body, not the prototype")
    check(places(s.request("textDocument/definition", s.at(world, 7, 16)))
          == [("wörld.qc", 6, 7, 13)], "definition of a frame name")
    check(places(s.request("textDocument/references", s.at(world, 2, 2, context={"includeDeclaration": True})))
          == [("defs.qc", 2, 7, 11), ("wörld.qc", 2, 1, 5), ("wörld.qc", 2, 15, 19),
              ("wörld.qc", 3, 7, 11)], "references of self")
    hover = s.request("textDocument/hover", s.at(world, 4, 18))
    check(hover["contents"]["value"] == "defs.qc:6  float CAF\u00e9 = 1;", "hover: %r" % hover)
    symbols = s.request("textDocument/documentSymbol", {"textDocument": {"uri": uri(defs)}})
    check([(x["name"], x["kind"]) for x in symbols] ==
          [("health", 8), ("self", 13), ("sound", 12), ("monster_think", 12), ("CAF\u00e9", 14)],
          "document symbols: %r" % symbols)
    check(sorted(x["name"] for x in s.request("workspace/symbol", {"query": "THI"}))
          == ["monster_think", "monster_think"], "workspace symbols")
    items = s.request("textDocument/completion", s.at(world, 2, 3))["items"]
    check(items[0]["label"] == "self" and items[0]["detail"] == "entity self;" and
          all(x["label"].lower().startswith("se") for x in items), "completion: %r" % items[:3])
    fields = s.request("textDocument/completion", s.at(world, 2, 6))["items"]
    check([x["label"] for x in fields] == ["health"], "after '.' only fields: %r" % fields)
    new = os.path.join(root, "new.qc")  # open, never saved
    s.notify("textDocument/didOpen", {"textDocument": {"uri": uri(new), "languageId": "quakec",
                                                       "version": 1, "text": "wh ra\n"}})
    check([x["label"] for x in s.request("textDocument/completion", s.at(new, 0, 2))["items"]]
          == ["while"], "keywords complete")
    check([(x["label"], x["kind"]) for x in s.request("textDocument/completion", s.at(new, 0, 5))["items"]]
          == [("random", 3)], "builtins complete")
    help_ = s.request("textDocument/signatureHelp", s.at(world, 3, 14))
    check(help_["activeParameter"] == 1 and
          [p["label"] for p in help_["signatures"][0]["parameters"]]
          == ["entity e", "float chan", "string samp"], "signature help: %r" % help_)

    # An incremental change: the open text wins over the disk.
    s.notify("textDocument/didOpen", {"textDocument": {"uri": uri(defs), "languageId": "quakec",
                                                       "version": 1, "text": DEFS.decode("cp1252")}})
    s.notify("textDocument/didChange", {"textDocument": {"uri": uri(defs), "version": 2},
                                        "contentChanges": [{"range": {"start": {"line": 2, "character": 7},
                                                                      "end": {"line": 2, "character": 11}},
                                                            "text": "me"}]})
    check(places(s.request("textDocument/definition", s.at(world, 2, 2))) == [],
          "a name renamed in the open text has no definition")
    s.notify("textDocument/didChange", {"textDocument": {"uri": uri(defs), "version": 3},
                                        "contentChanges": [{"text": "entity self;\n"}]})
    check(places(s.request("textDocument/definition", s.at(world, 2, 2))) == [("defs.qc", 0, 7, 11)],
          "a whole new text")
    s.notify("textDocument/didClose", {"textDocument": {"uri": uri(defs)}})
    check(places(s.request("textDocument/definition", s.at(world, 2, 2))) == [("defs.qc", 2, 7, 11)],
          "closed: the disk again")

    # Malformed input gets its error and the server goes on.
    s.write(b"Content-Length: 9\r\n\r\n{not json")
    check(s.read()["error"]["code"] == -32700, "parse error")
    s.write(b"X-Other: 1\r\n\r\n")
    check(s.read()["error"]["code"] == -32700, "no Content-Length")
    s.send({"jsonrpc": "2.0", "id": 99, "params": {}})
    check(s.answer(99)["error"]["code"] == -32600, "no method")
    check(s.request("nonsense/method", {}, full=True)["error"]["code"] == -32601, "unknown method")
    check(s.request("initialize", {"capabilities": {}}, full=True)["error"]["code"] == -32600,
          "initialized once only")
    check(s.request("textDocument/definition", {"textDocument": 5}, full=True)["error"]["code"] == -32602,
          "params of a wrong shape")
    # Two messages in one write, the header in another case.
    body = json.dumps({"jsonrpc": "2.0", "id": 100, "method": "workspace/symbol",
                       "params": {"query": "health"}}).encode()
    s.write((b"content-length: %d\r\n\r\n" % len(body) + body) * 2)
    check(len(s.answer(100)["result"]) == 1 and len(s.answer(100)["result"]) == 1, "two in one write")

    # Outside the workspace, vanished, binary: empty answers.
    outside = os.path.join(parent, "outside.qc")
    shutil.copy(defs, outside)
    check(s.request("textDocument/documentSymbol", {"textDocument": {"uri": uri(outside)}}) == [],
          "outside the workspace")
    with open(os.path.join(root, "bin.qc"), "wb") as f:
        f.write(b"float x;\0\x01\x02entity y;")
    check(s.request("textDocument/hover", s.at(os.path.join(root, "bin.qc"), 0, 7)) is None, "binary")
    os.remove(world)
    check(s.request("textDocument/definition", s.at(world, 2, 2)) == [], "vanished file")
    check(s.request("textDocument/references", s.at(defs, 2, 8, context={})) and
          all("rld" not in r["uri"] for r in s.request("textDocument/references", s.at(defs, 2, 8, context={}))),
          "a vanished file has no usages")
    s.close()


def test_utf8(parent):
    root, world = make_mod(parent)
    s = Server(root, encodings=["utf-8", "utf-16"])
    check(s.init["capabilities"]["positionEncoding"] == "utf-8", "utf-8 agreed")
    # Line 3 of world holds "\xa0\xff" (two bytes each in UTF-8) before ".wav".
    check(places(s.request("textDocument/definition", s.at(world, 4, 19))) == [("defs.qc", 5, 6, 11)],
          "a name with é is 5 UTF-8 bytes long")
    s.notify("textDocument/didOpen", {"textDocument": {"uri": uri(world), "languageId": "quakec",
                                                       "version": 1, "text": WORLD.decode("cp1252")}})
    # Replace "\xa0\xff" (UTF-8 characters 17-21 of line 3) with "ab".
    s.notify("textDocument/didChange", {"textDocument": {"uri": uri(world), "version": 2},
                                        "contentChanges": [{"range": {"start": {"line": 3, "character": 17},
                                                                      "end": {"line": 3, "character": 21}},
                                                            "text": "ab"}]})
    help_ = s.request("textDocument/signatureHelp", s.at(world, 3, 24))
    check(help_ and help_["activeParameter"] == 2, "the edit kept the text whole: %r" % help_)
    s.close()


def test_diagnostics(parent):
    root, world = make_mod(parent)
    bindir = os.path.join(parent, "bin")
    os.mkdir(bindir)
    compiler = os.path.join(bindir, "fteqcc")
    with open(compiler, "w") as f:
        f.write("#!/bin/sh\ntouch progs.dat\nsleep 2\necho 'w\xf6rld.qc:3: error: type mismatch'\n"
                "echo 'defs.qc:2:3: warning: unused'\n")
    os.chmod(compiler, 0o755)
    env = dict(os.environ, PATH=bindir + os.pathsep + "/usr/bin:/bin")
    s = Server(root, env=env)
    s.notify("textDocument/didSave", {"textDocument": {"uri": uri(world)}})
    # The compiler takes two seconds; requests are answered meanwhile.
    started = time.monotonic()
    s.request("workspace/symbol", {"query": "x"})
    check(time.monotonic() - started < 1.0, "a request waited for the compiler")
    s.wait_notes("textDocument/publishDiagnostics", 2)
    published = {os.path.basename(urllib.parse.unquote(n["params"]["uri"])):
                 [(d["range"]["start"]["line"], d["severity"], d["message"]) for d in n["params"]["diagnostics"]]
                 for n in s.notes if n.get("method") == "textDocument/publishDiagnostics"}
    check(published == {"wörld.qc": [(2, 1, "type mismatch")], "defs.qc": [(1, 2, "unused")]},
          "diagnostics: %r" % published)
    check(not os.path.exists(os.path.join(root, "progs.dat")), "nothing written into the mod")
    s.close()
    # No compiler: no diagnostics.
    s = Server(root, env=dict(os.environ, PATH=os.path.join(parent, "none")))
    s.notify("textDocument/didSave", {"textDocument": {"uri": uri(world)}})
    s.request("workspace/symbol", {"query": "x"})
    check(not s.notes, "no compiler, no diagnostics")
    s.close()


def main():
    failed = 0
    for test in (test_requests, test_utf8, test_diagnostics):
        with tempfile.TemporaryDirectory() as parent:
            try:
                test(parent)
                print("PASS", test.__name__)
            except Exception as error:  # report each, then fail
                failed += 1
                print("FAIL", test.__name__, "-", error)
    sys.exit(1 if failed else 0)


if __name__ == "__main__":
    main()
