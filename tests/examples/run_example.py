#!/usr/bin/env python3
"""Runs one program of examples/ the way a user would, in the terminal mode,
and compares what it prints, the files it leaves and the picture it draws with
what is kept under tests/examples/.

    run_example.py VORNBASIC EXAMPLES_DIR EXPECT_DIR IMAGES_DIR NAME

Beside NAME in EXPECT_DIR:
  NAME.out       the exact stdout (required)
  NAME.in        stdin: lines typed for input
  NAME.keys      keys pressed one by one on a terminal (for inkey$), run
                 through a pseudo-terminal
  NAME.session   lines typed at the prompt: NAME runs as a session, not as
                 the start-up file examples/NAME.bas
  NAME.files/    files the run must leave in its working folder
  NAME.server    the name of a server example started first in the background
                 (its stdout is compared with SERVER.out)
In IMAGES_DIR, NAME.png is the screen picture the program must leave; the
pixels are compared, not the file bytes.
The run happens in a scratch copy of examples/, with --seed 1 and a device
root inside it.
"""
import os
import pty
import shutil
import struct
import subprocess
import sys
import tempfile
import threading
import time
import tty
import zlib

TIMEOUT = 30


def read(path):
    with open(path, 'rb') as f:
        return f.read()


def png_pixels(path):
    """(width, height, rows of RGB bytes) of an 8-bit RGB or RGBA PNG."""
    data = read(path)
    if data[:8] != b'\x89PNG\r\n\x1a\n':
        raise ValueError(f'{path}: not a PNG file')
    pos, idat, header = 8, b'', None
    while pos < len(data):
        length, kind = struct.unpack('>I4s', data[pos:pos + 8])
        body = data[pos + 8:pos + 8 + length]
        pos += 12 + length
        if kind == b'IHDR':
            header = struct.unpack('>IIBBBBB', body)
        elif kind == b'IDAT':
            idat += body
    width, height, depth, colour, _, _, interlace = header
    if depth != 8 or colour not in (2, 6) or interlace:
        raise ValueError(f'{path}: only 8-bit RGB(A) PNG is read here')
    bpp = 3 if colour == 2 else 4
    raw = zlib.decompress(idat)
    stride = width * bpp
    rows, prev = [], bytearray(stride)
    for y in range(height):
        at = y * (stride + 1)
        kind, line = raw[at], bytearray(raw[at + 1:at + 1 + stride])
        for i in range(stride):
            a = line[i - bpp] if i >= bpp else 0
            b = prev[i]
            c = prev[i - bpp] if i >= bpp else 0
            if kind == 1:
                line[i] = (line[i] + a) & 255
            elif kind == 2:
                line[i] = (line[i] + b) & 255
            elif kind == 3:
                line[i] = (line[i] + (a + b) // 2) & 255
            elif kind == 4:
                p = a + b - c
                pa, pb, pc = abs(p - a), abs(p - b), abs(p - c)
                pred = a if pa <= pb and pa <= pc else (b if pb <= pc else c)
                line[i] = (line[i] + pred) & 255
        prev = line
        rgb = line if bpp == 3 else bytearray(v for i, v in enumerate(line) if i % 4 != 3)
        rows.append(bytes(rgb))
    return width, height, rows


def run_piped(command, cwd, stdin_bytes):
    return subprocess.run(command, cwd=cwd, input=stdin_bytes, stdout=subprocess.PIPE,
                          stderr=subprocess.PIPE, timeout=TIMEOUT)


def run_with_keys(command, cwd, keys):
    """Runs command on a raw pseudo-terminal and presses keys one at a time."""
    master, slave = pty.openpty()
    tty.setraw(slave)
    proc = subprocess.Popen(command, cwd=cwd, stdin=slave, stdout=slave, stderr=subprocess.PIPE)
    os.close(slave)
    out = bytearray()

    def reader():
        while True:
            try:
                chunk = os.read(master, 4096)
            except OSError:
                return
            if not chunk:
                return
            out.extend(chunk)

    thread = threading.Thread(target=reader, daemon=True)
    thread.start()
    time.sleep(0.5)
    for key in keys:
        os.write(master, key.encode('utf-8'))
        time.sleep(0.3)
    try:
        proc.wait(timeout=TIMEOUT)
    except subprocess.TimeoutExpired:
        proc.kill()
        raise
    thread.join(timeout=5)
    os.close(master)
    return subprocess.CompletedProcess(command, proc.returncode, bytes(out), proc.stderr.read())


def wait_for_listener(port, deadline):
    """Waits until a socket listens on port (read from /proc, without connecting)."""
    want = f':{port:04X}'
    while time.time() < deadline:
        for table in ('/proc/net/tcp', '/proc/net/tcp6'):
            try:
                with open(table) as f:
                    for line in f.readlines()[1:]:
                        fields = line.split()
                        if fields[1].endswith(want) and fields[3] == '0A':
                            return True
            except OSError:
                pass
        time.sleep(0.05)
    return False


def compare(label, expected, actual, failures):
    if expected != actual:
        failures.append(f'{label} differs\n--- expected\n{expected.decode("utf-8", "replace")}'
                        f'\n--- actual\n{actual.decode("utf-8", "replace")}')


def main():
    vornbasic, examples, expect, images, name = sys.argv[1:6]
    vornbasic = os.path.abspath(vornbasic)
    base = os.path.join(expect, name)
    failures = []
    with tempfile.TemporaryDirectory(prefix=f'vorn-example-{name}-') as scratch:
        work = os.path.join(scratch, 'work')
        shutil.copytree(examples, work)
        command = [vornbasic, '--tty', '--seed', '1', '--root', os.path.join(scratch, 'root')]
        picture = os.path.join(images, name + '.png')
        if os.path.exists(picture):
            command += ['--screenshot', os.path.join(scratch, 'shot.png')]
        stdin = b''
        if os.path.exists(base + '.session'):
            stdin = read(base + '.session')
        else:
            command.append(name + '.bas')
            if os.path.exists(base + '.in'):
                stdin = read(base + '.in')

        server = None
        if os.path.exists(base + '.server'):
            server_name, port = read(base + '.server').decode().split()
            server_cmd = [vornbasic, '--tty', '--root', os.path.join(scratch, 'root'),
                          server_name + '.bas']
            server = subprocess.Popen(server_cmd, cwd=work, stdin=subprocess.DEVNULL,
                                      stdout=subprocess.PIPE, stderr=subprocess.PIPE)
            if not wait_for_listener(int(port), time.time() + 10):
                server.kill()
                print(f'{server_name} does not listen on port {port}')
                return 1

        try:
            if os.path.exists(base + '.keys'):
                keys = read(base + '.keys').decode('utf-8').rstrip('\n')
                result = run_with_keys(command, work, keys)
            else:
                result = run_piped(command, work, stdin)
        finally:
            if server:
                try:
                    server_out, server_err = server.communicate(timeout=TIMEOUT)
                except subprocess.TimeoutExpired:
                    server.kill()
                    server_out, server_err = server.communicate()
                compare(f'stdout of {server_name}', read(os.path.join(expect, server_name + '.out')),
                        server_out, failures)
                if server.returncode != 0:
                    failures.append(f'{server_name} ended with status {server.returncode}: '
                                    f'{server_err.decode("utf-8", "replace")}')

        compare('stdout', read(base + '.out'), result.stdout, failures)
        if result.returncode != 0:
            failures.append(f'exit status {result.returncode}: {result.stderr.decode("utf-8", "replace")}')
        files = base + '.files'
        if os.path.isdir(files):
            for entry in sorted(os.listdir(files)):
                left = os.path.join(work, entry)
                if not os.path.exists(left):
                    failures.append(f'{entry} was not written')
                    continue
                compare(entry, read(os.path.join(files, entry)), read(left), failures)
        if os.path.exists(picture):
            shot = os.path.join(scratch, 'shot.png')
            if not os.path.exists(shot):
                failures.append('no screenshot was written')
            elif png_pixels(shot) != png_pixels(picture):
                kept = os.path.join(tempfile.gettempdir(), f'vorn-example-{name}.png')
                shutil.copy(shot, kept)
                failures.append(f'the picture differs from {picture} (this run drew {kept})')
    for failure in failures:
        print(failure)
    return 1 if failures else 0


if __name__ == '__main__':
    sys.exit(main())
