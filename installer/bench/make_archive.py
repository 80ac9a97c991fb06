#!/usr/bin/env python3
"""Writes the benchmark's source tree: about 100 MB that zips to about 100 MB,
half text that compresses like source code, half bytes that do not, in a few
large files and many small ones. Deterministic, so runs compare.
usage: make_archive.py FOLDER"""
import os
import random
import sys

root = sys.argv[1]
rng = random.Random(1)
words = [''.join(rng.choice('abcdefghijklmnopqrstuvwxyz_') for _ in range(rng.randint(2, 12)))
         for _ in range(4000)]


def text(size):
    out = []
    length = 0
    while length < size:
        line = ' ' * rng.choice((0, 4, 8)) + ' '.join(rng.choices(words, k=rng.randint(3, 12)))
        line += rng.choice(('();', ' {', ' = 0;', ',', '')) + '\n'
        out.append(line)
        length += len(line)
    return ''.join(out)[:size].encode()


def write(name, data):
    path = os.path.join(root, name)
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, 'wb') as f:
        f.write(data)


for i in range(12):
    write(f'assets/big/noise{i:02}.bin', rng.randbytes(5 * 1024 * 1024))
    write(f'docs/big/text{i:02}.txt', text(3 * 1024 * 1024))
for i in range(1500):
    size = rng.randint(1024, 40 * 1024)
    folder = f'src/module{i % 25:02}/part{i % 7}'
    if i % 3 == 0:
        write(f'{folder}/blob{i:04}.bin', rng.randbytes(size))
    else:
        write(f'{folder}/file{i:04}.cpp', text(size))
