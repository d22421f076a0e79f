#!/usr/bin/env python3
"""Writes the exports of a small game's cache with morvane_export_tool and reads them back with
readers that are not Morvane's: Python's zipfile and zlib, and unzip -t where it is installed.

    check_exports.py TOOL

TOOL is the Windows build, run under Wine on the same folders (as Z:\\...)."""
import argparse
import calendar
import os
import random
import shutil
import struct
import subprocess
import sys
import tempfile
import time
import zipfile
import zlib

FAILURES = []


def check(ok, what):
    if not ok:
        FAILURES.append(what)
        print('FAILED:', what)


def compressible(size, seed):
    """Bytes that deflate well, as a package's names and code do."""
    rng = random.Random(seed)
    words = [b'Engine.', b'Actor', b'Texture', b'StaticMesh', b'Emitter', b'\x00\x00\x00\x00', b'Default']
    out = bytearray()
    while len(out) < size:
        out += rng.choice(words) + bytes([rng.randrange(32)])
    return bytes(out[:size])


def noise(size, seed):
    return random.Random(seed).randbytes(size)


# Real name, bytes, where the zip puts it (None: left out).
PACKAGES = [
    ('DM-Deck.ut2', compressible(3 << 20, 1), 'Maps/DM-Deck.ut2'),
    ('Rock.utx', compressible(200000, 2), 'Textures/Rock.utx'),
    ('Noise.ogg', noise(300000, 3), 'Music/Noise.ogg'),
    ('Empty.umx', b'', 'Music/Empty.umx'),
    ('Two.uax', compressible(65536, 4), 'Sounds/Two.uax'),  # exactly two .uz2 chunks
    ('Mesh.usx', compressible(5000, 5), 'StaticMeshes/Mesh.usx'),
    ('Anim.ukx', b'anim', 'Animations/Anim.ukx'),
    ('Slot.uvx', b'save', 'Saves/Slot.uvx'),
    ('Code.u', compressible(40000, 6), 'System/Code.u'),
    ('Code.int', b'[Public]\r\n', 'System/Code.int'),
    ('Read me.txt', b'hello', 'Help/Docs/Read me.txt'),
    ('DM-\u0414\u043e\u043c.ut2', compressible(7000, 7), 'Maps/DM-\u0414\u043e\u043c.ut2'),
    ('NUL.utx', b'device', None),
    ('..\\Up.u', b'climbs', None),
]
MODIFIED = calendar.timegm((2024, 3, 4, 4, 26, 40))


class Tool:
    def __init__(self, path):
        self.path = path

    def where(self, path):
        return 'Z:' + path.replace('/', '\\')

    def run(self, *args):
        command = ['wine', self.path] + list(args)
        started = time.monotonic()
        done = subprocess.run(command, stdout=subprocess.PIPE, stderr=subprocess.PIPE, timeout=240)
        lines = done.stdout.decode('utf-8').replace('\r', '').splitlines()
        print(f'  {args[0]}: {time.monotonic() - started:.1f} s; ' + (lines[-1] if lines else '(no output)'))
        check(done.returncode == 0, f'{args[0]} ran (exit {done.returncode}): {done.stderr.decode(errors="replace")}')
        return lines


def make_game(root, packages):
    """A game folder whose cache holds the packages; the rows file selects them all."""
    game = os.path.join(root, 'UT2003')
    os.makedirs(os.path.join(game, 'Cache'))
    rows = []
    for n, (name, data, _) in enumerate(packages):
        key = f'{n:032X}'
        cached = os.path.join(game, 'Cache', key + '-1.uxx')
        with open(cached, 'wb') as f:
            f.write(data)
        os.utime(cached, (MODIFIED, MODIFIED))
        rows.append(f'{key}={name}')
    with open(os.path.join(root, 'rows.txt'), 'w', encoding='utf-8', newline='\r\n') as f:
        f.write('\n'.join(rows) + '\n')
    return game


def unzip_test(path):
    if shutil.which('unzip'):
        done = subprocess.run(['unzip', '-tqq', path], stdout=subprocess.PIPE, stderr=subprocess.STDOUT)
        check(done.returncode == 0, f'unzip -t {path}: {done.stdout.decode(errors="replace")[-500:]}')


def check_zip(tool, root, game):
    path = os.path.join(root, 'Share.zip')
    lines = tool.run('zip', tool.where(game), tool.where(os.path.join(root, 'rows.txt')), 'Help\\Docs',
                     tool.where(path))
    expected = [(where, data) for _, data, where in PACKAGES if where]
    check(f'summary: Exported {len(expected)} packages to {tool.where(path)}; 2 skipped.' in lines, 'zip summary')
    for name in ('NUL.utx', '..\\Up.u'):
        check(any(line.startswith(f'skipped: "{name}" is left out') for line in lines), f'{name} left out')
    with zipfile.ZipFile(path) as z:
        check(z.testzip() is None, 'zipfile finds every CRC right')
        check(z.namelist() == [where for where, _ in expected], f'names in order: {z.namelist()}')
        for info, (where, data) in zip(z.infolist(), expected):
            check(z.read(info) == data, f'{where}: bytes')
            check(info.flag_bits & 0x800, f'{where}: UTF-8 flag')
            deflate = zlib.compressobj(6, zlib.DEFLATED, -zlib.MAX_WBITS)
            smaller = len(deflate.compress(data) + deflate.flush()) < len(data)
            check(info.compress_type == (zipfile.ZIP_DEFLATED if smaller else zipfile.ZIP_STORED),
                  f'{where}: method {info.compress_type}')
            check(info.date_time == (2024, 3, 4, 4, 26, 40), f'{where}: time {info.date_time}')
        # Unpacked into a game folder, each file is where the game looks for it.
        install = os.path.join(root, 'install')
        z.extractall(install)
    found = {}
    for folder, _, files in os.walk(install):
        for name in files:
            full = os.path.join(folder, name)
            with open(full, 'rb') as f:
                found[os.path.relpath(full, install).replace(os.sep, '/')] = f.read()
    check(found == dict(expected), f'unpacked: {sorted(found)}')
    unzip_test(path)
    check(os.listdir(root).count('Share.zip.part') == 0, 'no temporary zip left')


def read_uz2(path):
    """The package's bytes and each chunk's size, from the format: compressed size, size, zlib data."""
    with open(path, 'rb') as f:
        data = f.read()
    out, sizes, at = bytearray(), [], 0
    while at < len(data):
        compressed, size = struct.unpack_from('<II', data, at)
        chunk = zlib.decompress(data[at + 8:at + 8 + compressed])
        check(len(chunk) == size <= 32768, f'{path}: chunk at {at} holds {len(chunk)} bytes, says {size}')
        out += chunk
        sizes.append(size)
        at += 8 + compressed
    return bytes(out), sizes


def check_uz2(tool, root, game):
    folder = os.path.join(root, 'redirect')
    os.mkdir(folder)
    lines = tool.run('uz2', tool.where(game), tool.where(os.path.join(root, 'rows.txt')), tool.where(folder))
    written = [(name, data) for name, data, where in PACKAGES if where]
    check(sorted(os.listdir(folder)) == sorted(name + '.uz2' for name, _ in written), f'files: {os.listdir(folder)}')
    for name, data in written:
        back, sizes = read_uz2(os.path.join(folder, name + '.uz2'))
        check(back == data, f'{name}.uz2 gives back its package')
        check(all(size == 32768 for size in sizes[:-1]), f'{name}.uz2: chunks of 32,768 bytes but the last')
        larger = os.path.getsize(os.path.join(folder, name + '.uz2')) >= len(data)
        check(any(line.startswith('not smaller: ') and name + '.uz2 ' in line for line in lines) == larger,
              f'{name}.uz2 reported as not smaller exactly when it is not')


def check_many(tool, root):
    """More than 65,535 entries: a ZIP64 end record."""
    count = 65600
    game = os.path.join(root, 'Many')
    os.makedirs(os.path.join(game, 'Cache'))
    key = '0' * 32
    with open(os.path.join(game, 'Cache', key + '-1.uxx'), 'wb') as f:
        f.write(b'tiny map')
    with open(os.path.join(root, 'many.txt'), 'w') as f:
        f.writelines(f'{key}=Z{n:05d}.ut2\n' for n in range(count))
    path = os.path.join(root, 'Many.zip')
    tool.run('zip', tool.where(game), tool.where(os.path.join(root, 'many.txt')), 'Help', tool.where(path))
    with open(path, 'rb') as f:
        f.seek(-22 - 20 - 56, os.SEEK_END)
        check(f.read(4) == b'PK\x06\x06', 'a ZIP64 end record before the end record')
    with zipfile.ZipFile(path) as z:
        infos = z.infolist()
        check(len(infos) == count, f'{len(infos)} entries')
        for n in (0, 1, 65534, 65535, count - 1):
            check(infos[n].filename == f'Maps/Z{n:05d}.ut2' and z.read(infos[n]) == b'tiny map', f'entry {n}')
    unzip_test(path)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument('tool')
    args = parser.parse_args()
    tool = Tool(args.tool)
    with tempfile.TemporaryDirectory(prefix='morvane-exports-') as root:
        game = make_game(root, PACKAGES)
        check_zip(tool, root, game)
        check_uz2(tool, root, game)
        check_many(tool, root)
    print(f'{len(FAILURES)} checks failed' if FAILURES else 'every check passed')
    return 1 if FAILURES else 0


if __name__ == '__main__':
    sys.exit(main())
