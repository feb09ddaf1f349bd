#!/usr/bin/env python3
"""HTTP server on 127.0.0.1 for the tests of the download.

usage: http_server.py DIR

Prints its port on the first line of stdout. For every request it appends the
request line and the User-Agent header to DIR/log, then answers as DIR/mode
says, with DIR/body as the response body:
  normal  200 with the body
  cut     a Content-Length larger than the body, the body, then the connection
          is closed
  slow    reads the request and never answers
  missing 404 with the body
  endless 200 without a Content-Length, then the body again and again until
          the client closes the connection

A path with a file of its own, DIR/files/PATH (DIR/files/PATH/index for a
PATH ending in "/"), is answered with that file instead, as the file
DIR/files/PATH.how says (any of the modes above, or):
  redirect URL  302 to URL
  gzip          the body gzip-compressed, when the request accepts gzip
                (406 when it does not)
  deflate       the same, zlib-compressed
"""
import os
import socket
import sys
import gzip
import threading
import time
import zlib


def read_file(path, default=b""):
    try:
        with open(path, "rb") as f:
            return f.read()
    except OSError:
        return default


def own_file(folder, request_line):
    """(how, body) of the request's own file, or None when it has none."""
    parts = request_line.split(b" ")
    if len(parts) < 2 or not parts[1].startswith(b"/"):
        return None
    path = parts[1].split(b"?", 1)[0].decode("latin-1")
    if path.endswith("/"):
        path += "index"
    root = os.path.join(folder, "files")
    full = os.path.normpath(root + path)
    if not full.startswith(root + os.sep):
        return None
    how = read_file(full + ".how", None)
    if how is None and not os.path.isfile(full):
        return None
    return (how or b"").strip(), read_file(full)


def handle(conn, folder):
    with conn:
        data = b""
        while b"\r\n\r\n" not in data:
            chunk = conn.recv(4096)
            if not chunk:
                return
            data += chunk
        head = data.split(b"\r\n\r\n", 1)[0].split(b"\r\n")
        agent = b""
        for line in head[1:]:
            name, _, value = line.partition(b":")
            if name.strip().lower() == b"user-agent":
                agent = value.strip()
        with open(os.path.join(folder, "log"), "ab") as log:
            log.write(b"REQUEST " + head[0] + b"\nAGENT " + agent + b"\n")
        mode = read_file(os.path.join(folder, "mode"), b"normal").strip()
        body = read_file(os.path.join(folder, "body"))
        served = own_file(folder, head[0])
        if served is not None:
            mode, body = served
            encoding = b""
            for line in head[1:]:
                name, _, value = line.partition(b":")
                if name.strip().lower() == b"accept-encoding":
                    encoding = value.strip().lower()
            if mode.startswith(b"redirect "):
                conn.sendall(b"HTTP/1.1 302 Found\r\nLocation: " + mode[9:] +
                             b"\r\nContent-Length: 0\r\nConnection: close\r\n\r\n")
                return
            if mode in (b"gzip", b"deflate"):
                if mode not in encoding:
                    conn.sendall(b"HTTP/1.1 406 Not Acceptable\r\nContent-Length: 0\r\n"
                                 b"Connection: close\r\n\r\n")
                    return
                packed = gzip.compress(body) if mode == b"gzip" else zlib.compress(body)
                conn.sendall(b"HTTP/1.1 200 OK\r\nContent-Type: text/plain\r\n"
                             b"Content-Encoding: " + mode + b"\r\n"
                             b"Content-Length: " + str(len(packed)).encode() + b"\r\n"
                             b"Connection: close\r\n\r\n" + packed)
                return
            mode = mode or b"normal"
        if mode == b"slow":
            time.sleep(120)
            return
        if mode == b"endless":
            conn.sendall(b"HTTP/1.1 200 OK\r\nContent-Type: text/plain\r\n"
                         b"Connection: close\r\n\r\n")
            block = (body or b"x") * max(1, 65536 // max(1, len(body)))
            try:
                while True:
                    conn.sendall(block)
            except OSError:
                return
        status = b"404 Not Found" if mode == b"missing" else b"200 OK"
        length = len(body) + (1000 if mode == b"cut" else 0)
        conn.sendall(b"HTTP/1.1 " + status + b"\r\nContent-Type: text/plain\r\n"
                     b"Content-Length: " + str(length).encode() + b"\r\n"
                     b"Connection: close\r\n\r\n" + body)


def main():
    folder = sys.argv[1]
    server = socket.socket(socket.AF_INET, socket.SOCK_STREAM)
    server.setsockopt(socket.SOL_SOCKET, socket.SO_REUSEADDR, 1)
    server.bind(("127.0.0.1", 0))
    server.listen(8)
    print(server.getsockname()[1], flush=True)
    while True:
        conn, _ = server.accept()
        threading.Thread(target=handle, args=(conn, folder), daemon=True).start()


if __name__ == "__main__":
    main()
