#!/usr/bin/env python3
"""A stand-in for the LRCLIB service, for the tests: /api/get and /api/search on 127.0.0.1.

Usage: lrclib_standin.py PORT_FILE [LIFETIME_SECONDS]
Binds a free port, writes its number to PORT_FILE, and serves until GET /__stop or the lifetime
ends (so that it never outlives a test that could not stop it). The API answers below any path
(/api/get, /sub/path/api/get). The track name picks the answer:

  found...       /api/get answers the record with synced lyrics naming the track ("found",
                 "found two", ...)
  searchhit      /api/get 404; /api/search lists candidates, one within 2 s with synced lyrics
  instrumental   /api/get answers a record marked instrumental
  error500       every request answers 500
  slow           /api/get answers after 15 s, past the plug-in's 10 s deadline
  silent         /api/get is accepted and never answered (the connection closes after a minute)
  trickleheaders /api/get sends its headers a byte a second
  tricklebody    /api/get sends its headers, then its body a byte a second
  malformed      /api/get answers broken JSON
  wrongtypes     /api/get answers a record whose fields have the wrong types
  deepobject     /api/get answers an object nested 100000 deep
  oversized      /api/get answers a 2 MB body
  bigvalid       /api/get answers a valid record with 900 KB of synced lyrics
  nuls           /api/get answers synced lyrics holding zero characters
  absurdoffset   /api/get answers synced lyrics with [offset:-600000000] among them
  elsewhere      /api/get redirects (302) to the same request on http://localhost:<port>, another
                 host name for this very server (and answers that as "found")
  samehost       /api/get redirects (307) to /api/get of "found" on the same host and port
  wrongduration  /api/get 404; /api/search lists only candidates 10 s off
  anything else  404

GET /__log lists the requests received so far, one a line: "<path> UA=<user agent> HOST=<host>".
"""
import json
import sys
import threading
import time
import urllib.parse
from http.server import BaseHTTPRequestHandler, ThreadingHTTPServer

SYNCED = "[00:00.00]WWWW WWWW\n[00:30.00]end"
NOT_FOUND = '{"code":404,"name":"TrackNotFound","message":"Failed to find specified track"}'
requests = []
lock = threading.Lock()


def record(track, duration, synced=SYNCED, instrumental=False):
    return {"id": 7, "trackName": track, "artistName": "Standin Artist", "albumName": "Standin Album",
            "duration": duration, "instrumental": instrumental,
            "plainLyrics": None if synced is None else "WWWW WWWW", "syncedLyrics": synced}


class Handler(BaseHTTPRequestHandler):
    protocol_version = "HTTP/1.1"

    def log_message(self, *args):
        pass

    def answer(self, status, body, content_type="application/json", headers=()):
        data = body.encode() if isinstance(body, str) else body
        self.send_response(status)
        self.send_header("Content-Type", content_type)
        self.send_header("Content-Length", str(len(data)))
        for name, value in headers:
            self.send_header(name, value)
        self.end_headers()
        self.write(data)

    def write(self, data):
        try:
            self.wfile.write(data)
            self.wfile.flush()
            return True
        except OSError:
            return False

    def trickle(self, data):
        for i in range(len(data)):
            if not self.write(data[i:i + 1]):
                return
            time.sleep(1)

    def get(self, track, duration, query):
        if track.startswith("found"):
            return self.answer(200, json.dumps(record(track, duration + 0.4, SYNCED + " " + track)))
        if track == "instrumental":
            return self.answer(200, json.dumps(record(track, duration, None, True)))
        if track == "slow":
            time.sleep(15)
            return self.answer(200, json.dumps(record(track, duration)))
        if track == "silent":
            time.sleep(60)
            self.close_connection = True
            return
        if track == "trickleheaders":
            body = json.dumps(record(track, duration)).encode()
            self.trickle(b"HTTP/1.1 200 OK\r\nContent-Length: %d\r\nX-Padding: %s\r\n\r\n" % (len(body), b"p" * 60))
            return self.write(body)
        if track == "tricklebody":
            body = json.dumps(record(track, duration)).encode()
            self.write(b"HTTP/1.1 200 OK\r\nContent-Type: application/json\r\nContent-Length: %d\r\n\r\n" % len(body))
            return self.trickle(body)
        if track == "malformed":
            return self.answer(200, '{"syncedLyrics": "[00:00.00]WWWW WWWW", "duration": 20')
        if track == "wrongtypes":
            wrong = dict(record(track, duration), duration=str(duration), syncedLyrics={"text": SYNCED})
            return self.answer(200, json.dumps(wrong))
        if track == "deepobject":
            return self.answer(200, '{"a":' * 100000 + '1' + '}' * 100000)
        if track == "oversized":
            return self.answer(200, json.dumps(record(track, duration, SYNCED + "\n" + "x" * 2_000_000)))
        if track == "bigvalid":
            lines = "".join("[%02d:%02d.00]line %d of a long song\n" % (i // 6000 % 100, i // 100 % 60, i)
                            for i in range(30000))
            return self.answer(200, json.dumps(record(track, duration, lines[:900_000])))
        if track == "nuls":
            return self.answer(200, json.dumps(record(track, duration, "[00:00.00]WWWW\0 WWWW\n[00:30.00]end")))
        if track == "absurdoffset":
            return self.answer(200, json.dumps(record(track, duration, "[offset:-600000000]\n" + SYNCED)))
        if track == "elsewhere":
            moved = dict(query, track_name="found")
            target = "http://localhost:%d%s?%s" % (self.server.server_address[1], self.path.split("?")[0],
                                                  urllib.parse.urlencode(moved))
            return self.answer(302, "", "text/plain", [("Location", target)])
        if track == "samehost":
            moved = dict(query, track_name="found")
            return self.answer(307, "", "text/plain", [("Location", "/api/get?" + urllib.parse.urlencode(moved))])
        return self.answer(404, NOT_FOUND)

    def do_GET(self):
        url = urllib.parse.urlsplit(self.path)
        query = dict(urllib.parse.parse_qsl(url.query))
        if url.path == "/__stop":
            self.answer(200, "bye", "text/plain")
            threading.Thread(target=self.server.shutdown).start()
            return
        if url.path == "/__log":
            with lock:
                self.answer(200, "".join(line + "\n" for line in requests), "text/plain")
            return
        with lock:
            requests.append("%s UA=%s HOST=%s" % (self.path, self.headers.get("User-Agent", ""),
                                                  self.headers.get("Host", "")))
        track = query.get("track_name", "")
        duration = float(query.get("duration", "200"))
        if track == "error500":
            return self.answer(500, "Internal Server Error", "text/plain")
        if url.path.endswith("/api/get"):
            return self.get(track, duration, query)
        if url.path.endswith("/api/search"):
            length = 200
            if track == "searchhit":
                return self.answer(200, json.dumps([record(track, length + 9, "[00:00.00]iiii"),
                                                    record(track, length - 1.5)]))
            if track == "wrongduration":
                return self.answer(200, json.dumps([record(track, length + 10), record(track, length - 10)]))
            return self.answer(200, "[]")
        self.answer(404, "{}")


class Server(ThreadingHTTPServer):
    daemon_threads = True

    def handle_error(self, request, client_address):
        # A client that gave up on an answer (at its deadline, or refusing a body too large) closes
        # the connection under the handler: expected here, not worth a trace.
        if not isinstance(sys.exc_info()[1], OSError):
            super().handle_error(request, client_address)


def main():
    port_file = sys.argv[1]
    lifetime = float(sys.argv[2]) if len(sys.argv) > 2 else 300
    server = Server(("127.0.0.1", 0), Handler)
    threading.Timer(lifetime, server.shutdown).start()
    with open(port_file + ".tmp", "w") as f:
        f.write(str(server.server_address[1]))
    import os
    os.replace(port_file + ".tmp", port_file)
    server.serve_forever()
    os._exit(0)


if __name__ == "__main__":
    main()
