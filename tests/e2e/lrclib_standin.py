#!/usr/bin/env python3
"""A stand-in for the LRCLIB service, for the tests: /api/get and /api/search on 127.0.0.1.

Usage: lrclib_standin.py PORT_FILE [LIFETIME_SECONDS]
Binds a free port, writes its number to PORT_FILE, and serves until GET /__stop or the lifetime
ends (so that it never outlives a test that could not stop it). The track name picks the answer:

  found          /api/get answers the record with synced lyrics
  searchhit      /api/get 404; /api/search lists candidates, one within 2 s with synced lyrics
  instrumental   /api/get answers a record marked instrumental
  error500       every request answers 500
  slow           /api/get answers after 15 s, past the plug-in's 10 s time-out
  malformed      /api/get answers broken JSON
  oversized      /api/get answers a 2 MB body
  wrongduration  /api/get 404; /api/search lists only candidates 10 s off
  anything else  404

GET /__log lists the request paths received so far, one a line.
"""
import json
import sys
import threading
import time
import urllib.parse
from http.server import BaseHTTPRequestHandler, ThreadingHTTPServer

SYNCED = "[00:00.00]WWWW WWWW\n[00:30.00]end"
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

    def answer(self, status, body, content_type="application/json"):
        data = body.encode() if isinstance(body, str) else body
        self.send_response(status)
        self.send_header("Content-Type", content_type)
        self.send_header("Content-Length", str(len(data)))
        self.end_headers()
        try:
            self.wfile.write(data)
        except OSError:
            pass

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
            requests.append(self.path + " UA=" + self.headers.get("User-Agent", ""))
        track = query.get("track_name", "")
        duration = float(query.get("duration", "200"))
        if track == "error500":
            return self.answer(500, "Internal Server Error", "text/plain")
        if url.path == "/api/get":
            if track == "found":
                return self.answer(200, json.dumps(record(track, duration + 0.4)))
            if track == "instrumental":
                return self.answer(200, json.dumps(record(track, duration, None, True)))
            if track == "slow":
                time.sleep(15)
                return self.answer(200, json.dumps(record(track, duration)))
            if track == "malformed":
                return self.answer(200, '{"syncedLyrics": "[00:00.00]WWWW WWWW", "duration": 20')
            if track == "oversized":
                return self.answer(200, json.dumps(record(track, duration, SYNCED + "\n" + "x" * 2_000_000)))
            return self.answer(404, '{"code":404,"name":"TrackNotFound","message":"Failed to find specified track"}')
        if url.path == "/api/search":
            length = 200
            if track == "searchhit":
                return self.answer(200, json.dumps([record(track, length + 9, "[00:00.00]iiii"),
                                                    record(track, length - 1.5)]))
            if track == "wrongduration":
                return self.answer(200, json.dumps([record(track, length + 10), record(track, length - 10)]))
            return self.answer(200, "[]")
        self.answer(404, "{}")


def main():
    port_file = sys.argv[1]
    lifetime = float(sys.argv[2]) if len(sys.argv) > 2 else 300
    server = ThreadingHTTPServer(("127.0.0.1", 0), Handler)
    server.daemon_threads = True
    threading.Timer(lifetime, server.shutdown).start()
    with open(port_file + ".tmp", "w") as f:
        f.write(str(server.server_address[1]))
    import os
    os.replace(port_file + ".tmp", port_file)
    server.serve_forever()
    os._exit(0)


if __name__ == "__main__":
    main()
